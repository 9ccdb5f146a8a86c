// The menu commands.
#include "core/exit_program.h"
#include "core/scenario_state.h"
#include "core/shell_state.h"
#include "flow/game_flow.h"
#include "shell/picture_scaling.h"
#include "shell/settings_dialog.h"
#include "shell/startup.h"
#include "shell/window_internal.h"

namespace shell {

void QuitConfirmation(HWND hwnd) {
  if (MessageBoxA(hwnd, "終了します。\nよろしいですか？", kAppCaption,
                  MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
    ExitProgram(nullptr);
  }
}

void OnCommand(HWND hwnd, UINT id) {
  if (id == kModeFullScreen) {
    FullScreenCommand(hwnd);
  } else if (id >= kModeFirstSize && id < kModeFirstSize + 8) {
    SizeCommand(hwnd, id);
  } else if (id == kCommandSkip) {
    if (flow::GamePhase == flow::kPhasePlaying && scenario::SkipAllowed == 1) SkipMode = 1;
  } else if (id == kCommandVersion) {
    MessageBoxA(hwnd, "Ｖｅｒｓｉｏｎ　１．０", kAppCaption, MB_ICONINFORMATION);
  } else if (id == kCommandQuit) {
    QuitConfirmation(hwnd);
  } else if (id == kCommandSettings) {
    OpenSettings();
  } else {
    ScalingCommand(hwnd, id);
  }
}

}  // namespace shell
