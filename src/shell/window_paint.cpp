// The window's palette and screen pictures, created with the window, and the repaint that
// shows the displayed picture at the window's size.
#include <algorithm>
#include <vector>

#include "core/menu_command_ids.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "core/window_state.h"
#include "shell/picture_scaling.h"
#include "shell/window_internal.h"

namespace shell {
namespace {

// The work picture gets its header only: its colour table is written by the first decode,
// and it is never drawn to the window.
core::MemHandle AllocWorkPicture() {
  core::MemHandle h = core::MemAlloc(core::kPictureBlockSize, "VbufDIB");
  auto* p = static_cast<std::uint8_t*>(core::MemLock(h));
  core::WritePictureHeader(p);
  core::MemUnlock(h);
  return h;
}

void InitialMenuState(HWND hwnd) {
  HMENU menu = GetMenu(hwnd);
  bool full_screen_offered = false;
  DEVMODEA mode{};
  for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i) {
    if (mode.dmPelsWidth == 640 && mode.dmPelsHeight == 480) full_screen_offered = true;
  }
  if (!full_screen_offered) EnableMenuItem(menu, core::kModeFullScreen, MF_GRAYED | MF_DISABLED);
  for (int i = 0; i < 8; ++i) {
    if (core::kSizeTable[i].width > core::Window.ScreenWidth ||
        core::kSizeTable[i].height > core::Window.ScreenHeight) {
      EnableMenuItem(menu, static_cast<UINT>(core::kModeFirstSize + i), MF_GRAYED | MF_DISABLED);
    }
  }
  // Skipping is offered by the scenario loader, in scenarios already read.
  EnableMenuItem(menu, core::kCommandSkip, MF_GRAYED | MF_DISABLED);
}

}  // namespace

void CreateWindowState(HWND hwnd) {
  HDC dc = GetDC(hwnd);
  core::Window.DisplayBits = static_cast<std::uint16_t>(GetDeviceCaps(dc, BITSPIXEL));
  ReleaseDC(hwnd, dc);
  core::Screen.FadeSteps = core::Window.DisplayBits > 8 ? 15 : 47;

  std::vector<std::uint8_t> storage(sizeof(LOGPALETTE) + 31 * sizeof(PALETTEENTRY));
  auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = 32;
  for (int i = 0; i < 32; ++i) {
    logical->palPalEntry[i] = i < 16 ? core::BasePalette1[i] : PALETTEENTRY{0, 0, 0, PC_RESERVED};
    logical->palPalEntry[i].peFlags = PC_RESERVED;
  }
  std::copy(core::BasePalette1.begin(), core::BasePalette1.end(), core::Screen.ScreenPalette);
  std::copy(core::BasePalette1.begin(), core::BasePalette1.end(), core::Screen.ShownPalette);
  std::fill(core::Screen.ShownPalette + 16, core::Screen.ShownPalette + 32,
            PALETTEENTRY{0, 0, 0, 1});
  core::Screen.WindowPalette = CreatePalette(logical);
  SetPaletteEntries(core::Screen.WindowPalette, 0, 32, core::Screen.ShownPalette);

  core::Screen.VmemDIB = core::AllocPicture("VmemDIB");
  core::Screen.VbufDIB = AllocWorkPicture();

  InitialMenuState(hwnd);
  // The player's way of showing the picture holds from the first frame.
  ReadScalingChoice(hwnd);
  core::Window.ScreenMode = core::kModeWindow640;
  core::Window.DisplayChangePending = 0;
  InvalidateRect(hwnd, nullptr, TRUE);
}

void Repaint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  // Palette animation does not reach a true-colour display: the paint brings the colours.
  if (core::Window.DisplayBits > 8)
    SetPaletteEntries(core::Screen.WindowPalette, 0, 32, core::Screen.ShownPalette);
  SelectPalette(dc, core::Screen.WindowPalette, FALSE);
  RealizePalette(dc);
  std::uint8_t* picture = core::LockPicture(core::Screen.VmemDIB);
  if (picture != nullptr) {
    core::Screen.ShownHeader = picture;
    core::Screen.ShownPixels = picture + core::kPixelOffset;
    const auto* info = reinterpret_cast<const BITMAPINFO*>(picture);
    if (core::Window.ScreenMode == core::kModeFullScreen) {
      SetDIBitsToDevice(dc, 0, 0, 640, 400, 0, 0, 0, 400, core::Screen.ShownPixels, info,
                        DIB_PAL_COLORS);
      PatBlt(dc, 0, 400, 640, 80, BLACKNESS);
    } else if (core::Window.ScreenMode == core::kModeWindow640) {
      SetDIBitsToDevice(dc, 0, 0, 640, 400, 0, 0, 0, 400, core::Screen.ShownPixels, info,
                        DIB_PAL_COLORS);
    } else {
      StretchDIBits(dc, 0, 0, core::Window.ClientWidth, core::Window.ClientHeight, 0, 0, 640, 400,
                    core::Screen.ShownPixels, info, DIB_PAL_COLORS, SRCCOPY);
    }
    core::MemUnlock(core::Screen.VmemDIB);
  }
  EndPaint(hwnd, &ps);
}

void RealizeOnFocus(HWND hwnd) {
  HDC dc = GetDC(hwnd);
  SelectPalette(dc, core::Screen.WindowPalette, FALSE);
  if (RealizePalette(dc) > 0) InvalidateRect(hwnd, nullptr, TRUE);
  ReleaseDC(hwnd, dc);
}

void RealizeOnPaletteChange(HWND hwnd, HWND changed_by) {
  if (changed_by == hwnd) return;
  HDC dc = GetDC(hwnd);
  SelectPalette(dc, core::Screen.WindowPalette, FALSE);
  if (RealizePalette(dc) > 0) UpdateColors(dc);
  ReleaseDC(hwnd, dc);
}

}  // namespace shell
