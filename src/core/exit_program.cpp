#include "core/exit_program.h"

#include "core/memory_blocks.h"
#include "core/palette_state.h"
#include "core/picture.h"
#include "core/shell_state.h"
#include "platform/win32.h"

namespace shell {

void (*ReleaseResourcesHook)() = nullptr;

void ExitProgram(const char* message) {
  // A fatal error met while already shutting down ends the process at once.
  if (Exiting) ExitProcess(1);
  Exiting = true;
  if (message != nullptr) MessageBoxA(MainWindow, message, "終了します", MB_ICONHAND);
  if (ScreenMode == kModeFullScreen) ChangeDisplaySettingsA(nullptr, 0);
  if (visuals::WindowPalette != nullptr) DeleteObject(visuals::WindowPalette);
  visuals::WindowPalette = nullptr;
  if (visuals::VbufDIB != 0) resources::MemFree(visuals::VbufDIB);
  if (visuals::VmemDIB != 0) resources::MemFree(visuals::VmemDIB);
  visuals::VbufDIB = 0;
  visuals::VmemDIB = 0;
  PostQuitMessage(0);
  if (ReleaseResourcesHook != nullptr) ReleaseResourcesHook();
  ExitProcess(1);
}

}  // namespace shell
