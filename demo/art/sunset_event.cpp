// Event picture V02: the sun going down behind a hill with a lone tree, two figures
// standing under it.
#include <algorithm>
#include <cmath>
#include <vector>

#include "event_kit.h"
#include "event_pictures.h"
#include "exact_math.h"
#include "noise.h"

namespace demo_art {
namespace {

constexpr std::uint8_t kColours[16][3] = {{0, 0, 0},  {3, 1, 5},   {6, 2, 7},   {10, 3, 7},
                                          {14, 5, 5}, {15, 8, 4},  {15, 11, 5}, {15, 14, 9},
                                          {2, 1, 3},  {5, 2, 4},   {9, 4, 3},   {4, 3, 7},
                                          {12, 6, 8}, {15, 10, 8}, {1, 1, 2},   {15, 15, 15}};

enum : std::uint8_t { kSky = 1, kLand, kCloud };

constexpr Point kSun{410, 262};
constexpr double kHorizon = 300;

Ink At(std::uint8_t ramp, double tone) { return Ink{ramp, static_cast<float>(tone)}; }

// The hill's crest: rising from the left to a top under the tree, then falling away.
double Crest(double x) {
  const double top = 236, crest_x = 170;
  const double d = (x - crest_x) / (x < crest_x ? 260 : 420);
  return top + 110 * d * d + 4 * (FractalNoise(x / 12.0, 0.5, 2, 91) - 0.5);
}

void PaintSky(Painting* p) {
  p->FillAll([](int x, int y) {
    // Deep purple overhead to gold at the horizon, brightest around the sun.
    const double t = std::min(1.0, y / kHorizon);
    const double sun = std::max(0.0, 1 - Hypot(x - kSun.x, (y - kSun.y) * 1.6) / 260);
    return At(kSky, 0.2 + 3.6 * t * t + 2.2 * sun * sun);
  });
  Sparkle(p, kSun, 48, 0, kSky, 6);
  p->Fill(EllipseShape{kSun, 30, 30}, At(kSky, 6));
}

void PaintClouds(Painting* p, Rng* rng) {
  // Long low clouds, dark purple underneath, their edges lit pink and gold towards the sun.
  for (int i = 0; i < 9; ++i) {
    const Point c{rng->Uniform(-40, 680), rng->Uniform(60, 250)};
    const double rx = rng->Uniform(80, 190), ry = rng->Uniform(5, 12);
    p->FillWith(EllipseShape{c, rx, ry}, [&](int x, int y) {
      const double towards_sun = std::max(0.0, 1 - Hypot(x - kSun.x, y - kSun.y) / 300);
      const double rim = y > c.y + ry * 0.3 ? 1.0 : 0.0;
      return At(kCloud, 0.4 + 1.2 * towards_sun + rim * (0.8 + towards_sun));
    });
  }
  // A few birds flying home.
  for (const Point b : {Point{250, 120}, Point{276, 108}, Point{292, 130}, Point{520, 150}}) {
    p->Fill(StrokeShape{Point{b.x - 7, b.y - 3}, b, 1, 0.8}, At(kLand, 0));
    p->Fill(StrokeShape{b, Point{b.x + 7, b.y - 3}, 0.8, 1}, At(kLand, 0));
  }
}

void PaintHill(Painting* p) {
  // Distant hills in haze, then the near hill with its grass lit along the crest.
  for (int x = 0; x < 640; ++x) {
    const double far = kHorizon - 22 - 20 * FractalNoise(x / 90.0, 0.5, 3, 92);
    p->Fill(RectShape{static_cast<double>(x), far, x + 1.0, 400}, At(kLand, 1.6));
    const double crest = Crest(x + 0.5);
    p->FillWith(RectShape{static_cast<double>(x), crest, x + 1.0, 400}, [crest](int, int y) {
      return At(kLand, y - crest < 2.5 ? 3 : 0.8 - std::min(0.8, (y - crest) / 90));
    });
  }
}

void PaintTreeAndFigures(Painting* p, Rng* rng) {
  const Ink dark = At(kLand, 0);
  // The tree: a leaning trunk, branches, and a wide crown of leaf clumps.
  const double foot_y = Crest(150);
  p->Fill(StrokeShape{Point{150, foot_y + 4}, Point{140, foot_y - 70}, 7, 4}, dark);
  p->Fill(StrokeShape{Point{141, foot_y - 60}, Point{92, foot_y - 100}, 3, 1.5}, dark);
  p->Fill(StrokeShape{Point{142, foot_y - 66}, Point{196, foot_y - 104}, 3, 1.5}, dark);
  for (int i = 0; i < 60; ++i) {
    const double a = rng->Uniform(0, 2 * 3.14159265), r = std::sqrt(rng->Uniform(0, 1));
    const Point c{145 + Cos(a) * r * 85, foot_y - 118 + Sin(a) * r * 36};
    p->Fill(EllipseShape{c, rng->Uniform(10, 20), rng->Uniform(7, 13)}, dark);
  }
  // Two people on the crest, the smaller with her hair up.
  const struct {
    double x, height;
    bool bun;
  } people[] = {{222, 54, true}, {246, 62, false}};
  for (const auto& person : people) {
    const double foot = Crest(person.x) + 2, top = foot - person.height;
    p->Fill(EllipseShape{Point{person.x, top + 6}, 5, 6}, dark);
    if (person.bun) p->Fill(EllipseShape{Point{person.x - 1, top - 1}, 3.5, 3}, dark);
    p->Fill(PolygonShape{{{person.x - 7, top + 13},
                          {person.x + 7, top + 13},
                          {person.x + 6, foot},
                          {person.x - 6, foot}}},
            dark);
  }
}

}  // namespace

Artwork PaintSunsetHill() {
  Painting p(authoring::kScreenWidth, authoring::kScreenHeight);
  p.AddRamp({1, 2, 3, 4, 5, 6, 7});  // kSky
  p.AddRamp({14, 8, 9, 10});         // kLand
  p.AddRamp({11, 12, 13, 6});        // kCloud
  Rng rng(301);
  PaintSky(&p);
  PaintClouds(&p, &rng);
  PaintHill(&p);
  PaintTreeAndFigures(&p, &rng);
  return FinishEventPicture(p, 'V', 2, EventPalette(kColours));
}

}  // namespace demo_art
