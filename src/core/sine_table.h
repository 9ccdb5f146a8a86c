// The sine table of the wave scenes and the display effects: 361 entries of
// 32767 × sin(k / 4 degrees), k = 0 … 360 (a quarter circle in quarter degrees).
#pragma once

#include <array>
#include <cstdint>

namespace core {

extern const std::array<std::uint16_t, 361> SineTable;

// 32767 × the sine of d whole degrees (any d ≥ 0), from the quarter-circle table.
std::int32_t SineDegrees(std::uint32_t d);

}  // namespace core
