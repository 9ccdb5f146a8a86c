// Picture files from outside: DecodePicture must stay inside the file and the Picture,
// touch only the pixels and colour-table slots 0–15, and draw exactly what the plain ring
// decoder and pixel-by-pixel placement give. The header's two unused bytes choose the
// caller's offset, so that placement is fuzzed along with the file.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "../tests/support/dictionary_stream.h"
#include "../tests/support/picture_model.h"
#include "core/memory_blocks.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "harness/game_harness.h"
#include "resources/picture_decoder.h"

namespace {

constexpr int W = core::kPictureWidth;
constexpr int H = core::kPictureHeight;

// Kept from input to input: allocating picture-sized buffers anew each time costs more
// than decoding.
core::MemHandle Picture() {
  // For the whole process, so never ended (see GameHarness).
  [[maybe_unused]] static harness::GameHarness* const game =
      new harness::GameHarness(harness::InProcessOptions(), harness::Start::kPlatform);
  static const core::MemHandle picture = core::AllocPicture("VbufDIB");
  return picture;
}
std::vector<std::uint8_t> g_expected;

bool SameScreen(const std::uint8_t* picture, const std::vector<std::uint8_t>& screen) {
  for (int y = 0; y < H; ++y) {
    if (std::memcmp(&screen[static_cast<std::size_t>(y * W)], picture + core::PixelOffset(0, y),
                    W) != 0)
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const core::MemHandle picture = Picture();
  core::ClearPicture(picture);

  std::int16_t x = 0, y = 0;
  if (size >= resources::kPictureFileHeaderSize) {
    x = static_cast<std::int16_t>(static_cast<std::int8_t>(data[42]) * 4);
    y = static_cast<std::int16_t>(static_cast<std::int8_t>(data[43]) * 2);
  }

  const core::MemHandle file = core::MemAlloc(static_cast<std::uint32_t>(size), "pk:FUZZ.VGR");
  if (size != 0) std::memcpy(core::MemLock(file), data, size);
  core::MemUnlock(file);
  auto* before = static_cast<std::uint8_t*>(core::MemLock(picture));
  const std::vector<std::uint8_t> layout(before, before + core::kPixelOffset);
  core::MemUnlock(picture);

  const int result = resources::DecodePicture(picture, file, x, y);
  if (result != 0 && result != 1) std::abort();
  if (GlobalUnlock(file) || GlobalUnlock(picture)) std::abort();  // left locked

  const auto* after = static_cast<const std::uint8_t*>(core::MemLock(picture));
  // Header and colour-table slots 16 and up are the decoder's to leave alone.
  if (std::memcmp(after, layout.data(), core::kPictureHeaderSize) != 0) std::abort();
  if (std::memcmp(after + 72, layout.data() + 72, core::kPixelOffset - 72) != 0) std::abort();

  resources::PictureHeader h{};
  const bool parsed = resources::ParsePictureHeader(data, size, &h);
  std::vector<std::uint8_t>& expected = g_expected;
  expected.assign(static_cast<std::size_t>(W * H), 0);
  if (result == 1) {
    if (!parsed || !h.magic_ok || h.version >= 2) std::abort();
    if (core::Screen.ScreenPalette[15].peRed != 255 || core::Screen.ScreenPalette[15].peFlags != 1)
      std::abort();
    if (h.version >= 0) {
      const long long rect_bytes = h.width() / 2 * h.height();
      const long long stream = static_cast<long long>(size - resources::kPictureFileHeaderSize);
      const long long limit =
          std::min({static_cast<long long>(h.unpacked_size), rect_bytes, stream * 9});
      const std::vector<std::uint8_t> bytes = hotaru_test::RingUnpack(
          hotaru_test::StreamKind::kPicture, data + resources::kPictureFileHeaderSize,
          static_cast<std::size_t>(stream), static_cast<std::size_t>(limit));
      expected =
          hotaru_test::PlacePictureBytes(std::move(expected), bytes, h.width(), h.height(),
                                         h.version, x + h.left * 8LL, y + h.top, h.transparent);
    }
  }
  if (!SameScreen(after, expected)) std::abort();
  const RECT& r = core::Screen.UpdateRect;
  const bool empty = r.left == 640 && r.top == 400 && r.right == 0 && r.bottom == 0;
  if (result == 1 && !empty &&
      !(0 <= r.left && r.left < r.right && r.right <= W && 0 <= r.top && r.top < r.bottom &&
        r.bottom <= H))
    std::abort();
  core::MemUnlock(picture);

  core::Screen.UpdateRect = core::kEmptyUpdateRect;
  core::MemFree(file);
  return 0;
}
