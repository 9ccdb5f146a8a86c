#include "visuals/colour_effects.h"

#include "core/picture.h"
#include "core/screen_state.h"
#include "visuals/background_table.h"
#include "visuals/palette_fades.h"
#include "visuals/scene_state.h"

namespace visuals {
namespace {

constexpr std::uint8_t kFirstUnknownEffect = 7;

// Luminance with rounding: (30 r + 59 g + 11 b + 50) / 100.
BYTE Luminance(const PALETTEENTRY& e) {
  return static_cast<BYTE>((30 * e.peRed + 59 * e.peGreen + 11 * e.peBlue + 50) / 100);
}

BYTE Dimmed(BYTE v) { return static_cast<BYTE>(v * 10 / 15); }

}  // namespace

void TransformPalette(std::uint8_t kind, PALETTEENTRY* palette) {
  for (int i = 0; i < 15; ++i) {
    PALETTEENTRY& e = palette[i];
    const BYTE y = Luminance(e);
    switch (kind) {
      case kEffectGrey: e.peRed = e.peGreen = e.peBlue = y; break;
      case kEffectRed: e.peRed = y, e.peGreen = 0, e.peBlue = 0; break;
      case kEffectGreen: e.peRed = 0, e.peGreen = y, e.peBlue = 0; break;
      case kEffectBlue: e.peRed = 0, e.peGreen = 0, e.peBlue = y; break;
      case kEffectNegative:
        e.peRed = static_cast<BYTE>(255 - e.peRed);
        e.peGreen = static_cast<BYTE>(255 - e.peGreen);
        e.peBlue = static_cast<BYTE>(255 - e.peBlue);
        break;
      case kEffectDim:
        e.peRed = Dimmed(e.peRed), e.peGreen = Dimmed(e.peGreen), e.peBlue = Dimmed(e.peBlue);
        break;
      default: break;
    }
  }
}

void ApplyColourEffect(std::uint8_t kind, bool fade) {
  if (kind >= kFirstUnknownEffect) {
    SetColourEffect(kind);
    return;
  }
  // The effects start from the variant-0 colouring of the background's picture. Event
  // pictures (no background) and the white screen (no record) start from their own colours.
  PALETTEENTRY palette[16];
  const std::uint8_t n = BackgroundNumber();
  if (kind == kEffectNone || n == kNoBackground || n == kWhiteBackground) {
    core::PaletteCopy(palette, core::Screen.PlainPalette);
  } else {
    BuildBackgroundPalette(static_cast<std::uint8_t>(n % 50), palette);
    palette[15] = PALETTEENTRY{255, 255, 255, PC_RESERVED};
  }
  TransformPalette(kind, palette);
  if (fade) CrossFadePalette(core::Screen.ScreenPalette, palette, 1);
  core::PaletteCopy(core::Screen.ScreenPalette, palette);
  core::PaletteCopy(core::Screen.BackgroundPalette, palette);
  SetColourEffect(kind);
}

}  // namespace visuals
