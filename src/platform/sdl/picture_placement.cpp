#include "platform/sdl/picture_placement.h"

#include <algorithm>
#include <cstdint>

namespace platform::sdl {
namespace {

// a × b / c rounded down and up, for a ≥ 0 and c > 0.
int MulDivFloor(int a, int b, int c) {
  return static_cast<int>(static_cast<std::int64_t>(a) * b / c);
}
int MulDivCeil(int a, int b, int c) {
  return static_cast<int>((static_cast<std::int64_t>(a) * b + c - 1) / c);
}

}  // namespace

PictureSource SourceOfClient(int client_width, int client_height, bool full_screen) {
  client_width = std::max(1, client_width);
  client_height = std::max(1, client_height);
  if (client_width < kPictureWidth || client_height < kPictureHeight) {
    return PictureSource{PixelRect{0, 0, client_width, client_height}, client_width, client_height};
  }
  if (full_screen) {
    return PictureSource{PixelRect{0, 0, kPictureWidth, kPictureHeight}, kPictureWidth,
                         kPictureHeight};
  }
  return PictureSource{PixelRect{0, 0, client_width, client_height}, kPictureWidth, kPictureHeight};
}

PixelRect PlacePicture(ScaleMode mode, int picture_width, int picture_height,
                       const PixelRect& area) {
  const int pw = std::max(1, picture_width), ph = std::max(1, picture_height);
  const int aw = std::max(1, area.w), ah = std::max(1, area.h);
  int w = aw, h = ah;
  switch (mode) {
    case ScaleMode::kFit:
      if (static_cast<std::int64_t>(aw) * ph <= static_cast<std::int64_t>(ah) * pw) {
        h = std::max(1, MulDivFloor(aw, ph, pw));
      } else {
        w = std::max(1, MulDivFloor(ah, pw, ph));
      }
      break;
    case ScaleMode::kWhole: {
      const int n = std::max(1, std::min(aw / pw, ah / ph));
      w = n * pw;
      h = n * ph;
      break;
    }
    case ScaleMode::kStretch: break;
  }
  // Centred; an odd pixel left over goes to the right and bottom band.
  return PixelRect{area.x + (aw - w) / 2, area.y + (ah - h) / 2, w, h};
}

PlacedAxis::PlacedAxis(int length, int start, int span, int client_start, int client_span)
    : length_(std::max(1, length)),
      start_(start),
      span_(std::max(1, span)),
      client_start_(client_start),
      client_span_(std::max(1, client_span)) {}

int PlacedAxis::PictureAt(int w) const {
  const int inside = std::clamp(w - start_, 0, span_ - 1);
  return MulDivFloor(inside, length_, span_);
}

int PlacedAxis::WindowOf(int p) const {
  return start_ + MulDivCeil(std::clamp(p, 0, length_ - 1), span_, length_);
}

int PlacedAxis::ClientOf(int p) const {
  return client_start_ + MulDivCeil(std::clamp(p, 0, length_ - 1), client_span_, length_);
}

int PlacedAxis::PictureOfClient(int c) const {
  const int inside = std::clamp(c - client_start_, 0, client_span_ - 1);
  return MulDivFloor(inside, length_, client_span_);
}

PlacedAxis::Blend PlacedAxis::BlendAt(int w) const {
  if (whole()) {
    const int p = PictureAt(w);
    return Blend{p, p, 0};
  }
  // The window pixel's centre in picture pixels, less half a pixel, in 1/256ths: the
  // picture pixels whose centres lie on either side of it.
  const std::int64_t inside = std::clamp(w - start_, 0, span_ - 1);
  const std::int64_t u =
      (2 * inside + 1) * length_ * 256 / (2 * static_cast<std::int64_t>(span_)) - 128;
  if (u <= 0) return Blend{0, 0, 0};
  const int first = static_cast<int>(u >> 8);
  if (first >= length_ - 1) return Blend{length_ - 1, length_ - 1, 0};
  return Blend{first, first + 1, static_cast<int>(u & 255)};
}

PictureView ViewPicture(const PictureSource& source, ScaleMode mode, const PixelRect& area) {
  PictureView v;
  v.placed = PlacePicture(mode, source.width, source.height, area);
  v.x = PlacedAxis(source.width, v.placed.x, v.placed.w, source.in_client.x, source.in_client.w);
  v.y = PlacedAxis(source.height, v.placed.y, v.placed.h, source.in_client.y, source.in_client.h);
  return v;
}

WindowLayout LayOutWindow(const ViewGeometry& screen, const PixelRect& client, int screen_width,
                          int screen_height, bool full_screen, int surface_width,
                          int surface_height, ScaleMode mode, int window_width, int window_height) {
  WindowLayout l{screen, client, screen_width, screen_height, full_screen, {}};
  const PixelRect area = full_screen ? PixelRect{0, 0, window_width, window_height}
                                     : screen.ToWindow(client.x, client.y, client.w, client.h);
  l.picture = ViewPicture(SourceOfClient(surface_width, surface_height, full_screen), mode, area);
  return l;
}

PixelPoint ClientPointAt(const WindowLayout& l, int window_x, int window_y) {
  int x = l.screen.ScreenX(window_x), y = l.screen.ScreenY(window_y);
  if (l.full_screen) {
    // The desktop stands for the emulated screen: the mouse never leaves it.
    x = std::clamp(x, 0, l.screen_width - 1);
    y = std::clamp(y, 0, l.screen_height - 1);
  }
  const PixelPoint emulated{x - l.client.x, y - l.client.y};
  const bool in_client =
      emulated.x >= 0 && emulated.y >= 0 && emulated.x < l.client.w && emulated.y < l.client.h;
  if (!in_client && !(l.full_screen && emulated.y >= 0)) return emulated;
  return PixelPoint{l.picture.x.ClientOf(l.picture.x.PictureAt(window_x)),
                    l.picture.y.ClientOf(l.picture.y.PictureAt(window_y))};
}

PixelPoint WindowPixelOf(const WindowLayout& l, int client_x, int client_y) {
  if (client_x >= 0 && client_y >= 0 && client_x < l.client.w && client_y < l.client.h) {
    return PixelPoint{l.picture.x.WindowOf(l.picture.x.PictureOfClient(client_x)),
                      l.picture.y.WindowOf(l.picture.y.PictureOfClient(client_y))};
  }
  return PixelPoint{l.screen.WindowX(l.client.x + client_x),
                    l.screen.WindowY(l.client.y + client_y)};
}

}  // namespace platform::sdl
