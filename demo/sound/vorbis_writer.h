// Ogg Vorbis files through Debian's libvorbisenc.
#pragma once

#include <string>

#include "synth.h"

namespace demo_sound {

// Encodes mono samples at `rate` into an Ogg Vorbis file; "" or what went wrong. The stream
// serial number is fixed, so the same samples give the same file.
std::string WriteVorbis(const std::string& path, const Samples& samples, int rate,
                        const std::string& title);

}  // namespace demo_sound
