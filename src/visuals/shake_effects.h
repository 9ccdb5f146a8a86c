// The shake: the shown picture moved 16 pixels each way and back, seven frames of 40 ms,
// from a copy of its pixels kept in the "quake buf" block for the shake's length. The
// sound that goes with it is started and ended by the script's `Quake`
// (scenario/shake_and_attacks.h), which reaches the PCM player; the visuals do not.
#pragma once

#include <array>
#include <cstdint>

#include "core/memory_blocks.h"

namespace visuals {

struct QuakeOffset {
  std::int16_t dx;  // the picture moves dx pixels left
  std::int16_t dy;  // and dy rows down
};

// The shake's moves in order; the last puts the picture back as it was.
inline constexpr std::array<QuakeOffset, 7> QuakeOffsets = {
    {{16, 16}, {-16, -16}, {16, -16}, {-16, 16}, {16, 16}, {16, -16}, {0, 0}}};

// The 256000-byte "quake buf" block (ends the program when memory runs out); the caller
// frees it after the shake.
core::MemHandle AllocQuakeBuffer();

// Copies the shown picture's pixels into `buffer`, then shows the frames of QuakeOffsets,
// each presented whole and held 40 ms (not held in SkipMode). Every shown pixel takes the
// saved one dx columns to its right and dy rows above it; the columns and rows that have
// no such pixel on the screen are painted colour 0. VmemDIB ends byte for byte as it was.
void ShakeShownPicture(core::MemHandle buffer);

}  // namespace visuals
