// The main window's procedure. The game runs inside its WM_USER handler; every other
// message can arrive nested inside any wait of the game.
#include "shell/window_proc.h"

#include "core/exit_program.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "core/menu_command_ids.h"
#include "core/message_pump.h"
#include "core/window_state.h"
#include "flow/game_flow.h"
#include "shell/startup.h"
#include "shell/window_internal.h"
#include "sound/pcm.h"
#include "sound/sound_state.h"

namespace shell {

void TimerTick() {
  if (sound::Sound.CdPollCountdown > 0) --sound::Sound.CdPollCountdown;
}

LRESULT MainWindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  core::Window.MainWindow = hwnd;
  switch (msg) {
    case WM_CREATE:
      CreateWindowState(hwnd);
      TickScreenSize(hwnd);
      return 0;
    case WM_DESTROY: core::ExitProgram(nullptr);
    case WM_SIZE:
      OnSize(hwnd, wparam, lparam);
      TickScreenSize(hwnd);
      return 0;
    case WM_ACTIVATE:
      if (core::Window.DisplayChangePending == 1) {
        core::Window.DisplayChangePending = 0;
        PostMessageA(hwnd, WM_DISPLAYCHANGE, 0, 0);
      }
      return DefWindowProcA(hwnd, msg, wparam, lparam);
    case WM_PAINT: Repaint(hwnd); return 0;
    case WM_ACTIVATEAPP:
      if (core::Window.ScreenMode == core::kModeFullScreen && wparam == FALSE) {
        SendMessageA(hwnd, WM_COMMAND, core::kModeWindow640, 0);
      }
      return DefWindowProcA(hwnd, msg, wparam, lparam);
    case WM_DISPLAYCHANGE: OnDisplayChange(hwnd); return DefWindowProcA(hwnd, msg, wparam, lparam);
    case WM_NCHITTEST: return OnHitTest(hwnd, wparam, lparam);
    case WM_NCPAINT: return OnNonClientPaint(hwnd, wparam, lparam);
    case WM_COMMAND:
      OnCommand(hwnd, LOWORD(wparam));
      TickScreenSize(hwnd);
      return 0;
    case WM_SYSCOMMAND:
      if ((wparam & 0xFFF0) == SC_CLOSE) {
        QuitConfirmation(hwnd);
        return 0;
      }
      return DefWindowProcA(hwnd, msg, wparam, lparam);
    case WM_TIMER: TimerTick(); return 0;
    case WM_MENUSELECT:
      if (core::Window.ScreenMode == core::kModeFullScreen && core::Window.MenuShown == 0) {
        core::Window.MenuShown = 1;
        DrawMenuBar(hwnd);
      }
      return DefWindowProcA(hwnd, msg, wparam, lparam);
    case WM_MOUSEMOVE:
      core::Input.MouseX = LOWORD(static_cast<std::uintptr_t>(lparam));
      core::Input.MouseY = HIWORD(static_cast<std::uintptr_t>(lparam));
      return 0;
    case WM_LBUTTONDOWN: core::Input.InputEvents |= core::kInputDecide; return 0;
    case WM_RBUTTONDOWN: core::Input.InputEvents |= core::kInputCancel; return 0;
    case WM_MOUSEWHEEL:
      if (const short delta = GET_WHEEL_DELTA_WPARAM(static_cast<std::uintptr_t>(wparam))) {
        core::Input.InputEvents |= delta > 0 ? core::kInputWheelUp : core::kInputWheelDown;
      }
      return 0;
    case WM_QUERYNEWPALETTE: RealizeOnFocus(hwnd); return 0;
    case WM_PALETTECHANGED: RealizeOnPaletteChange(hwnd, reinterpret_cast<HWND>(wparam)); return 0;
    case MM_WOM_DONE:
      if (core::GetU8(core::GameState, core::field::kPcmPlaying) != 0) {
        sound::PcmStop();
      }
      return 0;
    case WM_USER:
      if (InitResources() == 1) flow::RunGame();
      core::ExitProgram(nullptr);
    default: return DefWindowProcA(hwnd, msg, wparam, lparam);
  }
}

}  // namespace shell
