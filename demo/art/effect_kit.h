// Whole-number helpers for the effect frames: positions in 1/16 pixel, an integer square
// root and a 4 × 4 ordered dither.
#pragma once

#include <cstdint>

#include "artwork.h"

namespace demo_art::effect {

inline constexpr int kSub = 16;  // sub-pixel steps per pixel

// The largest r with r × r ≤ v (v ≥ 0).
std::int64_t SquareRoot(std::int64_t v);

// The ordered-dither threshold of pixel (x, y): 0 … 15, each once in every 4 × 4 square.
int Bayer(int x, int y);

// A repeatable stream of whole numbers.
class Dice {
 public:
  explicit Dice(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
  // Uniform in [lo, hi].
  int Between(int lo, int hi);

 private:
  std::uint32_t state_;
};

// A full-screen effect frame with `transparent` as its empty colour, `colours` its palette
// (colour 15 is white whatever is given), every pixel from pixel(x, y).
template <class PixelFn>
Artwork FinishFrame(const char* file_name, const std::uint8_t (&colours)[16][3],
                    std::uint8_t transparent, PixelFn pixel) {
  Artwork art;
  art.kind = ArtKind::kEffectFrame;
  art.file_name = file_name;
  art.image = authoring::PictureImage{authoring::kScreenWidth, authoring::kScreenHeight, {}};
  art.image.pixels.resize(static_cast<std::size_t>(art.image.width * art.image.height));
  for (int y = 0; y < art.image.height; ++y) {
    for (int x = 0; x < art.image.width; ++x) {
      art.image.pixels[static_cast<std::size_t>(y * art.image.width + x)] = pixel(x, y);
    }
  }
  art.options.order = authoring::PixelOrder::kRows;
  art.options.transparent = transparent;
  for (std::size_t i = 0; i < 16; ++i) {
    art.options.palette[i] = authoring::Rgb4{colours[i][0], colours[i][1], colours[i][2]};
  }
  art.options.palette[15] = authoring::Rgb4{15, 15, 15};
  return art;
}

}  // namespace demo_art::effect
