// Background 4: a summer sky with towering clouds, roofs and power lines below.
#include <algorithm>
#include <cmath>
#include <vector>

#include "background_kit.h"
#include "backgrounds.h"
#include "exact_math.h"
#include "noise.h"

namespace demo_art {
namespace {

constexpr double kHorizon = 340;

struct Puff {
  Point centre;
  double radius;
};

// A heap of puffs rising from a flat base: a cumulus `width` wide and `height` tall.
void AddCloud(std::vector<Puff>* puffs, double left, double base, double width, double height,
              Rng* rng) {
  const int count = static_cast<int>(width * height / 1800);
  for (int i = 0; i < count; ++i) {
    const double up = Pow(rng->Uniform(0, 1), 1.4);  // more puffs low down
    const double half = width / 2 * (1 - 0.7 * up);
    const double x = left + width / 2 + rng->Uniform(-half, half);
    const double radius = (26 + 0.14 * width) * (1 - 0.45 * up) * rng->Uniform(0.75, 1.1);
    puffs->push_back(Puff{Point{x, base - radius * 0.6 - up * (height - radius)}, radius});
  }
}

// Metaballs: the puffs melt into one another where they overlap. Each reaches a quarter
// beyond its radius, so that small gaps between neighbours fill in.
double Density(const std::vector<Puff>& puffs, double x, double y) {
  double d = 0;
  for (const Puff& puff : puffs) {
    const double reach = puff.radius * 1.25;
    const double dx = (x - puff.centre.x) / reach, dy = (y - puff.centre.y) / reach;
    const double r2 = dx * dx + dy * dy;
    if (r2 < 1) d += (1 - r2) * (1 - r2);
  }
  return d;
}

double Lambert(const std::vector<Puff>& puffs, double x, double y) {
  double best = -1, dx = 0, dy = 0;
  for (const Puff& puff : puffs) {
    const double ux = (x - puff.centre.x) / puff.radius, uy = (y - puff.centre.y) / puff.radius;
    const double weight = 1 - (ux * ux + uy * uy);
    if (weight > best) {
      best = weight;
      dx = ux;
      dy = uy;
    }
  }
  const double dz = std::sqrt(std::max(0.0, 1 - dx * dx - dy * dy));
  constexpr double kLx = -0.45, kLy = -0.6, kLz = 0.66;  // towards the sun, unit length
  return std::max(0.0, dx * kLx + dy * kLy + dz * kLz);
}

void PaintClouds(Painting* p) {
  Rng rng(4);
  std::vector<Puff> puffs;
  AddCloud(&puffs, 360, 330, 270, 250, &rng);
  AddCloud(&puffs, 20, 318, 200, 120, &rng);
  AddCloud(&puffs, 230, 300, 110, 60, &rng);
  constexpr double kSurface = 0.12;
  for (int y = 0; y < kHorizon; ++y) {
    for (int x = 0; x < 640; ++x) {
      const double d = Density(puffs, x, y);
      if (d <= 0) continue;
      const double edge = 0.3 * (FractalNoise(x / 12.0, y / 12.0, 3, 47) - 0.5);
      if (d < 0.5 && d + edge < kSurface) continue;  // ragged edges, no holes
      // Each puff shaded as a ball lit from the upper left; the one nearest its own
      // centre decides, which gives the heaped look of a summer cloud;
      // higher parts catch more light.
      const double lit = Lambert(puffs, x, y);
      const double underside = std::max(0.0, (y - 240) / 100.0);
      const double height = std::clamp((kHorizon - y) / 240.0, 0.0, 1.0);
      p->at(x, y) =
          Tone(std::clamp(1.2 + 0.75 * lit + 0.7 * height - 0.4 * underside + edge, 1.0, 2.7));
    }
  }
}

void PaintTown(Painting* p, Rng* rng) {
  // Roofs: a row of gables and flat tops.
  for (double x = -20; x < 660;) {
    const double width = rng->Uniform(50, 110), top = kHorizon + rng->Uniform(-10, 22);
    const double ridge = top - rng->Uniform(8, 22);
    p->Fill(
        PolygonShape{
            {{x, 400}, {x, top}, {x + width / 2, ridge}, {x + width, top}, {x + width, 400}}},
        Tone(0.22 + rng->Uniform(0, 0.12)));
    x += width - rng->Uniform(0, 15);
  }
  p->Fill(RectShape{0, 378, 640, 400}, Tone(0.15));
}

void PaintPowerLines(Painting* p) {
  constexpr double kPole = 548;
  p->Fill(StrokeShape{Point{kPole, 400}, Point{kPole + 4, 70}, 5, 3.5}, Tone(0.15));
  for (double arm_y : {92.0, 130.0}) {
    p->Fill(RectShape{kPole - 30, arm_y, kPole + 36, arm_y + 4}, Tone(0.15));
  }
  // Wires sag across the sky towards a pole out of the picture.
  const double anchors[][2] = {
      {kPole - 26, 92}, {kPole + 30, 92}, {kPole - 20, 130}, {kPole + 26, 130}};
  int k = 0;
  for (const auto& a : anchors) {
    const double far_y = 150 + 28 * k++;
    std::vector<Point> wire =
        Curve(Point{a[0], a[1]}, Point{a[0] / 2, a[1] + 70}, Point{-10, far_y}, 40);
    for (std::size_t i = 1; i < wire.size(); ++i) {
      p->Fill(StrokeShape{wire[i - 1], wire[i], 0.9, 0.9}, Tone(0.2));
    }
  }
}

}  // namespace

Artwork PaintSky() {
  Painting p = NewBackground();
  Rng rng(40);
  p.FillAll([](int x, int y) {
    const double t = std::min(1.0, y / kHorizon);
    const double haze = 0.15 * FractalNoise(x / 200.0, y / 40.0, 3, 48);
    return Tone(0.75 + 0.85 * t * t + haze);
  });
  PaintClouds(&p);
  PaintTown(&p, &rng);
  PaintPowerLines(&p);
  return FinishBackground(p, kSkyPicture);
}

}  // namespace demo_art
