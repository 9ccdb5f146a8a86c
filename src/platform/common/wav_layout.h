// The chunks of a WAV file that say what it holds, read without a decoder: the track lookup
// checks them, the track length is counted from them.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>

namespace platform {

struct WavLayout {
  bool has_format = false;
  std::uint16_t channels = 0;
  std::uint32_t rate = 0;
  std::uint16_t block_align = 0;
  std::uint16_t bits = 0;
  bool has_data = false;
  // The data chunk's length, cut to what the file holds.
  std::uint64_t data_bytes = 0;
};

// Nothing when the open file `fd` of `file_size` bytes is no RIFF WAVE file. Chunks are
// stepped over by their lengths, however long; the first of each kind counts.
std::optional<WavLayout> ReadWavLayout(int fd, off_t file_size);

}  // namespace platform
