// The byte layout of the pack archive, shared by the loader and the pack tool.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace resources {

constexpr char kPackMagic[8] = {'V', 'E', 'L', 'A', 'P', 'A', 'C', 'K'};
constexpr const char* kPackFileName = "ZEN2DATA.PAK";
constexpr std::size_t kPackHeaderSize = 10;  // magic and entry count
constexpr std::size_t kPackEntrySize = 24;
constexpr std::size_t kPackMaxEntries = 1365;  // 32,760 index bytes
constexpr std::size_t kPackNameLength = 11;    // 8.3 without the point

// Repeating subtraction key: stored byte = plain byte + key[position mod 11].
constexpr std::uint8_t kPackKey[11] = {0x5A, 0x21, 0x8C, 0x03, 0xE7, 0x44,
                                       0x19, 0xB2, 0x6D, 0x90, 0x2F};

// Positions count from 0 at the first byte of the index or of one file's data.
void Unscramble(std::uint8_t* data, std::size_t size);
void Scramble(std::uint8_t* data, std::size_t size);

// The 11-character index form of a file name: base name and extension upper-cased and
// padded with spaces to 8 and 3 (S01.VGR -> "S01     VGR").
void PackIndexName(const char* name, char out[kPackNameLength]);
// The index form back to a name with its point ("S01     VGR" -> "S01.VGR").
std::string PackDisplayName(const char index_name[kPackNameLength]);

}  // namespace resources
