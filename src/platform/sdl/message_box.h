// MessageBoxA as a Dear ImGui box: its icon kind, its text and its buttons (OK, OK and
// Cancel, Yes and No, Yes, No and Cancel). Inside our window it is a modal box over the
// window's picture; before any window exists it fills a small window of its own.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/win32.h"

namespace platform::sdl {

class WindowView;

class MessageBoxView {
 public:
  explicit MessageBoxView(WindowView& view) : view_(view) {}

  void Open(std::string_view text, std::string_view caption, UINT type);
  bool is_open() const { return open_; }
  // The answer once a button was chosen (IDOK, IDCANCEL, IDYES, IDNO), else 0.
  int answer() const { return answer_; }
  void Close() { open_ = false; }
  // The close button of the box's own window: Cancel, or OK when it is the only button.
  void CloseButton();

  // Size in pixels of the box's contents (the window of a box of its own).
  void ContentSize(int* width, int* height);
  // Draws the box inside an ImGui frame: a modal over `window_w` × `window_h` pixels, or
  // the whole window when `own_window`.
  void Draw(int window_w, int window_h, bool own_window);

 private:
  struct Button {
    const char* label;
    int id;
  };
  std::vector<Button> Buttons() const;
  void DrawIcon();
  void DrawContents(float wrap_width);
  // Keyboard answers: Enter the first button, Escape Cancel (or OK alone), Y and N.
  void Keys();

  WindowView& view_;
  bool open_ = false;
  bool popup_opened_ = false;
  int answer_ = 0;
  std::string text_;
  std::string caption_;
  UINT type_ = MB_OK;
};

}  // namespace platform::sdl
