// How the emulated screen maps onto the SDL window's drawable pixels. In a window, the SDL
// window shows our window's outer rectangle, one to one or at the display's density. In full
// screen it shows the whole emulated screen
// (640 × 480) scaled to the desktop, keeping its shape and centred.
#pragma once

#include <algorithm>

namespace platform::sdl {

struct PixelRect {
  int x = 0, y = 0, w = 0, h = 0;
  int right() const { return x + w; }
  int bottom() const { return y + h; }
  bool empty() const { return w <= 0 || h <= 0; }
};

inline PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
  const int x = std::max(a.x, b.x), y = std::max(a.y, b.y);
  return PixelRect{x, y, std::min(a.right(), b.right()) - x, std::min(a.bottom(), b.bottom()) - y};
}

class ViewGeometry {
 public:
  // The window's outer rectangle, whose top left is screen point (origin_x, origin_y), shown
  // in its points_w × points_h desktop points by pixels_w × pixels_h drawable pixels: one to
  // one, or enlarged on a high-density display.
  static ViewGeometry Window(int origin_x, int origin_y, int points_w, int points_h, int pixels_w,
                             int pixels_h) {
    ViewGeometry g;
    g.origin_x_ = origin_x;
    g.origin_y_ = origin_y;
    g.screen_w_ = std::max(1, points_w);
    g.screen_h_ = std::max(1, points_h);
    g.shown_w_ = std::max(1, pixels_w);
    g.shown_h_ = std::max(1, pixels_h);
    g.visible_ = PixelRect{0, 0, pixels_w, pixels_h};
    return g;
  }

  // The screen of screen_w × screen_h scaled into window_w × window_h, centred.
  static ViewGeometry Scaled(int screen_w, int screen_h, int window_w, int window_h) {
    ViewGeometry g;
    g.screen_w_ = std::max(1, screen_w);
    g.screen_h_ = std::max(1, screen_h);
    if (static_cast<long long>(window_w) * g.screen_h_ <=
        static_cast<long long>(window_h) * g.screen_w_) {
      g.shown_w_ = window_w;
      g.shown_h_ = static_cast<int>(static_cast<long long>(window_w) * g.screen_h_ / g.screen_w_);
    } else {
      g.shown_h_ = window_h;
      g.shown_w_ = static_cast<int>(static_cast<long long>(window_h) * g.screen_w_ / g.screen_h_);
    }
    g.shown_w_ = std::max(1, g.shown_w_);
    g.shown_h_ = std::max(1, g.shown_h_);
    g.offset_x_ = (window_w - g.shown_w_) / 2;
    g.offset_y_ = (window_h - g.shown_h_) / 2;
    g.visible_ = PixelRect{g.offset_x_, g.offset_y_, g.shown_w_, g.shown_h_};
    return g;
  }

  // Window pixels to the screen point they show.
  int ScreenX(int wx) const { return origin_x_ + Floor(wx - offset_x_, screen_w_, shown_w_); }
  int ScreenY(int wy) const { return origin_y_ + Floor(wy - offset_y_, screen_h_, shown_h_); }
  // Screen coordinates to the first window pixel that shows them (ScreenX(WindowX(s)) == s).
  int WindowX(int sx) const { return offset_x_ + Ceil(sx - origin_x_, shown_w_, screen_w_); }
  int WindowY(int sy) const { return offset_y_ + Ceil(sy - origin_y_, shown_h_, screen_h_); }

  // A screen rectangle in window pixels, cut to the visible part.
  PixelRect ToWindow(int sx, int sy, int w, int h) const {
    const int x0 = WindowX(sx), y0 = WindowY(sy);
    return Intersect(PixelRect{x0, y0, WindowX(sx + w) - x0, WindowY(sy + h) - y0}, visible_);
  }

  // Window pixels per screen pixel.
  float scale() const { return static_cast<float>(shown_w_) / static_cast<float>(screen_w_); }
  const PixelRect& visible() const { return visible_; }

 private:
  // v × num / den rounded down, and up.
  static int Floor(int v, int num, int den) {
    const long long p = static_cast<long long>(v) * num;
    long long q = p / den;
    if (p % den != 0 && p < 0) --q;
    return static_cast<int>(q);
  }
  static int Ceil(int v, int num, int den) { return -Floor(-v, num, den); }

  int origin_x_ = 0, origin_y_ = 0;
  int offset_x_ = 0, offset_y_ = 0;
  int screen_w_ = 1, screen_h_ = 1;
  int shown_w_ = 1, shown_h_ = 1;
  PixelRect visible_;
};

}  // namespace platform::sdl
