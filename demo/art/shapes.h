// Plane figures the pictures are drawn with. Every shape answers two questions: the box of
// pixels it may touch, and whether the centre of pixel (x, y) lies inside it. Coordinates
// are in pixels with y growing downwards; pixel (x, y) covers [x, x + 1) × [y, y + 1).
#pragma once

#include <vector>

namespace demo_art {

struct Point {
  double x = 0;
  double y = 0;
};

// Pixels left ≤ x < right, top ≤ y < bottom.
struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct RectShape {
  double left, top, right, bottom;
  Box Bounds() const;
  bool Contains(int x, int y) const;
};

struct EllipseShape {
  Point centre;
  double rx, ry;
  Box Bounds() const;
  bool Contains(int x, int y) const;
};

// A closed polygon, filled by the even-odd rule.
struct PolygonShape {
  std::vector<Point> points;
  Box Bounds() const;
  bool Contains(int x, int y) const;
};

// A stroke from a to b whose half-width goes from ra at a to rb at b, with round ends.
struct StrokeShape {
  Point a, b;
  double ra, rb;
  Box Bounds() const;
  bool Contains(int x, int y) const;
};

// Points along the quadratic curve from a towards control c to b, both ends included.
std::vector<Point> Curve(Point a, Point c, Point b, int steps);
// Appends `more` to `path`.
void Append(std::vector<Point>* path, const std::vector<Point>& more);
// The path mirrored about the vertical line x = axis, in reverse order, so that a left
// outline followed by its mirror makes a closed symmetric figure.
std::vector<Point> Mirrored(const std::vector<Point>& path, double axis);

}  // namespace demo_art
