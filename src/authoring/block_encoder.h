// Packing data blocks (scenario event and message data, opening data): the unpacked size
// as a little-endian i32, then the stream. The block stream announces a literal with a
// flag bit of 0 and stores literals and reference words with every bit inverted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace authoring {

// The largest block the i32 size header can describe.
inline constexpr std::size_t kMaxBlockSize = 0x7FFFFFFF;

// Size header and the stream of the optimal parse. Throws std::length_error above
// kMaxBlockSize.
std::vector<std::uint8_t> PackBlock(std::span<const std::uint8_t> data);

}  // namespace authoring
