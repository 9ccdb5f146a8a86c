// The canvas every picture is painted on. A pixel holds an Ink: a ramp (a short list of
// palette colours from dark to light) and a tone along it, 0 for the ramp's first colour
// up to size − 1 for its last. Tones between two colours become an ordered dither of the
// two when the painting is turned into palette pixels, so a four-colour background still
// shows soft gradients.
#pragma once

#include <cstdint>
#include <vector>

#include "authoring/picture_file.h"
#include "shapes.h"

namespace demo_art {

using Ramp = std::vector<std::uint8_t>;

// Ramp number 0 is no ramp at all: the pixel is left empty (the transparent colour).
inline constexpr std::uint8_t kEmpty = 0;

struct Ink {
  std::uint8_t ramp = kEmpty;
  float tone = 0;
};

class Painting {
 public:
  Painting(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }

  // Registers a ramp and returns its number (1, 2, …).
  std::uint8_t AddRamp(Ramp colours);

  Ink& at(int x, int y) { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }
  const Ink& at(int x, int y) const { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  // Calls fn(x, y, ink) for every pixel of the canvas inside the shape.
  template <class Shape, class Fn>
  void Apply(const Shape& shape, Fn fn) {
    const Box box = shape.Bounds();
    for (int y = box.top < 0 ? 0 : box.top; y < box.bottom && y < height_; ++y) {
      for (int x = box.left < 0 ? 0 : box.left; x < box.right && x < width_; ++x) {
        if (shape.Contains(x, y)) fn(x, y, at(x, y));
      }
    }
  }

  // Every pixel: paint(x, y) gives its ink.
  template <class PaintFn>
  void FillAll(PaintFn paint) {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) at(x, y) = paint(x, y);
  }

  template <class Shape>
  void Fill(const Shape& shape, Ink ink) {
    Apply(shape, [ink](int, int, Ink& pixel) { pixel = ink; });
  }
  template <class Shape, class PaintFn>
  void FillWith(const Shape& shape, PaintFn paint) {
    Apply(shape, [&paint](int x, int y, Ink& pixel) { pixel = paint(x, y); });
  }
  // Fills the shape and draws its rim, `width` pixels deep, in `rim`: the cel line that
  // keeps a figure's parts apart.
  template <class Shape, class PaintFn>
  void FillOutlined(const Shape& shape, PaintFn paint, Ink rim, int width = 1) {
    Apply(shape, [&](int x, int y, Ink& pixel) {
      const bool edge = !shape.Contains(x - width, y) || !shape.Contains(x + width, y) ||
                        !shape.Contains(x, y - width) || !shape.Contains(x, y + width);
      pixel = edge ? rim : paint(x, y);
    });
  }
  // Raises (or with a negative amount lowers) the tone of what is already there.
  template <class Shape, class AmountFn>
  void Lighten(const Shape& shape, AmountFn amount) {
    Apply(shape, [&amount](int x, int y, Ink& pixel) { pixel.tone += amount(x, y); });
  }

  // Rims every painted region that borders empty pixels with `rim`, one pixel wide, on
  // the empty side: the silhouette line of a character picture.
  void OutlineSilhouette(Ink rim);

  // Palette pixels: each ink's tone dithered between the two nearest colours of its ramp;
  // empty pixels become `empty_colour`.
  authoring::PictureImage Render(std::uint8_t empty_colour) const;

 private:
  int width_;
  int height_;
  std::vector<Ink> pixels_;
  std::vector<Ramp> ramps_;
};

// The ordered-dither threshold of pixel (x, y): 64 levels in [0, 1), spread so that any
// tone between two colours mixes them evenly at every scale.
double DitherThreshold(int x, int y);

}  // namespace demo_art
