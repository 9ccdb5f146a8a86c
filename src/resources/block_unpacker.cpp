#include "resources/block_unpacker.h"

#include <string>

#include "core/exit_program.h"
#include "core/format_text.h"
#include "resources/sliding_dictionary.h"

namespace resources {
namespace {

// Flag bit 0 announces a literal; literals and reference words are stored complemented.
struct BlockFormat {
  static unsigned LiteralFlags(std::uint8_t flag) { return static_cast<std::uint8_t>(~flag); }
  static std::uint8_t Literal(std::uint8_t stored) { return static_cast<std::uint8_t>(~stored); }
  static unsigned Reference(unsigned stored_word) { return ~stored_word & 0xFFFF; }
};

constexpr std::uint32_t kSizeFieldBytes = 4;

}  // namespace

std::size_t UnpackStream(const std::uint8_t* stream, std::size_t stream_size, std::uint8_t* out,
                         std::size_t out_size) {
  return dictionary::Unpack<BlockFormat>(stream, stream_size, out, out_size);
}

std::int32_t PackedBlockSize(const std::uint8_t* packed, std::uint32_t packed_size) {
  if (packed == nullptr || packed_size < kSizeFieldBytes) return 0;
  const std::uint32_t raw = std::uint32_t{packed[0]} | std::uint32_t{packed[1]} << 8 |
                            std::uint32_t{packed[2]} << 16 | std::uint32_t{packed[3]} << 24;
  const auto size = static_cast<std::int32_t>(raw);
  return size < 0 ? 0 : size;
}

core::MemHandle UnpackBlock(const std::uint8_t* packed, std::uint32_t packed_size,
                            const char* name) {
  const std::int32_t size = PackedBlockSize(packed, packed_size);
  // A damaged size field would otherwise ask for up to 2 GB.
  if (size > kMaxUnpackedBlockSize) {
    const std::string message = core::FormatString("データが壊れています : %s", name);
    core::ExitProgram(message.c_str());
  }
  const core::MemHandle block = core::MemAlloc(static_cast<std::uint32_t>(size), name);
  if (block == 0) core::ExitProgram("メモリ不足です : 展開バッファ");
  auto* out = static_cast<std::uint8_t*>(core::MemLock(block));
  if (size > 0) {
    UnpackStream(packed + kSizeFieldBytes, packed_size - kSizeFieldBytes, out,
                 static_cast<std::size_t>(size));
  }
  core::MemUnlock(block);
  return block;
}

}  // namespace resources
