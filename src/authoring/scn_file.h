// Scenario files as the tools see them: the two unpacked blocks, read the way the loader
// reads them and written back behind a fresh header.
//
// File: u16 E, u16 M (little-endian), the packed EVENT DATA block at byte E × 16 and the
// packed MESSAGE DATA block at M × 16. Each unpacked block is a u16 that nothing reads, a
// table of 256 u16 offsets (labels or messages) and then the code or the texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace authoring {

// Offsets in an unpacked block.
inline constexpr std::size_t kScnTableStart = 2;
inline constexpr std::size_t kScnTableEntries = 256;
inline constexpr std::size_t kScnBodyStart = kScnTableStart + 2 * kScnTableEntries;

struct ScenarioBlocks {
  std::vector<std::uint8_t> event;
  std::vector<std::uint8_t> messages;
};

// Unpacks both blocks as the loader does (a size field that is negative or cut off counts
// as 0; a stream that ends early leaves the rest 0). Returns "" or why the file does not
// unpack: a header cut short, a block position outside the file, a size beyond what the game
// unpacks. A stream that ends early is said in *warnings, one line each.
std::string UnpackScenarioFile(std::span<const std::uint8_t> file, ScenarioBlocks* out,
                               std::vector<std::string>* warnings);

// A scenario file of the blocks: E and M in a 16-byte header, then each block packed, the
// second at the next multiple of 16. Throws std::length_error for a block the format cannot
// place (packed blocks beyond E or M = 65535).
std::vector<std::uint8_t> BuildScenarioFile(const ScenarioBlocks& blocks);

// Entry n of a block's table (the block must hold its table).
inline std::uint16_t ScnTableEntry(std::span<const std::uint8_t> block, std::size_t n) {
  return static_cast<std::uint16_t>(block[kScnTableStart + 2 * n] |
                                    block[kScnTableStart + 2 * n + 1] << 8);
}

}  // namespace authoring
