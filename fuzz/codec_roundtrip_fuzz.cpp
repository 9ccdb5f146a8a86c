// The encoders against the game's decoders on arbitrary input: the bytes packed as a data
// block and as a picture stream unpack to themselves, and the bytes taken as pixels make a
// picture file that the decoder draws exactly, transparent colour and placement included.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "authoring/block_encoder.h"
#include "authoring/picture_file.h"
#include "core/memory_blocks.h"
#include "core/picture.h"
#include "harness/game_harness.h"
#include "resources/block_unpacker.h"
#include "resources/picture_decoder.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// The decoder's platform, set up once: headless, in its in-process mode.
core::MemHandle Picture() {
  // For the whole process, so never ended (see GameHarness).
  [[maybe_unused]] static harness::GameHarness* const game =
      new harness::GameHarness(harness::InProcessOptions(), harness::Start::kPlatform);
  static const core::MemHandle picture = core::AllocPicture("VbufDIB");
  return picture;
}

void CheckStreams(std::span<const std::uint8_t> data) {
  const std::vector<std::uint8_t> block = authoring::PackBlock(data);
  std::vector<std::uint8_t> out(data.size() + 1);
  Check(resources::UnpackStream(block.data() + 4, block.size() - 4, out.data(), data.size()) ==
        data.size());
  Check(std::memcmp(out.data(), data.data(), data.size()) == 0);

  const std::vector<std::uint8_t> stream = authoring::PackPictureStream(data);
  Check(resources::UnpackPictureStream(stream.data(), stream.size(), out.data(), data.size()) ==
        data.size());
  Check(std::memcmp(out.data(), data.data(), data.size()) == 0);
}

// First 4 bytes: width in units of 8, order, transparent colour, place; the rest: pixels.
void CheckPicture(std::span<const std::uint8_t> data) {
  if (data.size() < 4 + 8) return;
  authoring::PictureImage image;
  image.width = 8 * (1 + data[0] % 80);
  const std::span<const std::uint8_t> pixels = data.subspan(4);
  image.height = static_cast<int>(
      std::min<std::size_t>(400, pixels.size() / static_cast<std::size_t>(image.width)));
  if (image.height == 0) return;
  for (std::size_t i = 0;
       i < static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height); ++i)
    image.pixels.push_back(pixels[i] & 15);
  authoring::PictureOptions options;
  options.order = (data[1] & 1) ? authoring::PixelOrder::kRows : authoring::PixelOrder::kColumns;
  options.transparent = (data[2] & 0x10) ? authoring::kNoTransparentColour : (data[2] & 15);
  const int free_x = (640 - image.width) / 8, free_y = 400 - image.height;
  options.x = 8 * (data[3] % (free_x + 1));
  options.y = (data[3] * 7) % (free_y + 1);
  std::vector<std::uint8_t> file;
  Check(authoring::BuildPictureFile(image, options, &file).empty());

  const core::MemHandle picture = Picture();
  // 16 is no colour of a picture: every pixel left alone shows.
  core::FillPictureRect(picture, 0, 0, 639, 399, 16);
  const core::MemHandle loaded =
      core::MemAlloc(static_cast<std::uint32_t>(file.size()), "FUZZ.VGR");
  std::memcpy(core::MemLock(loaded), file.data(), file.size());
  core::MemUnlock(loaded);
  Check(resources::DecodePicture(picture, loaded, 0, 0) == 1);
  core::MemFree(loaded);

  std::uint8_t* base = core::LockPicture(picture);
  std::vector<std::uint8_t> want(640);
  for (int y = 0; y < 400; ++y) {
    std::fill(want.begin(), want.end(), std::uint8_t{16});
    const int py = y - options.y;
    if (py >= 0 && py < image.height) {
      const std::uint8_t* row = image.pixels.data() + static_cast<std::size_t>(py) *
                                                          static_cast<std::size_t>(image.width);
      for (int px = 0; px < image.width; ++px)
        if (row[px] != options.transparent)
          want[static_cast<std::size_t>(options.x + px)] = row[px];
    }
    Check(std::memcmp(core::PixelAt(base, 0, y), want.data(), want.size()) == 0);
  }
  core::MemUnlock(picture);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  CheckStreams(bytes);
  CheckPicture(bytes);
  return 0;
}
