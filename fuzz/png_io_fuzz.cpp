// Reading PNG files given to the picture tools: any bytes give an image of at most 16
// colours or an error text, never a crash; an image read writes and reads back the same.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "authoring/png_io.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  authoring::IndexedImage image;
  std::vector<std::string> warnings;
  if (!authoring::DecodePng(std::span<const std::uint8_t>(data, size), &image, &warnings).empty())
    return 0;
  if (image.palette.empty() || image.palette.size() > 16) std::abort();
  if (image.pixels.size() !=
      static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
    std::abort();
  std::vector<std::uint8_t> png;
  if (!authoring::EncodeIndexedPng(image, &png).empty()) std::abort();
  authoring::IndexedImage again;
  if (!authoring::DecodePng(png, &again, &warnings).empty()) std::abort();
  if (again.pixels != image.pixels || again.palette != image.palette) std::abort();
  return 0;
}
