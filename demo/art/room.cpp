// Background 3: a Japanese room in the evening, lit by a paper floor lamp.
#include <algorithm>
#include <cmath>

#include "background_kit.h"
#include "backgrounds.h"
#include "exact_math.h"
#include "noise.h"

namespace demo_art {
namespace {

constexpr double kFloor = 262;  // where the wall meets the tatami
constexpr double kWindowLeft = 196, kWindowRight = 452, kWindowTop = 62, kWindowBottom = 226;
constexpr Point kLamp{118, 228};       // centre of the lamp's paper shade
constexpr Point kVanishing{320, 150};  // the tatami lines run towards it

void PaintWall(Painting* p) {
  p->FillAll([](int x, int y) {
    const double plaster = FractalNoise(x / 6.0, y / 6.0, 3, 41);
    return Tone(0.9 + 0.25 * plaster - 0.2 * (1 - y / kFloor));
  });
  // Ceiling edge and the beam above the window (the nageshi).
  p->Fill(RectShape{0, 0, 640, 22}, Tone(0.3));
  p->Fill(RectShape{0, 22, 640, 25}, Tone(0.65));
  p->FillWith(RectShape{0, 36, 640, 50}, [](int x, int y) {
    return Tone(0.55 + 0.2 * FractalNoise(x / 40.0, y / 2.0, 3, 42));
  });
  // Pillars, lighter on the lamp's side.
  for (double left : {40.0, 572.0}) {
    p->FillWith(RectShape{left, 0, left + 26, kFloor + 6}, [left](int x, int y) {
      const double grain = FractalNoise(x / 2.0, y / 50.0, 3, 43);
      const double lit = x < left + 6 ? 0.35 : 0;
      return Tone(0.45 + 0.25 * grain + lit);
    });
  }
}

void PaintShoji(Painting* p) {
  // Paper panes in moonlight, brighter towards the top, with the shadow of a branch.
  p->FillWith(RectShape{kWindowLeft, kWindowTop, kWindowRight, kWindowBottom}, [](int x, int y) {
    const double fall = (y - kWindowTop) / (kWindowBottom - kWindowTop);
    double tone = 2.05 - 0.45 * fall;
    // The branch: a wavy band with leaves along it.
    const double branch_y = 120 + 28 * Sin(x / 55.0) - (x - 196) * 0.12;
    const double leaves = FractalNoise(x / 9.0, y / 9.0, 2, 44);
    if (std::abs(y - branch_y) < 2.5 + 1.5 * Sin(x / 17.0))
      tone -= 0.9;
    else if (std::abs(y - branch_y) < 22 && leaves > 0.62 && x > 240)
      tone -= 0.55;
    return Tone(tone);
  });
  // The lattice.
  constexpr int kColumns = 6, kRows = 5;
  for (int i = 0; i <= kColumns; ++i) {
    const double x = kWindowLeft + (kWindowRight - kWindowLeft) * i / kColumns;
    const double w = i == 0 || i == kColumns ? 6 : 2;
    p->Fill(RectShape{x - w / 2, kWindowTop - 4, x + w / 2, kWindowBottom + 4}, Tone(0.35));
  }
  for (int j = 0; j <= kRows; ++j) {
    const double y = kWindowTop + (kWindowBottom - kWindowTop) * j / kRows;
    const double h = j == 0 || j == kRows ? 6 : 2;
    p->Fill(RectShape{kWindowLeft - 4, y - h / 2, kWindowRight + 4, y + h / 2}, Tone(0.35));
  }
}

void PaintTatami(Painting* p) {
  for (int y = static_cast<int>(kFloor); y < 400; ++y) {
    const double near = (y - kFloor) / (400 - kFloor);
    for (int x = 0; x < 640; ++x) {
      // The weave: fine stripes across the mat.
      const double weave = (static_cast<int>((y - kFloor) / (1.5 + 3 * near)) % 2) * 0.12;
      p->at(x, y) = Tone(1.25 - 0.35 * near + weave - 0.1 * FractalNoise(x / 25.0, y / 8.0, 2, 45));
    }
  }
  // Mat borders: lines running to the vanishing point, and one across.
  for (double bottom_x = -420; bottom_x <= 1060; bottom_x += 370) {
    const double t0 = (kFloor - kVanishing.y) / (400 - kVanishing.y);
    const Point top{kVanishing.x + (bottom_x - kVanishing.x) * t0, kFloor};
    p->Fill(StrokeShape{top, Point{bottom_x, 400}, 1.2, 4.5}, Tone(0.45));
  }
  p->Fill(RectShape{0, 318, 640, 323}, Tone(0.45));
  p->Fill(RectShape{0, kFloor, 640, kFloor + 4}, Tone(0.3));  // the skirting
}

void PaintTable(Painting* p) {
  const Point centre{372, 338};
  for (double dx : {-100.0, 100.0}) {
    p->Fill(RectShape{centre.x + dx - 7, centre.y, centre.x + dx + 7, centre.y + 50}, Tone(0.3));
  }
  p->Fill(EllipseShape{Point{centre.x, centre.y + 7}, 142, 30}, Tone(0.25));  // the edge
  p->FillWith(EllipseShape{centre, 140, 27}, [](int x, int y) {
    // Polished wood: grain along the table, and the lamp's reflection on the left.
    const double grain = FractalNoise(x / 35.0, y / 2.5, 3, 46);
    const double shine = std::max(0.0, 1 - Hypot((x - 290) / 60.0, (y - 330) / 12.0));
    return Tone(1.05 + 0.35 * grain + 1.2 * shine);
  });
  // Two teacups: a dark rim of tea, a light bowl, shaded on the side away from the lamp.
  for (const Point cup : {Point{338, 334}, Point{420, 342}}) {
    p->FillWith(PolygonShape{{{cup.x - 10, cup.y - 14},
                              {cup.x + 10, cup.y - 14},
                              {cup.x + 7, cup.y},
                              {cup.x - 7, cup.y}}},
                [cup](int x, int) { return Tone(x < cup.x + 2 ? 2.4 : 1.6); });
    p->Fill(EllipseShape{Point{cup.x, cup.y - 14}, 10, 3.5}, Tone(2.6));
    p->Fill(EllipseShape{Point{cup.x, cup.y - 13.5}, 8, 2.5}, Tone(0.7));
  }
}

void PaintLamp(Painting* p) {
  Glow(p, kLamp, 190, 0.75);
  // Legs and frame, then the glowing shade.
  p->Fill(RectShape{kLamp.x - 30, kLamp.y + 38, kLamp.x - 25, kLamp.y + 80}, Tone(0.2));
  p->Fill(RectShape{kLamp.x + 25, kLamp.y + 38, kLamp.x + 30, kLamp.y + 80}, Tone(0.2));
  p->FillWith(RectShape{kLamp.x - 28, kLamp.y - 40, kLamp.x + 28, kLamp.y + 40},
              [](int x, int) { return Tone(2.9 - std::abs(x - kLamp.x) / 45.0); });
  for (double dy : {-42.0, -14.0, 14.0, 38.0}) {
    p->Fill(RectShape{kLamp.x - 31, kLamp.y + dy, kLamp.x + 31, kLamp.y + dy + 4}, Tone(0.3));
  }
  for (double dx : {-31.0, 27.0}) {
    p->Fill(RectShape{kLamp.x + dx, kLamp.y - 42, kLamp.x + dx + 4, kLamp.y + 42}, Tone(0.3));
  }
}

}  // namespace

Artwork PaintRoom() {
  Painting p = NewBackground();
  PaintWall(&p);
  PaintShoji(&p);
  PaintTatami(&p);
  PaintTable(&p);
  PaintLamp(&p);
  return FinishBackground(p, kRoomPicture);
}

}  // namespace demo_art
