// The claw and blood sequences: numbered full-screen frames decoded straight into the shown
// picture, each over the one before (its transparent pixels keep what was there) and each
// with its own palette, ending on a prepared screen. The first claw attack also plays a
// sound: the script's `ClawEffect1` (scenario/shake_and_attacks.h) puts it together from the
// pieces here with the PCM player, which the visuals do not reach.
#pragma once

#include <cstdint>

namespace visuals {

// The claw frames "CLAW%02dW.VGR" 1–11 (1–4 the first attack, 5–11 the second) and the
// blood frames "BLDW%1d.VGR" 0–3.
inline constexpr const char* kClawFrameName = "CLAW%02dW.VGR";
inline constexpr const char* kBloodFrameName = "BLDW%1d.VGR";

// What every sequence begins with: the composed scene shown (the text wiped), faded out from
// its dimmed colours, the background copy forgotten and the screen cleared to colour 0.
void BeginEffectFrames();
// Frames `first` to `last` of the file name pattern `name` (one number argument), each
// shown at once with its palette and held 20 ms (not held in SkipMode). A missing frame
// file ends the program with the loader's message.
void ShowEffectFrames(const char* name, int first, int last);
// The end of both claw attacks: the empty black scene of background 0 composed and shown,
// its palette shown at full level while PaletteState stays as it was (black after the fade).
void EndOnEmptyScene();

// Blood frames 0–3, then background 40 (all dark red) shown and, 600 ms after it was
// loaded, dimmed.
void BloodEffect();
// Claw frames 5–11, the screen flashed in colour 1 of the last frame's palette, held
// 600 ms, faded to black, and the empty black scene.
void ClawEffect2();

}  // namespace visuals
