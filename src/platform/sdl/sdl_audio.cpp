// Audio of the real program through SDL2_mixer, opened at the first sound. With no sound
// device the mixer runs on SDL's dummy driver: silent, on real time, with no message.
#include "platform/sdl/mixer.h"
#include "platform/sdl/sdl_backend.h"

namespace platform::sdl {

bool SdlBackend::PlayTrackFile(const std::string& path) { return mixer::PlayTrack(path); }

void SdlBackend::StopTrack() { mixer::StopTrack(); }

bool SdlBackend::TrackPlaying() { return mixer::TrackPlaying(); }

void SdlBackend::SetTrackVolume(WORD left, WORD right) { mixer::SetTrackVolume(left, right); }

bool SdlBackend::PlayWave(const WAVEFORMATEX& format, const void* data, std::size_t bytes,
                          std::uint32_t plays) {
  return mixer::PlayWave(static_cast<int>(format.nSamplesPerSec), format.nChannels, data, bytes,
                         plays);
}

void SdlBackend::StopWave() { mixer::StopWave(); }

void SdlBackend::SetWaveVolume(WORD left, WORD right) { mixer::SetWaveVolume(left, right); }

}  // namespace platform::sdl
