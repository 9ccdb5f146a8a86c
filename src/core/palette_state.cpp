#include "core/palette_state.h"

#include <algorithm>
#include <iterator>

namespace visuals {
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

void Expand(const std::uint8_t (&nibbles)[16][3], PALETTEENTRY (&out)[16]) {
  for (int i = 0; i < 16; ++i) {
    out[i] = PALETTEENTRY{static_cast<BYTE>(nibbles[i][0] * 255 / 15),
                          static_cast<BYTE>(nibbles[i][1] * 255 / 15),
                          static_cast<BYTE>(nibbles[i][2] * 255 / 15), PC_RESERVED};
  }
}

void SetBlack(PALETTEENTRY (&palette)[16]) {
  std::fill(std::begin(palette), std::end(palette), PALETTEENTRY{0, 0, 0, PC_RESERVED});
}

}  // namespace

PALETTEENTRY BasePalette1[16];
PALETTEENTRY BasePalette2[16];
PALETTEENTRY ScreenPalette[16];
PALETTEENTRY ShownPalette[32];
PALETTEENTRY BackgroundPalette[16];
PALETTEENTRY PreviousPalette[16];
PALETTEENTRY SavedPalette[16];
PALETTEENTRY PlainPalette[16];
std::uint16_t PaletteState = 0;
HPALETTE WindowPalette = nullptr;
std::uint16_t FadeSteps = 47;
std::uint8_t* ShownHeader = nullptr;
std::uint8_t* ShownPixels = nullptr;
resources::MemHandle VmemDIB = 0;
resources::MemHandle VbufDIB = 0;
resources::MemHandle BackgroundBlock = 0;

// The stored tables stay as they are, so that building again (every ResetGameState) gives
// the same result.
void BuildBasePalettes() {
  Expand(kBasePalette1Nibbles, BasePalette1);
  Expand(kBasePalette2Nibbles, BasePalette2);
}

void ResetPaletteState() {
  SetBlack(BackgroundPalette);
  SetBlack(PreviousPalette);
  SetBlack(SavedPalette);
  SetBlack(PlainPalette);
  PaletteState = 0;
  BuildBasePalettes();
  BackgroundBlock = 0;
}

}  // namespace visuals
