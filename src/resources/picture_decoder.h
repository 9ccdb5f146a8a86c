// The .VGR picture file (magic "VELACODE"): a 48-byte header with a 16-colour palette, a
// rectangle in units of 8 pixels × rows, the pixel order, a transparent colour and the
// unpacked size, then a sliding-dictionary stream of bytes holding two pixels each.
//
// Placement is clipped to the 640 × 400 Picture: pixels that a header rectangle or the
// caller's offset puts outside it are not written.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/memory_blocks.h"

namespace resources {

constexpr std::size_t kPictureFileHeaderSize = 48;
constexpr char kPictureMagic[8] = {'V', 'E', 'L', 'A', 'C', 'O', 'D', 'E'};
constexpr const char* kPictureErrorCaption = "ＧＲＰ展開エラー";

// Pixel orders (the version byte).
constexpr int kPictureColumns = 0;  // columns two pixels wide, left to right, each top down
constexpr int kPictureRows = 1;     // rows top down, each left to right

struct PictureHeader {
  bool magic_ok;
  std::uint8_t palette[16][3];  // red, green, blue of each colour: 4-bit values as stored
  std::int16_t left;            // in units of 8 pixels
  std::int16_t top;             // in rows
  std::int16_t right;           // in units of 8 pixels, inclusive
  std::int16_t bottom;          // in rows, inclusive
  std::int8_t version;          // the pixel order; 2 and above are not supported
  std::uint8_t transparent;     // 0–15; any other value makes no colour transparent
  std::int32_t unpacked_size;   // bytes the stream unpacks to, two pixels each

  // Size of the rectangle in pixels and rows; 0 or less for an empty rectangle.
  std::int64_t width() const { return (std::int64_t{right} - left + 1) * 8; }
  std::int64_t height() const { return std::int64_t{bottom} - top + 1; }
};

// Reads the header; false (and nothing filled in) when the file is shorter than it.
bool ParsePictureHeader(const std::uint8_t* file, std::size_t size, PictureHeader* header);

// Decodes a picture file held in block `file` into the Picture `picture`, with the
// picture's top-left corner at (x + left × 8, y + top). Sets ScreenPalette (entry 15
// white, flags PC_RESERVED), colour-table slots 0–15 and UpdateRect (the placed rectangle,
// cut to the picture; the empty value when none of it is inside). Pixels of the transparent
// colour are not written. Returns 1 when drawn; 0 for a damaged file ("データ異常です"), an
// unsupported version ("非対応のバージョンです") — both told in a message box captioned
// "ＧＲＰ展開エラー", after which the program goes on — an unpacked size of 0 or less, an
// empty rectangle, or a block too small to be a Picture. Draws at most the rectangle's
// bytes, and only what the stream holds.
int DecodePicture(core::MemHandle picture, core::MemHandle file, std::int16_t x, std::int16_t y);

// The stream decoder alone (literals de-interleaved): unpacks into out[0, out_size) until
// out_size bytes are produced or the stream ends. Returns the bytes produced; the rest of
// `out` is set to 0.
std::size_t UnpackPictureStream(const std::uint8_t* stream, std::size_t stream_size,
                                std::uint8_t* out, std::size_t out_size);

// Draws `count` unpacked bytes into a locked Picture in the header's pixel order, as
// DecodePicture does: rectangle from the header, placed with the offset (x, y), clipped,
// the transparent colour skipped, at most the rectangle's bytes.
void DrawPictureBytes(std::uint8_t* picture, const std::uint8_t* bytes, std::size_t count,
                      const PictureHeader& header, std::int32_t x, std::int32_t y);

}  // namespace resources
