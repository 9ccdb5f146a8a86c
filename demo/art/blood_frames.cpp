// The blood frames and the red scene after them. A splash is a big drop in the middle and
// smaller ones thrown around it, each a disc with a ragged rim; they appear and spread
// frame by frame, and from the third frame on the larger ones run down. Colours 1–3 of every
// frame are background 40's dark red, so the red scene shown in the last frame's colours
// already looks as it will.
#include <cstdio>
#include <vector>

#include "effect_frames.h"
#include "effect_kit.h"
#include "scene_colours.h"

namespace demo_art {
namespace {

constexpr std::uint8_t kEmpty = 0;
constexpr std::uint8_t kRim = 4;
constexpr std::uint8_t kBody = 5;
constexpr std::uint8_t kInner = 6;
constexpr std::uint8_t kShine = 7;
constexpr int kRedScene = 40;

struct Drop {
  int x, y;    // centre
  int radius;  // when it has spread
  int from;    // the frame it first shows in
  int run;     // how far it runs down per frame from the third, 0: it does not
};

std::vector<Drop> Splash() {
  std::vector<Drop> drops = {{320, 168, 64, 0, 46}};
  effect::Dice dice(404);
  while (drops.size() < 26) {
    const int dx = dice.Between(-300, 300), dy = dice.Between(-150, 190);
    const int d2 = dx * dx + dy * dy * 2;
    if (d2 < 90 * 90 || d2 > 300 * 300) continue;
    const int radius = dice.Between(4, 20) * 200 * 200 / (200 * 200 + d2 / 2);
    const int from = d2 < 170 * 170 ? 0 : d2 < 240 * 240 ? 1 : 2;
    drops.push_back(
        Drop{320 + dx, 168 + dy, radius + 3, from, radius > 10 ? dice.Between(16, 40) : 0});
  }
  return drops;
}

// Colours 4–7 (rim, body, inner, shine) per frame: bright when the blood is fresh.
constexpr std::uint8_t kBloodColours[4][4][3] = {
    {{9, 0, 0}, {14, 1, 1}, {15, 4, 3}, {15, 11, 10}},
    {{8, 0, 0}, {13, 1, 1}, {15, 3, 2}, {15, 9, 8}},
    {{7, 0, 0}, {11, 0, 0}, {14, 2, 1}, {15, 7, 6}},
    {{6, 0, 0}, {10, 0, 0}, {12, 1, 1}, {14, 5, 4}},
};

// The colour of drop `d` at (x, y) in frame n, or kEmpty.
std::uint8_t DropColour(const Drop& d, int x, int y, int n) {
  if (n < d.from) return kEmpty;
  const int r = d.radius * (3 + n - d.from) / 6 + 1;
  const int dx = x - d.x, dy = y - d.y;
  const int d2 = dx * dx + dy * dy;
  // The rim frays: the edge moves in and out with the dither.
  if (d2 < r * r + (effect::Bayer(x, y) - 8) * r) {
    const int sx = x - (d.x - r / 3), sy = y - (d.y - r / 3);
    if (sx * sx + sy * sy < r * r / 36) return kShine;
    if (d2 < r * r / 4) return kInner;
    return d2 > (r - 2) * (r - 2) ? kRim : kBody;
  }
  // Its run down, from the third frame: a stream with a rounder drop at its end.
  if (d.run == 0 || n < 2) return kEmpty;
  const int half = r / 5 + 1;
  const int end = d.y + r / 2 + d.run * (n - 1);
  if (y >= d.y && y <= end && dx >= -half && dx <= half)
    return dx == -half || dx == half ? kRim : kBody;
  const int ey = y - end;
  return dx * dx + ey * ey < (half + 2) * (half + 2) ? kBody : kEmpty;
}

}  // namespace

Artwork PaintBloodFrame(int n) {
  std::uint8_t colours[16][3] = {};
  for (int c = 1; c <= 3; ++c) {
    colours[c][0] = 8;  // background 40's dark red
  }
  for (int i = 0; i < 4; ++i) {
    for (int c = 0; c < 3; ++c) colours[kRim + i][c] = kBloodColours[n][i][c];
  }
  static const std::vector<Drop> drops = Splash();
  char name[16];
  std::snprintf(name, sizeof name, "BLDW%1d.VGR", n);
  return effect::FinishFrame(name, colours, kEmpty, [n](int x, int y) {
    std::uint8_t colour = kEmpty;
    for (const Drop& d : drops) {
      const std::uint8_t here = DropColour(d, x, y, n);
      if (here != kEmpty) colour = here;
    }
    return colour;
  });
}

Artwork PaintRedOut() {
  Artwork art;
  art.kind = ArtKind::kBackground;
  art.file_name = "S40.VGR";
  art.image = authoring::PictureImage{authoring::kScreenWidth, authoring::kScreenHeight, {}};
  const int w = art.image.width, h = art.image.height;
  art.image.pixels.resize(static_cast<std::size_t>(w * h));
  // Black runs from the top edge.
  effect::Dice dice(40);
  struct Run {
    int x, half, end;
  };
  std::vector<Run> runs;
  for (int x = 12; x < w; x += dice.Between(26, 70)) {
    runs.push_back(Run{x, dice.Between(1, 4), dice.Between(20, 150)});
  }
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      // Distance from the middle: 0 at the centre, 64 at the middle of each edge.
      const int dx = (x - w / 2) * 64 / (w / 2), dy = (y - h / 2) * 64 / (h / 2);
      const int edge = static_cast<int>(effect::SquareRoot(dx * dx + dy * dy));
      // Colours 1–3 by that distance (one dark red in the game), black dithered in towards
      // the edges.
      std::uint8_t colour = static_cast<std::uint8_t>(edge < 24 ? 3 : edge < 44 ? 2 : 1);
      if ((edge - 40) * 16 / 24 > effect::Bayer(x, y)) colour = 0;
      for (const Run& r : runs) {
        const int ey = y - r.end;
        if ((x >= r.x - r.half && x <= r.x + r.half && y <= r.end) ||
            (x - r.x) * (x - r.x) + ey * ey <= (r.half + 2) * (r.half + 2))
          colour = 0;
      }
      art.image.pixels[static_cast<std::size_t>(y * w + x)] = colour;
    }
  }
  art.options.order = authoring::PixelOrder::kRows;
  art.options.palette = ScenePalette16(kRedScene);
  return art;
}

}  // namespace demo_art
