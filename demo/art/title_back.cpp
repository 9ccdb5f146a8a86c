// OP2_BACK.VGR: a summer night by the river. A navy sky with stars and a crescent moon,
// hills along the far bank, the moon's light broken on the water, grass in the foreground
// and fireflies over all of it.
#include <algorithm>
#include <array>

#include "pixel_kit.h"
#include "title_scene.h"

namespace demo_art {
namespace {

constexpr int kWidth = authoring::kScreenWidth;
constexpr int kHeight = authoring::kScreenHeight;
constexpr int kShore = 286;  // the far bank meets the water
// The moon stands at the right edge, beyond the text of the slot screens over the title.
constexpr int kMoonX = 566, kMoonY = 74;
// The sky's tones from the zenith down.
constexpr std::array<std::uint8_t, 4> kSkyTones = {kTitleSkyTop, 2, 3, kTitleSkyHorizon};

// The sky tone one step lighter than `colour`, or 0 when it is the lightest or no sky.
std::uint8_t LighterSky(std::uint8_t colour) {
  for (std::size_t i = 0; i + 1 < kSkyTones.size(); ++i)
    if (kSkyTones[i] == colour) return kSkyTones[i + 1];
  return 0;
}

int RidgeTop(int x) { return 226 + ValueNoise8(x, 0, 96, 31) / 6 + ValueNoise8(x, 0, 24, 32) / 16; }
int BankTop(int x) { return 344 + ValueNoise8(x, 0, 80, 41) / 10; }

void PaintSky(PixelCanvas* c) {
  for (int y = 0; y < kShore; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const int cloud = FractalNoise8(x, y * 3, 128, 3, 7);
      const int tone = y * 3 * kToneStep / kShore + std::max(0, cloud - 150) / 3;
      c->Set(x, y,
             DitherTone({kSkyTones[0], kSkyTones[1], kSkyTones[2], kSkyTones[3]}, tone, x, y));
    }
  }
  IntRng rng(11);
  for (int i = 0; i < 260; ++i) {
    const int x = rng.Between(0, kWidth - 1), y = rng.Between(0, 200);
    c->Set(x, y, rng.Between(0, 5) == 0 ? kTitleWhite : kTitleMoonlight);
  }
  // A crescent: the moon's disc less a disc shifted towards the upper right.
  for (int y = kMoonY - 44; y <= kMoonY + 44; ++y) {
    for (int x = kMoonX - 44; x <= kMoonX + 44; ++x) {
      const int d2 = (x - kMoonX) * (x - kMoonX) + (y - kMoonY) * (y - kMoonY);
      const int e2 = (x - kMoonX - 11) * (x - kMoonX - 11) + (y - kMoonY + 8) * (y - kMoonY + 8);
      if (d2 <= 27 * 27 && e2 > 24 * 24) {
        c->Set(x, y, kTitleMoon);
      } else if (d2 <= 44 * 44 && d2 > 27 * 27 && LighterSky(c->at(x, y)) != 0) {
        // A faint halo: one step lighter, thinning out with the distance.
        const int fall = (44 * 44 - d2) * 48 / (44 * 44 - 27 * 27);
        if (fall > Bayer(x, y)) c->Set(x, y, LighterSky(c->at(x, y)));
      }
    }
  }
}

void PaintHillsAndRiver(PixelCanvas* c) {
  for (int x = 0; x < kWidth; ++x) {
    for (int y = RidgeTop(x); y < kShore; ++y) c->Set(x, y, kTitleHills);
    for (int y = kShore; y < kHeight; ++y) {
      // Ripples: streaks of the river's colour on the dark water, denser near the bank.
      const int ripple = ValueNoise8(x, y * 16, 40, 51);
      const int tone = (y - kShore) * kToneStep / 100 + std::max(0, ripple - 128) / 2;
      std::uint8_t colour = DitherTone({kTitleHills, kTitleRiver}, tone, x, y);
      // The moon's path on the water: broken bars of light that widen towards us.
      const int half = 8 + (y - kShore) / 3;
      if (x > kMoonX - half && x < kMoonX + half && LatticeByte(x / 12, y / 2, 52) > 150)
        colour = kTitleMoonlight;
      c->Set(x, y, colour);
    }
  }
}

void PaintBankAndGrass(PixelCanvas* c) {
  for (int x = 0; x < kWidth; ++x)
    for (int y = BankTop(x); y < kHeight; ++y) c->Set(x, y, kTitleBank);
  IntRng rng(21);
  for (int i = 0; i < 420; ++i) {
    const int x = rng.Between(-10, kWidth + 10);
    const int base = BankTop(std::clamp(x, 0, kWidth - 1)) + rng.Between(4, 30);
    const int height = rng.Between(24, 80);
    const int lean = rng.Between(-18, 18);
    ThickLine(c, x, base, x + lean, base - height, 1, kTitleBank);
    if (rng.Between(0, 3) == 0)
      ThickLine(c, x + lean, base - height, x + lean - lean / 4, base - height + 6, 0, kTitleGrass);
  }
}

void PaintFirefly(PixelCanvas* c, int cx, int cy, int size) {
  const int halo = 4 + size * 2;
  for (int y = cy - halo; y <= cy + halo; ++y) {
    for (int x = cx - halo; x <= cx + halo; ++x) {
      if (!c->Inside(x, y)) continue;
      const int d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
      if (d2 <= size * size) {
        c->Set(x, y, kTitleFireflyCore);
      } else if (d2 <= (size + 2) * (size + 2)) {
        c->Set(x, y, kTitleFireflyGlow);
      } else if (d2 <= halo * halo && (halo * halo - d2) * 64 / (halo * halo) > Bayer(x, y)) {
        c->Set(x, y, kTitleFireflyHalo);
      }
    }
  }
}

void PaintFireflies(PixelCanvas* c) {
  IntRng rng(61);
  for (int i = 0; i < 46; ++i) {
    const int x = rng.Between(8, kWidth - 8);
    // Most of them low, over the grass and the water; a few drift up into the sky.
    const int y = rng.Between(0, 4) == 0 ? rng.Between(120, 250) : rng.Between(250, 392);
    PaintFirefly(c, x, y, y > 330 ? rng.Between(1, 2) : rng.Between(0, 1));
  }
}

}  // namespace

authoring::Palette16 TitlePalette() {
  return authoring::Palette16{{{0, 0, 0},
                               {1, 1, 3},
                               {1, 2, 5},
                               {2, 3, 7},
                               {13, 14, 15},
                               {0, 1, 3},
                               {1, 2, 2},
                               {2, 5, 3},
                               {3, 5, 9},
                               {4, 4, 9},
                               {15, 14, 10},
                               {3, 7, 2},
                               {9, 14, 3},
                               {14, 15, 8},
                               {15, 12, 5},
                               {15, 15, 15}}};
}

Artwork PaintTitleBack() {
  PixelCanvas c(kWidth, kHeight);
  PaintSky(&c);
  PaintHillsAndRiver(&c);
  PaintBankAndGrass(&c);
  PaintFireflies(&c);
  Artwork art;
  art.kind = ArtKind::kScreenPicture;
  art.file_name = "OP2_BACK.VGR";
  art.image = c.ToImage();
  art.options.order = authoring::PixelOrder::kRows;
  art.options.palette = TitlePalette();
  return art;
}

}  // namespace demo_art
