// PNG files as palette images of at most 16 colours, for the picture tools (libpng).
// Failures come back as error texts; nothing here ends the process.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace authoring {

struct Rgb8 {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb8&) const = default;
};

// width × height palette indexes, top row first, and the colours they stand for.
struct IndexedImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
  std::vector<Rgb8> palette;
};

// The largest side of a PNG written here (font sheets).
inline constexpr std::uint32_t kMaxPngSide = 8192;
// The largest PNG read here: a picture is at most the screen. Checked from the header before
// anything is decoded.
inline constexpr std::uint32_t kMaxPngReadWidth = 640;
inline constexpr std::uint32_t kMaxPngReadHeight = 400;

// Decodes a PNG into at most 16 colours. A palette PNG whose pixels use indexes 0 to 15
// keeps its indexes (the palette is cut to 16 entries). Any other PNG (grey, RGB, with or
// without alpha, or a palette PNG using higher indexes) has its distinct colours numbered
// in the order they first appear, top row first; more than 16 is an error. Alpha is
// dropped, with a warning when some pixel is not opaque. Returns "" on success.
std::string DecodePng(std::span<const std::uint8_t> png, IndexedImage* image,
                      std::vector<std::string>* warnings);
std::string ReadPng(const std::filesystem::path& path, IndexedImage* image,
                    std::vector<std::string>* warnings);

// Decodes a PNG of any kind into the colour of each pixel, top row first (alpha dropped),
// with no limit on the number of colours (the size is limited as for ReadPng): pictures
// compared by what they show, whatever the PNG's own encoding. Returns "" on success.
std::string ReadPngColours(const std::filesystem::path& path, int* width, int* height,
                           std::vector<Rgb8>* colours);

// An 8-bit palette PNG with the image's palette (1 to 256 entries; every pixel must index
// into it). Returns "" on success.
std::string EncodeIndexedPng(const IndexedImage& image, std::vector<std::uint8_t>* png);
std::string WriteIndexedPng(const std::filesystem::path& path, const IndexedImage& image);

}  // namespace authoring
