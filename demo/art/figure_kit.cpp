#include "figure_kit.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

#include "scene_colours.h"

namespace demo_art {

Painting NewFigure() {
  Painting p(kFigureWidth, kFigureHeight);
  p.AddRamp({5});
  p.AddRamp({12, 13, 14});
  p.AddRamp({5, 6, 7, 4});
  p.AddRamp({10, 11, 12});
  p.AddRamp({7, 4});
  p.AddRamp({10, 9});
  p.AddRamp({12, 8});
  p.AddRamp({13, 9});
  return p;
}

void PaintFace(Painting* p, double top, double chin, double half_width, bool ears) {
  const double axis = kFigureAxis;
  const double temple = top - 12;
  // Ears first; the face covers their inner half.
  for (double side : ears ? std::vector<double>{-1.0, 1.0} : std::vector<double>{}) {
    p->FillOutlined(
        EllipseShape{Point{axis + side * (half_width - 1), top + 22}, 4.5, 8},
        [](int, int) { return Paint(kSkin, 0.9); }, kOutline);
  }
  std::vector<Point> left = Curve(Point{axis - half_width, temple},
                                  Point{axis - half_width - 1, chin - 18}, Point{axis, chin}, 16);
  std::vector<Point> outline = left;
  Append(&outline, Mirrored(left, axis));
  Append(&outline, Curve(Point{axis + half_width, temple}, Point{axis, temple - 60},
                         Point{axis - half_width, temple}, 12));
  p->FillOutlined(
      PolygonShape{outline},
      [=](int x, int y) {
        // Lit from the upper left; the shade of the bangs across the forehead.
        double tone = 1.35 - std::max(0.0, (x - axis) / half_width) * 0.6;
        if (y < top + 6) tone -= 0.5;
        return Paint(kSkin, tone);
      },
      kOutline);
}

void PaintFeatures(Painting* p, double eye_y, double spread, Expression expression, FigureRamp iris,
                   bool large_eyes, double brow_slant, bool blush) {
  const double axis = kFigureAxis;
  for (double side : {-1.0, 1.0}) {
    const double cx = axis + side * spread;
    if (expression == Expression::kSmile) {
      // Closed, smiling eyes: arcs bowed upwards.
      const std::vector<Point> arc =
          Curve(Point{cx - 8, eye_y + 3}, Point{cx, eye_y - 7}, Point{cx + 8, eye_y + 3}, 10);
      for (std::size_t i = 1; i < arc.size(); ++i)
        p->Fill(StrokeShape{arc[i - 1], arc[i], 1.6, 1.6}, kOutline);
    } else {
      // Iris darker at the top, pupil, the light's reflection, and the heavy upper lid
      // arching over it with a flick at the outer corner.
      const double rx = large_eyes ? 7 : 6, ry = large_eyes ? 9.5 : 8;
      p->FillWith(EllipseShape{Point{cx, eye_y + 1}, rx, ry}, [=](int, int y) {
        return Paint(iris, y < eye_y - 2 ? 0.4 : (y < eye_y + 4 ? 1.1 : 1.8));
      });
      p->Fill(EllipseShape{Point{cx + side * 0.5, eye_y + 1.5}, rx * 0.45, ry * 0.45}, kOutline);
      p->Fill(EllipseShape{Point{cx - 2.5, eye_y - 3}, 2.2, 2.2}, Paint(kNavy, 3));
      const std::vector<Point> lid =
          Curve(Point{cx - rx - 2, eye_y - ry + 5}, Point{cx, eye_y - ry - 5},
                Point{cx + rx + 2, eye_y - ry + 5}, 10);
      for (std::size_t i = 1; i < lid.size(); ++i)
        p->Fill(StrokeShape{lid[i - 1], lid[i], 1.7, 1.7}, kOutline);
      const Point outer{cx + side * (rx + 2), eye_y - ry + 5};
      p->Fill(StrokeShape{outer, Point{outer.x + side * 2.5, outer.y + 3}, 1.2, 0.5}, kOutline);
    }
    // The brow, thin and arched.
    const Point inner{cx - side * 7, eye_y - 16 + brow_slant};
    const Point outer{cx + side * 7, eye_y - 16 - brow_slant};
    const std::vector<Point> brow = Curve(inner, Point{cx, eye_y - 19}, outer, 6);
    for (std::size_t i = 1; i < brow.size(); ++i)
      p->Fill(StrokeShape{brow[i - 1], brow[i], 0.9, 0.9}, Paint(kBrown, 0));
    if (blush) p->Fill(EllipseShape{Point{cx + side * 3, eye_y + 14}, 7, 3}, Paint(kBlush, 0.35));
  }
  // Nose: a shadow on its unlit side.
  p->Fill(StrokeShape{Point{axis + 1, eye_y + 10}, Point{axis + 2, eye_y + 15}, 1.0, 0.8},
          Paint(kSkin, 0.2));
  if (expression == Expression::kSmile) {
    p->Fill(PolygonShape{Curve(Point{axis - 7, eye_y + 22}, Point{axis, eye_y + 33},
                               Point{axis + 7, eye_y + 22}, 10)},
            Paint(kRed, 0.2));
    p->Fill(EllipseShape{Point{axis, eye_y + 27}, 3, 1.6}, Paint(kRed, 1));
  } else {
    p->Fill(StrokeShape{Point{axis - 4, eye_y + 24}, Point{axis + 4, eye_y + 24}, 0.9, 0.9},
            Paint(kRed, 0));
  }
}

Artwork FinishFigure(Painting painting, int number) {
  painting.OutlineSilhouette(kOutline);
  Artwork art;
  art.kind = ArtKind::kCharacter;
  char name[16];
  std::snprintf(name, sizeof name, "C%02x.VGR", number);
  art.file_name = name;
  for (char& c : art.file_name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  art.image = painting.Render(kCharacterTransparent);
  art.options.x = kFigureX;
  art.options.y = kFigureY;
  art.options.order = authoring::PixelOrder::kRows;
  art.options.transparent = kCharacterTransparent;
  art.options.palette = ScenePalette16(1);
  return art;
}

}  // namespace demo_art
