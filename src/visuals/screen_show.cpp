// Showing the screen pictures in the window.
#include "visuals/screen_show.h"

#include "core/message_pump.h"
#include "core/palette_state.h"
#include "core/picture.h"
#include "core/shell_state.h"

namespace visuals {

void ShowComposed() {
  CopyPicture(VmemDIB, VbufDIB);
  shell::Present(nullptr);
}

void ClearPictureAndShow(resources::MemHandle picture) {
  ClearPicture(picture);
  InvalidateRect(shell::MainWindow, nullptr, FALSE);
  UpdateWindow(shell::MainWindow);
}

}  // namespace visuals
