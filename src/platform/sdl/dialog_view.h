// The program's modal dialogs drawn from their templates with Dear ImGui: the caption, the
// check boxes and the push buttons at their places (dialog units scaled by the font, as
// the desktop does). A click on a check box changes it at once; a button press reaches
// the dialog procedure at the dialog loop's next step.
#pragma once

#include <vector>

#include "platform/backend.h"
#include "platform/sdl/view_geometry.h"

namespace platform::sdl {

class WindowView;

class DialogView {
 public:
  explicit DialogView(WindowView& view) : view_(view) {}

  // One step of the dialog loop for `dialog`: the first step opens it; buttons pressed
  // since the last step go to the dialog procedure, and their identifiers are answered.
  std::vector<int> Step(HWND dialog);
  bool active() const { return dialog_ != nullptr; }

  // Draws the open dialog inside an ImGui frame; (owner_x, owner_y) is the owner's client
  // origin on the emulated screen. Closes the box once the dialog has ended.
  void Draw(const ViewGeometry& geometry, int owner_x, int owner_y);

 private:
  WindowView& view_;
  HWND dialog_ = nullptr;
  bool popup_opened_ = false;
  std::vector<int> pressed_;
};

}  // namespace platform::sdl
