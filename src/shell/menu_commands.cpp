// The menu commands.
#include "core/exit_program.h"
#include "core/game_phase.h"
#include "core/input_state.h"
#include "core/menu_command_ids.h"
#include "core/program_identity.h"
#include "core/scenario_state.h"
#include "flow/game_flow.h"
#include "shell/picture_scaling.h"
#include "shell/settings_dialog.h"
#include "shell/startup.h"
#include "shell/window_internal.h"

namespace shell {

void QuitConfirmation(HWND hwnd) {
  if (MessageBoxA(hwnd, "終了します。\nよろしいですか？", core::kAppCaption,
                  MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
    core::ExitProgram(nullptr);
  }
}

void OnCommand(HWND hwnd, UINT id) {
  if (id == core::kModeFullScreen) {
    FullScreenCommand(hwnd);
  } else if (id >= core::kModeFirstSize && id < core::kModeFirstSize + 8) {
    SizeCommand(hwnd, id);
  } else if (id == core::kCommandSkip) {
    if (core::Phase.GamePhase == core::kPhasePlaying && core::Scenario.SkipAllowed == 1)
      core::Input.SkipMode = 1;
  } else if (id == core::kCommandVersion) {
    MessageBoxA(hwnd, "Ｖｅｒｓｉｏｎ　１．０", core::kAppCaption, MB_ICONINFORMATION);
  } else if (id == core::kCommandQuit) {
    QuitConfirmation(hwnd);
  } else if (id == core::kCommandSettings) {
    OpenSettings();
  } else {
    ScalingCommand(hwnd, id);
  }
}

}  // namespace shell
