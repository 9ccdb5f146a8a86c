#include "characters.h"
#include "exact_math.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "figure_kit.h"

namespace demo_art {
namespace {

constexpr double kAxis = kFigureAxis;

// How far into the shade, away from the light, column x of the body is: 0 to 0.4.
double Shade(double x) { return std::clamp((x - kAxis - 14) / 40, 0.0, 1.0) * 0.4; }

// Shoulders and arms down to the bottom of the picture, as a closed outline: the neck's
// foot at `neck_y`, half as wide as `neck`, the shoulders reaching `shoulder` from the centre
// line at `shoulder_y`.
PolygonShape Torso(double neck_y, double neck, double shoulder_y, double shoulder) {
  std::vector<Point> left =
      Curve(Point{kAxis - neck, neck_y}, Point{kAxis - shoulder + 12, neck_y + 4},
            Point{kAxis - shoulder, shoulder_y}, 10);
  Append(&left, {{kAxis - shoulder - 4, shoulder_y + 60}, {kAxis - shoulder - 6, kFigureHeight}});
  std::vector<Point> outline = left;
  Append(&outline, Mirrored(left, kAxis));
  return PolygonShape{outline};
}

void PaintNeck(Painting* p, double top, double bottom, double half) {
  p->FillOutlined(
      RectShape{kAxis - half, top, kAxis + half, bottom},
      [=](int, int y) {
        return Paint(kSkin, y < top + 14 ? 0.3 : 0.8);  // the chin's shadow
      },
      kOutline);
}

// A cloth fold: a soft dark line.
void Fold(Painting* p, FigureRamp ramp, Point a, Point b, double tone) {
  p->Fill(StrokeShape{a, b, 1.2, 0.5}, Paint(ramp, tone));
}

// Long straight dark hair: the mass behind the head, the cap, bangs and the locks in front.
void PaintLongHairBack(Painting* p) {
  std::vector<Point> back =
      Curve(Point{kAxis - 44, 70}, Point{kAxis - 62, 170}, Point{kAxis - 52, 262}, 12);
  Append(&back, Mirrored(back, kAxis));
  p->FillOutlined(
      PolygonShape{back}, [](int x, int) { return Paint(kNavy, x < kAxis ? 0.55 : 0.35); },
      kOutline);
}

void PaintBangs(Painting* p, FigureRamp ramp, double base_tone, double top_y, double fringe_y,
                double half) {
  // The cap of the head down to the temples, then the fringe: locks pointing down across
  // the forehead, longest at the sides.
  const Point crown{kAxis, top_y + half};
  std::vector<Point> outline;
  for (int i = 0; i <= 24; ++i) {
    const double a = 3.14159265 * (1 + i / 24.0);
    outline.push_back(Point{crown.x + half * Cos(a), crown.y + half * Sin(a)});
  }
  for (int i = 0; i <= 8; ++i) {
    const double x = kAxis + half - 2 - i * (2 * half - 4) / 8;
    const double edge = std::abs(x - kAxis) / half;
    outline.push_back(Point{x, fringe_y + 14 * edge * edge + (i % 2 ? -9 : 0)});
  }
  // The ring of light that shiny hair shows, and shade on the side away from the light.
  p->FillOutlined(
      PolygonShape{outline},
      [=](int x, int y) {
        const double r = Hypot(x + 0.5 - crown.x, (y + 0.5 - crown.y) * 1.1);
        const double ring = std::abs(r - half * 0.72) < 3.5 && y < crown.y - 8 ? 1.3 : 0;
        return Paint(ramp, base_tone + ring - (x > kAxis + half * 0.4 ? 0.25 : 0));
      },
      kOutline);
}

// A lock falling in front of the shoulder from the temple, tapering to a point.
void PaintFrontLock(Painting* p, double side, double top, double bottom, double width,
                    FigureRamp ramp, double tone) {
  const double x = kAxis + side * 39;
  std::vector<Point> lock =
      Curve(Point{x - width / 2, top}, Point{x + side * 10, (top + bottom) / 2},
            Point{x + side * 4, bottom}, 12);
  Append(&lock, Curve(Point{x + side * 4, bottom}, Point{x + side * 10 + width, (top + bottom) / 2},
                      Point{x + width / 2, top}, 12));
  p->FillOutlined(
      PolygonShape{lock}, [=](int, int) { return Paint(ramp, tone); }, kOutline);
}

// An indigo yukata with pale flowers, its collar crossed left over right, a red obi with a
// yellow cord.
void PaintYukata(Painting* p) {
  const PolygonShape body = Torso(150, 14, 196, 62);
  p->FillOutlined(
      body,
      [](int x, int y) {
        // Flowers on a staggered grid.
        const int row = y / 30;
        const double cx = (std::floor((x + (row % 2) * 15) / 30.0) * 30 + 15) - (row % 2) * 15;
        const double cy = row * 30 + 15;
        const double d = Hypot(x + 0.5 - cx, y + 0.5 - cy);
        if (d < 1.8) return Paint(kYellow, 1.5);
        if (d < 5 && std::fmod(Atan2(y - cy, x - cx) + 7, 1.2566) < 0.8) return Paint(kNavy, 2.2);
        return Paint(kNavy, 1.05 - Shade(x));
      },
      kOutline);
  // The opening of the collar: skin, the white under-collar, then the indigo bands.
  p->Fill(PolygonShape{{{kAxis - 14, 150}, {kAxis + 14, 150}, {kAxis, 196}}}, Paint(kSkin, 0.9));
  p->Fill(StrokeShape{Point{kAxis - 15, 150}, Point{kAxis + 2, 200}, 4, 4}, Paint(kWhite, 1));
  p->Fill(StrokeShape{Point{kAxis + 15, 150}, Point{kAxis - 4, 206}, 4, 4}, Paint(kWhite, 1));
  p->Fill(StrokeShape{Point{kAxis - 21, 152}, Point{kAxis + 6, 262}, 6, 6}, Paint(kNavy, 0.45));
  p->Fill(StrokeShape{Point{kAxis + 21, 152}, Point{kAxis - 12, 262}, 6, 6}, Paint(kNavy, 0.45));
  // Where the sleeves fall beside the body.
  Fold(p, kNavy, Point{kAxis - 44, 214}, Point{kAxis - 48, 340}, 0.1);
  Fold(p, kNavy, Point{kAxis + 44, 214}, Point{kAxis + 48, 340}, 0.1);
  // The obi, a band across the waist, and its cord.
  p->Apply(body, [](int x, int y, Ink& ink) {
    if (y >= 262 && y < 306 && std::abs(x + 0.5 - kAxis) < 50) {
      ink = (y == 262 || y == 305) ? kOutline : Paint(kRed, x > kAxis + 25 ? 0.45 : 0.75);
    }
  });
  p->Fill(StrokeShape{Point{kAxis - 50, 284}, Point{kAxis + 50, 283}, 2.0, 2.0},
          Paint(kYellow, 1.6));
}

Artwork PaintHotaruWith(Expression expression, int number) {
  Painting p = NewFigure();
  PaintLongHairBack(&p);
  PaintYukata(&p);
  PaintNeck(&p, 120, 156, 12);
  PaintFace(&p, 86, 140, 33, false);
  PaintFeatures(&p, 104, 16, expression, kNavy, true, -1.5, true);
  PaintBangs(&p, kNavy, 0.6, 34, 90, 42);
  PaintFrontLock(&p, -1, 92, 236, 11, kNavy, 0.55);
  PaintFrontLock(&p, 1, 92, 236, 11, kNavy, 0.4);
  // A small yellow hair ornament over the left temple.
  p.FillOutlined(
      EllipseShape{Point{kAxis + 30, 62}, 6, 6}, [](int, int) { return Paint(kYellow, 1.4); },
      kOutline);
  return FinishFigure(std::move(p), number);
}

}  // namespace

Artwork PaintHotaru() { return PaintHotaruWith(Expression::kCalm, kHotaruPicture); }
Artwork PaintHotaruSmiling() { return PaintHotaruWith(Expression::kSmile, kHotaruSmilingPicture); }

Artwork PaintSouta() {
  Painting p = NewFigure();
  // A white open-necked shirt, a little wider in the shoulders.
  const PolygonShape body = Torso(142, 16, 184, 68);
  p.FillOutlined(
      body, [](int x, int) { return Paint(kWhite, 0.95 - 1.2 * Shade(x)); }, kOutline);
  p.Fill(PolygonShape{{{kAxis - 14, 142}, {kAxis + 14, 142}, {kAxis, 186}}}, Paint(kSkin, 0.9));
  for (double side : {-1.0, 1.0}) {
    // Collar points, the button line, sleeve seams.
    p.FillOutlined(
        PolygonShape{{{kAxis + side * 16, 138},
                      {kAxis + side * 30, 150},
                      {kAxis + side * 22, 178},
                      {kAxis + side * 3, 190}}},
        [](int, int) { return Paint(kWhite, 1.2); }, kOutline);
    Fold(&p, kWhite, Point{kAxis + side * 48, 198}, Point{kAxis + side * 52, 340}, 0);
  }
  Fold(&p, kWhite, Point{kAxis + 1, 190}, Point{kAxis + 2, 340}, 0);
  for (double y = 214; y < 340; y += 34)
    p.Fill(EllipseShape{Point{kAxis + 6, y}, 2, 2}, Paint(kWhite, 0));
  PaintNeck(&p, 114, 146, 13);
  PaintFace(&p, 80, 136, 33, true);
  PaintFeatures(&p, 100, 16, Expression::kCalm, kBrown, false, 2.5, false);
  // Short brown hair: a cap and spiky tufts round the edge.
  const Point crown{kAxis, 70};
  std::vector<Point> hair;
  for (int i = 0; i <= 20; ++i) {
    const double a = 3.1416 * (0.95 + 1.1 * i / 20.0);
    const double r = (i % 2 ? 44 : 54);
    hair.push_back(Point{crown.x + r * Cos(a), crown.y + r * 0.95 * Sin(a)});
  }
  // The fringe's jagged lower edge, right to left.
  for (int i = 0; i <= 8; ++i) {
    const double x = kAxis + 42 - i * 10.5;
    hair.push_back(Point{x, 82.0 + (i % 2 ? 8 : -2) + (i == 2 ? 6 : 0)});
  }
  p.FillOutlined(
      PolygonShape{hair},
      [](int x, int y) {
        return Paint(kBrown, (x < kAxis && y < 48 ? 1.7 : 1.0) - (x > kAxis + 20 ? 0.4 : 0));
      },
      kOutline);
  return FinishFigure(std::move(p), kSoutaPicture);
}

Artwork PaintNatsumi() {
  Painting p = NewFigure();
  // A ponytail swinging out to the right, behind everything else.
  std::vector<Point> tail =
      Curve(Point{kAxis + 30, 50}, Point{kAxis + 95, 70}, Point{kAxis + 62, 210}, 14);
  Append(&tail, Curve(Point{kAxis + 62, 210}, Point{kAxis + 70, 90}, Point{kAxis + 20, 66}, 14));
  p.FillOutlined(
      PolygonShape{tail}, [](int x, int) { return Paint(kBrown, x > kAxis + 60 ? 1.2 : 1.6); },
      kOutline);
  // A yellow T-shirt with short sleeves over the shoulders.
  const PolygonShape body = Torso(146, 15, 190, 60);
  p.FillOutlined(
      body, [](int x, int) { return Paint(kYellow, 0.95 - 1.2 * Shade(x)); }, kOutline);
  p.FillOutlined(
      EllipseShape{Point{kAxis, 146}, 17, 10},
      [](int, int y) { return Paint(kSkin, y < 146 ? 0.3 : 0.9); }, kOutline);
  for (double side : {-1.0, 1.0}) {
    Fold(&p, kYellow, Point{kAxis + side * 42, 204}, Point{kAxis + side * 46, 340}, 0);
    Fold(&p, kYellow, Point{kAxis + side * 62, 250}, Point{kAxis + side * 44, 262}, 0);
  }
  PaintNeck(&p, 118, 146, 12);
  PaintFace(&p, 84, 138, 32, true);
  PaintFeatures(&p, 102, 16, Expression::kCalm, kBrown, true, 0, true);
  PaintBangs(&p, kBrown, 1.35, 34, 88, 41);
  // The red band holding the ponytail.
  p.FillOutlined(
      EllipseShape{Point{kAxis + 36, 56}, 6, 8}, [](int, int) { return Paint(kRed, 1); }, kOutline);
  return FinishFigure(std::move(p), kNatsumiPicture);
}

}  // namespace demo_art
