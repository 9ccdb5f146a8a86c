#include "core/screen_state.h"

#include <algorithm>
#include <iterator>

namespace core {
namespace {

// The two built-in palettes as stored: red, green, blue with 4-bit channels.
constexpr std::uint8_t kBasePalette1Nibbles[16][3] = {
    {0, 0, 0},  {0, 5, 4},    {3, 8, 7},    {6, 11, 9},  {15, 15, 15}, {2, 3, 5},
    {6, 6, 11}, {11, 12, 15}, {15, 14, 7},  {15, 3, 4},  {5, 3, 2},    {9, 6, 5},
    {14, 9, 7}, {15, 11, 10}, {15, 13, 12}, {15, 15, 15}};
constexpr std::uint8_t kBasePalette2Nibbles[16][3] = {
    {0, 0, 0},   {4, 5, 3},    {9, 11, 9},   {15, 15, 12}, {15, 15, 15}, {2, 3, 5},
    {5, 6, 12},  {10, 12, 15}, {14, 14, 13}, {11, 3, 10},  {4, 3, 5},    {7, 6, 8},
    {11, 9, 14}, {12, 11, 15}, {14, 13, 15}, {15, 15, 15}};

std::array<PALETTEENTRY, 16> Expanded(const std::uint8_t (&nibbles)[16][3]) {
  std::array<PALETTEENTRY, 16> out{};
  for (int i = 0; i < 16; ++i) {
    out[i] = PALETTEENTRY{static_cast<BYTE>(nibbles[i][0] * 255 / 15),
                          static_cast<BYTE>(nibbles[i][1] * 255 / 15),
                          static_cast<BYTE>(nibbles[i][2] * 255 / 15), PC_RESERVED};
  }
  return out;
}

}  // namespace

const std::array<PALETTEENTRY, 16> BasePalette1 = Expanded(kBasePalette1Nibbles);
const std::array<PALETTEENTRY, 16> BasePalette2 = Expanded(kBasePalette2Nibbles);

ScreenState Screen;

void ResetScreenState() { Screen = ScreenState{}; }

}  // namespace core
