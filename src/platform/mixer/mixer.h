// SDL2_mixer, shared by both backends: the SDL backend plays through it, the headless
// runner only asks it how long a track file plays. Nothing SDL shows through this header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace platform::mixer {

enum class Output {
  kClosed,  // not opened yet
  kDevice,  // the machine's audio device
  kSilent,  // no device: SDL's dummy driver keeps real time and nothing is heard
  kFailed,  // not even the dummy driver opened
};

// Opens the mixer once (44100 Hz, 16-bit stereo); `device` false goes straight to the
// silent driver. Later calls answer what the first one opened.
Output Open(bool device);
Output State();
// Stops everything and closes the mixer (before SDL ends); Open may start it again.
void Close();

// How long an audio file plays, in milliseconds; nothing when the mixer cannot decode it.
// Opens the mixer silently if it is not open.
std::optional<std::uint32_t> TrackLengthMs(const std::string& path);

// Playback for the SDL backend. A track streams from its file; a wave buffer is copied into
// the mixer's format and looped by the mixer. Volumes are 0 to 0xFFFF per channel.
bool PlayTrack(const std::string& path);
void StopTrack();
bool TrackPlaying();
void SetTrackVolume(std::uint16_t left, std::uint16_t right);
// `plays` 0: until StopWave. Format: 16-bit PCM at `rate` with `channels`.
bool PlayWave(int rate, int channels, const void* data, std::size_t bytes, std::uint32_t plays);
void StopWave();
void SetWaveVolume(std::uint16_t left, std::uint16_t right);

// The end of a wave buffer comes from the audio thread as an SDL user event of this type
// (0 before the mixer is open); the backend hands the event's code to WaveDone, which
// answers whether it ends the buffer that plays now (a stopped one's end is stale).
std::uint32_t WaveDoneEventType();
bool WaveDone(std::int32_t code);

}  // namespace platform::mixer
