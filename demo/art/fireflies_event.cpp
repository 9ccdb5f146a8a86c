// Event picture H01: Hotaru by the river at night, seen from behind, among fireflies.
#include <algorithm>
#include <cmath>
#include <vector>

#include "event_kit.h"
#include "event_pictures.h"
#include "exact_math.h"
#include "noise.h"

namespace demo_art {
namespace {

constexpr std::uint8_t kColours[16][3] = {{0, 0, 0},  {1, 1, 3},   {2, 2, 5},   {3, 4, 7},
                                          {5, 6, 9},  {1, 3, 2},   {2, 5, 3},   {4, 8, 4},
                                          {9, 13, 4}, {13, 15, 8}, {2, 2, 6},   {5, 5, 11},
                                          {9, 2, 3},  {14, 5, 5},  {13, 10, 9}, {15, 15, 15}};

// Ramp numbers, in the order they are registered.
enum : std::uint8_t { kNight = 1, kGrass, kGlow, kIndigo, kRed, kSkin, kMoonlit };

constexpr double kFarBank = 168, kNearBank = 300;
constexpr Point kMoon{540, 52};
constexpr double kAxis = 232;  // Hotaru's centre line

Ink At(std::uint8_t ramp, double tone) { return Ink{ramp, static_cast<float>(tone)}; }

void PaintNight(Painting* p, Rng* rng) {
  p->FillAll([](int x, int y) {
    if (y < kFarBank) {
      const double t = y / kFarBank;
      return At(kNight, 0.5 + 1.6 * t * t + 0.3 * FractalNoise(x / 150.0, y / 20.0, 3, 71));
    }
    if (y < kNearBank) {
      // The river: ripples long along the current, the sky's glow near the far bank.
      const double depth = (y - kFarBank) / (kNearBank - kFarBank);
      const double ripple = FractalNoise(x / (50.0 + 50 * depth), y / (1.5 + 3 * depth), 3, 72);
      return At(kNight, 1.9 - 1.1 * depth + (ripple - 0.5) * 1.2);
    }
    const double grass = FractalNoise(x / 6.0, y / 3.0, 2, 73);
    return At(kGrass, 1.2 - (y - kNearBank) / 60.0 + grass * 0.7);
  });
  for (int i = 0; i < 120; ++i) {
    const int x = rng->Between(0, 639), y = rng->Between(0, 120);
    p->at(x, y) = At(kMoonlit, rng->Between(0, 3) == 0 ? 2 : 1);
  }
  // The moon and its path on the water.
  Sparkle(p, kMoon, 60, 0, kMoonlit);
  p->Fill(EllipseShape{kMoon, 20, 20}, At(kMoonlit, 2));
  for (int i = 0; i < 60; ++i) {
    const double depth = rng->Uniform(0, 1);
    const double y = kFarBank + 8 + depth * (kNearBank - kFarBank - 12);
    const double x = kMoon.x + rng->Uniform(-1, 1) * (10 + 45 * depth);
    const double half = 2 + 14 * depth * rng->Uniform(0.3, 1);
    p->Fill(RectShape{x - half, y, x + half, y + 1 + depth}, At(kMoonlit, rng->Uniform(0.8, 2)));
  }
  // The far bank's trees, and the near bank's edge with tall grass.
  for (int x = 0; x < 640; ++x) {
    const double top = kFarBank - 12 - 16 * FractalNoise(x / 35.0, 0.5, 3, 74);
    p->Fill(RectShape{static_cast<double>(x), top, x + 1.0, kFarBank + 3}, At(kNight, 0.35));
  }
  for (int i = 0; i < 500; ++i) {
    const double x = rng->Uniform(-10, 650), y = kNearBank + Pow(rng->Uniform(0, 1), 0.8) * 110;
    const double h = 6 + (y - kNearBank) * rng->Uniform(0.2, 0.7);
    // One draw per statement: the order of a call's arguments is the compiler's choice.
    const double lean = rng->Uniform(-8, 8);
    const double tone = rng->Uniform(0.2, 1.2);
    p->Fill(StrokeShape{Point{x, y}, Point{x + lean, y - h}, 1.3, 0.3}, At(kGrass, tone));
  }
}

void PaintHotaruFromBehind(Painting* p) {
  // Hanging sleeves, the body, the butterfly bow of the obi.
  for (double side : {-1.0, 1.0}) {
    const double x = kAxis + side * 56;
    p->FillWith(PolygonShape{{{x - side * 10, 248},
                              {x + side * 14, 262},
                              {x + side * 17, 392},
                              {x - side * 6, 400}}},
                [side](int, int) { return At(kIndigo, side > 0 ? 1.7 : 1.1); });
  }
  std::vector<Point> body =
      Curve(Point{kAxis - 20, 222}, Point{kAxis - 46, 228}, Point{kAxis - 58, 258}, 10);
  Append(&body, {{kAxis - 56, 400}, {kAxis + 56, 400}});
  Append(&body, Curve(Point{kAxis + 58, 258}, Point{kAxis + 46, 228}, Point{kAxis + 20, 222}, 10));
  p->FillWith(PolygonShape{body}, [](int x, int y) {
    const int row = y / 26;
    const double cx = std::floor((x + (row % 2) * 13) / 26.0) * 26 + 13 - (row % 2) * 13;
    const double d = Hypot(x + 0.5 - cx, y + 0.5 - (row * 26 + 13));
    if (d < 4) return At(kIndigo, 3);
    return At(kIndigo, 1.2 + std::max(0.0, (x - kAxis) / 60.0) * 0.7);  // moonlight from the right
  });
  p->Fill(RectShape{kAxis - 57, 306, kAxis + 57, 334}, At(kRed, 0.8));
  for (double side : {-1.0, 1.0}) {
    p->FillWith(
        PolygonShape{{{kAxis, 318},
                      {kAxis + side * 56, 282},
                      {kAxis + side * 60, 300},
                      {kAxis + side * 52, 352},
                      {kAxis, 324}}},
        [side](int, int y) { return At(kRed, (side > 0 ? 1.3 : 0.8) - (y > 330 ? 0.4 : 0)); });
  }
  p->Fill(RectShape{kAxis - 10, 306, kAxis + 10, 334}, At(kRed, 1.2));  // the knot
  // The nape below hair put up in a bun, a hairpin with a dangling bead.
  p->Fill(
      PolygonShape{{{kAxis - 15, 196}, {kAxis + 15, 196}, {kAxis + 19, 228}, {kAxis - 19, 228}}},
      At(kSkin, 0.7));
  p->FillWith(EllipseShape{Point{kAxis, 180}, 31, 33}, [](int x, int y) {
    // Strands: fine streaks, and the moon's light along the right side.
    const double strand = FractalNoise(x / 2.0, y / 12.0, 2, 75);
    return At(kNight, 0.3 + strand * 0.6 + (x > kAxis + 18 ? 0.8 : 0));
  });
  p->Fill(
      PolygonShape{{{kAxis - 16, 205}, {kAxis + 16, 205}, {kAxis + 12, 214}, {kAxis - 12, 214}}},
      At(kNight, 0.6));
  p->FillWith(EllipseShape{Point{kAxis + 4, 146}, 19, 16},
              [](int x, int) { return At(kNight, x > kAxis + 12 ? 1.2 : 0.5); });
  p->Fill(StrokeShape{Point{kAxis - 12, 152}, Point{kAxis + 26, 138}, 1.3, 1.3}, At(kMoonlit, 1.6));
  p->Fill(StrokeShape{Point{kAxis + 24, 139}, Point{kAxis + 27, 158}, 0.6, 0.6}, At(kMoonlit, 1.2));
  p->Fill(EllipseShape{Point{kAxis + 27, 160}, 3, 3}, At(kRed, 1.5));
}

void PaintFireflies(Painting* p, Rng* rng, int count, double near_y) {
  for (int i = 0; i < count; ++i) {
    const Point at{rng->Uniform(0, 640), rng->Uniform(near_y - 180, near_y)};
    const double size = 0.5 + (at.y - 90) / 300;
    Sparkle(p, at, 4 + 7 * size, 0.6 + 0.8 * size, kGlow);
    // Over the water each light has a faint twin below it.
    if (at.y > kFarBank && at.y < kNearBank - 20) {
      const Point twin{at.x, kNearBank - (at.y - kFarBank) * 0.3};
      if (twin.y > at.y + 10) Sparkle(p, twin, 4 + 4 * size, 0, kGlow);
    }
  }
}

}  // namespace

Artwork PaintFirefliesByTheRiver() {
  Painting p(authoring::kScreenWidth, authoring::kScreenHeight);
  p.AddRamp({0, 1, 2, 3, 4});   // kNight
  p.AddRamp({0, 5, 6, 7});      // kGrass
  p.AddRamp({6, 7, 8, 9, 15});  // kGlow
  p.AddRamp({0, 10, 11, 4});    // kIndigo
  p.AddRamp({12, 13});          // kRed
  p.AddRamp({12, 14});          // kSkin
  p.AddRamp({3, 4, 15});        // kMoonlit
  Rng rng(101);
  PaintNight(&p, &rng);
  PaintFireflies(&p, &rng, 40, 300);
  PaintHotaruFromBehind(&p);
  PaintFireflies(&p, &rng, 14, 400);
  return FinishEventPicture(p, 'H', 1, EventPalette(kColours));
}

}  // namespace demo_art
