#include "painting.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "pixel_kit.h"

namespace demo_art {

double DitherThreshold(int x, int y) { return (Bayer(x, y) + 0.5) / 64.0; }

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
