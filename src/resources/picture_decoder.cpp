#include "resources/picture_decoder.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/picture.h"
#include "core/screen_state.h"
#include "core/window_state.h"
#include "resources/sliding_dictionary.h"

namespace resources {
namespace {

// A stored literal holds the left pixel in its bits 7, 5, 3, 1 and the right pixel in its
// bits 6, 4, 2, 0; the unpacked byte holds them as its high and low halves.
constexpr std::array<std::uint8_t, 256> MakeDeinterleave() {
  std::array<std::uint8_t, 256> table{};
  for (unsigned v = 0; v < 256; ++v) {
    unsigned left = 0, right = 0;
    for (int i = 3; i >= 0; --i) {
      left = left << 1 | ((v >> (2 * i + 1)) & 1);
      right = right << 1 | ((v >> (2 * i)) & 1);
    }
    table[v] = static_cast<std::uint8_t>(left << 4 | right);
  }
  return table;
}
constexpr std::array<std::uint8_t, 256> kDeinterleave = MakeDeinterleave();

// Flag bit 1 announces a literal; reference words are stored as they are.
struct PictureFormat {
  static unsigned LiteralFlags(std::uint8_t flag) { return flag; }
  static std::uint8_t Literal(std::uint8_t stored) { return kDeinterleave[stored]; }
  static unsigned Reference(unsigned stored_word) { return stored_word; }
};

constexpr int kWidth = core::kPictureWidth;
// Bytes unpacked between two draws: enough that sliding the dictionary costs little.
constexpr std::size_t kWindowChunk = 16 * 1024;
constexpr int kHeight = core::kPictureHeight;

// Where a file's bytes go on the picture: byte column c (pixels X + 2c and X + 2c + 1) and
// row r (Y + r) of a rectangle of half_width byte columns and `height` rows.
struct Placement {
  std::int64_t x, y;        // top-left corner on the picture
  std::int64_t half_width;  // bytes per row
  std::int64_t height;      // rows
  int order;
  unsigned transparent;
  // The byte columns and rows that hold at least one pixel inside the picture.
  std::int64_t column_begin, column_end, row_begin, row_end;

  bool Visible() const { return column_begin < column_end && row_begin < row_end; }
  // Bytes of the stream up to the last one that can show: what is worth unpacking.
  std::int64_t VisiblePrefix() const {
    if (!Visible()) return 0;
    if (order == kPictureRows) return (row_end - 1) * half_width + column_end;
    return (column_end - 1) * height + row_end;
  }
};

Placement Place(const PictureHeader& header, std::int32_t x, std::int32_t y) {
  Placement p{};
  p.x = std::int64_t{x} + std::int64_t{header.left} * 8;
  p.y = std::int64_t{y} + header.top;
  p.half_width = header.width() / 2;
  p.height = header.height();
  p.order = header.version;
  p.transparent = header.transparent;
  // Pixel X + 2c + 1 must be at or right of 0 and pixel X + 2c at or left of 639.
  p.column_begin = p.x >= -1 ? 0 : -p.x / 2;
  p.column_end = p.x > kWidth - 1 ? 0 : std::min(p.half_width, (kWidth - 1 - p.x) / 2 + 1);
  p.row_begin = std::max<std::int64_t>(0, -p.y);
  p.row_end = std::min<std::int64_t>(p.height, kHeight - p.y);
  return p;
}

void PutPixel(std::uint8_t* row, std::int64_t x, unsigned value, unsigned transparent) {
  if (x >= 0 && x < kWidth && value != transparent) row[x] = static_cast<std::uint8_t>(value);
}

// n bytes as pixel pairs from dst on; every pixel lies inside the row.
template <bool kTransparent>
void DrawSpan(std::uint8_t* dst, const std::uint8_t* in, std::int64_t n, unsigned transparent) {
  for (std::int64_t k = 0; k < n; ++k, ++in, dst += 2) {
    const auto left = static_cast<std::uint8_t>(*in >> 4);
    const auto right = static_cast<std::uint8_t>(*in & 15);
    if constexpr (kTransparent) {
      dst[0] = left == transparent ? dst[0] : left;
      dst[1] = right == transparent ? dst[1] : right;
    } else {
      dst[0] = left;
      dst[1] = right;
    }
  }
}

// A span of consecutive bytes, many pixels at a time: each byte's halves are split and
// interleaved as left, right, left, right …; pixels of the transparent colour keep what
// the picture held.
template <bool kTransparent>
void DrawRun(std::uint8_t* dst, const std::uint8_t* in, std::int64_t n, unsigned transparent) {
  std::int64_t k = 0;
#if defined(__SSE2__)
  const __m128i low_half = _mm_set1_epi8(0x0F);
  const __m128i clear = _mm_set1_epi8(static_cast<char>(transparent));
  auto store = [&](std::uint8_t* to, __m128i pixels) {
    auto* where = reinterpret_cast<__m128i*>(to);
    if constexpr (kTransparent) {
      const __m128i keep = _mm_cmpeq_epi8(pixels, clear);
      pixels =
          _mm_or_si128(_mm_and_si128(keep, _mm_loadu_si128(where)), _mm_andnot_si128(keep, pixels));
    }
    _mm_storeu_si128(where, pixels);
  };
  for (; k + 16 <= n; k += 16, in += 16, dst += 32) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    const __m128i left = _mm_and_si128(_mm_srli_epi16(v, 4), low_half);
    const __m128i right = _mm_and_si128(v, low_half);
    store(dst, _mm_unpacklo_epi8(left, right));
    store(dst + 16, _mm_unpackhi_epi8(left, right));
  }
#endif
  DrawSpan<kTransparent>(dst, in, n - k, transparent);
}

// Byte columns [begin, end) of row r, their bytes consecutive from `src` (the byte of
// column `begin`) on; a pair cut by the picture's left or right edge shows one pixel.
void DrawRowSpan(std::uint8_t* picture, const std::uint8_t* src, std::int64_t r, std::int64_t begin,
                 std::int64_t end, const Placement& p) {
  if (r < p.row_begin || r >= p.row_end) return;
  if (begin < p.column_begin) {
    src += p.column_begin - begin;
    begin = p.column_begin;
  }
  end = std::min(end, p.column_end);
  if (begin >= end) return;
  std::uint8_t* row = core::PixelAt(picture, 0, static_cast<int>(p.y + r));
  if (p.x + 2 * begin < 0) {
    PutPixel(row, 0, src[0] & 15, p.transparent);
    ++src;
    ++begin;
  }
  if (begin < end && p.x + 2 * (end - 1) + 1 >= kWidth) {
    PutPixel(row, kWidth - 1, src[end - 1 - begin] >> 4, p.transparent);
    --end;
  }
  if (begin >= end) return;
  if (p.transparent > 15) {
    DrawRun<false>(row + (p.x + 2 * begin), src, end - begin, p.transparent);
  } else {
    DrawRun<true>(row + (p.x + 2 * begin), src, end - begin, p.transparent);
  }
}

// Rows [begin, end) of byte column c, their bytes consecutive from `src` (the byte of row
// `begin`) on: one pixel pair a row, from the top down.
template <bool kTransparent>
void DrawColumn(std::uint8_t* picture, const std::uint8_t* src, std::int64_t c, std::int64_t begin,
                std::int64_t end, const Placement& p) {
  if (c < p.column_begin || c >= p.column_end) return;
  if (begin < p.row_begin) {
    src += p.row_begin - begin;
    begin = p.row_begin;
  }
  end = std::min(end, p.row_end);
  if (begin >= end) return;
  const std::int64_t x = p.x + 2 * c;
  // One row down on the screen is one row back in the bottom-up picture.
  constexpr std::ptrdiff_t kDown = -static_cast<std::ptrdiff_t>(core::kRowStride);
  std::uint8_t* dst = core::PixelAt(picture, 0, static_cast<int>(p.y + begin)) + x;
  const std::int64_t n = end - begin;
  if (x < 0 || x + 1 >= kWidth) {
    // A pair cut by the edge: only its right pixel (left edge) or its left one shows.
    const bool right_only = x < 0;
    std::uint8_t* at = right_only ? dst + 1 : dst;
    for (std::int64_t k = 0; k < n; ++k, at += kDown) {
      const unsigned v = right_only ? src[k] & 15u : src[k] >> 4u;
      if (v != p.transparent) *at = static_cast<std::uint8_t>(v);
    }
    return;
  }
  for (std::int64_t k = 0; k < n; ++k, dst += kDown) {
    const auto left = static_cast<std::uint8_t>(src[k] >> 4);
    const auto right = static_cast<std::uint8_t>(src[k] & 15);
    if constexpr (kTransparent) {
      if (left != p.transparent) dst[0] = left;
      if (right != p.transparent) dst[1] = right;
    } else {
      dst[0] = left;
      dst[1] = right;
    }
  }
}

// Each byte as its two pixels, left then right, in the order they lie in memory.
constexpr std::array<std::uint16_t, 256> MakePixelPairs() {
  std::array<std::uint16_t, 256> table{};
  for (unsigned v = 0; v < 256; ++v)
    table[v] = static_cast<std::uint16_t>((v >> 4) | (v & 15) << 8);
  return table;
}
constexpr std::array<std::uint16_t, 256> kPixelPairs = MakePixelPairs();

// Four whole byte columns from c on, none of them transparent or cut by an edge, their
// bytes `line` apart: eight pixels a row in one store.
void DrawFourColumns(std::uint8_t* picture, const std::uint8_t* src, std::int64_t line,
                     std::int64_t c, const Placement& p) {
  constexpr std::ptrdiff_t kDown = -static_cast<std::ptrdiff_t>(core::kRowStride);
  std::uint8_t* dst =
      core::PixelAt(picture, 0, static_cast<int>(p.y + p.row_begin)) + (p.x + 2 * c);
  for (std::int64_t r = p.row_begin; r < p.row_end; ++r, dst += kDown) {
    const std::uint64_t eight = std::uint64_t{kPixelPairs[src[r]]} |
                                std::uint64_t{kPixelPairs[src[line + r]]} << 16 |
                                std::uint64_t{kPixelPairs[src[2 * line + r]]} << 32 |
                                std::uint64_t{kPixelPairs[src[3 * line + r]]} << 48;
    std::memcpy(dst, &eight, 8);
  }
}

// Whether byte columns [c, c + 4) all show whole on the picture.
bool FourColumnsInside(std::int64_t c, const Placement& p) {
  return c >= p.column_begin && c + 4 <= p.column_end && p.x + 2 * c >= 0 &&
         p.x + 2 * (c + 3) + 1 < kWidth;
}

// Draws the stream's bytes [first, first + count), given at `bytes`, at their places: a
// run of a row (rows order) or of a column (columns order) at a time.
void DrawRange(std::uint8_t* picture, const std::uint8_t* bytes, std::int64_t first,
               std::int64_t count, const Placement& p) {
  if (!p.Visible()) return;
  const bool rows = p.order == kPictureRows;
  const std::int64_t line = rows ? p.half_width : p.height;  // bytes in a row or column
  for (std::int64_t i = first, end = first + count; i < end;) {
    const std::int64_t index = i / line, offset = i % line;
    const std::int64_t n = std::min(end - i, line - offset);
    const std::uint8_t* src = bytes + (i - first);
    if (!rows && offset == 0 && end - i >= 4 * line && p.transparent > 15 &&
        FourColumnsInside(index, p)) {
      DrawFourColumns(picture, src, line, index, p);
      i += 4 * line;
      continue;
    }
    if (rows) {
      DrawRowSpan(picture, src, index, offset, offset + n, p);
    } else if (p.transparent > 15) {
      DrawColumn<false>(picture, src, index, offset, offset + n, p);
    } else {
      DrawColumn<true>(picture, src, index, offset, offset + n, p);
    }
    i += n;
  }
}

std::int16_t GetI16(const std::uint8_t* p) { return static_cast<std::int16_t>(p[0] | p[1] << 8); }

void ErrorBox(const char* text) {
  MessageBoxA(core::Window.MainWindow, text, kPictureErrorCaption, MB_OK | MB_ICONHAND);
}

void SetScreenPalette(const PictureHeader& header) {
  for (int k = 0; k < 16; ++k) {
    core::Screen.ScreenPalette[k] =
        PALETTEENTRY{static_cast<BYTE>(header.palette[k][0] * 255 / 15),
                     static_cast<BYTE>(header.palette[k][1] * 255 / 15),
                     static_cast<BYTE>(header.palette[k][2] * 255 / 15), PC_RESERVED};
  }
  core::Screen.ScreenPalette[15] = PALETTEENTRY{255, 255, 255, PC_RESERVED};
}

void SetColourIndexes(std::uint8_t* picture) {
  std::uint8_t* table = core::ColourTable(picture);
  for (int i = 0; i < 16; ++i) {
    table[2 * i] = static_cast<std::uint8_t>(i);
    table[2 * i + 1] = 0;
  }
}

void SetUpdateRect(const Placement& p) {
  const std::int64_t left = std::max<std::int64_t>(p.x, 0);
  const std::int64_t top = std::max<std::int64_t>(p.y, 0);
  const std::int64_t right = std::min<std::int64_t>(p.x + p.half_width * 2, kWidth);
  const std::int64_t bottom = std::min<std::int64_t>(p.y + p.height, kHeight);
  if (left >= right || top >= bottom) {
    core::Screen.UpdateRect = core::kEmptyUpdateRect;
    return;
  }
  core::RectSet(&core::Screen.UpdateRect, static_cast<LONG>(left), static_cast<LONG>(top),
                static_cast<LONG>(right), static_cast<LONG>(bottom));
}

// Unpacks the bytes that can show and draws them as they come, a window's worth at a time;
// the stream is read no further than its end, and no more bytes are drawn than it yields.
void DrawFile(std::uint8_t* picture, const std::uint8_t* stream, std::size_t stream_size,
              const PictureHeader& header, const Placement& p) {
  // A reference yields at most 18 bytes for 2 of the stream: no stream can give more.
  const std::int64_t stream_limit = static_cast<std::int64_t>(stream_size) * 9;
  const std::int64_t wanted = std::min({std::int64_t{header.unpacked_size}, p.half_width * p.height,
                                        p.VisiblePrefix(), stream_limit});
  if (wanted <= 0) return;
  // The dictionary with room for the bytes not yet drawn. Nothing in it outlives the call:
  // UnpackThroughWindow starts its ring at zero.
  std::uint8_t window[dictionary::WindowSize(kWindowChunk)];
  dictionary::UnpackThroughWindow<PictureFormat>(
      stream, stream_size, static_cast<std::size_t>(wanted), window, kWindowChunk,
      [&](const std::uint8_t* bytes, std::size_t first, std::size_t count) {
        DrawRange(picture, bytes, static_cast<std::int64_t>(first),
                  static_cast<std::int64_t>(count), p);
      });
}

}  // namespace

bool ParsePictureHeader(const std::uint8_t* file, std::size_t size, PictureHeader* header) {
  if (file == nullptr || size < kPictureFileHeaderSize) return false;
  PictureHeader h{};
  h.magic_ok = std::memcmp(file, kPictureMagic, sizeof kPictureMagic) == 0;
  for (int i = 0; i < 48; ++i) {
    const std::uint8_t b = file[8 + i / 2];
    h.palette[i / 3][i % 3] = static_cast<std::uint8_t>(i % 2 == 0 ? b >> 4 : b & 15);
  }
  h.left = GetI16(file + 32);
  h.top = GetI16(file + 34);
  h.right = GetI16(file + 36);
  h.bottom = GetI16(file + 38);
  h.version = static_cast<std::int8_t>(file[40]);
  h.transparent = file[41];
  h.unpacked_size =
      static_cast<std::int32_t>(std::uint32_t{file[44]} | std::uint32_t{file[45]} << 8 |
                                std::uint32_t{file[46]} << 16 | std::uint32_t{file[47]} << 24);
  *header = h;
  return true;
}

std::size_t UnpackPictureStream(const std::uint8_t* stream, std::size_t stream_size,
                                std::uint8_t* out, std::size_t out_size) {
  return dictionary::Unpack<PictureFormat>(stream, stream_size, out, out_size);
}

void DrawPictureBytes(std::uint8_t* picture, const std::uint8_t* bytes, std::size_t count,
                      const PictureHeader& header, std::int32_t x, std::int32_t y) {
  if (header.width() <= 0 || header.height() <= 0) return;
  const Placement p = Place(header, x, y);
  const auto n = std::min(static_cast<std::int64_t>(count), p.half_width * p.height);
  if (p.order == kPictureRows || p.order == kPictureColumns) DrawRange(picture, bytes, 0, n, p);
}

int DecodePicture(core::MemHandle picture, core::MemHandle file, std::int16_t x, std::int16_t y) {
  const auto* data = static_cast<const std::uint8_t*>(core::MemLock(file));
  const std::size_t size = data == nullptr ? 0 : GlobalSize(file);
  PictureHeader header;
  // A file too short for its header counts as damaged, like one with a wrong magic.
  if (!ParsePictureHeader(data, size, &header) || !header.magic_ok) {
    if (data != nullptr) core::MemUnlock(file);
    ErrorBox("データ異常です");
    return 0;
  }
  std::uint8_t* pixels = core::LockPicture(picture);
  if (pixels == nullptr) {
    core::MemUnlock(file);
    return 0;
  }

  int result = 0;
  SetScreenPalette(header);
  SetColourIndexes(pixels);
  if (header.version >= 2) {
    ErrorBox("非対応のバージョンです");
  } else if (header.unpacked_size > 0 && header.width() > 0 && header.height() > 0) {
    const Placement p = Place(header, x, y);
    SetUpdateRect(p);
    // A version byte read as negative names no pixel order: nothing is drawn.
    if (header.version >= 0) {
      DrawFile(pixels, data + kPictureFileHeaderSize, size - kPictureFileHeaderSize, header, p);
    }
    result = 1;
  }
  core::MemUnlock(picture);
  core::MemUnlock(file);
  return result;
}

}  // namespace resources
