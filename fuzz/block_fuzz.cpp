// Packed data blocks from outside: the block unpacker must stay inside the bytes it was
// given, produce exactly what the plain ring decoder produces, fill the rest of the block
// with zeros, and refuse only sizes over its limit.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../tests/support/dictionary_stream.h"
#include "core/memory_blocks.h"
#include "core/window_state.h"
#include "harness/game_harness.h"
#include "platform/backend.h"
#include "resources/block_unpacker.h"

namespace {

// Sizes between this and the unpacker's limit are taken modulo this: mapping and filling
// megabytes for every such input would slow the search a hundredfold and reach no other
// code. (The limit itself is tested by the unit tests.)
constexpr std::int32_t kFuzzedSize = 1 << 16;

template <typename F>
bool Survives(F&& call) {
  try {
    call();
    return true;
  } catch (const platform::ProcessExit&) {
    core::Window.Exiting = false;
    return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
  // An exact-size copy, so that reading past the end is caught.
  std::vector<std::uint8_t> bytes(input, input + size);
  const std::uint8_t* data = bytes.data();
  const std::int32_t raw = resources::PackedBlockSize(data, static_cast<std::uint32_t>(size));
  if (raw > kFuzzedSize && raw <= resources::kMaxUnpackedBlockSize) {
    const auto reduced = static_cast<std::uint32_t>(raw % kFuzzedSize);
    for (int i = 0; i < 4; ++i)
      bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(reduced >> (8 * i));
  }

  // A fresh backend each time, so recorded message boxes do not pile up.
  const harness::GameHarness game(harness::InProcessOptions(), harness::Start::kPlatform);

  const std::int32_t declared = resources::PackedBlockSize(data, static_cast<std::uint32_t>(size));
  core::MemHandle block = 0;
  const bool survived = Survives([&] {
    block = resources::UnpackBlock(data, static_cast<std::uint32_t>(size), "EVENT DATA");
  });
  if (survived != (declared <= resources::kMaxUnpackedBlockSize)) std::abort();

  if (survived) {
    if (GlobalSize(block) != static_cast<std::size_t>(declared)) std::abort();
    if (GlobalUnlock(block)) std::abort();  // handed back locked
    if (size >= 4) {
      const std::vector<std::uint8_t> model = hotaru_test::RingUnpack(
          hotaru_test::StreamKind::kBlock, data + 4, size - 4, static_cast<std::size_t>(declared));
      const auto* got = static_cast<const std::uint8_t*>(core::MemLock(block));
      if (!std::equal(model.begin(), model.end(), got)) std::abort();
      if (!std::all_of(got + model.size(), got + declared, [](std::uint8_t b) { return b == 0; }))
        std::abort();
      core::MemUnlock(block);
    }
  }
  return 0;
}
