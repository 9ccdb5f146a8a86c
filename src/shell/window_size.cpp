// Window sizes: the client size, the eight size commands, full screen and its frame, and
// display changes.
#include "core/shell_state.h"
#include "shell/window_internal.h"

namespace shell {
namespace {

void ReadScreenMetrics() {
  ScreenWidth = static_cast<std::uint16_t>(GetSystemMetrics(SM_CXSCREEN));
  ScreenHeight = static_cast<std::uint16_t>(GetSystemMetrics(SM_CYSCREEN));
  CaptionMenuHeight =
      static_cast<std::uint16_t>(GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU));
}

void MoveCentred(HWND hwnd, int width, int height) {
  MoveWindow(hwnd, (static_cast<int>(ScreenWidth) - width) / 2,
             (static_cast<int>(ScreenHeight) - height) / 2, width, height, TRUE);
}

// The size message of a move has normally set the client size by now (the platform sends
// it before MoveWindow returns). Should a platform deliver it later, the client size is
// read directly instead of waiting for it.
void TakeClientSizeIfUnset(HWND hwnd) {
  if (ClientWidth != 0 || ClientHeight != 0) return;
  RECT client{};
  GetClientRect(hwnd, &client);
  ClientWidth = static_cast<std::uint16_t>(client.right);
  ClientHeight = static_cast<std::uint16_t>(client.bottom);
}

}  // namespace

void OnSize(HWND hwnd, WPARAM, LPARAM size) {
  if (ScreenMode == kModeFullScreen) return;
  ClientWidth = LOWORD(static_cast<std::uintptr_t>(size));
  ClientHeight = HIWORD(static_cast<std::uintptr_t>(size));
  ScreenMode = kModeOtherSize;
  for (int i = 0; i < 8; ++i) {
    if (kSizeTable[i].width == ClientWidth && kSizeTable[i].height == ClientHeight) {
      ScreenMode = static_cast<std::uint16_t>(kModeFirstSize + i);
    }
  }
  InvalidateRect(hwnd, nullptr, FALSE);
}

void SizeCommand(HWND hwnd, UINT id) {
  if (ScreenMode == id) return;
  if (ScreenMode == kModeFullScreen) {
    SavedMode = static_cast<std::uint16_t>(id);
    ScreenMode = kModeOtherSize;
    SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ChangeDisplaySettingsA(nullptr, 0);
    ScreenMode = kModeWindow640;
    SavedMode = kModeOtherSize;
  }
  const ClientSize wanted = kSizeTable[id - kModeFirstSize];
  if (wanted.width > ScreenWidth || wanted.height > ScreenHeight) {
    MessageBoxA(hwnd, "このサイズには変更できません", kAppCaption, MB_ICONHAND);
    return;
  }
  ScreenMode = static_cast<std::uint16_t>(id);
  ClientWidth = 0;
  ClientHeight = 0;
  RECT rect{0, 0, wanted.width, wanted.height};
  AdjustWindowRect(&rect, kMainWindowStyle, TRUE);
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  MoveCentred(hwnd, width, height);
  TakeClientSizeIfUnset(hwnd);
  // The menu bar may wrap onto more rows at small widths: grow the window by what is
  // missing.
  if (ClientWidth != wanted.width || ClientHeight != wanted.height) {
    ScreenMode = static_cast<std::uint16_t>(id);
    width += wanted.width - ClientWidth;
    height += wanted.height - ClientHeight;
    MoveCentred(hwnd, width, height);
  }
  InvalidateRect(hwnd, nullptr, FALSE);
}

void FullScreenCommand(HWND hwnd) {
  if (ScreenMode == kModeFullScreen) return;
  SavedMode = ScreenMode;
  ScreenMode = kModeFullScreen;
  DEVMODEA mode{};
  mode.dmSize = 148;
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmPelsWidth = 640;
  mode.dmPelsHeight = 480;
  if (ChangeDisplaySettingsA(&mode, 0) != DISP_CHANGE_SUCCESSFUL) {
    ScreenMode = SavedMode;
    SavedMode = kModeOtherSize;
    return;
  }
  if (IsZoomed(hwnd)) ShowWindow(hwnd, SW_SHOWNORMAL);
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ClientWidth = 640;
  ClientHeight = 400;
  const int frame_x = GetSystemMetrics(SM_CXFRAME);
  const int frame_y = GetSystemMetrics(SM_CYFRAME);
  const int caption = GetSystemMetrics(SM_CYCAPTION);
  const int menu = GetSystemMetrics(SM_CYMENU);
  // Frame and caption lie off the screen; the menu bar is at its top edge.
  MoveWindow(hwnd, -frame_x, -(caption + frame_y), 640 + 2 * frame_x,
             480 + 2 * frame_y + caption + menu, TRUE);
  InvalidateRect(hwnd, nullptr, FALSE);
  MenuShown = 0;
  SavedMode = kModeOtherSize;
}

LRESULT OnHitTest(HWND hwnd, WPARAM wparam, LPARAM lparam) {
  const LRESULT hit = DefWindowProcA(hwnd, WM_NCHITTEST, wparam, lparam);
  if (ScreenMode != kModeFullScreen) return hit;
  if (hit == HTMENU && MenuShown == 0) {
    MenuShown = 1;
    DrawMenuBar(hwnd);
  } else if (hit == HTCLIENT) {
    MenuShown = 0;
    DrawMenuBar(hwnd);
  }
  return hit;
}

LRESULT OnNonClientPaint(HWND hwnd, WPARAM wparam, LPARAM lparam) {
  if (ScreenMode != kModeFullScreen || MenuShown != 0) {
    return DefWindowProcA(hwnd, WM_NCPAINT, wparam, lparam);
  }
  HDC dc = GetWindowDC(hwnd);
  PatBlt(
      dc, 0, 0, 640 + 2 * GetSystemMetrics(SM_CXFRAME),
      GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYMENU),
      BLACKNESS);
  ReleaseDC(hwnd, dc);
  return 0;
}

void UpdateSizeItems(HWND hwnd) {
  HMENU menu = GetMenu(hwnd);
  for (int i = 0; i < 8; ++i) {
    const bool fits = kSizeTable[i].width <= ScreenWidth && kSizeTable[i].height <= ScreenHeight;
    EnableMenuItem(menu, static_cast<UINT>(kModeFirstSize + i),
                   fits ? MF_ENABLED : MF_GRAYED | MF_DISABLED);
  }
}

void OnDisplayChange(HWND hwnd) {
  if (IsIconic(hwnd)) {
    DisplayChangePending = 1;
    return;
  }
  ReadScreenMetrics();
  if (ScreenMode != kModeFullScreen) {
    UpdateSizeItems(hwnd);
    if (SavedMode == kModeOtherSize) SendMessageA(hwnd, WM_COMMAND, kModeWindow640, 0);
  }
}

}  // namespace shell
