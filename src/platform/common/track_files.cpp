// Disc tracks as audio files: the names that CD rippers and other players of such games
// give them.
#include <array>
#include <cstdio>

#include "platform/common/audio_devices.h"

namespace platform {

bool FindExistingFile(const std::string& path, std::string* found);

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
        if (FindExistingFile(folder + "\\" + stem + "." + extension, &found)) return found;
      }
    }
  }
  return std::nullopt;
}

}  // namespace platform
