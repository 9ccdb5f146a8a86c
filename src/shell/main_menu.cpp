// The menu bar of the main window, as the resource "ZEN_MENU".
#include "platform/resources.h"
#include "shell/window_internal.h"

namespace shell {

void RegisterMainMenu() {
  platform::RegisterMenuResource(
      "ZEN_MENU", {
                      {"画面サイズ(&S)", 0,
                       {{"Full Screen", 40000, {}},
                        {"320x200", 40001, {}},
                        {"480x300", 40002, {}},
                        {"640x400", 40003, {}},
                        {"800x500", 40004, {}},
                        {"960x600", 40005, {}},
                        {"1024x640", 40006, {}},
                        {"1280x800", 40007, {}},
                        {"1600x1000", 40008, {}}}},
                      {"環境設定(&C)", 40020, {}},
                      {"次の選択肢まで進む(&J)", 40030, {}},
                      {"終了(&Q)", 40050, {}},
                  });
}

}  // namespace shell
