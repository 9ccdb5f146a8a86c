// Showing the screen pictures in the window.
#include "visuals/screen_show.h"

#include "shell/message_pump.h"
#include "shell/shell_state.h"
#include "visuals/palette_state.h"
#include "visuals/picture.h"

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
