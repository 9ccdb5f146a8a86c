// The program's resources: the main window's menu "ZEN_MENU" and the settings dialog
// "ZEN_DIALOG".
#include "platform/resources.h"
#include "shell/picture_scaling.h"
#include "shell/settings_dialog.h"
#include "shell/window_internal.h"

namespace shell {

void RegisterProgramResources() {
  platform::RegisterMenuResource("ZEN_MENU", {
                                                 {"画面サイズ(&S)",
                                                  0,
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
                                                 // Ours: how the picture fills the window.
                                                 {"表示(&V)",
                                                  0,
                                                  {{"画面に合わせる", kCommandScaleFit, {}},
                                                   {"整数倍", kCommandScaleWhole, {}},
                                                   {"引き伸ばす", kCommandScaleStretch, {}},
                                                   platform::MenuSeparator(),
                                                   {"ドットのまま", kCommandFilterNearest, {}},
                                                   {"なめらか", kCommandFilterSmooth, {}}}},
                                             });

  using platform::ControlKind;
  platform::RegisterDialogResource(
      "ZEN_DIALOG",
      platform::DialogSpec{
          "環境設定",
          18,
          18,
          150,
          83,
          "ＭＳ Ｐゴシック",
          9,
          {
              {kDialogOk, ControlKind::kDefaultButton, "OK", 91, 9, 50, 14, ""},
              {kDialogCancel, ControlKind::kButton, "Cancel", 91, 27, 50, 14, ""},
              {kBoxMusic, ControlKind::kCheckBox, "音楽演奏", 9, 10, 80, 10, "Music"},
              {kBoxPcm, ControlKind::kCheckBox, "ＰＣＭ演奏", 9, 27, 80, 10, "Pcm"},
              {kBoxSkip, ControlKind::kCheckBox, "見た文章は速く", 9, 44, 80, 10, "Skip"},
              {kBoxMmv, ControlKind::kCheckBox, "マウス移動", 9, 61, 80, 10, "Mmv"},
          }});
}

}  // namespace shell
