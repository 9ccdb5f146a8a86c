// The display mode.
#include <utility>
#include <vector>

#include "platform/backend.h"
#include "platform/common/display_modes.h"
#include "platform/common/window_table.h"

namespace platform {

bool OfferedDisplayMode(int width, int height, int bits, DWORD index, DEVMODEA* mode) {
  std::vector<std::pair<int, int>> sizes = {{width, height}};
  if (!(width == 640 && height == 480)) sizes.emplace_back(640, 480);
  if (index >= sizes.size()) return false;
  *mode = DEVMODEA{};
  mode->dmSize = sizeof(DEVMODEA);
  mode->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  mode->dmBitsPerPel = static_cast<DWORD>(bits);
  mode->dmPelsWidth = static_cast<DWORD>(sizes[index].first);
  mode->dmPelsHeight = static_cast<DWORD>(sizes[index].second);
  mode->dmDisplayFrequency = 60;
  return true;
}

}  // namespace platform

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
