// Background 2: the river under the full moon.
#include <algorithm>
#include <cmath>

#include "background_kit.h"
#include "backgrounds.h"
#include "exact_math.h"
#include "noise.h"

namespace demo_art {
namespace {

constexpr double kFarBank = 178;   // where the far bank meets the water
constexpr double kNearBank = 300;  // where the water meets the near bank
constexpr Point kMoon{452, 64};

void PaintSky(Painting* p) {
  p->FillAll([](int x, int y) {
    const double t = std::min(1.0, y / kFarBank);
    // Long thin clouds, lit a little from below.
    const double cloud = FractalNoise(x / 160.0, y / 14.0, 4, 31);
    const double streak = cloud > 0.58 ? (cloud - 0.58) * 3.0 : 0;
    return Tone(0.3 + 1.0 * t * t + streak);
  });
  Glow(p, kMoon, 90, 0.8);
  p->Fill(EllipseShape{kMoon, 17, 17}, Tone(3));
  // The moon's seas.
  p->Fill(EllipseShape{Point{kMoon.x - 5, kMoon.y - 3}, 5, 4}, Tone(2.5));
  p->Fill(EllipseShape{Point{kMoon.x + 6, kMoon.y + 5}, 4, 3}, Tone(2.5));
}

void PaintFarBank(Painting* p) {
  FillBelow(
      p, [](double x) { return Ridge(x, kFarBank - 14, 10, 40, 32); },
      [](int, int) { return Tone(0.28); });
  // A small arched bridge downstream, low against the far bank.
  constexpr double kLeft = 40, kRight = 250, kDeck = kFarBank - 12;
  p->Fill(RectShape{kLeft, kDeck - 3, kRight, kDeck + 3}, Tone(0.55));
  for (double x = kLeft; x < kRight; x += 7) {
    p->Fill(RectShape{x, kDeck - 9, x + 1.5, kDeck - 3}, Tone(0.5));
  }
  p->Fill(RectShape{kLeft, kDeck - 10, kRight, kDeck - 8.5}, Tone(0.5));
  for (double x = kLeft + 20; x < kRight; x += 52) {
    p->Fill(RectShape{x, kDeck + 3, x + 6, kFarBank + 4}, Tone(0.35));
  }
}

void PaintWater(Painting* p, Rng* rng) {
  for (int y = static_cast<int>(kFarBank); y < static_cast<int>(kNearBank) + 10; ++y) {
    const double depth = (y - kFarBank) / (kNearBank - kFarBank);
    for (int x = 0; x < 640; ++x) {
      // Ripples: noise stretched long along the current, finer towards the viewer.
      const double ripple = FractalNoise(x / (60.0 + 40 * depth), y / (1.5 + 3 * depth), 3, 33);
      p->at(x, y) = Tone(0.55 + 0.25 * (1 - depth) + (ripple - 0.5) * 0.9);
    }
  }
  // The bank's dark reflection right below it.
  for (int x = 0; x < 640; ++x) {
    const double depth = 6 + 4 * ValueNoise(x / 30.0, 0, 34);
    for (int y = static_cast<int>(kFarBank); y < kFarBank + depth; ++y) p->at(x, y) = Tone(0.35);
  }
  // The moon's path on the water: short bright dashes, wider as they come closer.
  for (int i = 0; i < 70; ++i) {
    const double depth = rng->Uniform(0, 1);
    const double y = kFarBank + 10 + depth * (kNearBank - kFarBank - 14);
    const double spread = 8 + depth * 40;
    const double x = kMoon.x + rng->Uniform(-spread, spread);
    const double length = 3 + depth * 18 * rng->Uniform(0.4, 1);
    p->Fill(RectShape{x - length, y, x + length, y + 1 + depth},
            Tone(2.3 + 0.7 * rng->Uniform(0, 1)));
  }
}

void PaintNearBank(Painting* p, Rng* rng) {
  auto bank = [](double x) { return Ridge(x, kNearBank, 8, 90, 35) + 0.04 * (x - 320); };
  FillBelow(p, bank, [&bank](int x, int y) {
    const double below = y - bank(x);
    // The moon catches the bank's edge; further down the grass falls into shadow.
    const double lit = below < 3 ? 0.6 : 0.4 * Exp(-below / 25);
    return Tone(0.45 + lit - (y - kNearBank) * 0.002 + 0.3 * FractalNoise(x / 6.0, y / 3.0, 2, 36));
  });
  // Tufts of grass along the edge.
  for (int i = 0; i < 160; ++i) {
    const double x = rng->Uniform(0, 640), y = bank(x) + rng->Uniform(1, 60);
    const double h = 4 + (y - kNearBank) * 0.15;
    // One draw per statement: the order of a call's arguments is the compiler's choice.
    const double lean = rng->Uniform(-3, 3);
    const double tone = 0.3 + rng->Uniform(0, 0.5);
    p->Fill(StrokeShape{Point{x, y}, Point{x + lean, y - h}, 1.0, 0.3}, Tone(tone));
  }
  // Stones at the water's edge.
  for (int i = 0; i < 14; ++i) {
    const double x = rng->Uniform(160, 600), y = bank(x) + rng->Uniform(4, 20);
    const double r = rng->Uniform(6, 14);
    p->FillWith(EllipseShape{Point{x, y}, r, r * 0.55}, [=](int px, int py) {
      return Tone(py < y - r * 0.15 ? (px < x ? 1.5 : 1.1) : 0.45);
    });
  }
  // Reeds: tall dark stems on both sides, with plumes.
  for (int i = 0; i < 70; ++i) {
    const bool left = i % 5 != 0;
    const double x = left ? rng->Uniform(-10, 170) : rng->Uniform(560, 650);
    const double y = 400 + rng->Uniform(0, 10);
    const double height = rng->Uniform(120, 250);
    const double bend = rng->Uniform(10, 45) * (left ? 1 : -1);
    const Point top{x + bend, y - height};
    p->Fill(StrokeShape{Point{x, y}, top, 1.8, 0.8}, Tone(0.12));
    if (rng->Between(0, 2) == 0) {
      p->Fill(StrokeShape{top, Point{top.x + bend * 0.4, top.y - 22}, 3.2, 1.2}, Tone(0.7));
    }
  }
}

}  // namespace

Artwork PaintRiverside() {
  Painting p = NewBackground();
  Rng rng(2);
  PaintSky(&p);
  PaintFarBank(&p);
  PaintWater(&p, &rng);
  PaintNearBank(&p, &rng);
  return FinishBackground(p, kRiversidePicture);
}

}  // namespace demo_art
