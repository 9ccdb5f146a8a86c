// PNG previews of the demo pictures, for people to look at: each picture in the colours its
// file holds, each background in its four colourings, and each background as a scene with
// the characters in their three slots.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "artwork.h"

namespace demo_art {

// Writes the previews of `pictures` into `dir` (created when missing). Returns "" on
// success, else what went wrong.
std::string WritePreviews(const std::vector<Artwork>& pictures, const std::filesystem::path& dir);

}  // namespace demo_art
