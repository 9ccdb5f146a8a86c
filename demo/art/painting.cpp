#include "painting.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace demo_art {
namespace {

// The 8 × 8 Bayer matrix.
constexpr int kBayer[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21},
};

}  // namespace

double DitherThreshold(int x, int y) { return (kBayer[y & 7][x & 7] + 0.5) / 64.0; }

Painting::Painting(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height)) {
  ramps_.push_back(Ramp{});  // number 0: empty
}

std::uint8_t Painting::AddRamp(Ramp colours) {
  ramps_.push_back(std::move(colours));
  return static_cast<std::uint8_t>(ramps_.size() - 1);
}

void Painting::OutlineSilhouette(Ink rim) {
  std::vector<Ink> out = pixels_;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      if (at(x, y).ramp != kEmpty) continue;
      const bool touches = (x > 0 && at(x - 1, y).ramp != kEmpty) ||
                           (x + 1 < width_ && at(x + 1, y).ramp != kEmpty) ||
                           (y > 0 && at(x, y - 1).ramp != kEmpty) ||
                           (y + 1 < height_ && at(x, y + 1).ramp != kEmpty);
      if (touches) out[static_cast<std::size_t>(y * width_ + x)] = rim;
    }
  }
  pixels_ = std::move(out);
}

authoring::PictureImage Painting::Render(std::uint8_t empty_colour) const {
  authoring::PictureImage image{width_, height_, std::vector<std::uint8_t>(pixels_.size())};
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const Ink& ink = at(x, y);
      std::uint8_t colour = empty_colour;
      if (ink.ramp != kEmpty) {
        const Ramp& ramp = ramps_[ink.ramp];
        const int last = static_cast<int>(ramp.size()) - 1;
        const int step = static_cast<int>(std::floor(ink.tone + DitherThreshold(x, y)));
        colour = ramp[static_cast<std::size_t>(std::clamp(step, 0, last))];
      }
      image.pixels[static_cast<std::size_t>(y * width_ + x)] = colour;
    }
  }
  return image;
}

}  // namespace demo_art
