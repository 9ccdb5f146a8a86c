#include "text/text_layer.h"

#include <algorithm>
#include <cstring>

#include "core/picture.h"

namespace text {
namespace {

// Copies between a picture and a rectangle buffer, each row clipped to the picture.
// `to_picture` picks the direction.
void CopyRect(resources::MemHandle picture, resources::MemHandle buffer, int x, int y, int width,
              int height, bool to_picture) {
  if (width <= 0 || height <= 0) return;
  std::uint8_t* pixels = visuals::LockPicture(picture);
  if (pixels == nullptr) return;
  auto* saved = static_cast<std::uint8_t*>(resources::MemLock(buffer));
  if (saved != nullptr) {
    const std::size_t capacity = GlobalSize(buffer);
    const int left = std::max(x, 0);
    const int right = std::min(x + width, visuals::kPictureWidth);
    for (int row = 0; row < height && left < right; ++row) {
      const int py = y + row;
      const std::size_t at = static_cast<std::size_t>(row) * width + (left - x);
      if (py < 0 || py >= visuals::kPictureHeight) continue;
      if (at + static_cast<std::size_t>(right - left) > capacity) break;
      std::uint8_t* line = visuals::PixelAt(pixels, left, py);
      if (to_picture) {
        std::memcpy(line, saved + at, static_cast<std::size_t>(right - left));
      } else {
        std::memcpy(saved + at, line, static_cast<std::size_t>(right - left));
      }
    }
    resources::MemUnlock(buffer);
  }
  resources::MemUnlock(picture);
}

}  // namespace

void ClearTextLayer(resources::MemHandle picture) {
  std::uint8_t* pixels = visuals::LockPicture(picture);
  if (pixels == nullptr) return;
  std::uint8_t* p = pixels + visuals::kPixelOffset;
  for (std::uint32_t i = 0; i < visuals::kPixelBytes; ++i) p[i] &= 3;
  resources::MemUnlock(picture);
}

void SaveRect(resources::MemHandle buffer, resources::MemHandle picture, std::int16_t x,
              std::int16_t y, std::int16_t width, std::int16_t height) {
  CopyRect(picture, buffer, x, y, width, height, false);
}

void RestoreRect(resources::MemHandle picture, resources::MemHandle buffer, std::int16_t x,
                 std::int16_t y, std::int16_t width, std::int16_t height) {
  CopyRect(picture, buffer, x, y, width, height, true);
  visuals::RectExtend(&visuals::UpdateRect, x, y, x + width, y + height);
}

}  // namespace text
