// Audio on the virtual clock: nothing is heard; a track or a wave buffer plays for its real
// length (the track's read from its file), so status polls and ends come at the same
// virtual times on every run.
#include "platform/common/audio_devices.h"
#include "platform/headless/headless_backend.h"

namespace platform::headless {

bool HeadlessBackend::PlayTrackFile(const std::string& path) {
  const auto length = TrackLengthMs(path);
  if (!length) return false;
  track_end_ = Now() + *length;
  return true;
}

void HeadlessBackend::StopTrack() { track_end_.reset(); }

bool HeadlessBackend::TrackPlaying() {
  return track_end_ && static_cast<std::int32_t>(Now() - *track_end_) < 0;
}

bool HeadlessBackend::PlayWave(const WAVEFORMATEX& format, const void*, std::size_t bytes,
                               std::uint32_t plays) {
  wave_playing_ = true;
  wave_end_.reset();
  if (plays != 0) {
    const std::uint64_t total = static_cast<std::uint64_t>(bytes) * plays * 1000;
    const std::uint64_t ms = (total + format.nAvgBytesPerSec - 1) / format.nAvgBytesPerSec;
    wave_end_ = Now() + static_cast<std::uint32_t>(ms);
  }
  return true;
}

void HeadlessBackend::StopWave() {
  wave_playing_ = false;
  wave_end_.reset();
}

}  // namespace platform::headless
