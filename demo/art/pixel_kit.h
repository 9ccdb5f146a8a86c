// Integer painting for the opening's layers and the title scene: a plain canvas of palette
// pixels, ordered dithering between the colours of a ramp, hashed value noise and thick
// strokes, all in integer arithmetic so that every build writes the same bytes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "authoring/picture_file.h"

namespace demo_art {

// A canvas of palette pixels (or layer values), top row first.
class PixelCanvas {
 public:
  PixelCanvas(int width, int height, std::uint8_t fill = 0);

  int width() const { return width_; }
  int height() const { return height_; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  std::uint8_t at(int x, int y) const { return pixels_[Index(x, y)]; }
  void Set(int x, int y, std::uint8_t value) {
    if (Inside(x, y)) pixels_[Index(x, y)] = value;
  }
  const std::vector<std::uint8_t>& pixels() const { return pixels_; }

  authoring::PictureImage ToImage() const;

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }
  int width_;
  int height_;
  std::vector<std::uint8_t> pixels_;
};

// Pixel (col 0 … 4, row 0 … 6) of a capital letter of the 5 × 7 block alphabet the title art
// writes with (the letters of "HOTARU", "VELA", "STORY" and "SERIES"); false for others.
bool LetterPixel(char name, int col, int row);

// The 8 × 8 ordered-dither threshold of (x, y), 0 … 63.
int Bayer(int x, int y);

// Colours from dark to light; a tone of 0 is the first, 64 × (size − 1) the last, tones in
// between dither the two nearest colours.
using ColourRamp = std::initializer_list<std::uint8_t>;
inline constexpr int kToneStep = 64;
std::uint8_t DitherTone(ColourRamp ramp, int tone, int x, int y);

// A hash of a lattice point, 0 … 255.
int LatticeByte(int x, int y, std::uint32_t seed);
// Smooth value noise, 0 … 255, one lattice cell per `cell` pixels. With `period_x` > 0
// the noise repeats every period_x pixels across (period_x a multiple of cell).
int ValueNoise8(int x, int y, int cell, std::uint32_t seed, int period_x = 0);
// Octaves of value noise, each cell half the size and half the weight; 0 … 255.
int FractalNoise8(int x, int y, int cell, int octaves, std::uint32_t seed, int period_x = 0);

// The integer square root (rounded down).
int ISqrt(std::int64_t n);

// Whether (px, py) lies within `radius` of the segment from (ax, ay) to (bx, by).
bool NearSegment(int px, int py, int ax, int ay, int bx, int by, int radius);

// Strokes and shapes in one colour.
void ThickLine(PixelCanvas* canvas, int ax, int ay, int bx, int by, int radius,
               std::uint8_t colour);
void FillDisc(PixelCanvas* canvas, int cx, int cy, int radius, std::uint8_t colour);
void FillBox(PixelCanvas* canvas, int left, int top, int right, int bottom, std::uint8_t colour);

// A small repeatable generator.
class IntRng {
 public:
  explicit IntRng(std::uint64_t seed) : state_(seed) {}
  std::uint32_t Next();
  // Uniform in [lo, hi].
  int Between(int lo, int hi);

 private:
  std::uint64_t state_;
};

}  // namespace demo_art
