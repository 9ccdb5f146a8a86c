#include "resources/picture_decoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/palette_state.h"
#include "core/picture.h"
#include "core/shell_state.h"
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

constexpr int kWidth = visuals::kPictureWidth;
constexpr int kHeight = visuals::kPictureHeight;

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

// Draws the first `count` bytes, screen row by screen row whatever the pixel order, so
// that every row is written left to right in one run.
void DrawBytes(std::uint8_t* picture, const std::uint8_t* bytes, std::int64_t count,
               const Placement& p) {
  if (!p.Visible()) return;
  const bool rows = p.order == kPictureRows;
  // Byte (c, r) is bytes[c * column_step + r * row_step].
  const std::int64_t column_step = rows ? 1 : p.height;
  const std::int64_t row_step = rows ? p.half_width : 1;
  const bool opaque = p.transparent > 15;
  for (std::int64_t r = p.row_begin; r < p.row_end; ++r) {
    // The byte columns of this row that the count reaches.
    std::int64_t end = p.column_end;
    if (rows) {
      if (r * p.half_width >= count) break;
      end = std::min(end, count - r * p.half_width);
    } else {
      end = std::min(end, count / p.height + (r < count % p.height ? 1 : 0));
    }
    std::int64_t begin = p.column_begin;
    if (begin >= end) continue;
    std::uint8_t* row = visuals::PixelAt(picture, 0, static_cast<int>(p.y + r));
    const std::uint8_t* in = bytes + r * row_step;
    // A pair cut by the picture's left or right edge shows one pixel.
    if (p.x + 2 * begin < 0) {
      PutPixel(row, 0, in[begin * column_step] & 15, p.transparent);
      ++begin;
    }
    if (begin < end && p.x + 2 * (end - 1) + 1 >= kWidth) {
      PutPixel(row, kWidth - 1, in[(end - 1) * column_step] >> 4, p.transparent);
      --end;
    }
    if (begin >= end) continue;
    std::uint8_t* dst = row + (p.x + 2 * begin);
    const std::uint8_t* src = in + begin * column_step;
    const std::int64_t n = end - begin;
    // Columns: this row's bytes lie one column apart; gather them first.
    std::uint8_t gathered[kWidth / 2];
    if (column_step != 1) {
      for (std::int64_t k = 0; k < n; ++k) gathered[k] = src[k * column_step];
      src = gathered;
    }
    if (opaque) {
      DrawRun<false>(dst, src, n, p.transparent);
    } else {
      DrawRun<true>(dst, src, n, p.transparent);
    }
  }
}

std::int16_t GetI16(const std::uint8_t* p) { return static_cast<std::int16_t>(p[0] | p[1] << 8); }

void ErrorBox(const char* text) {
  MessageBoxA(shell::MainWindow, text, kPictureErrorCaption, MB_OK | MB_ICONHAND);
}

void SetScreenPalette(const PictureHeader& header) {
  for (int k = 0; k < 16; ++k) {
    visuals::ScreenPalette[k] =
        PALETTEENTRY{static_cast<BYTE>(header.palette[k][0] * 255 / 15),
                     static_cast<BYTE>(header.palette[k][1] * 255 / 15),
                     static_cast<BYTE>(header.palette[k][2] * 255 / 15), PC_RESERVED};
  }
  visuals::ScreenPalette[15] = PALETTEENTRY{255, 255, 255, PC_RESERVED};
}

void SetColourIndexes(std::uint8_t* picture) {
  std::uint8_t* table = visuals::ColourTable(picture);
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
    visuals::UpdateRect = visuals::kEmptyUpdateRect;
    return;
  }
  visuals::RectSet(&visuals::UpdateRect, static_cast<LONG>(left), static_cast<LONG>(top),
                   static_cast<LONG>(right), static_cast<LONG>(bottom));
}

// Unpacks the bytes that can show and draws them; the stream is read no further than
// its end, and no more bytes are drawn than it yields.
void DrawFile(std::uint8_t* picture, const std::uint8_t* stream, std::size_t stream_size,
              const PictureHeader& header, const Placement& p) {
  // A reference yields at most 18 bytes for 2 of the stream: no stream can give more.
  const std::int64_t stream_limit = static_cast<std::int64_t>(stream_size) * 9;
  const std::int64_t wanted = std::min({std::int64_t{header.unpacked_size}, p.half_width * p.height,
                                        p.VisiblePrefix(), stream_limit});
  if (wanted <= 0) return;
  const auto size = static_cast<std::size_t>(wanted);
  auto bytes = std::make_unique_for_overwrite<std::uint8_t[]>(size);
  const std::size_t produced = UnpackPictureStream(stream, stream_size, bytes.get(), size);
  DrawBytes(picture, bytes.get(), static_cast<std::int64_t>(produced), p);
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
  if (p.order == kPictureRows || p.order == kPictureColumns) DrawBytes(picture, bytes, n, p);
}

int DecodePicture(MemHandle picture, MemHandle file, std::int16_t x, std::int16_t y) {
  const auto* data = static_cast<const std::uint8_t*>(MemLock(file));
  const std::size_t size = data == nullptr ? 0 : GlobalSize(file);
  PictureHeader header;
  // A file too short for its header counts as damaged, like one with a wrong magic.
  if (!ParsePictureHeader(data, size, &header) || !header.magic_ok) {
    if (data != nullptr) MemUnlock(file);
    ErrorBox("データ異常です");
    return 0;
  }
  std::uint8_t* pixels = visuals::LockPicture(picture);
  if (pixels == nullptr) {
    MemUnlock(file);
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
  MemUnlock(picture);
  MemUnlock(file);
  return result;
}

}  // namespace resources
