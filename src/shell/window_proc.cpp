// The main window's procedure. The game runs inside its WM_USER handler; everything else
// it handles can run nested inside any wait of the game.
//
// Not here yet, and coming with the window's paint and size handling: creation of the
// palette and the two screen pictures, painting, sizes and full screen, the menu commands,
// mouse input, palette messages and the end of a PCM sound. Those messages go to the
// default handling meanwhile.
#include "shell/window_proc.h"

#include "flow/game_flow.h"
#include "shell/shell_state.h"
#include "shell/startup.h"

namespace shell {

LRESULT MainWindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  MainWindow = hwnd;
  switch (msg) {
    case WM_CREATE: {
      HDC dc = GetDC(hwnd);
      DisplayBits = static_cast<std::uint16_t>(GetDeviceCaps(dc, BITSPIXEL));
      ReleaseDC(hwnd, dc);
      ScreenMode = kModeWindow640;
      return 0;
    }
    case WM_DESTROY:
      ExitProgram(nullptr);
    case WM_USER:
      if (InitResources() == 1) flow::RunGame();
      ExitProgram(nullptr);
    default:
      return DefWindowProcA(hwnd, msg, wparam, lparam);
  }
}

}  // namespace shell
