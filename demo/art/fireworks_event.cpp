// Event picture V01: fireworks over the town and the river, two friends watching from the
// embankment.
#include <algorithm>
#include <cmath>
#include <vector>

#include "event_kit.h"
#include "event_pictures.h"
#include "exact_math.h"
#include "noise.h"

namespace demo_art {
namespace {

constexpr std::uint8_t kColours[16][3] = {{0, 0, 0},  {1, 1, 3},   {2, 2, 5},   {3, 3, 7},
                                          {5, 4, 8},  {15, 4, 4},  {15, 9, 3},  {15, 14, 6},
                                          {4, 13, 7}, {15, 8, 12}, {6, 12, 15}, {2, 1, 3},
                                          {4, 3, 5},  {12, 10, 5}, {8, 6, 9},   {15, 15, 15}};

enum : std::uint8_t { kSky = 1, kTown, kRed, kOrange, kYellow, kGreen, kPink, kCyan };

constexpr double kSkyline = 312;  // the town's roofs stand on it
constexpr double kWater = 346;    // the river's near edge of the town

Ink At(std::uint8_t ramp, double tone) { return Ink{ramp, static_cast<float>(tone)}; }

struct Burst {
  Point centre;
  double radius;
  std::uint8_t colour;  // the sparks' ramp
  std::uint8_t tips;    // the ramp of the sparks' ends
  int rays;
};

constexpr Burst kBursts[] = {
    {{210, 130}, 112, kRed, kYellow, 64},
    {{470, 96}, 82, kGreen, kCyan, 48},
    {{372, 214}, 52, kPink, kPink, 36},
};

void PaintSkyAndSmoke(Painting* p) {
  p->FillAll([](int x, int y) {
    const double t = std::min(1.0, y / kSkyline);
    // Smoke drifting from the bursts, lit by them.
    double smoke = 0;
    for (const Burst& b : kBursts) {
      const double d = Hypot(x - b.centre.x, (y - b.centre.y) * 1.4) / (b.radius * 1.6);
      smoke += std::max(0.0, 1 - d) * FractalNoise(x / 40.0, y / 25.0, 4, 81);
    }
    return At(kSky, 0.4 + 1.3 * t * t + 1.8 * smoke);
  });
}

void PaintBurst(Painting* p, const Burst& b, Rng* rng) {
  Sparkle(p, b.centre, b.radius * 0.3, 0, b.colour, 1.2);
  for (int i = 0; i < b.rays; ++i) {
    const double angle = 2 * 3.14159265 * (i + rng->Uniform(-0.3, 0.3)) / b.rays;
    const double reach = b.radius * rng->Uniform(0.85, 1.05);
    // Sparks along the ray, drooping as they fall, the last ones in the tip colour.
    for (double t = 0.3; t <= 1.0; t += 0.1) {
      const Point at{b.centre.x + Cos(angle) * reach * t,
                     b.centre.y + Sin(angle) * reach * t + 18 * t * t * t};
      const bool tip = t > 0.8;
      Sparkle(p, at, tip ? 4 : 2 + t, tip ? 1.2 : 0.6, tip ? b.tips : b.colour, tip ? 1.4 : 1.1);
    }
  }
}

void PaintTown(Painting* p, Rng* rng) {
  for (double x = -10; x < 650;) {
    const double width = rng->Uniform(24, 70), top = kSkyline - rng->Uniform(0, 34);
    const bool gable = rng->Between(0, 2) > 0;
    std::vector<Point> house{{x, kWater}, {x, top}};
    if (gable) house.push_back(Point{x + width / 2, top - rng->Uniform(8, 16)});
    Append(&house, {{x + width, top}, {x + width, kWater}});
    p->Fill(PolygonShape{house}, At(kTown, 0.3));
    for (double wy = top + 8; wy + 6 < kWater - 4; wy += 12) {
      for (double wx = x + 5; wx + 6 < x + width - 4; wx += 11) {
        if (rng->Between(0, 3) == 0) p->Fill(RectShape{wx, wy, wx + 5, wy + 6}, At(kTown, 3));
      }
    }
    x += width + rng->Uniform(-4, 6);
  }
  // A tower with a light on top, for the skyline to have a landmark.
  p->Fill(RectShape{520, 230, 532, kWater}, At(kTown, 0.3));
  p->Fill(EllipseShape{Point{526, 228}, 3, 3}, At(kRed, 1));
}

void PaintRiver(Painting* p, Rng* rng) {
  p->FillWith(RectShape{0, kWater, 640, 400}, [](int x, int y) {
    return At(kSky, 0.5 + 0.6 * FractalNoise(x / 70.0, y / 2.0, 3, 82));
  });
  // The bursts again, broken into ripples.
  for (const Burst& b : kBursts) {
    for (int i = 0; i < 50; ++i) {
      const double x = b.centre.x + rng->Uniform(-1, 1) * b.radius * 0.8;
      const double y = kWater + 4 + rng->Uniform(0, 1) * 50;
      const double half = rng->Uniform(2, 10);
      p->Fill(RectShape{x - half, y, x + half, y + 1.5},
              At(rng->Between(0, 1) ? b.colour : b.tips, 0.7));
    }
  }
}

// The two friends on the embankment, seen from behind as black shapes: a girl with her
// hair up, a boy beside her.
void PaintWatchers(Painting* p) {
  const Ink black = At(kTown, 0);
  p->Fill(PolygonShape{{{0, 372}, {640, 388}, {640, 400}, {0, 400}}}, black);
  const struct {
    double x, head_y, shoulder;
    bool bun;
  } people[] = {{118, 318, 42, true}, {196, 304, 50, false}};
  for (const auto& person : people) {
    p->Fill(EllipseShape{Point{person.x, person.head_y}, 18, 21}, black);
    if (person.bun) p->Fill(EllipseShape{Point{person.x + 2, person.head_y - 22}, 11, 9}, black);
    std::vector<Point> back = Curve(Point{person.x - 10, person.head_y + 16},
                                    Point{person.x - person.shoulder, person.head_y + 24},
                                    Point{person.x - person.shoulder - 6, 400}, 10);
    Append(&back, Mirrored(back, person.x));
    p->Fill(PolygonShape{back}, black);
  }
}

}  // namespace

Artwork PaintFireworks() {
  Painting p(authoring::kScreenWidth, authoring::kScreenHeight);
  p.AddRamp({0, 1, 2, 3, 4});  // kSky
  p.AddRamp({0, 11, 12, 13});  // kTown
  p.AddRamp({5, 5, 15});       // kRed
  p.AddRamp({6, 6, 15});       // kOrange
  p.AddRamp({7, 7, 15});       // kYellow
  p.AddRamp({8, 8, 15});       // kGreen
  p.AddRamp({9, 9, 15});       // kPink
  p.AddRamp({10, 10, 15});     // kCyan
  Rng rng(201);
  PaintSkyAndSmoke(&p);
  for (const Burst& b : kBursts) PaintBurst(&p, b, &rng);
  // A shell still rising, its trail of sparks below it.
  for (double y = 300; y > 236; y -= 6)
    Sparkle(&p, Point{582 + (300 - y) * 0.05, y}, 2.5, 0.5, kOrange, 1.5);
  PaintTown(&p, &rng);
  PaintRiver(&p, &rng);
  PaintWatchers(&p);
  return FinishEventPicture(p, 'V', 1, EventPalette(kColours));
}

}  // namespace demo_art
