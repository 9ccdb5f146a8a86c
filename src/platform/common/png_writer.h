// Writing pictures as PNG files (libpng): the headless runner's shots and the SDL backend's
// screenshots.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// `rgb` holds width × height pixels of 3 bytes, top row first. False when the file cannot
// be written.
bool WritePngRgb(const std::string& path, int width, int height,
                 const std::vector<std::uint8_t>& rgb);

}  // namespace platform
