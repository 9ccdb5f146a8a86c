#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace demo_art {
namespace {

Box BoxAround(double left, double top, double right, double bottom) {
  return Box{static_cast<int>(std::floor(left)), static_cast<int>(std::floor(top)),
             static_cast<int>(std::ceil(right)) + 1, static_cast<int>(std::ceil(bottom)) + 1};
}

}  // namespace

Box RectShape::Bounds() const { return BoxAround(left, top, right, bottom); }

bool RectShape::Contains(int x, int y) const {
  const double px = x + 0.5, py = y + 0.5;
  return px >= left && px < right && py >= top && py < bottom;
}

Box EllipseShape::Bounds() const {
  return BoxAround(centre.x - rx, centre.y - ry, centre.x + rx, centre.y + ry);
}

bool EllipseShape::Contains(int x, int y) const {
  const double dx = (x + 0.5 - centre.x) / rx, dy = (y + 0.5 - centre.y) / ry;
  return dx * dx + dy * dy <= 1.0;
}

Box PolygonShape::Bounds() const {
  if (points.empty()) return Box{};
  double left = points[0].x, right = left, top = points[0].y, bottom = top;
  for (const Point& p : points) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  return BoxAround(left, top, right, bottom);
}

bool PolygonShape::Contains(int x, int y) const {
  const double px = x + 0.5, py = y + 0.5;
  bool inside = false;
  for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
    const Point& a = points[i];
    const Point& b = points[j];
    if ((a.y > py) != (b.y > py) && px < (b.x - a.x) * (py - a.y) / (b.y - a.y) + a.x) {
      inside = !inside;
    }
  }
  return inside;
}

Box StrokeShape::Bounds() const {
  const double r = std::max(ra, rb);
  return BoxAround(std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r,
                   std::max(a.y, b.y) + r);
}

bool StrokeShape::Contains(int x, int y) const {
  const double px = x + 0.5 - a.x, py = y + 0.5 - a.y;
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  const double t = length2 > 0 ? std::clamp((px * dx + py * dy) / length2, 0.0, 1.0) : 0.0;
  const double ex = px - t * dx, ey = py - t * dy;
  const double r = ra + (rb - ra) * t;
  return ex * ex + ey * ey <= r * r;
}

std::vector<Point> Curve(Point a, Point c, Point b, int steps) {
  std::vector<Point> out;
  for (int i = 0; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps, u = 1 - t;
    out.push_back(Point{u * u * a.x + 2 * u * t * c.x + t * t * b.x,
                        u * u * a.y + 2 * u * t * c.y + t * t * b.y});
  }
  return out;
}

void Append(std::vector<Point>* path, const std::vector<Point>& more) {
  path->insert(path->end(), more.begin(), more.end());
}

std::vector<Point> Mirrored(const std::vector<Point>& path, double axis) {
  std::vector<Point> out;
  for (auto it = path.rbegin(); it != path.rend(); ++it)
    out.push_back(Point{2 * axis - it->x, it->y});
  return out;
}

}  // namespace demo_art
