#include "resources/picture_decoder.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/picture.h"
#include "core/screen_state.h"
#include "support/dictionary_stream.h"
#include "support/picture_model.h"
#include "support/platform_fixture.h"

namespace {

using hotaru_test::StreamKind;
using hotaru_test::StreamWriter;
using Bytes = std::vector<std::uint8_t>;
using core::MemHandle;

constexpr int W = core::kPictureWidth;
constexpr int H = core::kPictureHeight;

struct FileFields {
  std::int16_t left = 0, top = 0, right = 0, bottom = 0;
  std::uint8_t version = 1;
  std::uint8_t transparent = 0xFF;
  std::int32_t size = 0;
  Bytes stream;
  Bytes palette = Bytes(24, 0);  // 48 nibbles, high half first
  const char* magic = "VELACODE";
};

void PutLe(Bytes& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

Bytes PictureFile(const FileFields& f) {
  Bytes out(f.magic, f.magic + 8);
  out.insert(out.end(), f.palette.begin(), f.palette.end());
  for (std::int16_t v : {f.left, f.top, f.right, f.bottom})
    PutLe(out, static_cast<std::uint16_t>(v), 2);
  out.push_back(f.version);
  out.push_back(f.transparent);
  PutLe(out, 0, 2);
  PutLe(out, static_cast<std::uint32_t>(f.size), 4);
  out.insert(out.end(), f.stream.begin(), f.stream.end());
  return out;
}

Bytes LiteralStream(const Bytes& values) {
  StreamWriter w(StreamKind::kPicture);
  for (std::uint8_t v : values) w.Literal(v);
  return w.bytes();
}

// Bytes whose two halves differ from each other and from their neighbours'.
Bytes Pattern(std::size_t n) {
  Bytes out(n);
  for (std::size_t i = 0; i < n; ++i) {
    out[i] = static_cast<std::uint8_t>(((i * 7 + i / 97) % 16) << 4 | ((i * 5 + 3 + i / 13) % 16));
  }
  return out;
}

Bytes Expected(Bytes screen, const Bytes& bytes, int width, int height, int order, int x, int y,
               int transparent) {
  return hotaru_test::PlacePictureBytes(std::move(screen), bytes, width, height, order, x, y,
                                        transparent);
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Show(const RECT& r) {
  return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
         std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

class PictureDecoderTest : public hotaru_test::PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    picture_ = core::AllocPicture("VbufDIB");
    core::Screen.UpdateRect = kSentinelRect;
  }

  int Decode(const Bytes& file, std::int16_t x = 0, std::int16_t y = 0) {
    const MemHandle block = core::MemAlloc(static_cast<std::uint32_t>(file.size()), "pk:TEST.VGR");
    if (!file.empty()) std::memcpy(core::MemLock(block), file.data(), file.size());
    core::MemUnlock(block);
    const int result = resources::DecodePicture(picture_, block, x, y);
    EXPECT_EQ(GlobalUnlock(block), FALSE) << "file left locked";
    EXPECT_EQ(GlobalUnlock(picture_), FALSE) << "picture left locked";
    core::MemFree(block);
    return result;
  }

  // Top row first.
  Bytes Screen() {
    auto* base = static_cast<std::uint8_t*>(core::MemLock(picture_));
    Bytes out(static_cast<std::size_t>(W * H));
    for (int y = 0; y < H; ++y)
      std::memcpy(&out[static_cast<std::size_t>(y * W)], core::PixelAt(base, 0, y), W);
    core::MemUnlock(picture_);
    return out;
  }
  std::uint8_t Pixel(int x, int y) { return Screen()[static_cast<std::size_t>(y * W + x)]; }
  void Fill(std::uint8_t colour) { core::FillPictureRect(picture_, 0, 0, W - 1, H - 1, colour); }

  static constexpr RECT kSentinelRect{-7, -7, -7, -7};
  MemHandle picture_ = 0;
};

TEST_F(PictureDecoderTest, DamagedFilesAreToldAndTheProgramGoesOn) {
  FileFields good;
  good.right = 0;
  good.size = 4;
  good.stream = LiteralStream({1, 2, 3, 4});
  good.palette[0] = 0xFF;

  FileFields wrong_magic = good;
  wrong_magic.magic = "VELACODF";
  Bytes short_header = PictureFile(good);
  short_header.resize(47);
  FileFields version2 = good;
  version2.version = 2;
  FileFields version127 = good;
  version127.version = 127;

  struct Case {
    const char* what;
    Bytes file;
    const char* text;
    bool palette_set;
  } cases[] = {
      {"wrong magic", PictureFile(wrong_magic), "データ異常です", false},
      {"header cut short", short_header, "データ異常です", false},
      {"empty file", {}, "データ異常です", false},
      {"version 2", PictureFile(version2), "非対応のバージョンです", true},
      {"version 127", PictureFile(version127), "非対応のバージョンです", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fill(7);
    for (auto& e : core::Screen.ScreenPalette) e = PALETTEENTRY{1, 2, 3, 0};
    const std::size_t boxes = backend().message_boxes().size();
    EXPECT_EQ(Decode(c.file), 0);
    ASSERT_EQ(backend().message_boxes().size(), boxes + 1);
    const auto& box = backend().message_boxes().back();
    EXPECT_EQ(box.text, c.text);
    EXPECT_EQ(box.caption, "ＧＲＰ展開エラー");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONHAND));
    EXPECT_EQ(Screen(), Bytes(static_cast<std::size_t>(W * H), 7)) << "something was drawn";
    EXPECT_TRUE(SameRect(core::Screen.UpdateRect, kSentinelRect));
    EXPECT_EQ(core::Screen.ScreenPalette[0].peRed, c.palette_set ? 255 : 1);
    EXPECT_EQ(core::Screen.ScreenPalette[15].peRed, c.palette_set ? 255 : 1);
  }
}

TEST_F(PictureDecoderTest, PaletteComesFromTheFileWithColourFifteenWhite) {
  FileFields f;
  f.size = 4;
  f.stream = LiteralStream({0, 0, 0, 0});
  // Colour 0 = (1, 2, 3), colour 1 = (15, 8, 0), colour 14 = (15, 0, 7), colour 15 = (0, 0, 0).
  f.palette[0] = 0x12;
  f.palette[1] = 0x3F;
  f.palette[2] = 0x80;
  f.palette[21] = 0xF0;
  f.palette[22] = 0x70;
  // Colour-table slots the decoder must set (0–15) and one it must leave (16).
  auto* base = static_cast<std::uint8_t*>(core::MemLock(picture_));
  std::memset(core::ColourTable(base), 0xEE, 34);
  core::MemUnlock(picture_);

  ASSERT_EQ(Decode(PictureFile(f)), 1);
  const PALETTEENTRY expected[] = {{17, 34, 51, 1}, {255, 136, 0, 1}, {0, 0, 0, 1}};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(core::Screen.ScreenPalette[k].peRed, expected[k].peRed) << k;
    EXPECT_EQ(core::Screen.ScreenPalette[k].peGreen, expected[k].peGreen) << k;
    EXPECT_EQ(core::Screen.ScreenPalette[k].peBlue, expected[k].peBlue) << k;
    EXPECT_EQ(core::Screen.ScreenPalette[k].peFlags, PC_RESERVED) << k;
  }
  EXPECT_EQ(core::Screen.ScreenPalette[14].peRed, 255);
  EXPECT_EQ(core::Screen.ScreenPalette[14].peGreen, 0);
  EXPECT_EQ(core::Screen.ScreenPalette[14].peBlue, 119);
  EXPECT_EQ(core::Screen.ScreenPalette[15].peRed, 255);
  EXPECT_EQ(core::Screen.ScreenPalette[15].peGreen, 255);
  EXPECT_EQ(core::Screen.ScreenPalette[15].peBlue, 255);
  EXPECT_EQ(core::Screen.ScreenPalette[15].peFlags, PC_RESERVED);

  base = static_cast<std::uint8_t*>(core::MemLock(picture_));
  const std::uint8_t* table = core::ColourTable(base);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(table[2 * i], i);
    EXPECT_EQ(table[2 * i + 1], 0);
  }
  EXPECT_EQ(table[32], 0xEE);
  core::MemUnlock(picture_);
}

TEST_F(PictureDecoderTest, NothingToDrawAnswersZeroWithoutAMessage) {
  FileFields base;
  base.right = 0;
  base.size = 4;
  base.stream = LiteralStream({0x11, 0x22, 0x33, 0x44});
  struct Case {
    const char* what;
    std::int16_t left, top, right, bottom;
    std::int32_t size;
  } cases[] = {
      {"unpacked size 0", 0, 0, 0, 0, 0},
      {"negative unpacked size", 0, 0, 0, 0, -1},
      {"right left of left", 5, 0, 4, 0, 4},
      {"bottom above top", 0, 3, 0, 2, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fill(7);
    core::Screen.ScreenPalette[15] = PALETTEENTRY{1, 1, 1, 0};
    FileFields f = base;
    f.left = c.left;
    f.top = c.top;
    f.right = c.right;
    f.bottom = c.bottom;
    f.size = c.size;
    EXPECT_EQ(Decode(PictureFile(f)), 0);
    EXPECT_TRUE(backend().message_boxes().empty());
    EXPECT_EQ(Screen(), Bytes(static_cast<std::size_t>(W * H), 7));
    EXPECT_EQ(core::Screen.ScreenPalette[15].peRed, 255) << "the palette is set first";
  }
}

TEST_F(PictureDecoderTest, ANegativeVersionByteDrawsNothingYetSucceeds) {
  FileFields f;
  f.left = 1;
  f.right = 1;
  f.top = 2;
  f.bottom = 2;
  f.version = 0x80;
  f.size = 4;
  f.stream = LiteralStream({0x11, 0x22, 0x33, 0x44});
  Fill(7);
  EXPECT_EQ(Decode(PictureFile(f)), 1);
  EXPECT_TRUE(SameRect(core::Screen.UpdateRect, RECT{8, 2, 16, 3}))
      << Show(core::Screen.UpdateRect);
  EXPECT_EQ(Screen(), Bytes(static_cast<std::size_t>(W * H), 7));
}

TEST_F(PictureDecoderTest, BothPixelOrdersPlaceEachByteWhereItBelongs) {
  // A 16 × 2 rectangle at (1 × 8, 3), drawn with the offset (3, 5): corner (11, 8).
  Bytes values(16);
  for (int i = 0; i < 16; ++i)
    values[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i << 4 | (15 - i));
  for (std::uint8_t order : {0, 1}) {
    SCOPED_TRACE(order == 0 ? "columns" : "rows");
    Fill(16);
    FileFields f;
    f.left = 1;
    f.right = 2;
    f.top = 3;
    f.bottom = 4;
    f.version = order;
    f.size = 16;
    f.stream = LiteralStream(values);
    ASSERT_EQ(Decode(PictureFile(f), 3, 5), 1);
    for (int i = 0; i < 16; ++i) {
      // Rows: 8 bytes a row. Columns: 2 bytes (the two rows) a column.
      const int c = order == 1 ? i % 8 : i / 2;
      const int r = order == 1 ? i / 8 : i % 2;
      EXPECT_EQ(Pixel(11 + 2 * c, 8 + r), i) << "byte " << i;
      EXPECT_EQ(Pixel(12 + 2 * c, 8 + r), 15 - i) << "byte " << i;
    }
    EXPECT_EQ(Pixel(10, 8), 16);
    EXPECT_EQ(Pixel(27, 9), 16);
    EXPECT_EQ(Pixel(11, 7), 16);
    EXPECT_EQ(Pixel(11, 10), 16);
    EXPECT_TRUE(SameRect(core::Screen.UpdateRect, RECT{11, 8, 27, 10}))
        << Show(core::Screen.UpdateRect);
  }
}

TEST_F(PictureDecoderTest, FullScreenPicturesInBothOrders) {
  const Bytes values = Pattern(128000);
  for (std::uint8_t order : {0, 1}) {
    SCOPED_TRACE(order == 0 ? "columns" : "rows");
    Fill(16);
    FileFields f;
    f.right = 79;
    f.bottom = 399;
    f.version = order;
    f.size = 128000;
    f.stream = LiteralStream(values);
    ASSERT_EQ(Decode(PictureFile(f)), 1);
    EXPECT_EQ(Screen(), Expected(Bytes(W * H, 16), values, 640, 400, order, 0, 0, 0xFF));
    EXPECT_TRUE(SameRect(core::Screen.UpdateRect, RECT{0, 0, 640, 400}))
        << Show(core::Screen.UpdateRect);
  }
}

TEST_F(PictureDecoderTest, TheTransparentColourKeepsWhatWasThere) {
  const Bytes values = {0x01, 0x20, 0x00, 0x33, 0x4F, 0xF4, 0x30, 0x03};
  struct Case {
    std::uint8_t transparent;
    Bytes row;  // the first 16 pixels of row 0 afterwards
  } cases[] = {
      {0, {9, 1, 2, 9, 9, 9, 3, 3, 4, 15, 15, 4, 3, 9, 9, 3}},
      {3, {0, 1, 2, 0, 0, 0, 9, 9, 4, 15, 15, 4, 9, 0, 0, 9}},
      {16, {0, 1, 2, 0, 0, 0, 3, 3, 4, 15, 15, 4, 3, 0, 0, 3}},
      {255, {0, 1, 2, 0, 0, 0, 3, 3, 4, 15, 15, 4, 3, 0, 0, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.transparent));
    Fill(9);
    FileFields f;
    f.right = 1;
    f.transparent = c.transparent;
    f.size = 8;
    f.stream = LiteralStream(values);
    ASSERT_EQ(Decode(PictureFile(f)), 1);
    const Bytes screen = Screen();
    EXPECT_EQ(Bytes(screen.begin(), screen.begin() + 16), c.row);
    EXPECT_EQ(screen[16], 9);
  }
}

TEST_F(PictureDecoderTest, PixelsOutsideThePictureAreNotWritten) {
  struct Case {
    const char* what;
    std::int16_t left, top, right, bottom;
    std::int16_t x, y;
    std::uint8_t order;
    RECT update;
  } cases[] = {
      {"offset up and left", 0, 0, 1, 3, -3, -2, 1, {0, 0, 13, 2}},
      {"offset down and right, columns", 0, 0, 1, 3, 630, 398, 0, {630, 398, 640, 400}},
      {"rectangle reaching out of the picture", 78, 398, 81, 401, 0, 0, 1, {624, 398, 640, 400}},
      {"the same in columns", 78, 398, 81, 401, 0, 0, 0, {624, 398, 640, 400}},
      {"only the last pixel shows", 0, 0, 1, 0, -15, 0, 1, {0, 0, 1, 1}},
      {"wholly right of the picture", 0, 0, 1, 3, 700, 0, 1, core::kEmptyUpdateRect},
      {"wholly left of the picture", 0, 0, 1, 3, -17, 0, 0, core::kEmptyUpdateRect},
      {"wholly below the picture", 0, 49, 1, 50, 0, 360, 1, core::kEmptyUpdateRect},
      {"offsets at their extremes", 4095, 32767, 4095, 32767, 32767, 32767, 1,
       core::kEmptyUpdateRect},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fill(16);
    core::Screen.UpdateRect = kSentinelRect;
    FileFields f;
    f.left = c.left;
    f.top = c.top;
    f.right = c.right;
    f.bottom = c.bottom;
    f.version = c.order;
    const int width = (c.right - c.left + 1) * 8, height = c.bottom - c.top + 1;
    f.size = width / 2 * height;
    const Bytes values = Pattern(static_cast<std::size_t>(f.size));
    f.stream = LiteralStream(values);
    EXPECT_EQ(Decode(PictureFile(f), c.x, c.y), 1);
    EXPECT_EQ(Screen(), Expected(Bytes(W * H, 16), values, width, height, c.order, c.x + c.left * 8,
                                 c.y + c.top, 0xFF));
    EXPECT_TRUE(SameRect(core::Screen.UpdateRect, c.update)) << Show(core::Screen.UpdateRect);
  }
}

TEST_F(PictureDecoderTest, AHugeRectangleWithAShortStreamDrawsWhatTheStreamHolds) {
  FileFields f;
  f.left = -4096;
  f.right = 4095;
  f.top = -3;
  f.bottom = 30000;
  f.version = 1;
  f.size = 0x7FFFFFFF;
  // Rows of 32768 bytes; the picture's columns 0–639 are bytes 16384–16703 of a row.
  StreamWriter w(StreamKind::kPicture);
  w.Literal(0x12);
  while (w.produced() < 32768 * 4) w.Back(1, 18);
  f.stream = w.bytes();
  Fill(16);
  EXPECT_EQ(Decode(PictureFile(f)), 1);
  const Bytes screen = Screen();
  // Only screen row 0 (the rectangle's row 3) is within the bytes the stream holds.
  Bytes expected(W * H, 16);
  for (int x = 0; x < W; ++x) expected[static_cast<std::size_t>(x)] = x % 2 == 0 ? 1 : 2;
  EXPECT_EQ(screen, expected);
  EXPECT_TRUE(SameRect(core::Screen.UpdateRect, RECT{0, 0, 640, 400}))
      << Show(core::Screen.UpdateRect);
}

TEST_F(PictureDecoderTest, AnUnpackedSizeBeyondTheRectangleDrawsOnlyTheRectangle) {
  for (std::uint8_t order : {0, 1}) {
    SCOPED_TRACE(order == 0 ? "columns" : "rows");
    Fill(16);
    FileFields f;
    f.right = 0;
    f.bottom = 1;  // 8 × 2: 8 bytes
    f.version = order;
    f.size = 1000;
    const Bytes values = Pattern(40);
    f.stream = LiteralStream(values);
    ASSERT_EQ(Decode(PictureFile(f)), 1);
    EXPECT_EQ(Screen(), Expected(Bytes(W * H, 16), Bytes(values.begin(), values.begin() + 8), 8, 2,
                                 order, 0, 0, 0xFF));
  }
}

TEST_F(PictureDecoderTest, AStreamThatEndsEarlyDrawsWhatItHas) {
  struct Case {
    const char* what;
    Bytes stream;
    int drawn;  // bytes
  } cases[] = {
      {"after three literals", LiteralStream({0x12, 0x34, 0x56}), 3},
      {"in the middle of a reference",
       StreamWriter(StreamKind::kPicture)
           .Literal(0x12)
           .Literal(0x34)
           .Literal(0x56)
           .Raw(0x00)
           .bytes(),
       3},
      {"no stream at all", {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Fill(16);
    FileFields f;
    f.right = 1;  // 16 × 1: 8 bytes
    f.size = 8;
    f.stream = c.stream;
    EXPECT_EQ(Decode(PictureFile(f)), 1);
    const Bytes values = {0x12, 0x34, 0x56};
    EXPECT_EQ(Screen(), Expected(Bytes(W * H, 16), Bytes(values.begin(), values.begin() + c.drawn),
                                 16, 1, 1, 0, 0, 0xFF));
  }
}

TEST_F(PictureDecoderTest, ReferencesReadTheSameDictionaryAsTheBlocks) {
  // Before anything is written the dictionary is zero: two pixels of colour 0 per byte.
  StreamWriter w(StreamKind::kPicture);
  w.Reference(0, 3).Literal(0xAB).Back(1, 18);
  FileFields f;
  f.right = 2;  // 24 × 1: 12 bytes
  f.size = 12;
  f.stream = w.bytes();
  Fill(9);
  ASSERT_EQ(Decode(PictureFile(f)), 1);
  const Bytes screen = Screen();
  const Bytes expected = {0, 0, 0, 0, 0, 0, 0xA, 0xB, 0xA, 0xB, 0xA, 0xB};
  EXPECT_EQ(Bytes(screen.begin(), screen.begin() + 12), expected);
  for (int x = 12; x < 24; x += 2) {
    EXPECT_EQ(screen[static_cast<std::size_t>(x)], 0xA);
    EXPECT_EQ(screen[static_cast<std::size_t>(x + 1)], 0xB);
  }
  EXPECT_EQ(screen[24], 9);
}

// The decoder unpacks and draws a window's worth at a time: streams of any bytes, whose
// references reach back across those windows, must draw what the plain ring unpacks, in
// both orders, with and without a transparent colour, whole or cut by the picture's edges.
TEST_F(PictureDecoderTest, AnyStreamDrawsWhatTheRingUnpacks) {
  struct Case {
    const char* what;
    std::uint8_t order, transparent;
    std::int16_t x, y;
  } cases[] = {
      {"columns", 0, 0xFF, 0, 0},
      {"rows", 1, 0xFF, 0, 0},
      {"columns, colour 3 clear", 0, 3, 0, 0},
      {"rows, colour 3 clear", 1, 3, 0, 0},
      {"columns, cut left and top", 0, 0xFF, -3, -7},
      {"rows, cut right and bottom", 1, 0xFF, 5, 9},
  };
  std::uint32_t seed = 99;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes stream(40000);
    for (auto& b : stream) {
      seed = seed * 1103515245 + 12345;
      b = static_cast<std::uint8_t>(seed >> 16);
    }
    const Bytes values =
        hotaru_test::RingUnpack(StreamKind::kPicture, stream.data(), stream.size(), 128000);
    Fill(16);
    FileFields f;
    f.right = 79;
    f.bottom = 399;
    f.version = c.order;
    f.transparent = c.transparent;
    f.size = 128000;
    f.stream = stream;
    ASSERT_EQ(Decode(PictureFile(f), c.x, c.y), 1);
    EXPECT_EQ(Screen(),
              Expected(Bytes(W * H, 16), values, 640, 400, c.order, c.x, c.y, c.transparent));
  }
}

TEST(PictureStream, LiteralsAreDeinterleaved) {
  // Stored bits 7, 5, 3, 1 are the left pixel, bits 6, 4, 2, 0 the right pixel.
  const std::pair<std::uint8_t, std::uint8_t> cases[] = {
      {0xAA, 0xF0}, {0x55, 0x0F}, {0x80, 0x80}, {0x40, 0x08},
      {0x02, 0x10}, {0x01, 0x01}, {0xC3, 0x99}, {0x00, 0x00},
  };
  for (const auto& [stored, value] : cases) {
    const Bytes stream = {0xFF, stored};
    std::uint8_t out = 0x5A;
    EXPECT_EQ(resources::UnpackPictureStream(stream.data(), stream.size(), &out, 1), 1u);
    EXPECT_EQ(out, value) << std::hex << int{stored};
  }
}

TEST(PictureStream, AgreesWithTheRingOnAnyBytes) {
  std::uint32_t seed = 12345;
  for (int round = 0; round < 200; ++round) {
    Bytes stream(static_cast<std::size_t>(round * 37 % 5000));
    for (auto& b : stream) {
      seed = seed * 1103515245 + 12345;
      b = static_cast<std::uint8_t>(seed >> 16);
    }
    const std::size_t limit = round % 2 == 0 ? 128000 : static_cast<std::size_t>(round * 11);
    const Bytes model =
        hotaru_test::RingUnpack(StreamKind::kPicture, stream.data(), stream.size(), limit);
    Bytes out(limit, 0xCD);
    const std::size_t produced =
        resources::UnpackPictureStream(stream.data(), stream.size(), out.data(), out.size());
    ASSERT_EQ(produced, model.size()) << round;
    ASSERT_TRUE(std::equal(model.begin(), model.end(), out.begin())) << round;
  }
}

TEST(PictureHeader, ParsesEveryField) {
  FileFields f;
  f.left = -2;
  f.top = 300;
  f.right = 79;
  f.bottom = -1;
  f.version = 0x81;
  f.transparent = 200;
  f.size = -128000;
  f.palette[0] = 0x12;
  f.palette[23] = 0xEF;
  const Bytes file = PictureFile(f);
  resources::PictureHeader h{};
  ASSERT_TRUE(resources::ParsePictureHeader(file.data(), file.size(), &h));
  EXPECT_TRUE(h.magic_ok);
  EXPECT_EQ(h.left, -2);
  EXPECT_EQ(h.top, 300);
  EXPECT_EQ(h.right, 79);
  EXPECT_EQ(h.bottom, -1);
  EXPECT_EQ(h.version, -127);
  EXPECT_EQ(h.transparent, 200);
  EXPECT_EQ(h.unpacked_size, -128000);
  EXPECT_EQ(h.palette[0][0], 1);
  EXPECT_EQ(h.palette[0][1], 2);
  EXPECT_EQ(h.palette[15][1], 14);
  EXPECT_EQ(h.palette[15][2], 15);
  EXPECT_EQ(h.width(), 656);
  EXPECT_EQ(h.height(), -300);
  EXPECT_FALSE(resources::ParsePictureHeader(file.data(), 47, &h));
}

}  // namespace
