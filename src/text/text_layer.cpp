#include "text/text_layer.h"

#include <algorithm>
#include <cstring>

#include "core/picture.h"
#include "core/screen_state.h"

namespace text {
namespace {

// Copies between a picture and a rectangle buffer, each row clipped to the picture.
// `to_picture` picks the direction.
void CopyRect(core::MemHandle picture, core::MemHandle buffer, int x, int y, int width, int height,
              bool to_picture) {
  if (width <= 0 || height <= 0) return;
  std::uint8_t* pixels = core::LockPicture(picture);
  if (pixels == nullptr) return;
  auto* saved = static_cast<std::uint8_t*>(core::MemLock(buffer));
  if (saved != nullptr) {
    const std::size_t capacity = GlobalSize(buffer);
    const int left = std::max(x, 0);
    const int right = std::min(x + width, core::kPictureWidth);
    for (int row = 0; row < height && left < right; ++row) {
      const int py = y + row;
      const std::size_t at = static_cast<std::size_t>(row) * width + (left - x);
      if (py < 0 || py >= core::kPictureHeight) continue;
      if (at + static_cast<std::size_t>(right - left) > capacity) break;
      std::uint8_t* line = core::PixelAt(pixels, left, py);
      if (to_picture) {
        std::memcpy(line, saved + at, static_cast<std::size_t>(right - left));
      } else {
        std::memcpy(saved + at, line, static_cast<std::size_t>(right - left));
      }
    }
    core::MemUnlock(buffer);
  }
  core::MemUnlock(picture);
}

}  // namespace

void ClearTextLayer(core::MemHandle picture) {
  std::uint8_t* pixels = core::LockPicture(picture);
  if (pixels == nullptr) return;
  std::uint8_t* p = pixels + core::kPixelOffset;
  for (std::uint32_t i = 0; i < core::kPixelBytes; ++i) p[i] &= 3;
  core::MemUnlock(picture);
}

void SaveRect(core::MemHandle buffer, core::MemHandle picture, std::int16_t x, std::int16_t y,
              std::int16_t width, std::int16_t height) {
  CopyRect(picture, buffer, x, y, width, height, false);
}

void RestoreRect(core::MemHandle picture, core::MemHandle buffer, std::int16_t x, std::int16_t y,
                 std::int16_t width, std::int16_t height) {
  CopyRect(picture, buffer, x, y, width, height, true);
  core::RectExtend(&core::Screen.UpdateRect, x, y, x + width, y + height);
}

}  // namespace text
