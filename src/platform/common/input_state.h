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

}  // namespace platform
