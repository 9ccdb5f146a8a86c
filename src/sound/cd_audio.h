// CD music: music number n is CD track n + 2, played through the "cdaudio" device (emulated
// from audio files by the platform). CdPlaying (sound_state.h) tells its state.
#pragma once

#include <cstdint>

namespace sound {

// Opens the CD audio device at start-up and closes it at the end.
void CdOpenAtStartup();
void CdClose();
// Called by the message pump after every look at the queue: restarts a finished track.
void CdPoll();

// Plays music n repeatedly (255 nothing); CdPlayOnce plays it once.
void CdPlay(std::uint8_t n);
void CdPlayOnce(std::uint8_t n);
void CdStop();
// The music is to be faded out at the next scene change.
void CdMarkFade();
void CdFadeOut();
// Waits until music played once has ended, then stops it.
void CdWaitEnd();

}  // namespace sound
