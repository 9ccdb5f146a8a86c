// The wave scenes: a message typed over a background that waves horizontally or vertically,
// opened and closed in the given modes (0, 1, 2).
#pragma once

#include <cstdint>

#include "text/text_state.h"

namespace text {

// Indexes Text.WaveMotions (text_state.h): where the last scene of each direction left its
// wave.
enum class WaveDirection : std::uint8_t { kHorizontal, kVertical };

constexpr int kWaveFullAmplitude = 128;

// Message `message` of the loaded MESSAGE DATA; the caller holds VmemDIB and FontData wired.
// Start mode 1 opens from black, 2 from a still background whose wave grows, any other
// at once; end mode 1 closes to black and shows the background again, 2 lets the wave die
// down and leaves the background dimmed, any other takes the text away at once.
void WaveTextScene(std::uint8_t message, std::uint8_t start_mode, std::uint8_t end_mode,
                   WaveDirection direction);

// One frame's picture: every row of `screen` keeps its text bits (2 and 3) and takes the
// background's row moved by the wave at `amplitude` and `phase`. Both are pixel areas of a
// Picture (256000 bytes, rows bottom-up). Horizontal: row r moved left by
// (amplitude × sine(phase + r)) >> 15 pixels, the uncovered pixels keeping their text only.
// Vertical: row r takes background row r + sine(2r + phase) × amplitude / 2^18, or its text
// only when that row lies outside the picture.
void ComposeWaveFrame(std::uint8_t* screen, const std::uint8_t* background, WaveDirection direction,
                      int amplitude, int phase);

}  // namespace text
