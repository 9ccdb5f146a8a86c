// Packed data blocks: the event scripts and message texts inside scenario files and the
// opening's data files. A packed block is an i32 unpacked size (little-endian) followed by
// a sliding-dictionary stream whose literals and reference words are stored inverted.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/memory_blocks.h"

namespace resources {

// Unpacked sizes above this are taken for damaged data, not for a real block.
constexpr std::int32_t kMaxUnpackedBlockSize = 16 * 1024 * 1024;

// The unpacked size a packed block of `packed_size` bytes declares, as UnpackBlock takes
// it: a negative size, or a block too short to hold its size field, counts as 0.
std::int32_t PackedBlockSize(const std::uint8_t* packed, std::uint32_t packed_size);

// Unpacks the block's stream into a new memory block named `name` of exactly the declared
// size, returned unlocked. A stream that ends early leaves the rest of the block 0; the
// stream is never read past packed_size. A declared size over kMaxUnpackedBlockSize ends
// the program with "データが壊れています : " and the block's name.
core::MemHandle UnpackBlock(const std::uint8_t* packed, std::uint32_t packed_size,
                            const char* name);

// The stream decoder alone (no size field): unpacks into out[0, out_size) until out_size
// bytes are produced or the stream ends. Returns the bytes produced; the rest of `out` is
// set to 0.
std::size_t UnpackStream(const std::uint8_t* stream, std::size_t stream_size, std::uint8_t* out,
                         std::size_t out_size);

}  // namespace resources
