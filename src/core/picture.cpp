#include "core/picture.h"

#include <algorithm>
#include <cstring>

namespace core {

namespace {

void PutU16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

void PutU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The inclusive rectangle x1..x2 × y1..y2 cut to the picture; false when nothing is left.
bool ClipInclusive(LONG& x1, LONG& y1, LONG& x2, LONG& y2) {
  x1 = std::max<LONG>(x1, 0);
  y1 = std::max<LONG>(y1, 0);
  x2 = std::min<LONG>(x2, kPictureWidth - 1);
  y2 = std::min<LONG>(y2, kPictureHeight - 1);
  return x1 <= x2 && y1 <= y2;
}

}  // namespace

void WritePictureHeader(std::uint8_t* header) {
  std::memset(header, 0, kPictureHeaderSize);
  PutU32(header + 0, kPictureHeaderSize);  // biSize
  PutU32(header + 4, kPictureWidth);       // biWidth
  PutU32(header + 8, kPictureHeight);      // biHeight, positive: bottom-up
  PutU16(header + 12, 1);                  // biPlanes
  PutU16(header + 14, 8);                  // biBitCount
  PutU32(header + 16, 0);                  // biCompression: BI_RGB
  PutU32(header + 20, kPixelBytes);        // biSizeImage
}

MemHandle AllocPicture(const char* name) {
  MemHandle handle = MemAlloc(kPictureBlockSize, name);
  auto* base = static_cast<std::uint8_t*>(MemLock(handle));
  WritePictureHeader(base);
  std::uint8_t* table = ColourTable(base);
  std::memset(table, 0, kColourTableSize);
  // Slots 0–31: the 16 scene colours and the 16 untouchable blacks of the window palette.
  for (std::uint16_t i = 0; i < 32; ++i) PutU16(table + 2 * i, i);
  std::memset(base + kPixelOffset, 0, kPixelBytes);
  MemUnlock(handle);
  return handle;
}

std::uint8_t* LockPicture(MemHandle picture) {
  auto* base = static_cast<std::uint8_t*>(MemLock(picture));
  if (base == nullptr) return nullptr;
  if (GlobalSize(picture) < kPictureBlockSize) {
    MemUnlock(picture);
    return nullptr;
  }
  return base;
}

void RectSet(RECT* r, LONG left, LONG top, LONG right, LONG bottom) {
  *r = RECT{left, top, right, bottom};
}

void RectExtend(RECT* r, LONG left, LONG top, LONG right, LONG bottom) {
  r->left = std::min(r->left, left);
  r->top = std::min(r->top, top);
  r->right = std::max(r->right, right);
  r->bottom = std::max(r->bottom, bottom);
}

void RectUnion(RECT* r, const RECT* s) { RectExtend(r, s->left, s->top, s->right, s->bottom); }

void RectCopy(RECT* r, const RECT* s) { *r = *s; }

void FillPictureRect(MemHandle picture, std::int16_t x1, std::int16_t y1, std::int16_t x2,
                     std::int16_t y2, std::uint8_t colour) {
  LONG left = x1, top = y1, right = x2, bottom = y2;
  if (!ClipInclusive(left, top, right, bottom)) return;
  std::uint8_t* base = LockPicture(picture);
  if (base == nullptr) return;
  const std::size_t width = static_cast<std::size_t>(right - left + 1);
  for (LONG y = top; y <= bottom; ++y) std::memset(PixelAt(base, left, y), colour, width);
  MemUnlock(picture);
}

void ClearPicture(MemHandle picture) {
  std::uint8_t* base = LockPicture(picture);
  if (base == nullptr) return;
  std::memset(base + kPixelOffset, 0, kPixelBytes);
  MemUnlock(picture);
}

void CopyPicture(MemHandle dst, MemHandle src) {
  if (dst == src) return;
  std::uint8_t* to = LockPicture(dst);
  if (to == nullptr) return;
  std::uint8_t* from = LockPicture(src);
  if (from != nullptr) {
    std::memcpy(to + kPixelOffset, from + kPixelOffset, kPixelBytes);
    MemUnlock(src);
  }
  MemUnlock(dst);
}

void CopyPictureRect(MemHandle dst, MemHandle src, const RECT* rect) {
  if (dst == src) return;
  LONG left = rect->left, top = rect->top, right = rect->right, bottom = rect->bottom;
  if (!ClipInclusive(left, top, right, bottom)) return;
  std::uint8_t* to = LockPicture(dst);
  if (to == nullptr) return;
  std::uint8_t* from = LockPicture(src);
  if (from != nullptr) {
    const std::size_t width = static_cast<std::size_t>(right - left + 1);
    for (LONG y = top; y <= bottom; ++y) {
      std::memcpy(PixelAt(to, left, y), PixelAt(from, left, y), width);
    }
    MemUnlock(src);
  }
  MemUnlock(dst);
}

void PaletteCopy(PALETTEENTRY* dst, PALETTEENTRY* src) {
  for (int i = 0; i < 16; ++i) {
    dst[i].peRed = src[i].peRed;
    dst[i].peGreen = src[i].peGreen;
    dst[i].peBlue = src[i].peBlue;
    dst[i].peFlags = PC_RESERVED;
    src[i].peFlags = PC_RESERVED;
  }
}

}  // namespace core
