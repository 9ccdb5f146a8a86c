// The order in which a dither dissolve copies the 16 pixels of every 4 × 4 block.
#pragma once

#include <array>
#include <cstdint>

namespace visuals {

struct DitherPosition {
  std::uint8_t row;  // from the block's top (blocks are screen rows 4g … 4g + 3)
  std::uint8_t column;
};

inline constexpr std::array<DitherPosition, 16> kDitherOrder = {{
    {3, 0},
    {1, 2},
    {3, 2},
    {1, 0},
    {2, 1},
    {0, 3},
    {2, 3},
    {0, 1},
    {3, 1},
    {1, 3},
    {3, 3},
    {1, 1},
    {2, 0},
    {0, 2},
    {2, 2},
    {0, 0},
}};

}  // namespace visuals
