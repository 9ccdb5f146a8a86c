// The Picture: a 640 × 400, 8-bit palette-indexed image kept in one memory block laid out
// as a device-independent bitmap (header, colour table, pixels), so the window can draw it
// without conversion. Also the screen's update rectangle and the elementary operations on
// pictures and rectangles.
//
// Rows are stored bottom-up: screen row y starts (399 − y) rows into the pixel area.
//
// The picture operations clip every rectangle to the picture: a rectangle reaching outside
// 0..639 × 0..399 changes only its part inside, and one wholly outside changes nothing.
// They also do nothing with a block too small to be a Picture. Nothing is ever written
// outside the block.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/memory_blocks.h"
#include "platform/win32.h"

namespace core {

constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 400;
constexpr std::uint32_t kPictureHeaderSize = 40;
constexpr std::uint32_t kColourTableSize = 1024;
constexpr std::uint32_t kPixelOffset = kPictureHeaderSize + kColourTableSize;  // 1064
// Bytes per stored row: 8-bit pixels rounded up to whole 4-byte units.
constexpr std::uint32_t kRowStride = ((kPictureWidth * 8 + 7) / 8 + 3) / 4 * 4;  // 640
constexpr std::uint32_t kPixelBytes = kRowStride * kPictureHeight;               // 256000
constexpr std::uint32_t kPictureBlockSize = kPixelOffset + kPixelBytes;          // 257064

static_assert(kRowStride == 640 && kPixelBytes == 256000 && kPictureBlockSize == 257064);

// The empty update rectangle (core::Screen.UpdateRect): nothing waits to be repainted.
constexpr RECT kEmptyUpdateRect{kPictureWidth, kPictureHeight, 0, 0};

// The 40-byte bitmap header of a Picture, little-endian: size 40, width 640, height 400
// (positive: bottom-up rows), 1 plane, 8 bits, no compression, image size 256000, the
// rest 0.
void WritePictureHeader(std::uint8_t* header);

// Allocates a Picture block named `name` and initialises it the way the shown picture is
// at window creation: header, colour-table slot i holding the 16-bit palette index i for
// i = 0..31 and 0 for the other slots, every pixel 0. Returned unlocked.
MemHandle AllocPicture(const char* name);

// Byte offset of pixel (x, y) from the start of the block, and its address given the
// address of a locked Picture. No range check: (x, y) must lie inside the picture.
constexpr std::size_t PixelOffset(int x, int y) {
  return kPixelOffset + static_cast<std::size_t>(kPictureHeight - 1 - y) * kRowStride +
         static_cast<std::size_t>(x);
}
inline std::uint8_t* PixelAt(void* picture, int x, int y) {
  return static_cast<std::uint8_t*>(picture) + PixelOffset(x, y);
}

// The colour table's first 512 bytes, used as 256 unsigned 16-bit palette indexes.
inline std::uint8_t* ColourTable(void* picture) {
  return static_cast<std::uint8_t*>(picture) + kPictureHeaderSize;
}

// Locks a Picture block: its address, or null (and the block left as it was) when the
// handle names no block or a block too small to be a Picture.
std::uint8_t* LockPicture(MemHandle picture);

// Rectangles: four signed 32-bit values left, top, right, bottom.
void RectSet(RECT* r, LONG left, LONG top, LONG right, LONG bottom);
// Widens r to take in the given rectangle: smaller left and top, larger right and bottom.
void RectExtend(RECT* r, LONG left, LONG top, LONG right, LONG bottom);
void RectUnion(RECT* r, const RECT* s);
void RectCopy(RECT* r, const RECT* s);

// Sets the pixels with x1 ≤ x ≤ x2 and y1 ≤ y ≤ y2 (both corners inclusive) to `colour`.
void FillPictureRect(MemHandle picture, std::int16_t x1, std::int16_t y1, std::int16_t x2,
                     std::int16_t y2, std::uint8_t colour);
// Sets all 256000 pixels to 0.
void ClearPicture(MemHandle picture);
// Copies all pixels from src to dst; headers and colour tables are untouched.
void CopyPicture(MemHandle dst, MemHandle src);
// Copies the pixels of `rect` (left, top, right, bottom, all inclusive) from src to the
// same place in dst.
void CopyPictureRect(MemHandle dst, MemHandle src, const RECT* rect);
// Copies red, green and blue of 16 entries; afterwards every one of the 16 entries has
// flags PC_RESERVED in both arrays.
void PaletteCopy(PALETTEENTRY* dst, PALETTEENTRY* src);

}  // namespace core
