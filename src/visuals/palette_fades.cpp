// The palette moves only through ShownPalette; every change is handed to the window palette
// by ApplyShownPalette. A fade step takes the tick before it sets its level and waits from
// there, so each step lasts cs × 10 ms including the drawing.
#include "visuals/palette_fades.h"

#include <algorithm>

#include "core/input_state.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "core/window_state.h"

namespace visuals {
namespace {

constexpr PALETTEENTRY kWhite{255, 255, 255, PC_RESERVED};
constexpr PALETTEENTRY kBlack{0, 0, 0, PC_RESERVED};

// Number of the last step of a full fade. Always 15 or 47; never let a zero divide.
int Steps() { return std::max<int>(core::Screen.FadeSteps, 1); }

// The dim level: 10 of 15 of the full level (10 of 15, or 31 of 47).
int DimLevel() { return Steps() * 10 / 15; }

std::uint8_t Channel(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

PALETTEENTRY Levelled(const PALETTEENTRY& e, std::int16_t level, std::int16_t white) {
  return PALETTEENTRY{LevelChannel(e.peRed, level, white), LevelChannel(e.peGreen, level, white),
                      LevelChannel(e.peBlue, level, white), PC_RESERVED};
}

// Entries 0–14 of the scene palette at 10/15 brightness.
void DimScreenPalette() {
  for (int i = 0; i < 15; ++i) {
    PALETTEENTRY& e = core::Screen.ScreenPalette[i];
    e.peRed = static_cast<BYTE>(e.peRed * 10 / 15);
    e.peGreen = static_cast<BYTE>(e.peGreen * 10 / 15);
    e.peBlue = static_cast<BYTE>(e.peBlue * 10 / 15);
  }
}

// One timed step: `set` shows the step, then the rest of cs × 10 ms is waited out.
template <typename SetStep>
void TimedStep(std::uint16_t cs, SetStep set) {
  const DWORD start = GetTickCount();
  set();
  core::WaitSince(start, cs);
}

}  // namespace

void ApplyShownPalette() {
  AnimatePalette(core::Screen.WindowPalette, 0, 32, core::Screen.ShownPalette);
  if (core::Window.DisplayBits > 8) core::Present(nullptr);
}

std::uint8_t LevelChannel(std::uint8_t v, std::int16_t level, std::int16_t white) {
  const int n = Steps();
  int w = v * level / n;
  if (white != 0) w = w + (255 - w) * white / n;
  return Channel(w);
}

void SetPaletteLevel(std::int16_t level, std::int16_t white) {
  for (int i = 0; i < 16; ++i)
    core::Screen.ShownPalette[i] = Levelled(core::Screen.ScreenPalette[i], level, white);
  ApplyShownPalette();
}

void SetPaletteLevel15(std::int16_t level, std::int16_t white) {
  for (int i = 0; i < 15; ++i)
    core::Screen.ShownPalette[i] = Levelled(core::Screen.ScreenPalette[i], level, white);
  core::Screen.ShownPalette[15] = core::Screen.ScreenPalette[15];
  core::Screen.ShownPalette[15].peFlags = PC_RESERVED;
  ApplyShownPalette();
}

void ApplyScreenPalette() {
  core::PaletteCopy(core::Screen.ShownPalette, core::Screen.ScreenPalette);
  ApplyShownPalette();
  core::Screen.PaletteState = kPaletteNormal;
}

void ApplyBlack() {
  std::fill(core::Screen.ShownPalette, core::Screen.ShownPalette + 16, kBlack);
  ApplyShownPalette();
  core::Screen.PaletteState = kPaletteBlack;
}

void FadeIn(std::uint16_t cs) {
  if (core::Screen.PaletteState == kPaletteNormal) return;
  if (core::Input.SkipMode) {
    ApplyScreenPalette();
    return;
  }
  for (int level = 0; level <= Steps(); ++level) {
    TimedStep(cs, [&] { SetPaletteLevel(static_cast<std::int16_t>(level), 0); });
  }
  core::Screen.PaletteState = kPaletteNormal;
}

void FadeOut(std::uint16_t cs) {
  if (core::Screen.PaletteState == kPaletteBlack) return;
  if (core::Input.SkipMode) {
    ApplyBlack();
    return;
  }
  for (int level = Steps(); level >= 0; --level) {
    TimedStep(cs, [&] { SetPaletteLevel(static_cast<std::int16_t>(level), 0); });
  }
  core::Screen.PaletteState = kPaletteBlack;
}

void FadeFromWhite(std::uint16_t cs) {
  if (core::Screen.PaletteState == kPaletteNormal) return;
  if (core::Input.SkipMode) {
    ApplyScreenPalette();
    return;
  }
  const auto n = static_cast<std::int16_t>(Steps());
  for (int white = n; white >= 0; --white) {
    TimedStep(cs, [&] { SetPaletteLevel(n, static_cast<std::int16_t>(white)); });
  }
  core::Screen.PaletteState = kPaletteNormal;
}

void FadeToWhite(std::uint16_t cs) {
  if (core::Screen.PaletteState == kPaletteWhite) return;
  const auto n = static_cast<std::int16_t>(Steps());
  if (core::Input.SkipMode) {
    SetPaletteLevel(0, n);
  } else {
    for (int white = 0; white <= n; ++white) {
      TimedStep(cs, [&] { SetPaletteLevel(n, static_cast<std::int16_t>(white)); });
    }
  }
  core::Screen.PaletteState = kPaletteWhite;
}

void Dim() {
  if (core::Screen.PaletteState != kPaletteNormal && core::Screen.PaletteState != kPaletteWhite)
    return;
  core::Screen.ShownPalette[15] = core::Screen.ScreenPalette[15];
  if (core::Input.SkipMode) {
    SetPaletteLevel15(static_cast<std::int16_t>(DimLevel()), 0);
  } else {
    for (int level = Steps(); level >= DimLevel(); --level) {
      TimedStep(1, [&] { SetPaletteLevel15(static_cast<std::int16_t>(level), 0); });
    }
  }
  core::Screen.PaletteState = kPaletteDim;
}

void Undim() {
  if (core::Screen.PaletteState != kPaletteDim) return;
  core::Screen.ShownPalette[15] = core::Screen.ScreenPalette[15];
  if (core::Input.SkipMode) {
    ApplyScreenPalette();
  } else {
    for (int level = DimLevel(); level <= Steps(); ++level) {
      TimedStep(1, [&] { SetPaletteLevel15(static_cast<std::int16_t>(level), 0); });
    }
  }
  core::Screen.PaletteState = kPaletteNormal;
}

// The dimmed fades run the plain ones on a dimmed copy of the scene palette and put the
// scene palette back afterwards.
void FadeInDim(std::uint16_t cs) {
  if (core::Screen.PaletteState != kPaletteBlack) return;
  PALETTEENTRY scene[16];
  std::copy(core::Screen.ScreenPalette, core::Screen.ScreenPalette + 16, scene);
  DimScreenPalette();
  if (core::Input.SkipMode) {
    ApplyScreenPalette();
  } else {
    FadeIn(cs);
  }
  std::copy(scene, scene + 16, core::Screen.ScreenPalette);
  core::Screen.PaletteState = kPaletteDim;
}

void FadeOutDim(std::uint16_t cs) {
  if (core::Screen.PaletteState == kPaletteBlack) return;
  PALETTEENTRY scene[16];
  std::copy(core::Screen.ScreenPalette, core::Screen.ScreenPalette + 16, scene);
  DimScreenPalette();
  if (core::Input.SkipMode) {
    ApplyBlack();
  } else {
    FadeOut(cs);
  }
  std::copy(scene, scene + 16, core::Screen.ScreenPalette);
  core::Screen.PaletteState = kPaletteBlack;
}

void CrossFadePalette(const PALETTEENTRY* old_palette, const PALETTEENTRY* new_palette,
                      std::uint16_t cs) {
  // Copies first: either argument may be ScreenPalette itself.
  PALETTEENTRY from[16], to[16];
  std::copy(old_palette, old_palette + 16, from);
  std::copy(new_palette, new_palette + 16, to);
  if (core::Input.SkipMode) {
    core::PaletteCopy(core::Screen.ScreenPalette, to);
    ApplyScreenPalette();
    return;
  }
  const int n = Steps();
  const auto mix = [&](int o, int w, int k) {
    int v = (w * (n - k) + o * k) / n;
    if (core::Screen.PaletteState == kPaletteDim) v = v * 10 / 15;
    return Channel(v);
  };
  for (int k = n; k >= 0; --k) {
    TimedStep(cs, [&] {
      for (int i = 0; i < 15; ++i) {
        core::Screen.ShownPalette[i] =
            PALETTEENTRY{mix(from[i].peRed, to[i].peRed, k), mix(from[i].peGreen, to[i].peGreen, k),
                         mix(from[i].peBlue, to[i].peBlue, k), PC_RESERVED};
      }
      core::Screen.ShownPalette[15] = kWhite;
      ApplyShownPalette();
    });
  }
}

void SavePalette() { core::PaletteCopy(core::Screen.SavedPalette, core::Screen.ScreenPalette); }

void RestorePalette() { core::PaletteCopy(core::Screen.ScreenPalette, core::Screen.SavedPalette); }

}  // namespace visuals
