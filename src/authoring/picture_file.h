// Writing picture files (.VGR): a 48-byte header (magic, 16-colour palette
// with 4-bit channels, the rectangle, pixel order, transparent colour, unpacked size) and
// the picture stream. Like the pack tools, nothing here ends the process: failures come
// back as error texts. The header is read with resources::ParsePictureHeader.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace authoring {

inline constexpr int kScreenWidth = 640;
inline constexpr int kScreenHeight = 400;
// A transparent-colour byte of 16 or more makes no colour transparent; this is the one
// written when none is wanted.
inline constexpr std::uint8_t kNoTransparentColour = 255;

// A colour with 4-bit channels (0 to 15); the game shows a level v as v × 17.
struct Rgb4 {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb4&) const = default;
};
using Palette16 = std::array<Rgb4, 16>;

// The 4-bit level nearest to an 8-bit one, and back.
constexpr std::uint8_t FourBitLevel(std::uint8_t v) {
  return static_cast<std::uint8_t>((v + 8) / 17);
}
constexpr std::uint8_t EightBitLevel(std::uint8_t v) { return static_cast<std::uint8_t>(v * 17); }

// The version byte, which is also the order the unpacked bytes follow: columns two pixels
// wide, left to right, each top to bottom; or rows top to bottom, each left to right.
enum class PixelOrder : std::uint8_t { kColumns = 0, kRows = 1 };

// Pixels 0 to 15, width × height of them, top row first.
struct PictureImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;
};

struct PictureOptions {
  int x = 0;  // the rectangle's place on the screen; x is a multiple of 8
  int y = 0;
  PixelOrder order = PixelOrder::kColumns;
  std::uint8_t transparent = kNoTransparentColour;
  Palette16 palette{};
};

// The unpacked bytes in the given order: each byte two horizontally adjacent pixels, the
// left one in the high half. The image must be valid (CheckPicture).
std::vector<std::uint8_t> PictureBytes(const PictureImage& image, PixelOrder order);

// The picture stream of unpacked bytes: a literal announced by a flag bit of 1 and stored
// with its bits interleaved (left pixel's bits at 7, 5, 3, 1, right pixel's at 6, 4, 2, 0);
// references as plain little-endian words.
std::vector<std::uint8_t> PackPictureStream(std::span<const std::uint8_t> unpacked);
// The stored form of a literal, and its inverse.
std::uint8_t InterleavePixels(std::uint8_t value);
std::uint8_t DeinterleavePixels(std::uint8_t stored);

// "" when the image can be written with these options: width a positive multiple of 8,
// height positive, every pixel 0 to 15, x a multiple of 8, the rectangle on the screen.
std::string CheckPicture(const PictureImage& image, const PictureOptions& options);

// The whole file. Returns "" on success, else what is wrong.
std::string BuildPictureFile(const PictureImage& image, const PictureOptions& options,
                             std::vector<std::uint8_t>* file);

}  // namespace authoring
