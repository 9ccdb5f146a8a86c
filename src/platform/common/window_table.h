// The platform's own record of windows (ours and, for the running-copy search, other
// programs'), shared by the window, message and display code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace platform {

struct WindowRecord {
  HWND handle = nullptr;
  std::string title;
  std::string class_name;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  bool has_menu = false;
  RECT outer{};            // screen coordinates
  int client_width = 0;
  int client_height = 0;
  bool visible = false;
  bool iconic = false;
  bool zoomed = false;
  bool destroyed = false;
  bool foreign = false;    // another program's window
  std::uint64_t foreign_id = 0;
  std::vector<std::uint8_t> extra;  // cbWndExtra bytes
};

// Null for an unknown or destroyed handle.
WindowRecord* FindWindowRecord(HWND hwnd);
// Our live top-level windows, in creation order.
std::vector<HWND> OwnTopLevelWindows();
// The window that receives input: the focus window, else the first of ours.
HWND InputWindow();
void ResetWindows();

}  // namespace platform
