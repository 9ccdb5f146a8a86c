// State of the CD and PCM players. Process lifetime; ResetSoundState sets the start values.
// The logical track and sound (CdTrack, PcmNumber, PcmPlaying, PcmLoops, PcmParam) live in
// the game state record (core/game_state.h), which saves carry.
#pragma once

#include <array>
#include <cstdint>

#include "core/memory_blocks.h"
#include "platform/win32.h"

namespace sound {

// 4 while the CD device is open, 0 while it is not.
extern std::uint32_t CdState;
// MCI identifier of the open CD device, 0 when none.
extern std::uint32_t CdDevice;
// 0 stopped, 1 playing, 2 playing with a fade-out pending for the next scene change.
extern std::uint32_t CdPlaying;
// 1: the track restarts when it has ended; 0: it plays once.
extern std::uint16_t CdLoop;
// Timer ticks (60 ms) until the next status poll of the CD; counted down by the window
// timer.
extern std::uint16_t CdPollCountdown;
// Music number to track index: music n plays disc track TrackMap[n] + 2 (track 1 is the
// disc's data track). Fixed.
extern const std::array<std::uint8_t, 26> TrackMap;

// The loaded PCM file's block; 0 while no sound is loaded.
extern core::MemHandle PcmBlock;
// Bytes of the loaded sound that play (even).
extern std::uint32_t PcmSize;
// The wave device while a sound plays, and the one buffer header it plays.
extern HWAVEOUT WaveOut;
extern WAVEHDR WaveHeader;

// No sample loaded, the CD stopped and no countdown to a poll running.
void ResetSoundState();

}  // namespace sound
