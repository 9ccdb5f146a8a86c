#include "flow/opening_parts.h"

#include <cstring>
#include <string>

#include "core/exit_program.h"
#include "core/format_text.h"
#include "core/settings.h"
#include "core/window_state.h"
#include "resources/block_unpacker.h"
#include "resources/pack_archive.h"

namespace flow {

bool OpeningSmooth() { return core::Settings.Low == 0 && core::Window.DisplayBits <= 8; }

std::uint16_t OpeningFrameStep() { return OpeningSmooth() ? 2 : 4; }

core::MemHandle LoadOpeningLayer(const char* file, const char* block_name, std::uint32_t min_size) {
  std::uint32_t size = 0;
  core::MemHandle loaded = resources::LoadFile(file, &size);
  const auto* packed = static_cast<const std::uint8_t*>(core::MemLock(loaded));
  if (static_cast<std::uint32_t>(resources::PackedBlockSize(packed, size)) < min_size) {
    core::MemRelease(&loaded);
    const std::string message = core::FormatString("データが壊れています : %s", file);
    core::ExitProgram(message.c_str());
  }
  core::MemHandle layer = resources::UnpackBlock(packed, size, block_name);
  core::MemRelease(&loaded);
  return layer;
}

void SlideLayer(std::uint8_t* screen, const std::uint8_t* layer, int side, int w) {
  constexpr int kScreenWidth = 640;
  for (int row = 0; row < kOpeningRows; ++row) {
    std::uint8_t* out = screen + row * kScreenWidth;
    const std::uint8_t* in = layer + row * kSlideLayerWidth;
    if (side == 0) {
      std::memset(out, 0, static_cast<std::size_t>(kScreenWidth - w));
      std::memcpy(out + kScreenWidth - w, in, static_cast<std::size_t>(w));
    } else {
      std::memcpy(out, in + kSlideLayerWidth - w, static_cast<std::size_t>(w));
      std::memset(out + w, 0, static_cast<std::size_t>(kScreenWidth - w));
    }
  }
}

void OverlayLayer(std::uint8_t* screen, const std::uint8_t* layer, int p) {
  constexpr int kScreenWidth = 640;
  const int n = p + 352;
  // Screen storage row r takes layer storage row r + n − 400, where that row exists.
  const int first = n <= kOpeningRows ? kOpeningRows - n : 0;
  for (int r = first; r < kOpeningRows; ++r) {
    std::uint8_t* out = screen + r * kScreenWidth;
    const std::uint8_t* in = layer + (r + n - kOpeningRows) * kOverlayLayerWidth;
    for (int i = 0; i < kOverlayLayerWidth; i += 4) {
      std::uint32_t a, b;
      std::memcpy(&a, out + i, 4);
      std::memcpy(&b, in + i, 4);
      a |= b;
      std::memcpy(out + i, &a, 4);
    }
  }
}

void ComposeClouds(std::uint8_t* screen, const std::uint8_t* cloud, int x) {
  constexpr int kScreenWidth = 640;
  constexpr std::uint32_t kMasked = 0x10101010u;
  constexpr std::uint32_t kKeep = 0x1C1C1C1Cu;
  for (int row = 0; row < kOpeningRows; ++row) {
    std::uint8_t* out = screen + row * kScreenWidth;
    const std::uint8_t* in = cloud + row * kCloudLayerWidth + x;
    for (int i = 0; i < kScreenWidth; i += 4) {
      std::uint32_t pixels, clouds;
      std::memcpy(&pixels, out + i, 4);
      if (pixels == kMasked) continue;
      std::memcpy(&clouds, in + i, 4);
      pixels = (pixels & kKeep) | clouds;
      std::memcpy(out + i, &pixels, 4);
    }
  }
}

}  // namespace flow
