// State of the CD and PCM players. The logical track and sound (CdTrack, PcmNumber,
// PcmPlaying, PcmLoops, PcmParam) live in the game state record (core/game_state.h), which
// saves carry.
#pragma once

#include <array>
#include <cstdint>

#include "core/memory_blocks.h"
#include "platform/win32.h"

namespace sound {

struct SoundState {
  // 4 while the CD device is open, 0 while it is not.
  std::uint32_t CdState = 0;
  // MCI identifier of the open CD device, 0 when none.
  std::uint32_t CdDevice = 0;
  // 0 stopped, 1 playing, 2 playing with a fade-out pending for the next scene change.
  std::uint32_t CdPlaying = 0;
  // 1: the track restarts when it has ended; 0: it plays once.
  std::uint16_t CdLoop = 1;
  // Timer ticks (60 ms) until the next status poll of the CD; counted down by the window
  // timer.
  std::uint16_t CdPollCountdown = 0;

  // The loaded PCM file's block; 0 while no sound is loaded.
  core::MemHandle PcmBlock = 0;
  // Bytes of the loaded sound that play (even).
  std::uint32_t PcmSize = 0;
  // The wave device while a sound plays, and the one buffer header it plays.
  HWAVEOUT WaveOut = nullptr;
  WAVEHDR WaveHeader{};

  bool operator==(const SoundState&) const = default;
};

// Process lifetime.
extern SoundState Sound;
// No sample loaded, the CD stopped and no countdown to a poll running. The PCM block is
// forgotten, not freed: the block table's owner frees it (core::MemInit).
void ResetSoundState();

// Music number to track index: music n plays disc track TrackMap[n] + 2 (track 1 is the
// disc's data track). Fixed.
extern const std::array<std::uint8_t, 26> TrackMap;

}  // namespace sound
