// The claw frames: each mark is a curved stroke, pointed at both ends and widest in the
// middle, torn along its length a little further in every frame. The layers of a mark (its
// glow, edge and core) are colours 1, 2 and 3, so each frame's palette recolours every mark
// already on the screen: the blow cools from white to red as it lands.
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "effect_frames.h"
#include "effect_kit.h"

namespace demo_art {
namespace {

using effect::kSub;

constexpr std::uint8_t kEmpty = 0;
constexpr std::uint8_t kGlow = 1;
constexpr std::uint8_t kEdge = 2;
constexpr std::uint8_t kCore = 3;
constexpr int kUnit = 1024;  // fractions along a mark

struct Mark {
  int x0, y0, x1, y1;  // from where the claw enters to where it leaves
  int width;           // half the width at the middle, in pixels
  int bow;             // how far the middle bends to the mark's left, in pixels
};

// The first blow, from the upper right, and the second, wider one from the upper left.
constexpr Mark kFirstBlow[] = {
    {470, 8, 96, 372, 9, 22}, {548, 14, 170, 390, 11, 24}, {622, 24, 246, 394, 9, 20}};
constexpr Mark kSecondBlow[] = {{24, 30, 548, 392, 13, -26},
                                {96, 12, 616, 356, 16, -30},
                                {170, 2, 634, 286, 13, -24},
                                {-6, 110, 470, 398, 11, -20}};

// Colours 1–3 (glow, edge, core) of every frame, 4-bit red, green, blue; frame 11's glow is
// the red the screen flashes in.
constexpr std::uint8_t kMarkColours[12][3][3] = {
    {},
    {{4, 4, 9}, {9, 10, 14}, {15, 15, 15}},
    {{6, 3, 6}, {12, 9, 11}, {15, 14, 14}},
    {{8, 1, 2}, {14, 5, 4}, {15, 11, 9}},
    {{6, 0, 0}, {11, 1, 1}, {15, 5, 3}},
    {{3, 3, 7}, {8, 8, 12}, {15, 15, 15}},
    {{4, 3, 7}, {10, 9, 13}, {15, 15, 15}},
    {{6, 3, 6}, {12, 8, 11}, {15, 14, 13}},
    {{8, 2, 4}, {13, 6, 7}, {15, 12, 11}},
    {{10, 1, 2}, {14, 4, 4}, {15, 10, 8}},
    {{12, 1, 1}, {14, 3, 2}, {15, 8, 6}},
    {{15, 3, 2}, {12, 1, 1}, {15, 9, 7}},
};

// The layer of a mark at (x, y) when `reach` of `frames` of its length has been torn: 0
// outside it. `length` is the mark's length in pixels.
std::uint8_t MarkLayer(const Mark& m, std::int64_t length, int x, int y, int reach, int frames) {
  const std::int64_t vx = m.x1 - m.x0, vy = m.y1 - m.y0;
  const std::int64_t px = x - m.x0, py = y - m.y0;
  const std::int64_t length2 = vx * vx + vy * vy;
  const std::int64_t along = px * vx + py * vy;
  if (along < 0 || along * frames > length2 * reach) return kEmpty;
  const std::int64_t t = along * kUnit / length2;
  const std::int64_t swell = 4 * t * (kUnit - t);  // 0 at the ends, kUnit² in the middle
  const std::int64_t across = (px * vy - py * vx) * kSub / length;
  const std::int64_t bend = std::int64_t{m.bow} * kSub * swell / (kUnit * kUnit);
  const std::int64_t off = std::llabs(across - bend);
  const std::int64_t half = std::int64_t{m.width} * kSub * swell / (kUnit * kUnit);
  if (off * 3 < half) return kCore;
  if (off * 3 < half * 2) return kEdge;
  if (off < half) return kGlow;
  // A fringe of glow, thinning outwards.
  if (off < half + 4 * kSub && effect::Bayer(x, y) * 4 * kSub > (off - half) * 16) return kGlow;
  return kEmpty;
}

}  // namespace

Artwork PaintClawFrame(int n) {
  const bool first = n <= 4;
  const int reach = first ? n : n - 4;
  const int frames = first ? 4 : 7;
  std::uint8_t colours[16][3] = {};
  for (int layer = 0; layer < 3; ++layer) {
    for (int c = 0; c < 3; ++c) colours[1 + layer][c] = kMarkColours[n][layer][c];
  }
  const Mark* marks = first ? kFirstBlow : kSecondBlow;
  const std::size_t count = first ? std::size(kFirstBlow) : std::size(kSecondBlow);
  std::int64_t lengths[4] = {};
  for (std::size_t i = 0; i < count; ++i) {
    const std::int64_t vx = marks[i].x1 - marks[i].x0, vy = marks[i].y1 - marks[i].y0;
    lengths[i] = effect::SquareRoot(vx * vx + vy * vy);
  }
  char name[16];
  std::snprintf(name, sizeof name, "CLAW%02dW.VGR", n);
  return effect::FinishFrame(name, colours, kEmpty, [&](int x, int y) {
    std::uint8_t layer = kEmpty;
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint8_t here = MarkLayer(marks[i], lengths[i], x, y, reach, frames);
      if (here > layer) layer = here;
    }
    return layer;
  });
}

}  // namespace demo_art
