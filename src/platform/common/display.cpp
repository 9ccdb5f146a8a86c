// The display mode.
#include "platform/backend.h"
#include "platform/common/window_table.h"

LONG ChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags) {
  auto& b = platform::CurrentBackend();
  const int old_bits = b.DisplayBits();
  const int old_w = b.ScreenWidth();
  const int old_h = b.ScreenHeight();
  LONG result = b.ChangeDisplay(mode, flags);
  std::string details = mode ? "set" : "restore";
  if (mode) {
    if (mode->dmFields & DM_BITSPERPEL) details += " bits=" + std::to_string(mode->dmBitsPerPel);
    if (mode->dmFields & DM_PELSWIDTH) details += " width=" + std::to_string(mode->dmPelsWidth);
    if (mode->dmFields & DM_PELSHEIGHT) details += " height=" + std::to_string(mode->dmPelsHeight);
  }
  if (flags & CDS_TEST) details += " test";
  if (flags & CDS_UPDATEREGISTRY) details += " store";
  details += " -> " + std::to_string(result);
  platform::Trace("display", details);
  // Every top-level window hears of a real change, as on the desktop.
  if (result == DISP_CHANGE_SUCCESSFUL && !(flags & CDS_TEST) &&
      (b.DisplayBits() != old_bits || b.ScreenWidth() != old_w || b.ScreenHeight() != old_h)) {
    // A new mode repaints everything: surfaces take the new depth and start black.
    for (HWND hwnd : platform::OwnTopLevelWindows()) {
      if (platform::WindowRecord* w = platform::FindWindowRecord(hwnd)) {
        platform::ResizeSurface(*w);
        InvalidateRect(hwnd, nullptr, TRUE);
      }
    }
    for (HWND hwnd : platform::OwnTopLevelWindows()) {
      SendMessageA(
          hwnd, WM_DISPLAYCHANGE, static_cast<WPARAM>(b.DisplayBits()),
          MAKELPARAM(static_cast<WORD>(b.ScreenWidth()), static_cast<WORD>(b.ScreenHeight())));
    }
  }
  return result;
}

BOOL EnumDisplaySettingsA(LPCSTR, DWORD mode_index, DEVMODEA* mode) {
  if (mode == nullptr) return FALSE;
  return platform::CurrentBackend().DisplayMode(mode_index, mode) ? TRUE : FALSE;
}

BOOL ExitWindowsEx(UINT flags, DWORD) {
  platform::Trace("reboot", "refused flags=" + std::to_string(flags));
  return FALSE;
}
