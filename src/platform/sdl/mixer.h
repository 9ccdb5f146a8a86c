// The SDL backend's sound through SDL2_mixer: the CD's track files and the wave buffers.
// Nothing SDL shows through this header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform::sdl::mixer {

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

// Playback. A track streams from its file; a wave buffer is copied into the mixer's format and
// looped by the mixer. Volumes are 0 to 0xFFFF per channel.
bool PlayTrack(const std::string& path);
// A track that already goes on into its next pass (see track_stream.h) keeps sounding after
// StopTrack until the same track is played again, or until SettleTrack, which the backend
// calls at each look at its events.
void StopTrack();
void SettleTrack();
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

}  // namespace platform::sdl::mixer
