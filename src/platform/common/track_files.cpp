// Disc tracks as audio files: the names that CD rippers and other players of such games
// give them.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/common/audio_devices.h"
#include "platform/common/wav_layout.h"

namespace platform {

bool FindExistingFile(const std::string& path, std::string* found);

namespace {

std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) |
         (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

bool ReadAt(int fd, std::uint8_t* out, std::size_t size, off_t at) {
  return ::pread(fd, out, size, at) == static_cast<ssize_t>(size);
}

}  // namespace

std::optional<WavLayout> ReadWavLayout(int fd, off_t file_size) {
  std::uint8_t riff[12];
  if (!ReadAt(fd, riff, sizeof riff, 0) || std::memcmp(riff, "RIFF", 4) != 0 ||
      std::memcmp(riff + 8, "WAVE", 4) != 0) {
    return std::nullopt;
  }
  WavLayout layout;
  for (off_t at = 12; at + 8 <= file_size;) {
    std::uint8_t chunk[8];
    if (!ReadAt(fd, chunk, sizeof chunk, at)) break;
    const std::uint32_t length = U32(chunk + 4);
    if (std::memcmp(chunk, "fmt ", 4) == 0 && !layout.has_format) {
      std::uint8_t fmt[16];
      if (length < sizeof fmt || !ReadAt(fd, fmt, sizeof fmt, at + 8)) break;
      layout.has_format = true;
      layout.channels = U16(fmt + 2);
      layout.rate = U32(fmt + 4);
      layout.block_align = U16(fmt + 12);
      layout.bits = U16(fmt + 14);
    } else if (std::memcmp(chunk, "data", 4) == 0 && !layout.has_data) {
      layout.has_data = true;
      // A ripper that stopped early leaves a length past the file's end.
      layout.data_bytes = std::min<std::uint64_t>(
          length, static_cast<std::uint64_t>(std::max<off_t>(0, file_size - at - 8)));
    }
    at += 8 + static_cast<off_t>(length) + (length & 1);
  }
  return layout;
}

namespace {

// A WAV file's format chunk, when the file is a WAV file: channels, rate, block alignment
// and sample size must all be above zero, or a decoder divides by zero on it. The chunks
// before it are stepped over by their lengths, however long. Other formats are left to
// their decoder.
bool WavHeaderUsable(int fd, off_t file_size) {
  const std::optional<WavLayout> wav = ReadWavLayout(fd, file_size);
  if (!wav) return true;
  return wav->has_format && wav->channels > 0 && wav->rate > 0 && wav->block_align > 0 &&
         wav->bits > 0;
}

// A track file the decoders may be given: a regular file (a FIFO or a device would block
// or never end), checked without blocking, whose header, if it is a WAV file's, is sane.
bool UsableTrackFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st {};
  const bool usable =
      ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && WavHeaderUsable(fd, st.st_size);
  ::close(fd);
  return usable;
}

}  // namespace

std::optional<std::string> FindTrackFile(const std::string& disc_folder, int track) {
  static constexpr std::array<const char*, 5> kExtensions = {"ogg", "flac", "opus", "mp3", "wav"};
  const std::string base = disc_folder.empty() ? std::string(".") : disc_folder;
  char padded[16];
  char spaced[16];
  std::snprintf(padded, sizeof padded, "track%02d", track);
  std::snprintf(spaced, sizeof spaced, "track %d", track);
  for (const std::string& folder : {base, base + "\\cd"}) {
    for (const char* stem : {padded, spaced}) {
      for (const char* extension : kExtensions) {
        std::string found;
        if (FindExistingFile(folder + "\\" + stem + "." + extension, &found) &&
            UsableTrackFile(found)) {
          return found;
        }
      }
    }
  }
  return std::nullopt;
}

}  // namespace platform
