#include "core/exit_program.h"

#include "core/memory_blocks.h"
#include "core/menu_command_ids.h"
#include "core/screen_state.h"
#include "core/window_state.h"
#include "platform/win32.h"

namespace core {

void (*ReleaseResourcesHook)() = nullptr;

void ExitProgram(const char* message) {
  // A fatal error met while already shutting down ends the process at once.
  if (Window.Exiting) ExitProcess(1);
  Window.Exiting = true;
  if (message != nullptr) MessageBoxA(Window.MainWindow, message, "終了します", MB_ICONHAND);
  if (Window.ScreenMode == kModeFullScreen) ChangeDisplaySettingsA(nullptr, 0);
  if (Screen.WindowPalette != nullptr) DeleteObject(Screen.WindowPalette);
  Screen.WindowPalette = nullptr;
  if (Screen.VbufDIB != 0) MemFree(Screen.VbufDIB);
  if (Screen.VmemDIB != 0) MemFree(Screen.VmemDIB);
  Screen.VbufDIB = 0;
  Screen.VmemDIB = 0;
  PostQuitMessage(0);
  if (ReleaseResourcesHook != nullptr) ReleaseResourcesHook();
  ExitProcess(1);
}

}  // namespace core
