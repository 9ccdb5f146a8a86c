// The event pictures of the story's last pages, the summer remembered: V03 the festival's
// lanterns, V04 watermelon on the veranda, H02 Hotaru's profile by the river, H03 the road
// through the rice fields, H04 Hotaru turning round among the fireflies. Painted in integer
// arithmetic on the pixel canvas.
#include <cstdio>

#include "event_kit.h"
#include "pixel_kit.h"
#include "summer_memories.h"

namespace demo_art {
namespace {

Artwork Finish(const PixelCanvas& c, char kind, int number, const std::uint8_t (&colours)[16][3]) {
  Artwork art;
  art.kind = ArtKind::kEventPicture;
  char name[16];
  std::snprintf(name, sizeof name, "%c%02d.VGR", kind, number);
  art.file_name = name;
  art.image = c.ToImage();
  art.options.order = authoring::PixelOrder::kRows;
  art.options.palette = EventPalette(colours);
  return art;
}

// A vertical gradient over rows top … bottom along `ramp`.
void SkyRows(PixelCanvas* c, int top, int bottom, ColourRamp ramp, int x0 = 0, int x1 = 640) {
  const int last = static_cast<int>(ramp.size()) - 1;
  for (int y = top; y < bottom; ++y)
    for (int x = x0; x < x1; ++x)
      c->Set(x, y, DitherTone(ramp, (y - top) * last * kToneStep / (bottom - top), x, y));
}

// A point of light: a dithered halo thinning out to `radius`, a solid core.
void Light(PixelCanvas* c, int cx, int cy, int radius, int core, ColourRamp halo,
           std::uint8_t centre) {
  const int last = static_cast<int>(halo.size()) - 1;
  for (int y = cy - radius; y <= cy + radius; ++y)
    for (int x = cx - radius; x <= cx + radius; ++x) {
      const int d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
      if (d2 > radius * radius || !c->Inside(x, y)) continue;
      const int d = ISqrt(d2);
      const int fall = (radius - d) * 64 / radius;  // 64 at the centre, 0 at the rim
      if (fall * fall / 64 > Bayer(x * 3 + 1, y * 5 + 2))
        c->Set(x, y, DitherTone(halo, fall * last, x, y));
    }
  FillDisc(c, cx, cy, core, centre);
}

}  // namespace

// --- V03: the festival's lanterns ---------------------------------------------------------
constexpr std::uint8_t kLanternColours[16][3] = {
    {0, 0, 0},   {1, 1, 3}, {2, 1, 5}, {4, 2, 6}, {7, 2, 4}, {12, 3, 2}, {15, 6, 2}, {15, 10, 4},
    {15, 14, 9}, {1, 1, 1}, {3, 2, 2}, {6, 4, 3}, {2, 3, 6}, {9, 7, 9},  {5, 1, 1},  {15, 15, 15}};

Artwork PaintFestivalLanterns() {
  PixelCanvas c(640, 400);
  SkyRows(&c, 0, 400, {1, 2, 3, 4});
  // Two strings of lanterns sagging between the poles of the stalls.
  for (int row = 0; row < 2; ++row) {
    const int top = 70 + row * 90, sag = 40 + row * 16;
    for (int x = 0; x < 640; ++x) {
      const int u = x % 320 - 160;
      const int y = top + sag - sag * u * u / (160 * 160);
      c.Set(x, y, 9);
    }
    for (int i = 0; i < 16; ++i) {
      const int x = 20 + i * 40 + row * 20;
      const int u = x % 320 - 160;
      const int y = top + sag - sag * u * u / (160 * 160) + 16;
      Light(&c, x, y, 34, 0, {4, 5, 6}, 0);
      FillBox(&c, x - 9, y - 12, x + 10, y + 13, 5);
      FillBox(&c, x - 7, y - 9, x + 8, y + 10, 6);
      FillBox(&c, x - 4, y - 6, x + 5, y + 7, 7);
      FillBox(&c, x - 9, y - 14, x + 10, y - 12, 9);
      FillBox(&c, x - 9, y + 13, x + 10, y + 15, 9);
    }
  }
  // The stalls' roofs and the crowd against the light.
  for (int s = 0; s < 5; ++s) {
    const int left = s * 136 - 20;
    for (int y = 250; y < 290; ++y)
      for (int x = left + (290 - y); x < left + 120 + (y - 250); ++x)
        c.Set(x, y, (x / 12 + s) % 2 ? 14 : 10);
    FillBox(&c, left + 40, 290, left + 126, 340, 11);
    FillBox(&c, left + 46, 296, left + 120, 334, 7);
  }
  IntRng rng(303);
  for (int i = 0; i < 40; ++i) {
    const int x = rng.Between(0, 639), h = rng.Between(60, 100);
    FillDisc(&c, x, 400 - h, 10, 9);
    FillBox(&c, x - 12, 400 - h + 8, x + 13, 400, 9);
  }
  return Finish(c, 'V', 3, kLanternColours);
}

// --- V04: watermelon on the veranda -------------------------------------------------------
constexpr std::uint8_t kVerandaColours[16][3] = {
    {0, 0, 0},    {6, 10, 15}, {10, 13, 15}, {3, 7, 3},   {5, 10, 4}, {8, 13, 6},
    {6, 4, 2},    {9, 6, 3},   {12, 9, 5},   {14, 3, 3},  {15, 6, 5}, {1, 4, 1},
    {14, 14, 12}, {2, 1, 1},   {11, 11, 10}, {15, 15, 15}};

Artwork PaintWatermelonVeranda() {
  PixelCanvas c(640, 400);
  SkyRows(&c, 0, 150, {1, 1, 2});
  // The garden: a hedge under noise, lighter where the sun reaches.
  for (int y = 110; y < 220; ++y)
    for (int x = 0; x < 640; ++x)
      if (y > 150 - FractalNoise8(x, 0, 48, 3, 7) / 6)
        c.Set(x, y, DitherTone({3, 4, 5}, FractalNoise8(x, y, 24, 3, 11) / 2, x, y));
  // The veranda's boards running towards the garden, and the eaves' shadow.
  for (int y = 220; y < 400; ++y)
    for (int x = 0; x < 640; ++x) {
      const int board = (x - 320) * 180 / (y - 120);
      const bool seam = (board + 1000) % 60 < 3;
      c.Set(x, y, seam ? 6 : DitherTone({6, 7, 8}, 40 + (y - 220) * 70 / 180, x, y));
    }
  FillBox(&c, 0, 0, 640, 24, 13);
  FillBox(&c, 0, 212, 640, 222, 6);
  // The plate and three slices: green rind, white, red flesh, black seeds.
  for (int y = 300; y < 360; ++y)
    for (int x = 180; x < 460; ++x) {
      const int dx = x - 320, dy = (y - 330) * 280 / 60;
      if (dx * dx + dy * dy < 140 * 140) c.Set(x, y, (dx * dx + dy * dy) < 120 * 120 ? 12 : 14);
    }
  for (int s = 0; s < 3; ++s) {
    const int cx = 236 + s * 84, base = 330;
    for (int y = base - 60; y <= base; ++y)
      for (int x = cx - 40; x <= cx + 40; ++x) {
        const int d2 = (x - cx) * (x - cx) + (y - base) * (y - base) * 2 / 3 * 3 / 2;
        if (d2 > 40 * 40) continue;
        c.Set(x, y, d2 > 36 * 36 ? 11 : d2 > 32 * 32 ? 12 : (x + y) % 7 ? 9 : 10);
      }
    for (int k = 0; k < 5; ++k) FillDisc(&c, cx - 20 + k * 10, base - 16 - (k % 2) * 12, 2, 13);
  }
  return Finish(c, 'V', 4, kVerandaColours);
}

// --- H02: Hotaru's profile by the river -------------------------------------------------
constexpr std::uint8_t kProfileColours[16][3] = {
    {0, 0, 0},    {1, 1, 4}, {2, 2, 6},    {3, 4, 8},   {5, 6, 10}, {1, 2, 3},
    {2, 3, 5},    {1, 1, 2}, {14, 12, 10}, {11, 9, 8},  {7, 12, 3}, {12, 15, 6},
    {15, 15, 11}, {3, 2, 3}, {6, 4, 4},    {15, 15, 15}};

Artwork PaintRiverProfile() {
  PixelCanvas c(640, 400);
  SkyRows(&c, 0, 240, {1, 2, 3, 4});
  SkyRows(&c, 240, 400, {6, 5, 7});
  // The river's light in broken lines.
  for (int y = 250; y < 400; y += 6)
    for (int x = 0; x < 640; ++x)
      if (ValueNoise8(x, y, 32, 21) > 170) c.Set(x, y, 4);
  // The profile facing left: hair, face and neck against the sky, lit from the river.
  FillDisc(&c, 420, 190, 88, 13);            // hair
  FillBox(&c, 340, 190, 500, 400, 13);       // hair falling to the shoulders
  FillDisc(&c, 372, 212, 52, 9);             // cheek
  ThickLine(&c, 332, 196, 322, 222, 8, 9);   // nose
  ThickLine(&c, 334, 240, 350, 262, 10, 9);  // chin
  FillBox(&c, 360, 250, 410, 330, 9);        // neck
  FillDisc(&c, 376, 214, 48, 8);             // the lit side of the face
  ThickLine(&c, 326, 204, 336, 226, 5, 8);
  ThickLine(&c, 346, 186, 362, 184, 2, 13);   // the eye's lashes
  ThickLine(&c, 356, 136, 330, 184, 16, 13);  // the fringe
  FillBox(&c, 300, 330, 520, 400, 14);        // yukata at the shoulder
  IntRng rng(202);
  for (int i = 0; i < 26; ++i) {
    const int x = rng.Between(20, 620), y = rng.Between(40, 380);
    if (x > 300 && x < 520) continue;
    Light(&c, x, y, 14, 2, {10, 11}, 12);
  }
  return Finish(c, 'H', 2, kProfileColours);
}

// --- H03: the road through the rice fields ------------------------------------------------
constexpr std::uint8_t kFieldColours[16][3] = {
    {0, 0, 0},  {5, 9, 15},   {8, 12, 15}, {12, 14, 15}, {15, 15, 15}, {2, 6, 2},
    {4, 9, 3},  {7, 12, 4},   {10, 14, 6}, {11, 10, 7},  {13, 12, 9},  {3, 3, 5},
    {14, 5, 5}, {15, 13, 12}, {6, 5, 4},   {15, 15, 15}};

Artwork PaintRiceFieldRoad() {
  PixelCanvas c(640, 400);
  SkyRows(&c, 0, 170, {1, 2, 3});
  // Summer clouds out of noise.
  for (int y = 20; y < 150; ++y)
    for (int x = 0; x < 640; ++x) {
      const int n = FractalNoise8(x, y * 2, 96, 3, 33) - (150 - y) / 3;
      if (n > 120) c.Set(x, y, DitherTone({3, 4}, (n - 120) * 2, x, y));
    }
  // The fields in rows that close up towards the horizon; the road to its vanishing point.
  constexpr int kHorizon = 170, kVanishX = 360;
  for (int y = kHorizon; y < 400; ++y) {
    const int depth = y - kHorizon + 1;
    for (int x = 0; x < 640; ++x) {
      const int half_road = depth * 90 / 230;
      const int road_x = kVanishX + (x - kVanishX);
      if (road_x > kVanishX - half_road && road_x < kVanishX + half_road) {
        c.Set(x, y, DitherTone({9, 10}, 30 + depth / 4, x, y));
        continue;
      }
      const bool furrow = ((x - kVanishX) * 40 / depth) % 2 == 0;
      c.Set(x, y, DitherTone({5, 6, 7, 8}, depth * 3 / 5 + (furrow ? 0 : 40), x, y));
    }
  }
  // Two small figures running down the road, their shadows behind them.
  for (int f = 0; f < 2; ++f) {
    const int x = 340 + f * 34, base = 300 - f * 10;
    FillBox(&c, x - 8, base - 40, x + 8, base - 8, f ? 12 : 4);
    FillDisc(&c, x, base - 50, 9, 11);
    ThickLine(&c, x - 4, base - 8, x - 12, base, 3, 11);
    ThickLine(&c, x + 4, base - 8, x + 12, base - 2, 3, 11);
    ThickLine(&c, x - 12, base, x - 40, base + 6, 4, 14);
  }
  // Power lines along the road.
  for (int p = 0; p < 4; ++p) {
    const int x = 120 - p * 40 + p * p * 6, height = 140 - p * 28;
    FillBox(&c, x, 300 - height - p * 30, x + 5 - p, 300 - p * 30, 11);
  }
  return Finish(c, 'H', 3, kFieldColours);
}

// --- H04: Hotaru turning round among the fireflies ----------------------------------------
constexpr std::uint8_t kTurningColours[16][3] = {{0, 0, 0},    {0, 1, 2}, {1, 2, 4},  {2, 3, 6},
                                                 {1, 2, 1},    {2, 4, 2}, {4, 7, 7},  {9, 12, 14},
                                                 {14, 15, 15}, {3, 6, 1}, {9, 13, 2}, {14, 15, 7},
                                                 {2, 1, 2},    {5, 3, 5}, {12, 9, 9}, {15, 15, 15}};

Artwork PaintHotaruTurning() {
  PixelCanvas c(640, 400);
  SkyRows(&c, 0, 260, {1, 2, 3});
  for (int y = 200; y < 400; ++y)
    for (int x = 0; x < 640; ++x)
      if (y > 250 - FractalNoise8(x, 0, 40, 3, 41) / 5)
        c.Set(x, y, DitherTone({4, 5}, FractalNoise8(x, y, 16, 2, 43) / 3, x, y));
  // The girl in a pale summer dress, half turned: dress, arms, hair, face.
  for (int y = 190; y < 380; ++y) {
    const int half = 24 + (y - 190) * 56 / 190;
    for (int x = 320 - half; x < 320 + half; ++x)
      c.Set(x, y, DitherTone({6, 7, 8}, 128 - (x - 320 + half) * 96 / (2 * half), x, y));
  }
  ThickLine(&c, 296, 200, 270, 290, 8, 14);
  ThickLine(&c, 344, 200, 372, 286, 8, 14);
  FillDisc(&c, 320, 150, 38, 12);
  FillBox(&c, 282, 150, 358, 230, 12);
  FillDisc(&c, 334, 158, 26, 14);
  ThickLine(&c, 300, 120, 352, 128, 10, 12);
  FillDisc(&c, 344, 162, 3, 13);
  // The fireflies round her, some close and large.
  IntRng rng(404);
  for (int i = 0; i < 60; ++i) {
    const int x = rng.Between(0, 639), y = rng.Between(20, 390);
    const int near = rng.Between(0, 9) == 0;
    Light(&c, x, y, near ? 26 : 12, near ? 3 : 1, {9, 10}, 11);
  }
  return Finish(c, 'H', 4, kTurningColours);
}

}  // namespace demo_art
