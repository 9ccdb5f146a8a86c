// Background 1: the field of fireflies.
#include <algorithm>
#include <cmath>

#include "background_kit.h"
#include "backgrounds.h"
#include "exact_math.h"
#include "noise.h"

namespace demo_art {
namespace {

constexpr double kHorizon = 250;

void PaintSkyAndMoon(Painting* p, Rng* rng) {
  p->FillAll([](int x, int y) {
    const double t = Pow(std::min(1.0, y / kHorizon), 1.6);
    const double haze = 0.25 * FractalNoise(x / 140.0, y / 35.0, 3, 11) * t;
    return Tone(0.15 + 0.85 * t + haze);
  });
  for (int i = 0; i < 90; ++i) {
    const int x = rng->Between(0, 639), y = rng->Between(0, 190);
    const bool bright = rng->Between(0, 5) == 0;
    p->at(x, y) = Tone(bright ? 3.0 : 1.8 - y / 300.0);
  }
  const Point moon{508, 72};
  Glow(p, moon, 80, 0.7);
  p->Fill(EllipseShape{moon, 20, 20}, Tone(3));
  // The dark side of the crescent: the sky's own tone over an offset disc.
  p->FillWith(EllipseShape{Point{moon.x + 9, moon.y - 5}, 18, 18}, [moon](int x, int y) {
    return Tone(0.35 + 0.3 * (1 - Hypot(x - moon.x, y - moon.y) / 80));
  });
}

void PaintHills(Painting* p) {
  auto far = [](double x) { return Ridge(x, 232, 22, 150, 21); };
  FillBelow(p, far, [](int x, int y) {
    return Tone(0.62 - (y - 215) * 0.004 + 0.12 * FractalNoise(x / 30.0, y / 12.0, 2, 22));
  });
  // A row of trees along the far ridge.
  Rng rng(23);
  for (int x = 20; x < 640; x += rng.Between(14, 40)) {
    const double top = far(x) - rng.Uniform(6, 18);
    p->Fill(EllipseShape{Point{static_cast<double>(x), top + 8}, rng.Uniform(8, 15), 12},
            Tone(0.42));
  }
  auto near = [](double x) { return Ridge(x, 268, 14, 220, 24); };
  FillBelow(p, near, [](int x, int y) {
    const double grass = FractalNoise(x / 9.0, y / 3.0, 2, 25);
    return Tone(0.58 - (y - 268) * 0.0035 + 0.3 * grass);
  });
}

void PaintGrass(Painting* p, Rng* rng) {
  // Far blades first, so that the near, darker ones stand in front.
  for (int i = 0; i < 900; ++i) {
    const double y = 275 + Pow(rng->Uniform(0, 1), 0.7) * 135;
    const double x = rng->Uniform(-10, 650);
    const double depth = (y - 270) / 130;  // 0 far … 1 near
    const double height = 8 + depth * depth * 90 * rng->Uniform(0.5, 1.2);
    const double lean = rng->Uniform(-0.5, 0.5) * height;
    const double width = 0.6 + depth * 2.2;
    p->Fill(StrokeShape{Point{x, y}, Point{x + lean, y - height}, width, 0.3},
            Tone(0.75 - depth * 0.65 + rng->Uniform(-0.1, 0.1)));
  }
}

void PaintFireflies(Painting* p, Rng* rng) {
  for (int i = 0; i < 46; ++i) {
    const double y = rng->Uniform(150, 385);
    const double x = rng->Uniform(10, 630);
    const double near = (y - 150) / 235;
    const double radius = 5 + near * 9 * rng->Uniform(0.7, 1.2);
    Glow(p, Point{x, y}, radius, 1.2 + 0.6 * near);
    p->Fill(EllipseShape{Point{x, y}, 0.8 + near, 0.8 + near}, Tone(3));
  }
}

}  // namespace

Artwork PaintNightField() {
  Painting p = NewBackground();
  Rng rng(1);
  PaintSkyAndMoon(&p, &rng);
  PaintHills(&p);
  PaintGrass(&p, &rng);
  PaintFireflies(&p, &rng);
  return FinishBackground(p, kNightFieldPicture);
}

}  // namespace demo_art
