// The moves work on the pixel bytes as stored, bottom row first: one screen row down is 640
// bytes back. A move by (dx, dy) is one copy of the saved bytes shifted by dy rows and dx
// bytes, so a horizontal move carries the pixels at a row's end over into the next row;
// those columns are then painted over with colour 0, as are the rows with no source.
#include "visuals/shake_effects.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "core/message_pump.h"
#include "core/picture.h"
#include "core/screen_state.h"

namespace visuals {
namespace {

constexpr std::uint16_t kFrameTime = 4;  // 40 ms

void ShakeFrame(std::uint8_t* pixels, const std::uint8_t* saved, QuakeOffset move) {
  const std::ptrdiff_t shift = std::ptrdiff_t{move.dy} * core::kRowStride + move.dx;
  const std::size_t kept = core::kPixelBytes - static_cast<std::size_t>(std::abs(shift));
  if (shift >= 0) {
    std::memcpy(pixels, saved + shift, kept);
  } else {
    std::memcpy(pixels - shift, saved, kept);
  }
  if (move.dx != 0) {
    const std::size_t width = static_cast<std::size_t>(std::abs(move.dx));
    const std::size_t x = move.dx > 0 ? core::kPictureWidth - width : 0;
    for (std::size_t row = 0; row < core::kPictureHeight; ++row) {
      std::memset(pixels + row * core::kRowStride + x, 0, width);
    }
  }
  if (move.dy != 0) {
    // Moving down empties the top screen rows, stored last; moving up the bottom ones.
    const std::size_t rows = static_cast<std::size_t>(std::abs(move.dy));
    const std::size_t first = move.dy > 0 ? core::kPictureHeight - rows : 0;
    std::memset(pixels + first * core::kRowStride, 0, rows * core::kRowStride);
  }
}

}  // namespace

core::MemHandle AllocQuakeBuffer() { return core::MemAlloc(core::kPixelBytes, "quake buf"); }

void ShakeShownPicture(core::MemHandle buffer) {
  std::uint8_t* shown = core::LockPicture(core::Screen.VmemDIB);
  if (shown == nullptr) return;
  auto* saved = static_cast<std::uint8_t*>(core::MemLock(buffer));
  if (saved == nullptr) {
    core::MemUnlock(core::Screen.VmemDIB);
    return;
  }
  std::uint8_t* pixels = shown + core::kPixelOffset;
  std::memcpy(saved, pixels, core::kPixelBytes);
  for (const QuakeOffset move : QuakeOffsets) {
    const DWORD start = GetTickCount();
    ShakeFrame(pixels, saved, move);
    core::Present(nullptr);
    core::WaitSince(start, kFrameTime);
  }
  core::MemUnlock(buffer);
  core::MemUnlock(core::Screen.VmemDIB);
}

}  // namespace visuals
