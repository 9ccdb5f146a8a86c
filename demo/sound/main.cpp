// hotaru-demo-sound OUT_DIR: synthesises the demo's music as disc track files
// (trackNN.ogg) and its sound effects as PCM files (HT_VDnn.P16) into OUT_DIR.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

#include "effects.h"
#include "tracks.h"
#include "vorbis_writer.h"

namespace {

bool WriteP16(const std::string& path, const demo_sound::Samples& samples) {
  std::string bytes;
  bytes.reserve(samples.size() * 2);
  for (float s : samples) {
    const auto v = static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767));
    bytes.push_back(static_cast<char>(v & 0xFF));
    bytes.push_back(static_cast<char>((v >> 8) & 0xFF));
  }
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: hotaru-demo-sound OUT_DIR\n", stderr);
    return 2;
  }
  const std::string dir = argv[1];
  for (const auto& track : demo_sound::Tracks()) {
    char name[32];
    std::snprintf(name, sizeof name, "/track%02d.ogg", track.number);
    demo_sound::Samples samples;
    try {
      samples = track.make();
    } catch (const std::invalid_argument& e) {
      std::fprintf(stderr, "hotaru-demo-sound: track %02d (%s): %s\n", track.number, track.title,
                   e.what());
      return 1;
    }
    const std::string error =
        demo_sound::WriteVorbis(dir + name, samples, demo_sound::kTrackRate, track.title);
    if (!error.empty()) {
      std::fprintf(stderr, "hotaru-demo-sound: %s\n", error.c_str());
      return 1;
    }
  }
  for (const auto& effect : demo_sound::Effects()) {
    char name[32];
    std::snprintf(name, sizeof name, "/HT_VD%02d.P16", effect.number);
    if (!WriteP16(dir + name, effect.make())) {
      std::fprintf(stderr, "hotaru-demo-sound: cannot write %s%s\n", dir.c_str(), name);
      return 1;
    }
  }
  return 0;
}
