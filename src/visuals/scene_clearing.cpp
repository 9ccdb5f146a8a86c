// ClearScene: the scene taken off the screen to black in one of 20 styles, most of them the
// transitions' patterns painting colour 16, the black that no fade or colour effect touches.
// As a rule the scene is then empty: VbufDIB cleared, the slots empty, no background.
#include <cstring>

#include "core/game_state.h"
#include "core/input_state.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "visuals/display_effects.h"
#include "visuals/palette_fades.h"
#include "visuals/scene_state.h"
#include "visuals/screen_show.h"
#include "visuals/transition_patterns.h"

namespace visuals {
namespace {

constexpr std::uint8_t kFixedBlack = 16;
constexpr std::uint16_t kInstant = 11;

// What an effect leaves of the composed scene.
enum class Leaves { kNothing, kComposedPicture, kEverything };

// Effects 0, 12 and 18: the scene fades out, then the screen is cleared behind the black
// palette.
void FadeOutScene() {
  if (core::Screen.PaletteState == kPaletteNormal) {
    FadeOut(1);
  } else {
    FadeOutDim(1);
  }
  ClearPictureAndShow(core::Screen.VmemDIB);
}

// Effect 11: at once, to black (or to colour 16 under a colour effect).
void ClearAtOnce() {
  if (ColourEffect() == 0) {
    ClearPictureAndShow(core::Screen.VmemDIB);
    core::ClearPicture(core::Screen.VbufDIB);
    return;
  }
  core::FillPictureRect(core::Screen.VmemDIB, 0, 0, core::kPictureWidth - 1,
                        core::kPictureHeight - 1, kFixedBlack);
  core::FillPictureRect(core::Screen.VbufDIB, 0, 0, core::kPictureWidth - 1,
                        core::kPictureHeight - 1, kFixedBlack);
  core::Present(nullptr);
}

// Effects 5 and 6: the composed picture becomes black, and a show style brings it on.
void ShowBlack(void (*show)()) {
  if (ColourEffect() == 0) {
    core::ClearPicture(core::Screen.VbufDIB);
  } else {
    core::FillPictureRect(core::Screen.VbufDIB, 0, 0, core::kPictureWidth - 1,
                          core::kPictureHeight - 1, kFixedBlack);
  }
  show();
}

// Effect 9: the scene squeezed towards a line a little below the centre, then gone.
void Squeeze() {
  ApplyScreenPalette();
  for (int v = 6000; v >= 0; v -= 400) {
    const DWORD t = GetTickCount();
    {
      patterns::LockedScreens s;
      if (!s.ok()) return;
      const patterns::Brush black = s.Painting(kFixedBlack);
      const int h = v / 16;
      const int b = (core::kPictureHeight - h) / 2;
      black.Rect(0, core::kPictureHeight - b, core::kPictureWidth, core::kPictureHeight);
      for (int i = 0; i < h; ++i) {
        const int from = core::kPictureHeight - 1 - i * core::kPictureHeight / h;
        std::memcpy(core::PixelAt(s.shown(), 0, core::kPictureHeight - 1 - b - i),
                    core::PixelAt(s.composed(), 0, from), core::kPictureWidth);
      }
      black.Rect(0, 0, core::kPictureWidth, core::kPictureHeight - b - h);
    }
    core::Present(nullptr);
    core::WaitSince(t, 1);
  }
}

// Effect 13: the iris closes on the centre, painting colour 16 outside the shrinking disc.
void CloseIris() {
  ShowComposed();
  core::Present(nullptr);
  for (int i = 16; i < 32; ++i) core::Screen.ShownPalette[i] = PALETTEENTRY{0, 0, 0, PC_RESERVED};
  ApplyScreenPalette();
  for (int r = 63; r >= 1; r -= 2) {
    const DWORD t = GetTickCount();
    {
      patterns::LockedScreens s;
      if (!s.ok()) return;
      const patterns::Brush black = s.Painting(kFixedBlack);
      bool first = true;
      patterns::IrisBands(6 * r, [&](const patterns::IrisBand& band) {
        if (first && band.outer < 200) {
          black.Rect(0, 0, core::kPictureWidth, 200 - band.outer);
          black.Rect(0, 200 + band.outer, core::kPictureWidth, core::kPictureHeight);
        }
        first = false;
        if (band.half_width >= 320) return;
        const int left_end = 320 - band.half_width;  // exclusive
        const int right_start = 320 + band.half_width;
        for (const auto& [y0, y1] : {std::pair{200 - band.outer, 200 - band.inner},
                                     std::pair{200 + band.inner, 200 + band.outer}}) {
          black.Rect(0, y0, left_end, y1);
          black.Rect(right_start, y0, core::kPictureWidth, y1);
        }
      });
    }
    core::WaitSince(t, 1);
    core::Present(nullptr);
  }
  ClearPictureAndShow(core::Screen.VmemDIB);
}

// Effects 14–17: the composed picture scrolls out 16 pixels a step, colour 16 following it.
void ScrollOut(int direction) {
  const bool vertical = direction == 14 || direction == 16;
  const int steps = vertical ? 24 : 39;
  for (int k = 0; k < steps; ++k) {
    const DWORD t = GetTickCount();
    {
      patterns::LockedScreens s;
      if (!s.ok()) return;
      const patterns::Brush black = s.Painting(kFixedBlack);
      const int d = 16 * (k + 1);  // how far the picture has moved
      const auto row = [&s](int to, int from, int x_to, int x_from, int width) {
        std::memcpy(core::PixelAt(s.shown(), x_to, to), core::PixelAt(s.composed(), x_from, from),
                    static_cast<std::size_t>(width));
      };
      switch (direction) {
        case 14:  // upwards
          for (int y = 0; y < core::kPictureHeight - d; ++y)
            row(y, y + d, 0, 0, core::kPictureWidth);
          black.Rect(0, core::kPictureHeight - d, core::kPictureWidth,
                     core::kPictureHeight - d + 16);
          break;
        case 16:  // downwards
          for (int y = d; y < core::kPictureHeight; ++y) row(y, y - d, 0, 0, core::kPictureWidth);
          black.Rect(0, d - 16, core::kPictureWidth, d);
          break;
        case 15:  // to the right
          for (int y = 0; y < core::kPictureHeight; ++y) row(y, y, d, 0, core::kPictureWidth - d);
          black.Rect(d - 16, 0, d, core::kPictureHeight);
          break;
        default:  // 17, to the left
          for (int y = 0; y < core::kPictureHeight; ++y) row(y, y, 0, d, core::kPictureWidth - d);
          black.Rect(core::kPictureWidth - d, 0, core::kPictureWidth - d + 16,
                     core::kPictureHeight);
          break;
      }
    }
    core::WaitSince(t, 1);
    core::Present(nullptr);
  }
  ClearPictureAndShow(core::Screen.VmemDIB);
}

// Effects 1–4, 7, 8, 10 and 19: a transition's pattern painting the screen.
void PaintInPattern(std::uint16_t n) {
  if (n == 10) ApplyScreenPalette();
  if (n == 19) core::ClearPicture(core::Screen.VbufDIB);
  patterns::LockedScreens s;
  if (!s.ok()) return;
  const patterns::Brush black = s.Painting(kFixedBlack);
  switch (n) {
    case 1: return patterns::Blocks(black, patterns::SpiralOrder(), false);
    case 2: return patterns::RandomBlocks(black);
    case 3: return patterns::Diamonds(black, false);
    case 4: return patterns::Diamonds(black, true);
    case 7: return patterns::ColumnSweep(black);
    case 8: return patterns::DitherSweep(black);
    case 10: return patterns::InterleavedColumns(black);
    // Colour 0, not 16: under a colour effect the screen ends in that effect's colour 0.
    case 19: return patterns::RandomRows(s.Painting(0));
    default: return;
  }
}

Leaves RunEffect(std::uint16_t n) {
  switch (n) {
    case 0:
    case 12:
    case 18: FadeOutScene(); return Leaves::kNothing;
    case kInstant: ClearAtOnce(); return Leaves::kNothing;
    case 5: ShowBlack(ShowDither); return Leaves::kComposedPicture;
    case 6: ShowBlack(ShowBlinds); return Leaves::kComposedPicture;
    case 9: Squeeze(); return Leaves::kEverything;
    case 13: CloseIris(); return Leaves::kNothing;
    case 14:
    case 15:
    case 16:
    case 17: ScrollOut(n); return Leaves::kNothing;
    default: PaintInPattern(n); return Leaves::kNothing;
  }
}

void EmptySlots() {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    SetSlotPicture(slot, kNoCharacter);
    SetSlotLayer(slot, kNoLayer);
  }
}

}  // namespace

void ClearScene(std::uint16_t n) {
  if (core::Input.SkipMode == 1) n = kInstant;
  if (core::Settings.Low != 0 || n > 19) n = 0;
  const Leaves leaves = RunEffect(n);
  // Effects 5 and 6 have already made the composed picture black (colour 16 under a
  // colour effect); the squeeze keeps the scene so that it can be shown again.
  if (leaves == Leaves::kNothing) core::ClearPicture(core::Screen.VbufDIB);
  if (leaves != Leaves::kEverything) EmptySlots();
  SetBackgroundNumber(kNoBackground);
  core::GameState[core::field::kShownHPicture] = 255;
  core::GameState[core::field::kShownVPicture] = 255;
}

}  // namespace visuals
