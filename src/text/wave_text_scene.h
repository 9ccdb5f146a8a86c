// The wave scenes: a message typed over a background that waves horizontally or vertically,
// opened and closed in the given modes (0, 1, 2).
#pragma once

#include <cstdint>

namespace text {

enum class WaveDirection : std::uint8_t { kHorizontal, kVertical };

// Message `message` of the loaded MESSAGE DATA; the caller holds VmemDIB and FontData wired.
void WaveTextScene(std::uint8_t message, std::uint8_t start_mode, std::uint8_t end_mode,
                   WaveDirection direction);

}  // namespace text
