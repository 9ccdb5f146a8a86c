// The sliding-dictionary parse shared by the picture and the data-block encoders: which
// stretches of the input become references into the 4096-byte ring and which stay
// literal, and how the items are laid out in flag groups.
//
// The ring starts zero-filled with its write position at 4078; every unpacked byte is
// stored at the write position, which then moves on by one. A reference copies 3 to 18
// bytes one at a time from a ring position, each byte stored before the next is read.
// Seen from the output, a reference is a copy from 1 to 4096 bytes back, with 4096 zero
// bytes standing before the first output byte (distance 4096 is the ring position about
// to be overwritten: it reads the byte written 4096 bytes earlier, or a zero).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace authoring {

inline constexpr int kRingSize = 4096;
inline constexpr int kRingStart = 4078;
inline constexpr int kMinMatch = 3;
inline constexpr int kMaxMatch = 18;

// Bits an item takes in the stream, its flag bit included.
inline constexpr int kLiteralBits = 9;
inline constexpr int kReferenceBits = 17;

// One item of a parse, covering `length` bytes of the input.
struct LzItem {
  std::uint16_t length = 1;    // 1: a literal; 3 to 18: a reference
  std::uint16_t position = 0;  // a reference's ring position (0 to 4095)
  std::uint8_t value = 0;      // a literal's byte
};

// How each position's longest match is found. Both are exhaustive within the ring and pick
// the same match (the previous position's distance when nothing is longer, else the
// nearest of the longest), so they give the same parse; they differ in speed. Hash chains
// are quick on text; on pictures, whose flat areas repeat one string thousands of times, a
// chain is walked to the end of the window where the binary tree keeps one node per string.
enum class LzMatchFinder { kHashChains, kBinaryTree };

// The parse with the fewest stream bits: each position's longest reference within the
// ring, then a shortest path over the positions.
std::vector<LzItem> ParseOptimal(std::span<const std::uint8_t> data,
                                 LzMatchFinder finder = LzMatchFinder::kHashChains);
// Longest match first, for comparison.
std::vector<LzItem> ParseGreedy(std::span<const std::uint8_t> data,
                                LzMatchFinder finder = LzMatchFinder::kHashChains);

// Bytes the items take in a stream: the items and one flag byte per group of up to 8.
std::size_t PackedStreamSize(std::span<const LzItem> items);

// How a format stores its items: the flag bit that announces a literal, and the stored
// form of a literal byte and of a reference word (position << 4 | length - 3), which goes
// out little-endian.
struct LzStreamStyle {
  bool literal_flag;
  std::uint8_t (*literal)(std::uint8_t value);
  std::uint16_t (*reference)(std::uint16_t word);
};

// The stream: groups of one flag byte (bit 7 for the first item) and up to 8 items.
std::vector<std::uint8_t> WriteLzStream(std::span<const LzItem> items, const LzStreamStyle& style);

}  // namespace authoring
