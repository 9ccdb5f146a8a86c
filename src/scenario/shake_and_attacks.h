// The effects the scripts call without operands that play a sound too: the shake and the
// first claw attack, put together here from their pictures (visuals/shake_effects.h,
// visuals/effect_frames.h) and the PCM player. The blood and the second claw attack play no
// sound and are the visuals' own (visuals::BloodEffect, visuals::ClawEffect2).
#pragma once

namespace scenario {

// Shakes the shown picture (seven frames of 40 ms) with sound 3 when no PCM sound is
// playing. Afterwards the loaded sound, the shake's or the one that was playing, is let
// finish and unloaded, and a sound that was loaded but silent is loaded again.
void Quake();
// Claw frames 1–4 with sound 18, a fade to black, the sound let finish and unloaded, and the
// empty black scene.
void ClawEffect1();

}  // namespace scenario
