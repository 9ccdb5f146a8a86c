#include "authoring/block_encoder.h"

#include <algorithm>
#include <stdexcept>

#include "authoring/lz_parse.h"

namespace authoring {
namespace {

std::uint8_t InvertByte(std::uint8_t value) { return static_cast<std::uint8_t>(~value); }
std::uint16_t InvertWord(std::uint16_t word) { return static_cast<std::uint16_t>(~word); }

constexpr LzStreamStyle kBlockStyle{false, &InvertByte, &InvertWord};

}  // namespace

std::vector<std::uint8_t> PackBlock(std::span<const std::uint8_t> data) {
  if (data.size() > kMaxBlockSize)
    throw std::length_error("a data block holds at most 2 GiB - 1 bytes");
  const std::vector<std::uint8_t> stream = WriteLzStream(ParseOptimal(data), kBlockStyle);
  std::vector<std::uint8_t> block(4 + stream.size());
  const auto size = static_cast<std::uint32_t>(data.size());
  for (std::size_t i = 0; i < 4; ++i) block[i] = static_cast<std::uint8_t>(size >> (8 * i));
  std::copy(stream.begin(), stream.end(), block.begin() + 4);
  return block;
}

}  // namespace authoring
