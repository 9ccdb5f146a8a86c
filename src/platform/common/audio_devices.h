// What the backends tell the common multimedia code, and how a disc track is found.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/win32.h"

namespace platform {

// The buffer written to the wave device has played all its loops: the device marks it done
// and posts MM_WOM_DONE to its window. Backends call this from PollEvents.
void WaveBufferPlayed();

// The audio file that stands for track `track` of the disc whose folder is `disc_folder`
// (Windows-style, "" the current folder): "trackNN" or "track N" with the extension .ogg,
// .flac, .opus, .mp3 or .wav, in the folder or its "cd" subfolder, any case. Only a regular
// file counts (a FIFO would block), and a WAV file only with a sane format chunk: a bad
// track is refused like a missing one.
std::optional<std::string> FindTrackFile(const std::string& disc_folder, int track);

// How long an audio file of a format FindTrackFile accepts plays, in milliseconds; nothing
// when it cannot be read or holds no sound.
std::optional<std::uint32_t> TrackLengthMs(const std::string& path);

}  // namespace platform
