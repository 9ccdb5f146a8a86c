// Background 5: a small-town street at dusk, seen down its length. Everything is placed in
// metres (x across the street, y up from the road, z away from the viewer) and projected.
#include <algorithm>
#include <cmath>
#include <vector>

#include "background_kit.h"
#include "backgrounds.h"
#include "noise.h"

namespace demo_art {
namespace {

constexpr Point kVanishing{320, 196};
constexpr double kFocal = 300;  // pixels per metre at one metre away
constexpr double kEye = 1.5;    // eye height in metres
constexpr double kNear = 2.3;   // the nearest depth the picture shows
constexpr double kFar = 90;

Point Project(double x, double y, double z) {
  return Point{kVanishing.x + kFocal * x / z, kVanishing.y + kFocal * (kEye - y) / z};
}

// A rectangle standing along the street (constant x) from depth z0 to z1, heights y0 to y1.
PolygonShape SideWall(double x, double z0, double z1, double y0, double y1) {
  return PolygonShape{
      {Project(x, y0, z0), Project(x, y1, z0), Project(x, y1, z1), Project(x, y0, z1)}};
}
// A rectangle facing the viewer (constant z), from x0 to x1, heights y0 to y1.
PolygonShape FrontWall(double z, double x0, double x1, double y0, double y1) {
  return PolygonShape{
      {Project(x0, y0, z), Project(x1, y0, z), Project(x1, y1, z), Project(x0, y1, z)}};
}

// Far things fade towards the evening haze.
double Hazed(double tone, double z) { return tone + (1.25 - tone) * std::min(1.0, z / kFar * 1.6); }

void PaintSkyAndRoad(Painting* p) {
  p->FillAll([](int x, int y) {
    if (y < kVanishing.y) {
      const double t = y / kVanishing.y;
      return Tone(0.8 + 0.7 * t * t + 0.15 * FractalNoise(x / 120.0, y / 20.0, 3, 51));
    }
    // The asphalt, lighter far away where it catches the sky.
    const double near = (y - kVanishing.y) / (400 - kVanishing.y);
    return Tone(0.95 - 0.6 * near + 0.2 * FractalNoise(x / 5.0, y / 2.0, 2, 52));
  });
  // The white lines along the road's edges.
  for (double x : {-2.6, 2.6}) {
    p->Fill(StrokeShape{Project(x, 0, kNear - 0.5), Project(x, 0, kFar), 3.5, 0.2}, Tone(1.5));
  }
}

// One side's houses, nearest last so they cover the far ones. `side` is −1 (left) or 1.
void PaintHouses(Painting* p, int side, Rng* rng) {
  struct House {
    double z0, z1, height;
  };
  std::vector<House> houses;
  for (double z = kNear - 1; z < kFar;) {
    const double length = rng->Uniform(6, 10);
    houses.push_back(House{z, z + length, rng->Uniform(5.0, 7.5)});
    z += length + rng->Uniform(0.5, 2.5);
  }
  const double face = side * 4.2;  // the house fronts, behind the walls along the street
  for (auto it = houses.rbegin(); it != houses.rend(); ++it) {
    const House& h = *it;
    const double mid = (h.z0 + h.z1) / 2;
    p->FillWith(SideWall(face, h.z0, h.z1, 0, h.height), [&](int x, int y) {
      return Tone(Hazed(0.55 + 0.15 * FractalNoise(x / 8.0, y / 8.0, 2, 53), mid));
    });
    // Windows on two floors, some lit.
    for (double floor_y : {1.4, 3.9}) {
      for (double z = h.z0 + 1; z + 1.4 < h.z1; z += 2.6) {
        const bool lit = rng->Between(0, 2) == 0;
        p->Fill(SideWall(face, z, z + 1.3, floor_y, floor_y + 1.2),
                Tone(Hazed(lit ? 2.7 : 0.3, mid)));
        if (lit) {
          p->Fill(SideWall(face, z + 0.62, z + 0.68, floor_y, floor_y + 1.2),
                  Tone(Hazed(0.9, mid)));
        }
      }
    }
    // The eaves hang out over the street and the gable end faces the viewer.
    const double eave = face - side * 0.8;
    p->Fill(PolygonShape{{Project(face, h.height, h.z0), Project(eave, h.height - 0.3, h.z0),
                          Project(eave, h.height - 0.3, h.z1), Project(face, h.height, h.z1)}},
            Tone(Hazed(0.2, mid)));
    const double back = face + side * 6;
    p->Fill(PolygonShape{{Project(eave, h.height - 0.3, h.z0),
                          Project((eave + back) / 2, h.height + 2.2, h.z0),
                          Project(back, h.height - 0.3, h.z0)}},
            Tone(Hazed(0.3, mid)));
  }
  // The block wall along the street.
  const double wall = side * 3.3;
  p->FillWith(SideWall(wall, kNear - 1, kFar, 0, 1.5), [](int x, int y) {
    return Tone(1.0 + 0.25 * FractalNoise(x / 4.0, y / 4.0, 2, 54));
  });
  for (double y : {0.5, 1.0}) {
    p->Fill(StrokeShape{Project(wall, y, kNear - 1), Project(wall, y, kFar), 1.2, 0.2}, Tone(0.8));
  }
  p->Fill(StrokeShape{Project(wall, 1.5, kNear - 1), Project(wall, 1.5, kFar), 2.5, 0.3},
          Tone(1.9));
  p->Fill(StrokeShape{Project(wall, 0, kNear - 1), Project(wall, 0, kFar), 2.5, 0.3}, Tone(0.3));
}

// Telephone poles on the left, wires running from pole to pole and out of the picture.
void PaintPoles(Painting* p) {
  std::vector<Point> tops;
  for (double z = 70; z >= 4; z -= 11) {
    const double x = -3.6;
    const Point foot = Project(x, 0, z), top = Project(x, 9, z);
    const double w = 0.15 * kFocal / z;
    p->Fill(StrokeShape{foot, top, w, w * 0.8}, Tone(Hazed(0.15, z)));
    const Point arm_l = Project(x - 0.7, 8.3, z), arm_r = Project(x + 0.9, 8.3, z);
    p->Fill(StrokeShape{arm_l, arm_r, w * 0.5, w * 0.5}, Tone(Hazed(0.15, z)));
    tops.push_back(arm_r);
  }
  tops.push_back(Point{400, -40});
  for (std::size_t i = 1; i < tops.size(); ++i) {
    const Point a = tops[i - 1], b = tops[i];
    const Point sag{(a.x + b.x) / 2, (a.y + b.y) / 2 + std::abs(b.x - a.x) * 0.12 + 2};
    std::vector<Point> wire = Curve(a, sag, b, 24);
    for (std::size_t k = 1; k < wire.size(); ++k)
      p->Fill(StrokeShape{wire[k - 1], wire[k], 0.8, 0.8}, Tone(0.25));
  }
}

void PaintLampAndVendingMachine(Painting* p) {
  // A street lamp on the right: a post, an arm, a glowing head and its pool of light.
  constexpr double kLampZ = 7.5, kLampX = 3.1;
  const Point foot = Project(kLampX, 0, kLampZ), head = Project(kLampX - 0.9, 5.2, kLampZ);
  Glow(p, Project(kLampX - 1.2, 0, kLampZ), 110, 0.6);
  Glow(p, head, 60, 0.9);
  p->Fill(StrokeShape{foot, Project(kLampX, 5.5, kLampZ), 3.5, 2.5}, Tone(0.2));
  p->Fill(StrokeShape{Project(kLampX, 5.5, kLampZ), head, 2, 2}, Tone(0.2));
  p->Fill(EllipseShape{Point{head.x, head.y + 4}, 10, 4}, Tone(3));

  // A vending machine against the left wall, its front to the street.
  constexpr double kZ0 = 4.6, kZ1 = 5.4, kX = -3.2;
  Glow(p, Project(kX + 0.8, 0.2, 5), 90, 0.7);
  p->Fill(SideWall(kX, kZ0, kZ1, 0, 1.85), Tone(2.6));
  for (double y : {1.15, 1.45}) {
    for (double z = kZ0 + 0.08; z + 0.1 < kZ1; z += 0.14) {
      p->Fill(SideWall(kX, z, z + 0.08, y, y + 0.2), Tone(1.2));
    }
  }
  p->Fill(SideWall(kX, kZ0 + 0.1, kZ1 - 0.1, 0.25, 0.55), Tone(0.6));  // the drinks' hatch
  p->Fill(FrontWall(kZ0, kX - 0.7, kX, 0, 1.85), Tone(1.1));           // its side
}

}  // namespace

Artwork PaintStreet() {
  Painting p = NewBackground();
  Rng rng(5);
  PaintSkyAndRoad(&p);
  PaintHouses(&p, -1, &rng);
  PaintHouses(&p, 1, &rng);
  PaintPoles(&p);
  PaintLampAndVendingMachine(&p);
  return FinishBackground(p, kStreetPicture);
}

}  // namespace demo_art
