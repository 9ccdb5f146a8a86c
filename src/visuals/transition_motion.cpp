#include "visuals/transition_motion.h"

#include <algorithm>
#include <cstring>

#include "core/message_pump.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "core/window_state.h"
#include "visuals/palette_fades.h"
#include "visuals/screen_show.h"
#include "visuals/transition_patterns.h"

namespace visuals::transitions {
namespace {

// The hiding bit of the iris: pixels with it set show the all-black bank 16–31.
constexpr std::uint8_t kHidden = 0x10;

// Sets or clears the hiding bit in columns x0 … x1 − 1 of rows y0 … y1 − 1, clipped.
void MarkHidden(std::uint8_t* shown, int x0, int y0, int x1, int y1, bool hide) {
  x0 = std::max(x0, 0);
  x1 = std::min(x1, core::kPictureWidth);
  y0 = std::max(y0, 0);
  y1 = std::min(y1, core::kPictureHeight);
  for (int y = y0; y < y1; ++y) {
    std::uint8_t* row = core::PixelAt(shown, 0, y);
    for (int x = x0; x < x1; ++x) {
      row[x] = hide ? static_cast<std::uint8_t>(row[x] | kHidden)
                    : static_cast<std::uint8_t>(row[x] & ~kHidden);
    }
  }
}

void BlackenSecondBank() {
  for (int i = 16; i < 32; ++i) core::Screen.ShownPalette[i] = PALETTEENTRY{0, 0, 0, PC_RESERVED};
}

// Copies `width` pixels of composed row ys from column xs to shown row yd at column xd.
void CopyShifted(const patterns::LockedScreens& s, int ys, int xs, int yd, int xd, int width) {
  if (width <= 0) return;
  std::memcpy(core::PixelAt(s.shown(), xd, yd), core::PixelAt(s.composed(), xs, ys),
              static_cast<std::size_t>(width));
}

// ScreenPalette entry i from entry `pick(i)` of `from`.
template <typename Pick>
void SetScreenPaletteFrom(const PALETTEENTRY* from, Pick pick) {
  for (int i = 0; i < 16; ++i) {
    const PALETTEENTRY& e = from[pick(i)];
    core::Screen.ScreenPalette[i] = PALETTEENTRY{e.peRed, e.peGreen, e.peBlue, PC_RESERVED};
  }
}

}  // namespace

void UnfoldVertically() {
  ApplyScreenPalette();
  HDC dc = GetDC(core::Window.MainWindow);
  SelectPalette(dc, core::Screen.WindowPalette, FALSE);
  RealizePalette(dc);
  std::uint8_t* composed = core::LockPicture(core::Screen.VbufDIB);
  if (composed != nullptr) {
    // The window is drawn from the composed picture until the final repaint points the
    // shown addresses back at VmemDIB.
    core::Screen.ShownHeader = composed;
    core::Screen.ShownPixels = composed + core::kPixelOffset;
    const int width = core::Window.ClientWidth;
    const int height = core::Window.ClientHeight;
    for (int k = 1; k <= 16; ++k) {
      const DWORD t = GetTickCount();
      const int h = height * k / 16;
      StretchDIBits(dc, 0, (height - h) / 2, width, h, 0, 0, core::kPictureWidth,
                    core::kPictureHeight, core::Screen.ShownPixels,
                    reinterpret_cast<const BITMAPINFO*>(core::Screen.ShownHeader), DIB_PAL_COLORS,
                    SRCCOPY);
      core::WaitSince(t, 3);
    }
    core::MemUnlock(core::Screen.VbufDIB);
  }
  core::CopyPicture(core::Screen.VmemDIB, core::Screen.VbufDIB);
  core::Present(nullptr);
  ReleaseDC(core::Window.MainWindow, dc);
}

void OpenIris() {
  ApplyBlack();
  ShowComposed();
  BlackenSecondBank();
  {
    patterns::LockedScreens s;
    if (!s.ok()) return;
    MarkHidden(s.shown(), 0, 0, core::kPictureWidth, core::kPictureHeight, true);
  }
  core::Present(nullptr);
  ApplyScreenPalette();  // still black: every pixel shows the second bank
  for (int r = 1; r <= 63; r += 2) {
    const DWORD t = GetTickCount();
    {
      patterns::LockedScreens s;
      if (!s.ok()) return;
      patterns::IrisBands(6 * r, [&s](const patterns::IrisBand& b) {
        if ((b.half_width == 0 || b.outer == 0) && !b.last) return;
        const int x0 = 320 - b.half_width;
        const int x1 = 320 + b.half_width;
        MarkHidden(s.shown(), x0, 200 - b.outer, x1, 200 - b.inner, false);
        MarkHidden(s.shown(), x0, 200 + b.inner, x1, 200 + b.outer, false);
      });
    }
    core::WaitSince(t, 1);
    core::Present(nullptr);
  }
  patterns::LockedScreens s;
  if (s.ok()) MarkHidden(s.shown(), 0, 0, core::kPictureWidth, core::kPictureHeight, false);
}

void SlideIn(int direction) {
  ApplyScreenPalette();
  const bool vertical = direction == 14 || direction == 16;
  const int steps = vertical ? core::kPictureHeight / 16 : core::kPictureWidth / 16;
  for (int m = 1; m <= steps; ++m) {
    const DWORD t = GetTickCount();
    {
      patterns::LockedScreens s;
      if (!s.ok()) return;
      const int d = 16 * m;
      for (int y = 0; y < core::kPictureHeight; ++y) {
        switch (direction) {
          case 14:  // the new top rows at the screen's bottom
            if (y >= core::kPictureHeight - d)
              CopyShifted(s, y - (core::kPictureHeight - d), 0, y, 0, core::kPictureWidth);
            break;
          case 16:  // the new bottom rows at the screen's top
            if (y < d) CopyShifted(s, y + core::kPictureHeight - d, 0, y, 0, core::kPictureWidth);
            break;
          case 15:  // the new right columns at the screen's left
            CopyShifted(s, y, core::kPictureWidth - d, y, 0, d);
            break;
          default:  // 17: the new left columns at the screen's right
            CopyShifted(s, y, 0, y, core::kPictureWidth - d, d);
            break;
        }
      }
    }
    core::WaitSince(t, 1);
    core::Present(nullptr);
  }
}

void CrossFadeFourColours() {
  // Pixel old + 4 × new shows entry i with old = i mod 4 and new = i div 4, so the palette
  // alone can move every pixel from its old colour to its new one.
  SetScreenPaletteFrom(core::Screen.PreviousPalette, [](int i) { return i % 4; });
  ApplyScreenPalette();
  {
    patterns::LockedScreens s;
    if (!s.ok()) return;
    for (int y = 0; y < core::kPictureHeight; ++y) {
      std::uint8_t* shown = core::PixelAt(s.shown(), 0, y);
      const std::uint8_t* composed = core::PixelAt(s.composed(), 0, y);
      for (int x = 0; x < core::kPictureWidth; ++x)
        shown[x] = static_cast<std::uint8_t>(shown[x] | (4 * composed[x]));
    }
  }
  core::Present(nullptr);
  const int n = core::Screen.FadeSteps;
  for (int step = 0; step < n; ++step) {
    const DWORD t = GetTickCount();
    for (int i = 0; i < 16; ++i) {
      const PALETTEENTRY& o = core::Screen.PreviousPalette[i % 4];
      const PALETTEENTRY& w = core::Screen.BackgroundPalette[i / 4];
      const auto mix = [n, step](int from, int to) {
        return static_cast<BYTE>(std::max(from * (n - step) / n, to * (step + 1) / n));
      };
      core::Screen.ScreenPalette[i] = PALETTEENTRY{mix(o.peRed, w.peRed), mix(o.peGreen, w.peGreen),
                                                   mix(o.peBlue, w.peBlue), PC_RESERVED};
    }
    core::WaitSince(t, 2);
    ApplyScreenPalette();
  }
  {
    patterns::LockedScreens s;
    if (!s.ok()) return;
    for (int y = 0; y < core::kPictureHeight; ++y) {
      std::uint8_t* shown = core::PixelAt(s.shown(), 0, y);
      for (int x = 0; x < core::kPictureWidth; ++x)
        shown[x] = static_cast<std::uint8_t>((shown[x] & 12) + ((shown[x] / 4) & 3));
    }
  }
  core::Present(nullptr);
  SetScreenPaletteFrom(core::Screen.BackgroundPalette, [](int i) { return i % 4; });
  ApplyScreenPalette();
  core::CopyPicture(core::Screen.VmemDIB, core::Screen.VbufDIB);
  core::Present(nullptr);
  core::PaletteCopy(core::Screen.ScreenPalette, core::Screen.BackgroundPalette);
  ApplyScreenPalette();
}

}  // namespace visuals::transitions
