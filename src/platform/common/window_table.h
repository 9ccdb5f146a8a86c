// The platform's own record of windows (ours and, for the running-copy search, other
// programs'), shared by the window, message and display code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/resources.h"
#include "platform/win32.h"

namespace platform {

// One menu item of a window's menu with its state.
struct MenuItemState {
  std::string text;
  UINT id = 0;
  UINT flags = MF_ENABLED;  // MF_GRAYED | MF_DISABLED, MF_CHECKED and MF_SEPARATOR bits
  int depth = 0;            // 0 on the bar, 1 inside a pop-up
};

// What a window shows in its client area. On a palette display the pixels are indexes into
// the system palette; above 8 bits per pixel they are colours.
struct ClientSurface {
  int width = 0;
  int height = 0;
  bool indexed = true;
  std::vector<std::uint8_t> pixels;  // width × height (indexed) or × 3 (RGB), top row first
};

struct WindowRecord {
  HWND handle = nullptr;
  std::string title;
  std::string class_name;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  bool has_menu = false;
  RECT outer{};  // screen coordinates
  int client_width = 0;
  int client_height = 0;
  bool visible = false;
  bool iconic = false;
  bool zoomed = false;
  bool destroyed = false;
  bool foreign = false;  // another program's window
  std::uint64_t foreign_id = 0;
  std::vector<std::uint8_t> extra;  // cbWndExtra bytes
  bool topmost = false;
  std::vector<MenuItemState> menu;  // empty without a menu
  int menu_lines = 0;               // rows the menu bar takes at the current width
  bool menu_bar_black = false;      // the non-client area was painted black over the bar
  std::vector<RECT> invalid;        // the update region as rectangles (client coordinates)
  ClientSurface surface;
};

// A new window handle, never given before.
HWND NewHandle();

// Null for an unknown or destroyed handle.
WindowRecord* FindWindowRecord(HWND hwnd);
// Our live top-level windows, in creation order.
std::vector<HWND> OwnTopLevelWindows();
// The window that receives input: the focus window, else the first of ours.
HWND InputWindow();
void ResetWindows();

// The menu bar's rows at a given window width (items that do not fit wrap onto a new row).
int MenuBarLines(const WindowRecord& w, int outer_width);
// Resizes the client surface after a size change (black, to be repainted).
void ResizeSurface(WindowRecord& w);
// The client area as RGB, top row first (what a screen shows).
std::vector<std::uint8_t> ClientRgb(const WindowRecord& w);
// The 256 entries of the emulated palette display's system palette, for backends that turn
// indexed surfaces into colours themselves.
const PALETTEENTRY* SystemPalette();
// Any window with something to repaint, or null.
HWND WindowNeedingPaint();
void ResetGdi();

}  // namespace platform
