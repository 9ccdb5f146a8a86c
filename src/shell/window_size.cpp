// Window sizes: the client size, the eight size commands, full screen and its frame, and
// display changes.
#include "core/menu_command_ids.h"
#include "core/program_identity.h"
#include "core/window_state.h"
#include "shell/window_internal.h"

namespace shell {
namespace {

void ReadScreenMetrics() {
  core::Window.ScreenWidth = static_cast<std::uint16_t>(GetSystemMetrics(SM_CXSCREEN));
  core::Window.ScreenHeight = static_cast<std::uint16_t>(GetSystemMetrics(SM_CYSCREEN));
  core::Window.CaptionMenuHeight =
      static_cast<std::uint16_t>(GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYMENU));
}

void MoveCentred(HWND hwnd, int width, int height) {
  MoveWindow(hwnd, (static_cast<int>(core::Window.ScreenWidth) - width) / 2,
             (static_cast<int>(core::Window.ScreenHeight) - height) / 2, width, height, TRUE);
}

// The size message of a move has normally set the client size by now (the platform sends
// it before MoveWindow returns). Should a platform deliver it later, the client size is
// read directly instead of waiting for it.
void TakeClientSizeIfUnset(HWND hwnd) {
  if (core::Window.ClientWidth != 0 || core::Window.ClientHeight != 0) return;
  RECT client{};
  GetClientRect(hwnd, &client);
  core::Window.ClientWidth = static_cast<std::uint16_t>(client.right);
  core::Window.ClientHeight = static_cast<std::uint16_t>(client.bottom);
}

}  // namespace

void OnSize(HWND hwnd, WPARAM, LPARAM size) {
  if (core::Window.ScreenMode == core::kModeFullScreen) return;
  core::Window.ClientWidth = LOWORD(static_cast<std::uintptr_t>(size));
  core::Window.ClientHeight = HIWORD(static_cast<std::uintptr_t>(size));
  core::Window.ScreenMode = core::kModeOtherSize;
  for (int i = 0; i < 8; ++i) {
    if (core::kSizeTable[i].width == core::Window.ClientWidth &&
        core::kSizeTable[i].height == core::Window.ClientHeight) {
      core::Window.ScreenMode = static_cast<std::uint16_t>(core::kModeFirstSize + i);
    }
  }
  InvalidateRect(hwnd, nullptr, FALSE);
}

void SizeCommand(HWND hwnd, UINT id) {
  if (core::Window.ScreenMode == id) return;
  if (core::Window.ScreenMode == core::kModeFullScreen) {
    core::Window.SavedMode = static_cast<std::uint16_t>(id);
    core::Window.ScreenMode = core::kModeOtherSize;
    SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ChangeDisplaySettingsA(nullptr, 0);
    core::Window.ScreenMode = core::kModeWindow640;
    core::Window.SavedMode = core::kModeOtherSize;
  }
  const core::ClientSize wanted = core::kSizeTable[id - core::kModeFirstSize];
  if (wanted.width > core::Window.ScreenWidth || wanted.height > core::Window.ScreenHeight) {
    MessageBoxA(hwnd, "このサイズには変更できません", core::kAppCaption, MB_ICONHAND);
    return;
  }
  core::Window.ScreenMode = static_cast<std::uint16_t>(id);
  core::Window.ClientWidth = 0;
  core::Window.ClientHeight = 0;
  RECT rect{0, 0, wanted.width, wanted.height};
  AdjustWindowRect(&rect, core::kMainWindowStyle, TRUE);
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  MoveCentred(hwnd, width, height);
  TakeClientSizeIfUnset(hwnd);
  // The menu bar may wrap onto more rows at small widths: grow the window by what is
  // missing.
  if (core::Window.ClientWidth != wanted.width || core::Window.ClientHeight != wanted.height) {
    core::Window.ScreenMode = static_cast<std::uint16_t>(id);
    width += wanted.width - core::Window.ClientWidth;
    height += wanted.height - core::Window.ClientHeight;
    MoveCentred(hwnd, width, height);
  }
  InvalidateRect(hwnd, nullptr, FALSE);
}

void FullScreenCommand(HWND hwnd) {
  if (core::Window.ScreenMode == core::kModeFullScreen) return;
  core::Window.SavedMode = core::Window.ScreenMode;
  core::Window.ScreenMode = core::kModeFullScreen;
  DEVMODEA mode{};
  mode.dmSize = 148;
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmPelsWidth = 640;
  mode.dmPelsHeight = 480;
  if (ChangeDisplaySettingsA(&mode, 0) != DISP_CHANGE_SUCCESSFUL) {
    core::Window.ScreenMode = core::Window.SavedMode;
    core::Window.SavedMode = core::kModeOtherSize;
    return;
  }
  if (IsZoomed(hwnd)) ShowWindow(hwnd, SW_SHOWNORMAL);
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  core::Window.ClientWidth = 640;
  core::Window.ClientHeight = 400;
  const int frame_x = GetSystemMetrics(SM_CXFRAME);
  const int frame_y = GetSystemMetrics(SM_CYFRAME);
  const int caption = GetSystemMetrics(SM_CYCAPTION);
  const int menu = GetSystemMetrics(SM_CYMENU);
  // Frame and caption lie off the screen; the menu bar is at its top edge.
  MoveWindow(hwnd, -frame_x, -(caption + frame_y), 640 + 2 * frame_x,
             480 + 2 * frame_y + caption + menu, TRUE);
  InvalidateRect(hwnd, nullptr, FALSE);
  core::Window.MenuShown = 0;
  core::Window.SavedMode = core::kModeOtherSize;
}

LRESULT OnHitTest(HWND hwnd, WPARAM wparam, LPARAM lparam) {
  const LRESULT hit = DefWindowProcA(hwnd, WM_NCHITTEST, wparam, lparam);
  if (core::Window.ScreenMode != core::kModeFullScreen) return hit;
  if (hit == HTMENU && core::Window.MenuShown == 0) {
    core::Window.MenuShown = 1;
    DrawMenuBar(hwnd);
  } else if (hit == HTCLIENT) {
    core::Window.MenuShown = 0;
    DrawMenuBar(hwnd);
  }
  return hit;
}

LRESULT OnNonClientPaint(HWND hwnd, WPARAM wparam, LPARAM lparam) {
  if (core::Window.ScreenMode != core::kModeFullScreen || core::Window.MenuShown != 0) {
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
    const bool fits = core::kSizeTable[i].width <= core::Window.ScreenWidth &&
                      core::kSizeTable[i].height <= core::Window.ScreenHeight;
    EnableMenuItem(menu, static_cast<UINT>(core::kModeFirstSize + i),
                   fits ? MF_ENABLED : MF_GRAYED | MF_DISABLED);
  }
}

void TickScreenSize(HWND hwnd) {
  HMENU menu = GetMenu(hwnd);
  if (menu == nullptr) return;
  // Full screen and the eight sizes; a size of the player's own dragging ticks none.
  for (UINT id = core::kModeFullScreen; id < core::kModeOtherSize; ++id) {
    CheckMenuItem(menu, id, core::Window.ScreenMode == id ? MF_CHECKED : MF_UNCHECKED);
  }
}

void OnDisplayChange(HWND hwnd) {
  if (IsIconic(hwnd)) {
    core::Window.DisplayChangePending = 1;
    return;
  }
  ReadScreenMetrics();
  if (core::Window.ScreenMode != core::kModeFullScreen) {
    UpdateSizeItems(hwnd);
    if (core::Window.SavedMode == core::kModeOtherSize)
      SendMessageA(hwnd, WM_COMMAND, core::kModeWindow640, 0);
  }
}

}  // namespace shell
