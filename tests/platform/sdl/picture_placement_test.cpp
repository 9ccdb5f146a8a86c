// Where the picture lies for each way of showing it, and how window, picture and client
// pixels map onto one another, without a window.
#include "platform/sdl/picture_placement.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/sdl/pixel_convert.h"

namespace platform::sdl {
namespace {

struct PlacementCase {
  const char* name;
  ScaleMode mode;
  PixelRect area;
  PixelRect placed;
};

TEST(PicturePlacement, EachModePlacesThePictureInTheArea) {
  const PlacementCase cases[] = {
      // A 16:9 screen: fit touches top and bottom, whole doubles, stretch fills.
      {"fit 1920x1080", ScaleMode::kFit, {0, 0, 1920, 1080}, {96, 0, 1728, 1080}},
      {"whole 1920x1080", ScaleMode::kWhole, {0, 0, 1920, 1080}, {320, 140, 1280, 800}},
      {"stretch 1920x1080", ScaleMode::kStretch, {0, 0, 1920, 1080}, {0, 0, 1920, 1080}},
      // A 4:3 screen: fit touches the sides; the odd row left over goes below.
      {"fit 1600x1200", ScaleMode::kFit, {0, 0, 1600, 1200}, {0, 100, 1600, 1000}},
      {"fit 1500x1000", ScaleMode::kFit, {0, 0, 1500, 1000}, {0, 31, 1500, 937}},
      {"whole 3840x2160", ScaleMode::kWhole, {0, 0, 3840, 2160}, {320, 80, 3200, 2000}},
      // A window's client area below its bar: 800 × 500 has the picture's shape, so only
      // whole-number scaling leaves bands.
      {"fit window 800x500", ScaleMode::kFit, {0, 22, 800, 500}, {0, 22, 800, 500}},
      {"whole window 800x500", ScaleMode::kWhole, {0, 22, 800, 500}, {80, 72, 640, 400}},
      // The same window on a display of twice the density.
      {"whole window 800x500 at 2x", ScaleMode::kWhole, {0, 44, 1600, 1000}, {160, 144, 1280, 800}},
      // Smaller than the picture: whole keeps one times and is cut by the area.
      {"whole 600x380", ScaleMode::kWhole, {0, 0, 600, 380}, {-20, -10, 640, 400}},
  };
  for (const PlacementCase& c : cases) {
    SCOPED_TRACE(c.name);
    const PixelRect r = PlacePicture(c.mode, kPictureWidth, kPictureHeight, c.area);
    EXPECT_EQ(r.x, c.placed.x);
    EXPECT_EQ(r.y, c.placed.y);
    EXPECT_EQ(r.w, c.placed.w);
    EXPECT_EQ(r.h, c.placed.h);
  }
}

TEST(PicturePlacement, TheClientHoldsThePictureAsTheGamePaintedIt) {
  struct Case {
    int width, height;
    bool full_screen;
    PixelRect in_client;
    int picture_width;
  } cases[] = {
      {640, 480, true, {0, 0, 640, 400}, 640},   // full screen: top left, black band below
      {800, 500, false, {0, 0, 800, 500}, 640},  // stretched over the client area
      {320, 200, false, {0, 0, 320, 200}, 320},  // smaller: the client area is all there is
  };
  for (const Case& c : cases) {
    const PictureSource s = SourceOfClient(c.width, c.height, c.full_screen);
    EXPECT_EQ(s.in_client.w, c.in_client.w) << c.width;
    EXPECT_EQ(s.in_client.h, c.in_client.h) << c.width;
    EXPECT_EQ(s.width, c.picture_width) << c.width;
  }
}

// Whole-number scaling: each picture pixel an n × n block; the bands beside the picture
// count as its nearest edge.
TEST(PicturePlacement, MousePositionsMapToThePictureAndBandsToItsEdge) {
  const PictureView v =
      ViewPicture(SourceOfClient(640, 480, true), ScaleMode::kWhole, PixelRect{0, 0, 1920, 1080});
  struct Case {
    int window_x, window_y, picture_x, picture_y;
  } cases[] = {
      {320, 140, 0, 0}, {321, 141, 0, 0},       {322, 142, 1, 1},   {1599, 939, 639, 399},
      {0, 0, 0, 0},     {1919, 1079, 639, 399}, {100, 500, 0, 180}, {960, 1000, 320, 399},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(v.x.PictureAt(c.window_x), c.picture_x) << c.window_x;
    EXPECT_EQ(v.y.PictureAt(c.window_y), c.picture_y) << c.window_y;
  }
}

// The whole chain the mouse takes, window pixel to the client point the game is given: an
// 800 × 500 window below its 22-point bar on a display of twice the density, whole-number
// scaling; and full screen on a 1920 × 1080 desktop, fit.
TEST(PicturePlacement, WindowPixelsBecomeClientPointsThroughThePlacement) {
  const WindowLayout window = LayOutWindow(ViewGeometry::Window(100, 50, 800, 522, 1600, 1044),
                                           PixelRect{100, 72, 800, 500}, 1920, 1080, false, 800,
                                           500, ScaleMode::kWhole, 1600, 1044);
  EXPECT_EQ(window.picture.placed.x, 160);
  EXPECT_EQ(window.picture.placed.y, 144);
  EXPECT_EQ(window.picture.placed.w, 1280);
  const WindowLayout full =
      LayOutWindow(ViewGeometry::Scaled(640, 480, 1920, 1080), PixelRect{0, 22, 640, 480}, 640, 480,
                   true, 640, 480, ScaleMode::kFit, 1920, 1080);
  struct Case {
    const char* name;
    const WindowLayout& layout;
    int window_x, window_y, client_x, client_y;
  } cases[] = {
      {"the bar stays the bar", window, 10, 30, 5, -7},
      {"the band at the left is the left edge", window, 10, 500, 0, 223},
      {"the last pixel", window, 1599, 1043, 799, 499},
      {"a pixel of the picture", window, 160 + 2 * 320, 144 + 2 * 200, 400, 250},
      {"full screen: the bar at the top", full, 960, 10, 320, -18},
      {"full screen: the middle", full, 960, 540, 320, 200},
      {"full screen: the band at the left", full, 10, 540, 0, 200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PixelPoint p = ClientPointAt(c.layout, c.window_x, c.window_y);
    EXPECT_EQ(p.x, c.client_x);
    EXPECT_EQ(p.y, c.client_y);
  }
  // The game placing the cursor: the first window pixel of the picture pixel's block, which
  // the mouse maps back to the same client point.
  const PixelPoint at = WindowPixelOf(window, 799, 499);
  EXPECT_EQ(at.x, 160 + 2 * 639);
  EXPECT_EQ(at.y, 144 + 2 * 399);
  const PixelPoint back = ClientPointAt(window, at.x, at.y);
  EXPECT_EQ(back.x, 799);
  EXPECT_EQ(back.y, 499);
}

// At sizes that are not whole multiples, every picture pixel is shown somewhere and the way
// back finds it: window → picture → client (the game's own stretch) and back again.
TEST(PicturePlacement, MappingsRoundTripAtAnyScale) {
  struct Case {
    int span, client_span;
  } cases[] = {{1728, 640}, {937, 800}, {1500, 960}, {1000, 1600}, {640, 1024}};
  for (const Case& c : cases) {
    const PlacedAxis axis(640, 7, c.span, 0, c.client_span);
    for (int p = 0; p < 640; ++p) {
      ASSERT_EQ(axis.PictureAt(axis.WindowOf(p)), p) << c.span << " " << p;
      ASSERT_EQ(axis.PictureOfClient(axis.ClientOf(p)), p) << c.client_span << " " << p;
    }
  }
}

TEST(PicturePlacement, SmoothBlendsOnlyAtSizesThatAreNotWhole) {
  // 2.5 times: the window pixel between picture pixels 0 and 1 takes half of each.
  const PlacedAxis fractional(640, 0, 1600, 0, 640);
  const PlacedAxis::Blend mid = fractional.BlendAt(2);
  EXPECT_EQ(mid.first, 0);
  EXPECT_EQ(mid.second, 1);
  EXPECT_EQ(mid.weight, 128);
  EXPECT_EQ(fractional.BlendAt(0).weight, 0);  // the edge takes the edge pixel alone
  EXPECT_EQ(fractional.BlendAt(1599).first, 639);
  // 3 times is sharp whatever the filter.
  const PlacedAxis whole(640, 0, 1920, 0, 640);
  for (int w = 0; w < 1920; ++w) {
    const PlacedAxis::Blend b = whole.BlendAt(w);
    ASSERT_EQ(b.weight, 0) << w;
    ASSERT_EQ(b.first, w / 3) << w;
  }
}

TEST(PixelConvert, SmoothBlendsTheFourNeighbours) {
  ClientSurface s;
  s.width = 2;
  s.height = 2;
  s.indexed = false;
  s.pixels = {0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0, 255};
  const Rgb32Format f;
  const SurfaceBlend columns[] = {{0, 1, 128}};
  const SurfaceBlend rows[] = {{0, 0, 0}, {0, 1, 128}};
  std::uint32_t out[2] = {};
  DrawSurfaceSmooth(s, PaletteColours{}, f, columns, rows, reinterpret_cast<std::uint8_t*>(out), 4);
  EXPECT_EQ(out[0], 0x808080u);  // black and white, half each
  // Black, white, red and blue, a quarter each.
  EXPECT_EQ(out[1], (0x80u << 16) | (0x40u << 8) | 0x80u);
}

}  // namespace
}  // namespace platform::sdl
