// Input state that backends feed and the Win32 functions report.
#pragma once

#include "platform/win32.h"

namespace platform {

// A key went down or up (GetAsyncKeyState follows it).
void SetKeyState(int virtual_key, bool down);
void ResetKeyState();
// The focus moves to `hwnd` (null: another program has it).
void SetFocusWindow(HWND hwnd);
// Queues an input message for the window that has the input.
void PostInput(UINT message, WPARAM wparam, LPARAM lparam);
// The mouse is over this point of the input window's client area (negative: above it, over
// the menu bar or the caption): the window's hit test decides, and a point over the client
// area gives WM_MOUSEMOVE.
void MouseAt(int client_x, int client_y);

}  // namespace platform
