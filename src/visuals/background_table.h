// The fixed table of the 200 backgrounds: for background n, the picture file number and the
// three colours (1–3) of the scene palette that the picture file does not decide. Each
// picture exists in four colourings n = p, p + 50, p + 100, p + 150.
#pragma once

#include <array>
#include <cstdint>

#include "platform/win32.h"

namespace visuals {

constexpr int kBackgroundCount = 200;
constexpr int kBackgroundRecordSize = 10;
// The white screen: a background number without a record.
constexpr std::uint8_t kWhiteBackground = 254;

// Byte 0: picture number p ("S%02d.VGR"; 0 = no picture, plain black); bytes 1–9: colours
// 1, 2, 3 as red, green, blue with 4-bit channels.
using BackgroundRecordBytes = std::array<std::uint8_t, kBackgroundRecordSize>;
extern const std::array<BackgroundRecordBytes, kBackgroundCount> BackgroundTable;

// Record of background n. Numbers without a record (200 and above, which the story never
// uses) read the record of background 0, a plain black scene.
const BackgroundRecordBytes& BackgroundRecord(std::uint8_t n);
// Number the scene is composed with for background n: n itself for 0–199 and 254 (white),
// 0 for every other number.
std::uint8_t CheckedBackgroundNumber(std::uint8_t n);

// The palette of background n into dst (16 entries, flags PC_RESERVED): BasePalette1 (or
// BasePalette2 for 100–149 and 197), colours 1–3 from the record, colour 0 black.
void BuildBackgroundPalette(std::uint8_t n, PALETTEENTRY* dst);

}  // namespace visuals
