// Background 6: stone steps up to a torii gate and a small shrine hall between cedars,
// with a stone lantern lit on either side.
#include <algorithm>
#include <cmath>
#include <vector>

#include "background_kit.h"
#include "backgrounds.h"
#include "noise.h"

namespace demo_art {
namespace {

constexpr double kTerrace = 262;  // the level ground at the top of the steps

void PaintSky(Painting* p) {
  p->FillAll([](int x, int y) {
    const double t = std::min(1.0, y / kTerrace);
    return Tone(0.5 + 1.05 * t * t + 0.15 * FractalNoise(x / 150.0, y / 30.0, 3, 61));
  });
}

void PaintHall(Painting* p) {
  // The hall's body, its roof with eaves curving up at the ends, and the ridge.
  p->Fill(RectShape{252, 205, 388, kTerrace}, Tone(0.4));
  for (double x = 262; x < 380; x += 22) p->Fill(RectShape{x, 212, x + 3, kTerrace}, Tone(0.25));
  std::vector<Point> roof = Curve(Point{210, 200}, Point{260, 214}, Point{320, 210}, 12);
  Append(&roof, Curve(Point{320, 210}, Point{380, 214}, Point{430, 200}, 12));
  Append(&roof, {{400, 186}, {340, 168}, {300, 168}, {240, 186}});
  p->Fill(PolygonShape{roof}, Tone(0.22));
  p->Fill(RectShape{290, 163, 350, 169}, Tone(0.3));
}

// A cedar: a trunk and layers of ragged foliage, lighter on the side towards the sky.
void PaintCedar(Painting* p, double x, double top, double width, std::uint32_t seed) {
  p->Fill(StrokeShape{Point{x, 400}, Point{x, top + 40}, width * 0.09, width * 0.05}, Tone(0.3));
  for (int layer = 0; layer < 9; ++layer) {
    const double y = top + layer * (kTerrace + 40 - top) / 9;
    const double half = width * (0.2 + 0.8 * (layer + 1) / 9.0);
    p->FillWith(EllipseShape{Point{x, y + 18}, half, 26}, [=](int px, int py) {
      const double ragged =
          FractalNoise(px / 7.0, py / 7.0, 3, seed + static_cast<std::uint32_t>(layer));
      const double lit = px < x - half * 0.4 ? 0.25 : 0;
      return Tone(0.15 + 0.35 * ragged + lit);
    });
  }
}

void PaintTrees(Painting* p) {
  PaintCedar(p, 150, 30, 58, 63);
  PaintCedar(p, 500, 40, 55, 65);
  PaintCedar(p, 45, -40, 95, 62);
  PaintCedar(p, 600, -60, 100, 64);
  // The ground at the top of the steps.
  p->FillWith(RectShape{0, kTerrace, 640, 280},
              [](int x, int y) { return Tone(0.9 + 0.3 * FractalNoise(x / 3.0, y / 2.0, 2, 66)); });
}

void PaintSteps(Painting* p) {
  constexpr int kSteps = 10;
  double y = 280;
  for (int i = 0; i < kSteps; ++i) {
    const double t = static_cast<double>(i) / kSteps;
    const double half = 70 + 130 * t;  // half the width of this step
    const double riser = 6 + 10 * t, tread = 4 + 8 * t;
    p->FillWith(RectShape{320 - half, y, 320 + half, y + tread},
                [](int x, int) { return Tone(1.35 + 0.25 * FractalNoise(x / 5.0, 0.5, 2, 67)); });
    p->Fill(RectShape{320 - half, y + tread, 320 + half, y + tread + riser}, Tone(0.55));
    y += tread + riser;
  }
  // The slopes beside the steps.
  p->Fill(PolygonShape{{{0, 280}, {250, 280}, {120, 400}, {0, 400}}}, Tone(0.3));
  p->Fill(PolygonShape{{{390, 280}, {640, 280}, {640, 400}, {520, 400}}}, Tone(0.3));
}

void PaintTorii(Painting* p) {
  constexpr double kLeft = 262, kRight = 378, kFoot = 282;
  const auto ink = Tone(0.2);
  for (double x : {kLeft, kRight}) {
    p->Fill(PolygonShape{{{x - 7, kFoot}, {x - 5.5, 118}, {x + 5.5, 118}, {x + 7, kFoot}}}, ink);
    p->Fill(RectShape{x - 4.5, 122, x - 2.5, kFoot - 4}, Tone(0.7));  // light on the left
    p->Fill(RectShape{x - 9, kFoot - 12, x + 9, kFoot}, Tone(0.35));  // the black foot ring
  }
  // The top beam sweeps up at both ends; under it the straight one, then the tie beam.
  std::vector<Point> top = Curve(Point{218, 100}, Point{320, 118}, Point{422, 100}, 20);
  Append(&top, Curve(Point{418, 110}, Point{320, 128}, Point{222, 110}, 20));
  p->Fill(PolygonShape{top}, ink);
  p->Fill(RectShape{236, 127, 404, 135}, ink);
  p->Fill(RectShape{240, 154, 400, 161}, ink);
  p->Fill(RectShape{314, 133, 326, 154}, ink);
  p->Fill(RectShape{311, 137, 329, 151}, Tone(0.6));  // the name plaque
}

void PaintLantern(Painting* p, double x) {
  Glow(p, Point{x, 300}, 70, 0.9);
  p->Fill(RectShape{x - 18, 370, x + 18, 400}, Tone(0.7));  // base
  p->Fill(RectShape{x - 7, 322, x + 7, 370}, Tone(0.85));   // pillar
  p->Fill(RectShape{x - 16, 314, x + 16, 322}, Tone(0.7));
  p->Fill(RectShape{x - 13, 290, x + 13, 314}, Tone(0.6));                      // fire box
  p->Fill(RectShape{x - 7, 294, x + 7, 310}, Tone(3));                          // its light
  p->Fill(PolygonShape{{{x - 26, 292}, {x, 272}, {x + 26, 292}}}, Tone(0.55));  // roof
  p->Fill(EllipseShape{Point{x, 268}, 4, 5}, Tone(0.55));
}

}  // namespace

Artwork PaintShrine() {
  Painting p = NewBackground();
  PaintSky(&p);
  PaintHall(&p);
  PaintTrees(&p);
  PaintSteps(&p);
  PaintTorii(&p);
  PaintLantern(&p, 110);
  PaintLantern(&p, 530);
  return FinishBackground(p, kShrinePicture);
}

}  // namespace demo_art
