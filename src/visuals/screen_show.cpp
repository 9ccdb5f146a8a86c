// Showing the screen pictures in the window.
#include "visuals/screen_show.h"

#include "core/message_pump.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "core/window_state.h"

namespace visuals {

void ShowComposed() {
  core::CopyPicture(core::Screen.VmemDIB, core::Screen.VbufDIB);
  core::Present(nullptr);
}

void ClearPictureAndShow(core::MemHandle picture) {
  core::ClearPicture(picture);
  InvalidateRect(core::Window.MainWindow, nullptr, FALSE);
  UpdateWindow(core::Window.MainWindow);
}

}  // namespace visuals
