// A track file's length, read with each format's own library: a WAV file's from its chunks,
// FLAC's from its stream info, Ogg Vorbis and Opus from the last page's position, MP3 from a
// scan of its frames (gapless, as decoders play it). No sound output is opened and no
// encoder is loaded: the headless runner stays small.
#include <FLAC/metadata.h>
#include <fcntl.h>
#include <mpg123.h>
#include <opusfile.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstring>

#include "platform/common/audio_devices.h"
#include "platform/common/wav_layout.h"

namespace platform {
namespace {

struct Samples {
  std::uint64_t frames = 0;
  std::uint64_t rate = 0;
};

std::optional<Samples> WavSamples(int fd, off_t size) {
  const std::optional<WavLayout> wav = ReadWavLayout(fd, size);
  if (!wav || !wav->has_format || !wav->has_data || wav->block_align == 0) return std::nullopt;
  return Samples{wav->data_bytes / wav->block_align, wav->rate};
}

std::optional<Samples> FlacSamples(const std::string& path) {
  FLAC__StreamMetadata info;
  if (!FLAC__metadata_get_streaminfo(path.c_str(), &info)) return std::nullopt;
  return Samples{info.data.stream_info.total_samples, info.data.stream_info.sample_rate};
}

std::optional<Samples> VorbisSamples(const std::string& path) {
  OggVorbis_File file;
  if (ov_fopen(path.c_str(), &file) != 0) return std::nullopt;
  const ogg_int64_t frames = ov_pcm_total(&file, -1);
  const vorbis_info* info = ov_info(&file, -1);
  const std::optional<Samples> samples =
      frames > 0 && info != nullptr ? std::optional(Samples{static_cast<std::uint64_t>(frames),
                                                            static_cast<std::uint64_t>(info->rate)})
                                    : std::nullopt;
  ov_clear(&file);
  return samples;
}

std::optional<Samples> OpusSamples(const std::string& path) {
  int error = 0;
  OggOpusFile* file = op_open_file(path.c_str(), &error);
  if (file == nullptr) return std::nullopt;
  const ogg_int64_t frames = op_pcm_total(file, -1);
  op_free(file);
  // Opus always decodes at 48 kHz.
  if (frames <= 0) return std::nullopt;
  return Samples{static_cast<std::uint64_t>(frames), 48000};
}

std::optional<Samples> Mp3Samples(const std::string& path) {
  mpg123_handle* handle = mpg123_new(nullptr, nullptr);
  if (handle == nullptr) return std::nullopt;
  mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
  std::optional<Samples> samples;
  long rate = 0;
  int channels = 0;
  int encoding = 0;
  if (mpg123_open(handle, path.c_str()) == MPG123_OK &&
      mpg123_getformat(handle, &rate, &channels, &encoding) == MPG123_OK &&
      mpg123_scan(handle) == MPG123_OK) {
    const off_t frames = mpg123_length(handle);
    if (frames > 0 && rate > 0) {
      samples = Samples{static_cast<std::uint64_t>(frames), static_cast<std::uint64_t>(rate)};
    }
  }
  mpg123_close(handle);
  mpg123_delete(handle);
  return samples;
}

// The format by the file's first bytes, not its name: rippers misname files.
std::optional<Samples> ReadSamples(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  char magic[4] = {};
  const bool readable = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                        ::pread(fd, magic, sizeof magic, 0) == static_cast<ssize_t>(sizeof magic);
  std::optional<Samples> samples;
  if (readable && std::memcmp(magic, "RIFF", 4) == 0) samples = WavSamples(fd, st.st_size);
  ::close(fd);
  if (!readable || std::memcmp(magic, "RIFF", 4) == 0) return samples;
  if (std::memcmp(magic, "fLaC", 4) == 0) return FlacSamples(path);
  if (std::memcmp(magic, "OggS", 4) == 0) {
    samples = VorbisSamples(path);
    return samples ? samples : OpusSamples(path);
  }
  return Mp3Samples(path);
}

}  // namespace

std::optional<std::uint32_t> TrackLengthMs(const std::string& path) {
  const std::optional<Samples> samples = ReadSamples(path);
  if (!samples || samples->frames == 0 || samples->rate == 0) return std::nullopt;
  return static_cast<std::uint32_t>(
      std::lround(static_cast<double>(samples->frames) * 1000.0 / samples->rate));
}

}  // namespace platform
