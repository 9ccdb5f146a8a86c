// The main window's procedure.
#pragma once

#include "platform/win32.h"

namespace shell {

LRESULT MainWindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

}  // namespace shell
