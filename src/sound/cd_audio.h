// CD music: music number n is CD track n + 2, played through the "cdaudio" device (emulated
// from audio files by the platform). Sound.CdPlaying (sound_state.h) tells its state; the logical
// track is CdTrack of the game state record, 255 none.
#pragma once

#include <cstdint>

namespace sound {

// Opens the CD audio device: quiet 0 at start-up (a device that cannot open is reported in a
// message box), 1 on a retry (silent).
void CdOpen(int quiet);
void CdClose();
// Called by the message pump after every look at the queue: restarts a finished track, at
// most once per 10 timer ticks.
void CdPoll();

// Plays music n repeatedly (255 nothing; music 0 plays once); CdPlayOnce plays it once.
void CdPlay(std::uint8_t n);
void CdPlayOnce(std::uint8_t n);
void CdStop();
// The music is to be faded out at the next scene change.
void CdMarkFade();
// Lowers the CD volume in 32 steps of 30 ms, stops, and restores the volume.
void CdFadeOut();
// Waits until music played once has ended, then stops it; repeating music stops at once.
void CdWaitEnd();

}  // namespace sound
