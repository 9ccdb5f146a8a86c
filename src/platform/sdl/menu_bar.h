// The window's menu bar drawn with Dear ImGui: the bar items of the window's menu in as
// many rows as the platform gave it, a pop-up item's items in a drop-down, grayed items,
// Alt+letter for the mnemonics. What the user does comes back as actions for the window
// (WM_MENUSELECT when a menu opens or closes, WM_COMMAND for a chosen item), run once the
// frame is drawn.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/common/window_table.h"
#include "platform/sdl/view_geometry.h"

namespace platform::sdl {

class WindowView;

// A label as shown: "&" marks the mnemonic and is not shown ("&&" shows one "&").
struct MenuLabel {
  std::string text;
  char mnemonic = 0;  // upper-case, 0 for none
};
MenuLabel ParseMenuLabel(std::string_view label);

// Something the window must hear about once the frame is drawn.
struct MenuAction {
  enum Kind { kSelect, kClosed, kCommand } kind;
  UINT value = 0;      // kSelect: the bar item's position; kCommand: the item's identifier
  bool popup = false;  // kSelect: the item opens a drop-down
};

// Where each bar item (depth 0) lies, in screen pixels from the bar's top-left corner.
struct BarItemPlace {
  std::size_t item = 0;  // index into WindowRecord::menu
  int x = 0, y = 0, width = 0;
};

class MenuBar {
 public:
  explicit MenuBar(WindowView& view) : view_(view) {}

  // Width of a bar item with this label, padding included (cached per label).
  int ItemWidth(std::string_view label);
  // Height of one row of the bar.
  int RowHeight() const;
  // Makes every label of the menu drawable (outside a frame).
  void CoverLabels(const WindowRecord& w);

  // The same rows as the platform's MenuBarLines for this width.
  std::vector<BarItemPlace> Layout(const WindowRecord& w, int width);

  // Draws the bar of `w` (and its open drop-down) inside an ImGui frame. `black`: the bar
  // is painted over (full screen); what lies under it shows, and only an open drop-down is
  // drawn.
  void Draw(const WindowRecord& w, const ViewGeometry& geometry, bool black,
            std::vector<MenuAction>* actions);
  // Alt+letter: opens the pop-up or chooses the command with this mnemonic. True when an
  // item has it.
  bool Mnemonic(const WindowRecord& w, char letter, std::vector<MenuAction>* actions);
  // F10 or Alt pressed alone: the first bar item opens (its drop-down, or its command).
  bool OpenFirst(const WindowRecord& w, std::vector<MenuAction>* actions);
  // A drop-down is open or about to open.
  bool active() const { return open_ >= 0 || requested_ >= 0; }
  // Whether the window point lies on the bar's items as last drawn.
  bool Contains(float x, float y) const;
  // The bar as last drawn, window pixels.
  const PixelRect& drawn() const { return drawn_; }

 private:
  // Opens bar item `i` (depth 0) at bar position `position`.
  void Open(const WindowRecord& w, std::size_t i, UINT position, std::vector<MenuAction>* actions);

  WindowView& view_;
  std::map<std::string, int, std::less<>> widths_;
  int open_ = -1;       // the menu item whose drop-down is open
  int requested_ = -1;  // a drop-down to open at the next frame (keyboard)
  PixelRect drawn_;     // the bar as last drawn, window pixels
};

}  // namespace platform::sdl
