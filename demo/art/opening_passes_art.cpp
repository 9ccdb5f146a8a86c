// The layers of the opening's two passes. Pass 1 (teal over red): Hotaru's profile slides
// in from the right while festival lanterns come down on the left. Pass 2 (red under
// violet): the lone tree on the sunset hill slides in from the left while the sparks of a
// firework fall over the right.
#include <algorithm>

#include "opening_art.h"
#include "pixel_kit.h"

namespace demo_art {
namespace {

constexpr int kSlideWidth = 336, kSlideHeight = 400;
constexpr int kOverlayWidth = 448, kOverlayHeight = 512;

// The preview colours: the game's pass palettes, layer values only.
constexpr authoring::Palette16 kPass1Slide{{{0, 0, 0}, {0, 8, 8}, {2, 5, 5}, {0, 0, 0}}};
constexpr authoring::Palette16 kPass2Slide{{{0, 0, 0}, {10, 2, 0}, {8, 0, 0}, {0, 0, 0}}};
authoring::Palette16 OverlayColours(authoring::Rgb4 light, authoring::Rgb4 dark) {
  authoring::Palette16 p{};
  p[4] = light;
  p[8] = dark;
  return p;
}

// Hotaru seen from the side, facing left, her hair up: inside the shape or not.
bool InProfile(int x, int y) {
  auto in_ellipse = [&](int cx, int cy, int rx, int ry) {
    const std::int64_t dx = x - cx, dy = y - cy;
    return dx * dx * ry * ry + dy * dy * rx * rx <= std::int64_t{rx} * rx * ry * ry;
  };
  return in_ellipse(170, 168, 56, 66)                   // head
         || in_ellipse(200, 96, 34, 30)                 // the bun
         || in_ellipse(116, 186, 10, 9)                 // nose
         || in_ellipse(128, 220, 16, 14)                // chin
         || (x > 150 && x < 206 && y > 210 && y < 300)  // neck
         || in_ellipse(214, 430, 150, 150);             // shoulders
}

}  // namespace

Artwork PaintHotaruProfile() {
  PixelCanvas c(kSlideWidth, kSlideHeight, 0);
  for (int y = 0; y < kSlideHeight; ++y) {
    for (int x = 0; x < kSlideWidth; ++x) {
      if (!InProfile(x, y)) continue;
      // Lit from the left: a bright rim, then the dim colour fading into black.
      if (!InProfile(x - 5, y)) {
        c.Set(x, y, 1);
      } else {
        const int tone = std::max(0, 64 - (x - 100) / 2 - (y > 300 ? (y - 300) / 2 : 0));
        c.Set(x, y, DitherTone({3, 2}, tone, x, y));
      }
    }
  }
  // A hairpin with a firefly charm, and the yukata's collar.
  ThickLine(&c, 214, 76, 250, 50, 2, 1);
  FillDisc(&c, 252, 48, 6, 1);
  ThickLine(&c, 150, 300, 196, 392, 3, 2);
  return FinishOpeningLayer("OP1W.SDT", c, kPass1Slide);
}

Artwork PaintLanterns() {
  PixelCanvas c(kOverlayWidth, kOverlayHeight, 0);
  struct Lantern {
    int x, y, rx, ry;
  };
  constexpr Lantern kLanterns[] = {{64, 120, 30, 38},  {64, 330, 26, 32}, {176, 220, 34, 42},
                                   {176, 440, 28, 34}, {296, 90, 26, 32}, {296, 300, 32, 40},
                                   {400, 190, 28, 36}, {400, 410, 30, 38}};
  // Strings from the top, each through its lanterns.
  for (const Lantern& l : kLanterns) ThickLine(&c, l.x, 0, l.x, l.y, 0, 8);
  for (const Lantern& l : kLanterns) {
    for (int y = l.y - l.ry; y <= l.y + l.ry; ++y) {
      for (int x = l.x - l.rx; x <= l.x + l.rx; ++x) {
        const std::int64_t dx = x - l.x, dy = y - l.y;
        if (dx * dx * l.ry * l.ry + dy * dy * l.rx * l.rx > std::int64_t{l.rx} * l.rx * l.ry * l.ry)
          continue;
        // Paper ribs every 8 rows and a shadow on the right side.
        const bool rib = (y - l.y + l.ry) % 8 == 0;
        const bool shade = (x - l.x) * 64 / l.rx > 64 - Bayer(x, y) - 16;
        c.Set(x, y, rib || shade ? 8 : 4);
      }
    }
    FillBox(&c, l.x - l.rx / 2, l.y - l.ry - 5, l.x + l.rx / 2 + 1, l.y - l.ry + 2, 12);
    FillBox(&c, l.x - l.rx / 2, l.y + l.ry - 2, l.x + l.rx / 2 + 1, l.y + l.ry + 5, 12);
    ThickLine(&c, l.x, l.y + l.ry + 5, l.x, l.y + l.ry + 16, 0, 8);
  }
  return FinishOpeningLayer("OP2W.SDT", c,
                            OverlayColours(authoring::Rgb4{9, 2, 2}, authoring::Rgb4{7, 0, 0}));
}

Artwork PaintSparks() {
  PixelCanvas c(kOverlayWidth, kOverlayHeight, 0);
  struct Burst {
    int x, y, radius, rays;
  };
  constexpr Burst kBursts[] = {{300, 120, 110, 40}, {120, 300, 80, 30}, {330, 420, 70, 28}};
  IntRng rng(303);
  for (const Burst& b : kBursts) {
    for (int i = 0; i < b.rays; ++i) {
      // Directions on a circle from a table of sines in 1/1024 (16 steps a quarter).
      const int a = i * 64 / b.rays;
      static constexpr int kSine[17] = {0,   100, 200, 297, 392, 483,  569,  650, 724,
                                        792, 851, 903, 946, 980, 1004, 1019, 1024};
      auto sine = [&](int k) {
        k = ((k % 64) + 64) % 64;
        if (k <= 16) return kSine[k];
        if (k <= 32) return kSine[32 - k];
        if (k <= 48) return -kSine[k - 32];
        return -kSine[64 - k];
      };
      const int dx = sine(a + 16), dy = sine(a);
      const int reach = b.radius * rng.Between(85, 105) / 100;
      // Sparks along the ray, drooping as they fall; the outer ones bright.
      for (int t = 3; t <= 10; ++t) {
        const int x = b.x + dx * reach * t / 10 / 1024;
        const int y = b.y + dy * reach * t / 10 / 1024 + t * t * t / 60;
        FillDisc(&c, x, y, t > 7 ? 3 : 1, t > 7 ? 4 : 8);
      }
    }
  }
  return FinishOpeningLayer("OP3W.SDT", c,
                            OverlayColours(authoring::Rgb4{5, 4, 11}, authoring::Rgb4{3, 2, 9}));
}

Artwork PaintSunsetTree() {
  PixelCanvas c(kSlideWidth, kSlideHeight, 0);
  constexpr int kSunX = 190, kSunY = 200, kSunRadius = 90;
  for (int y = 0; y < kSlideHeight; ++y) {
    for (int x = 0; x < kSlideWidth; ++x) {
      const int d2 = (x - kSunX) * (x - kSunX) + (y - kSunY) * (y - kSunY);
      // The sun in bands, brighter towards its centre, cut by streaks of cloud.
      if (d2 <= kSunRadius * kSunRadius && (y / 6) % 5 != 4)
        c.Set(x, y,
              DitherTone({2, 1}, (kSunRadius * kSunRadius - d2) * 96 / (kSunRadius * kSunRadius), x,
                         y));
      const int hill = 300 - (x - 120) * (x - 120) / 300;
      if (y > hill) c.Set(x, y, 3);
    }
  }
  // The lone tree on the hilltop: a trunk and its branches, then a crown of leaves.
  ThickLine(&c, 128, 300, 132, 190, 6, 3);
  ThickLine(&c, 130, 230, 84, 178, 3, 3);
  ThickLine(&c, 132, 214, 190, 170, 3, 3);
  IntRng rng(404);
  for (int i = 0; i < 60; ++i)
    FillDisc(&c, 130 + rng.Between(-80, 80), 170 + rng.Between(-50, 24), rng.Between(8, 18), 3);
  return FinishOpeningLayer("OP4W.SDT", c, kPass2Slide);
}

}  // namespace demo_art
