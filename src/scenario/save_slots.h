// Save slots and the resume point: the three game state records moved between play, the
// resume point and the slot files.
#pragma once

namespace scenario {

// SaveImage = GameState: a save writes the state as it was when the current message began.
void TakeSaveSnapshot();
// ResumeState = GameState; ResumeValid = 1.
void SetResumePoint();
// Makes ResumeState the running game: its scenario reloaded, EventPC, scene, music, sound.
void RestoreState(bool with_effect);
// The persistent part of this play written into the last used slot (opcode 0x94).
void WriteProgress();

}  // namespace scenario
