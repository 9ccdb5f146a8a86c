// Where the game's picture lies in the window, and how window pixels, picture pixels and
// client pixels map onto one another, for each way the player may choose to show it.
//
// The client surface holds the picture as the game painted it: stretched by nearest pixels
// over the whole client area in a window, at its own size in the top left corner in full
// screen (the band below it black). The window shows that picture, taken back out of the
// client surface, in a rectangle of its own: the client area's place in a window, the whole
// screen in full screen. All sizes here are drawable pixels, which on a high-density display
// are more than the desktop's points.
#pragma once

#include "platform/presentation.h"
#include "platform/sdl/view_geometry.h"

namespace platform::sdl {

// The game's picture.
constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 400;

// The picture of `width` × `height` where the client surface holds it: the client rectangle
// `in_client` shows it, scaled by nearest pixels when larger. A client area smaller than the
// picture has only its own pixels to show: the picture is then the client area itself.
struct PictureSource {
  PixelRect in_client;
  int width = 0, height = 0;
};
PictureSource SourceOfClient(int client_width, int client_height, bool full_screen);

// The rectangle a picture of picture_width × picture_height takes in `area`: fit keeps the
// shape and touches two sides, whole takes the largest whole multiple that fits (at least
// one, cut by the area when even that is too large), stretch takes the area. Centred.
PixelRect PlacePicture(ScaleMode mode, int picture_width, int picture_height,
                       const PixelRect& area);

// One axis of a placed picture: `length` picture pixels shown in window pixels
// [start, start + span), read from client pixels [client_start, client_start + client_span).
class PlacedAxis {
 public:
  PlacedAxis() = default;
  PlacedAxis(int length, int start, int span, int client_start, int client_span);

  // The picture pixel shown at window pixel `w`; a pixel outside the picture takes the
  // nearest edge.
  int PictureAt(int w) const;
  // The first window pixel showing picture pixel `p` (so that PictureAt(WindowOf(p)) == p).
  int WindowOf(int p) const;
  // The first client pixel showing picture pixel `p`, and the picture pixel a client pixel
  // shows.
  int ClientOf(int p) const;
  int PictureOfClient(int c) const;

  // Smooth filtering: the two picture pixels blended at window pixel `w` and the weight of
  // the second, 0 to 256. A whole-number scale always gives the nearest pixel alone.
  struct Blend {
    int first = 0, second = 0, weight = 0;
  };
  Blend BlendAt(int w) const;
  bool whole() const { return span_ % length_ == 0; }

 private:
  int length_ = 1, start_ = 0, span_ = 1, client_start_ = 0, client_span_ = 1;
};

// The picture of one client surface as the window shows it.
struct PictureView {
  PixelRect placed;  // window pixels
  PlacedAxis x, y;
};
PictureView ViewPicture(const PictureSource& source, ScaleMode mode, const PixelRect& area);

// What the window shows where: the emulated screen (menu bar, dialogs) through `screen`, and
// the picture of the client surface where the player's choice puts it.
struct WindowLayout {
  ViewGeometry screen;
  PixelRect client;  // the client area on the emulated screen
  int screen_width = 0, screen_height = 0;
  bool full_screen = false;
  PictureView picture;
};
// In a window the picture fills the client area's place; in full screen the whole window of
// window_width × window_height.
WindowLayout LayOutWindow(const ViewGeometry& screen, const PixelRect& client, int screen_width,
                          int screen_height, bool full_screen, int surface_width,
                          int surface_height, ScaleMode mode, int window_width, int window_height);

// A point in pixels (of the window or the client area, as the function says).
struct PixelPoint {
  int x = 0, y = 0;
};
// The client point a window pixel stands for. Over the client area's place, or anywhere below
// the bar in full screen, it is the picture pixel shown there, and a pixel of the black bands
// beside the picture counts as the picture's nearest edge, so that a click there is still a
// click on the game. Elsewhere (the bar) it is the emulated screen's point, in full screen
// kept on that screen.
PixelPoint ClientPointAt(const WindowLayout& layout, int window_x, int window_y);
// The window pixel where a client point shows (the first of its block).
PixelPoint WindowPixelOf(const WindowLayout& layout, int client_x, int client_y);

}  // namespace platform::sdl
