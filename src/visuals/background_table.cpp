#include "visuals/background_table.h"

#include <algorithm>

#include "core/picture.h"
#include "core/screen_state.h"

namespace visuals {
namespace {

using Colours = std::array<std::uint8_t, 9>;  // colours 1, 2, 3: red, green, blue each

// The colouring of each of the four variants n = p + 50 × variant.
constexpr Colours kVariantColours[4] = {
    {3, 4, 3, 7, 9, 8, 13, 15, 12},  // 1–49
    {6, 3, 2, 11, 7, 3, 15, 12, 5},  // 51–99
    {3, 2, 5, 4, 4, 8, 6, 6, 12},    // 101–149
    {3, 4, 2, 7, 8, 5, 14, 13, 8},   // 151–199
};

// Pictures whose colours are the same in all four variants.
struct PictureColours {
  std::uint8_t picture;
  Colours colours;
};
constexpr PictureColours kPictureColours[] = {
    {33, {2, 0, 3, 3, 0, 6, 5, 0, 9}},  {34, {3, 2, 5, 4, 4, 8, 6, 6, 12}},
    {38, {6, 0, 0, 8, 0, 0, 10, 0, 1}}, {39, {1, 2, 3, 2, 3, 6, 3, 4, 9}},
    {40, {8, 0, 0, 8, 0, 0, 8, 0, 0}},  {41, {3, 1, 0, 5, 2, 0, 6, 3, 1}},
    {42, {1, 2, 3, 2, 3, 6, 3, 4, 9}},
};

// The one record with colours of its own (picture 47 in variant 3).
constexpr int kRecord197 = 197;
constexpr Colours kRecord197Colours = {0, 0, 4, 0, 0, 4, 0, 0, 4};

// The white screen 254 and the numbers that reach beyond the table have no record.
constexpr int kFirstWithoutRecord = kBackgroundCount;

constexpr Colours ColoursOf(int n) {
  if (n == kRecord197) return kRecord197Colours;
  for (const PictureColours& p : kPictureColours) {
    if (p.picture == n % 50) return p.colours;
  }
  return kVariantColours[n / 50];
}

// Every record: picture n mod 50 with its colours; the records of picture 0 stay all zero.
constexpr std::array<BackgroundRecordBytes, kBackgroundCount> BuildTable() {
  std::array<BackgroundRecordBytes, kBackgroundCount> table{};
  for (int n = 0; n < kBackgroundCount; ++n) {
    const int picture = n % 50;
    if (picture == 0) continue;
    table[n][0] = static_cast<std::uint8_t>(picture);
    const Colours colours = ColoursOf(n);
    for (int i = 0; i < 9; ++i) table[n][1 + i] = colours[i];
  }
  return table;
}

}  // namespace

constexpr std::array<BackgroundRecordBytes, kBackgroundCount> BackgroundTable = BuildTable();

static_assert(BackgroundTable[5] == BackgroundRecordBytes{5, 3, 4, 3, 7, 9, 8, 13, 15, 12});
static_assert(BackgroundTable[150] == BackgroundRecordBytes{});

const BackgroundRecordBytes& BackgroundRecord(std::uint8_t n) {
  return BackgroundTable[n < kFirstWithoutRecord ? n : 0];
}

std::uint8_t CheckedBackgroundNumber(std::uint8_t n) {
  return n < kFirstWithoutRecord || n == kWhiteBackground ? n : 0;
}

void BuildBackgroundPalette(std::uint8_t n, PALETTEENTRY* dst) {
  const bool second = (n >= 100 && n <= 149) || n == kRecord197;
  // The base palettes already carry PC_RESERVED on every entry.
  const auto& base = second ? core::BasePalette2 : core::BasePalette1;
  std::copy(base.begin(), base.end(), dst);
  const BackgroundRecordBytes& record = BackgroundRecord(n);
  for (int colour = 1; colour <= 3; ++colour) {
    const std::uint8_t* rgb = &record[1 + 3 * (colour - 1)];
    dst[colour] =
        PALETTEENTRY{static_cast<BYTE>(rgb[0] * 255 / 15), static_cast<BYTE>(rgb[1] * 255 / 15),
                     static_cast<BYTE>(rgb[2] * 255 / 15), PC_RESERVED};
  }
  dst[0] = PALETTEENTRY{0, 0, 0, PC_RESERVED};
}

}  // namespace visuals
