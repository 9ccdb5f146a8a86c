// The window's palette and screen pictures, created with the window, and the repaint that
// shows the displayed picture at the window's size.
#include <algorithm>
#include <vector>

#include "core/palette_state.h"
#include "core/picture.h"
#include "core/shell_state.h"
#include "shell/picture_scaling.h"
#include "shell/window_internal.h"

namespace shell {
namespace {

// The work picture gets its header only: its colour table is written by the first decode,
// and it is never drawn to the window.
resources::MemHandle AllocWorkPicture() {
  resources::MemHandle h = resources::MemAlloc(visuals::kPictureBlockSize, "VbufDIB");
  auto* p = static_cast<std::uint8_t*>(resources::MemLock(h));
  visuals::WritePictureHeader(p);
  resources::MemUnlock(h);
  return h;
}

void InitialMenuState(HWND hwnd) {
  HMENU menu = GetMenu(hwnd);
  bool full_screen_offered = false;
  DEVMODEA mode{};
  for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i) {
    if (mode.dmPelsWidth == 640 && mode.dmPelsHeight == 480) full_screen_offered = true;
  }
  if (!full_screen_offered) EnableMenuItem(menu, kModeFullScreen, MF_GRAYED | MF_DISABLED);
  for (int i = 0; i < 8; ++i) {
    if (kSizeTable[i].width > ScreenWidth || kSizeTable[i].height > ScreenHeight) {
      EnableMenuItem(menu, static_cast<UINT>(kModeFirstSize + i), MF_GRAYED | MF_DISABLED);
    }
  }
  // Skipping is offered by the scenario loader, in scenarios already read.
  EnableMenuItem(menu, kCommandSkip, MF_GRAYED | MF_DISABLED);
}

}  // namespace

void CreateWindowState(HWND hwnd) {
  HDC dc = GetDC(hwnd);
  DisplayBits = static_cast<std::uint16_t>(GetDeviceCaps(dc, BITSPIXEL));
  ReleaseDC(hwnd, dc);
  visuals::FadeSteps = DisplayBits > 8 ? 15 : 47;

  std::vector<std::uint8_t> storage(sizeof(LOGPALETTE) + 31 * sizeof(PALETTEENTRY));
  auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = 32;
  for (int i = 0; i < 32; ++i) {
    logical->palPalEntry[i] =
        i < 16 ? visuals::BasePalette1[i] : PALETTEENTRY{0, 0, 0, PC_RESERVED};
    logical->palPalEntry[i].peFlags = PC_RESERVED;
  }
  std::copy(visuals::BasePalette1, visuals::BasePalette1 + 16, visuals::ScreenPalette);
  std::copy(visuals::BasePalette1, visuals::BasePalette1 + 16, visuals::ShownPalette);
  std::fill(visuals::ShownPalette + 16, visuals::ShownPalette + 32, PALETTEENTRY{0, 0, 0, 1});
  visuals::WindowPalette = CreatePalette(logical);
  SetPaletteEntries(visuals::WindowPalette, 0, 32, visuals::ShownPalette);

  visuals::VmemDIB = visuals::AllocPicture("VmemDIB");
  visuals::VbufDIB = AllocWorkPicture();

  InitialMenuState(hwnd);
  // The player's way of showing the picture holds from the first frame.
  ReadScalingChoice(hwnd);
  ScreenMode = kModeWindow640;
  DisplayChangePending = 0;
  InvalidateRect(hwnd, nullptr, TRUE);
}

void Repaint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  // Palette animation does not reach a true-colour display: the paint brings the colours.
  if (DisplayBits > 8) SetPaletteEntries(visuals::WindowPalette, 0, 32, visuals::ShownPalette);
  SelectPalette(dc, visuals::WindowPalette, FALSE);
  RealizePalette(dc);
  std::uint8_t* picture = visuals::LockPicture(visuals::VmemDIB);
  if (picture != nullptr) {
    visuals::ShownHeader = picture;
    visuals::ShownPixels = picture + visuals::kPixelOffset;
    const auto* info = reinterpret_cast<const BITMAPINFO*>(picture);
    if (ScreenMode == kModeFullScreen) {
      SetDIBitsToDevice(dc, 0, 0, 640, 400, 0, 0, 0, 400, visuals::ShownPixels, info,
                        DIB_PAL_COLORS);
      PatBlt(dc, 0, 400, 640, 80, BLACKNESS);
    } else if (ScreenMode == kModeWindow640) {
      SetDIBitsToDevice(dc, 0, 0, 640, 400, 0, 0, 0, 400, visuals::ShownPixels, info,
                        DIB_PAL_COLORS);
    } else {
      StretchDIBits(dc, 0, 0, ClientWidth, ClientHeight, 0, 0, 640, 400, visuals::ShownPixels, info,
                    DIB_PAL_COLORS, SRCCOPY);
    }
    resources::MemUnlock(visuals::VmemDIB);
  }
  EndPaint(hwnd, &ps);
}

void RealizeOnFocus(HWND hwnd) {
  HDC dc = GetDC(hwnd);
  SelectPalette(dc, visuals::WindowPalette, FALSE);
  if (RealizePalette(dc) > 0) InvalidateRect(hwnd, nullptr, TRUE);
  ReleaseDC(hwnd, dc);
}

void RealizeOnPaletteChange(HWND hwnd, HWND changed_by) {
  if (changed_by == hwnd) return;
  HDC dc = GetDC(hwnd);
  SelectPalette(dc, visuals::WindowPalette, FALSE);
  if (RealizePalette(dc) > 0) UpdateColors(dc);
  ReleaseDC(hwnd, dc);
}

}  // namespace shell
