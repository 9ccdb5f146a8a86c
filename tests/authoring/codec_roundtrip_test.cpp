// The encoders against the game's own decoders: whatever the block and picture encoders
// write, the unpacker and the picture decoder give back exactly.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "authoring/block_encoder.h"
#include "authoring/lz_parse.h"
#include "authoring/picture_file.h"
#include "core/memory_blocks.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "resources/block_unpacker.h"
#include "resources/picture_decoder.h"
#include "support/platform_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using authoring::PictureImage;
using authoring::PictureOptions;
using authoring::PixelOrder;

Bytes RandomBytes(std::size_t n, std::uint32_t seed, unsigned alphabet = 256) {
  std::mt19937 rng(seed);
  Bytes out(n);
  for (auto& b : out) b = static_cast<std::uint8_t>(rng() % alphabet);
  return out;
}

// Script-like text: words and markup from a small vocabulary, as the message data holds.
Bytes TextLike(std::size_t n) {
  static const char* const kWords[] = {"\x81\x75", "hotaru ",   "no ",       "hikari ",
                                       "@c1 ",     "wait 30\n", "music 4\n", "\x82\xa0\x82\xa2",
                                       "\n"};
  std::mt19937 rng(3);
  Bytes out;
  while (out.size() < n) {
    std::string w = kWords[rng() % std::size(kWords)];
    out.insert(out.end(), w.begin(), w.end());
  }
  out.resize(n);
  return out;
}

Bytes RunsOf18(std::size_t runs) {
  Bytes out;
  for (std::size_t i = 0; i < runs; ++i)
    out.insert(out.end(), 18, static_cast<std::uint8_t>(i * 71));
  return out;
}

struct DataCase {
  const char* name;
  Bytes data;
};

std::vector<DataCase> DataCases() {
  return {
      {"empty", {}},
      {"one byte", {0x5A}},
      {"all zero", Bytes(70000, 0)},
      {"random", RandomBytes(50000, 1)},
      {"text", TextLike(120000)},
      {"runs of 18", RunsOf18(500)},
      {"few symbols", RandomBytes(30000, 2, 3)},
  };
}

TEST(BlockCodecTest, UnpackerGivesBackWhatWasPacked) {
  for (const DataCase& c : DataCases()) {
    Bytes block = authoring::PackBlock(c.data);
    ASSERT_GE(block.size(), 4u);
    EXPECT_EQ(resources::PackedBlockSize(block.data(), static_cast<std::uint32_t>(block.size())),
              static_cast<std::int32_t>(c.data.size()))
        << c.name;
    Bytes out(c.data.size() + 1, 0xEE);
    const std::size_t produced =
        resources::UnpackStream(block.data() + 4, block.size() - 4, out.data(), c.data.size());
    EXPECT_EQ(produced, c.data.size()) << c.name;
    out.resize(c.data.size());
    EXPECT_EQ(out, c.data) << c.name;
  }
}

TEST(BlockCodecTest, StoredFormIsInvertedWithZeroFlagsForLiterals) {
  // One literal 0x00: flag bit 0, stored as 0xFF.
  EXPECT_EQ(authoring::PackBlock(Bytes{0x00}), (Bytes{1, 0, 0, 0, 0x00, 0xFF}));
  // 18 zeros: one reference (flag bit 1) of length 18 into the all-zero ring, its word
  // stored inverted (length 18 is 15 in the low half, stored as 0).
  const Bytes block = authoring::PackBlock(Bytes(18, 0));
  ASSERT_EQ(block.size(), 7u);
  EXPECT_EQ(block[4], 0x80);
  EXPECT_EQ(block[5] & 15, 0);
}

class CodecTest : public hotaru_test::PlatformTest {
 protected:
  core::MemHandle LoadIntoBlock(const Bytes& bytes, const char* name) {
    core::MemHandle handle = core::MemAlloc(static_cast<std::uint32_t>(bytes.size()), name);
    std::memcpy(core::MemLock(handle), bytes.data(), bytes.size());
    core::MemUnlock(handle);
    return handle;
  }
};

TEST_F(CodecTest, UnpackBlockMakesABlockOfTheUnpackedSize) {
  const Bytes data = TextLike(5000);
  const Bytes block = authoring::PackBlock(data);
  core::MemHandle unpacked =
      resources::UnpackBlock(block.data(), static_cast<std::uint32_t>(block.size()), "EVENT DATA");
  ASSERT_EQ(GlobalSize(unpacked), data.size());
  const auto* p = static_cast<const std::uint8_t*>(core::MemLock(unpacked));
  EXPECT_EQ(Bytes(p, p + data.size()), data);
  core::MemUnlock(unpacked);
}

// Pictures of a few kinds, pixels 0 to 15.
PictureImage MakePicture(const std::string& kind, int width, int height) {
  PictureImage image;
  image.width = width;
  image.height = height;
  image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  std::mt19937 rng(static_cast<std::uint32_t>(width * 7 + height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t v = 0;
      if (kind == "random") {
        v = static_cast<std::uint8_t>(rng() & 15);
      } else if (kind == "gradient") {
        // A diagonal gradient dithered with a 2 × 2 ordered pattern.
        const int level = (x + y) * 60 / (width + height);
        static const int kBayer[2][2] = {{0, 2}, {3, 1}};
        v = static_cast<std::uint8_t>(std::min(15, level / 4 + (level % 4 > kBayer[y % 2][x % 2])));
      } else if (kind == "stripes") {
        v = static_cast<std::uint8_t>((x / 36 + y / 3) % 16);  // runs of 18 bytes
      } else if (kind == "blobs") {
        v = static_cast<std::uint8_t>(((x / 40) ^ (y / 25)) % 4 == 0 ? 0 : (x / 40 + y / 25) % 16);
      }
      image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                   static_cast<std::size_t>(x)] = v;
    }
  }
  return image;
}

authoring::Palette16 TestPalette() {
  authoring::Palette16 palette;
  for (std::uint8_t k = 0; k < 16; ++k)
    palette[k] = authoring::Rgb4{k, static_cast<std::uint8_t>(15 - k),
                                 static_cast<std::uint8_t>((k * 5) % 16)};
  return palette;
}

struct PictureCase {
  const char* kind;
  int width, height, x, y;
  PixelOrder order;
  std::uint8_t transparent;
  int offset_x = 0;  // the caller's offset DecodePicture is given
};

TEST_F(CodecTest, DecoderDrawsWhatWasEncoded) {
  const PictureCase cases[] = {
      {"random", 640, 400, 0, 0, PixelOrder::kColumns, 255},
      {"gradient", 640, 400, 0, 0, PixelOrder::kRows, 255},
      {"gradient", 640, 400, 0, 0, PixelOrder::kColumns, 255},
      {"stripes", 320, 200, 160, 100, PixelOrder::kColumns, 255},
      {"stripes", 320, 200, 160, 100, PixelOrder::kRows, 255},
      {"zero", 8, 1, 632, 399, PixelOrder::kRows, 255},
      {"zero", 64, 48, 0, 0, PixelOrder::kColumns, 16},
      {"random", 8, 400, 0, 0, PixelOrder::kColumns, 255},
      // Transparent colour 0 over a filled picture: the blobs' zeros leave it showing.
      {"blobs", 640, 400, 0, 0, PixelOrder::kColumns, 0},
      {"blobs", 200, 120, 40, 30, PixelOrder::kRows, 0},
      {"random", 96, 80, 16, 8, PixelOrder::kRows, 7, 120},
  };
  constexpr std::uint8_t kBase = 9;
  const authoring::Palette16 palette = TestPalette();
  core::MemHandle picture = core::AllocPicture("VbufDIB");
  for (const PictureCase& c : cases) {
    SCOPED_TRACE(std::string(c.kind) + " " + std::to_string(c.width) + "x" +
                 std::to_string(c.height) + " order " + std::to_string(static_cast<int>(c.order)) +
                 " transparent " + std::to_string(c.transparent));
    const PictureImage image = MakePicture(c.kind, c.width, c.height);
    PictureOptions options;
    options.x = c.x;
    options.y = c.y;
    options.order = c.order;
    options.transparent = c.transparent;
    options.palette = palette;
    Bytes file;
    ASSERT_EQ(authoring::BuildPictureFile(image, options, &file), "");

    core::FillPictureRect(picture, 0, 0, 639, 399, kBase);
    core::MemHandle loaded = LoadIntoBlock(file, "S01.VGR");
    ASSERT_EQ(resources::DecodePicture(picture, loaded, static_cast<std::int16_t>(c.offset_x), 0),
              1);
    core::MemFree(loaded);

    const int left = c.x + c.offset_x;
    EXPECT_EQ(core::Screen.UpdateRect.left, left);
    EXPECT_EQ(core::Screen.UpdateRect.top, c.y);
    EXPECT_EQ(core::Screen.UpdateRect.right, left + c.width);
    EXPECT_EQ(core::Screen.UpdateRect.bottom, c.y + c.height);
    for (int k = 0; k < 15; ++k) {
      EXPECT_EQ(core::Screen.ScreenPalette[k].peRed, palette[static_cast<std::size_t>(k)].r * 17)
          << k;
      EXPECT_EQ(core::Screen.ScreenPalette[k].peGreen, palette[static_cast<std::size_t>(k)].g * 17)
          << k;
      EXPECT_EQ(core::Screen.ScreenPalette[k].peBlue, palette[static_cast<std::size_t>(k)].b * 17)
          << k;
    }

    auto* base = core::LockPicture(picture);
    ASSERT_NE(base, nullptr);
    int wrong = 0;
    for (int y = 0; y < 400 && wrong < 5; ++y) {
      for (int x = 0; x < 640 && wrong < 5; ++x) {
        std::uint8_t want = kBase;
        if (x >= left && x < left + c.width && y >= c.y && y < c.y + c.height) {
          const std::uint8_t v =
              image.pixels[static_cast<std::size_t>(y - c.y) * static_cast<std::size_t>(c.width) +
                           static_cast<std::size_t>(x - left)];
          if (v != c.transparent) want = v;
        }
        if (*core::PixelAt(base, x, y) != want) {
          ADD_FAILURE() << "pixel " << x << "," << y << " is " << int(*core::PixelAt(base, x, y))
                        << ", want " << int(want);
          ++wrong;
        }
      }
    }
    core::MemUnlock(picture);
  }
}

TEST(PictureCodecTest, StreamUnpacksToThePictureBytesInBothOrders) {
  for (const char* kind : {"random", "gradient", "stripes", "zero"}) {
    const PictureImage image = MakePicture(kind, 640, 400);
    for (PixelOrder order : {PixelOrder::kColumns, PixelOrder::kRows}) {
      const Bytes bytes = authoring::PictureBytes(image, order);
      ASSERT_EQ(bytes.size(), 128000u);
      const Bytes stream = authoring::PackPictureStream(bytes);
      Bytes out(bytes.size());
      EXPECT_EQ(
          resources::UnpackPictureStream(stream.data(), stream.size(), out.data(), out.size()),
          bytes.size());
      EXPECT_EQ(out, bytes) << kind << " order " << static_cast<int>(order);
    }
  }
}

TEST(PictureCodecTest, LiteralsAreStoredInterleaved) {
  EXPECT_EQ(authoring::InterleavePixels(0xF0), 0xAA);  // left pixel at bits 7, 5, 3, 1
  EXPECT_EQ(authoring::InterleavePixels(0x0F), 0x55);
  EXPECT_EQ(authoring::InterleavePixels(0x81), 0x81);
  EXPECT_EQ(authoring::InterleavePixels(0x18), 0x42);
  for (int v = 0; v < 256; ++v) {
    const auto b = static_cast<std::uint8_t>(v);
    EXPECT_EQ(authoring::DeinterleavePixels(authoring::InterleavePixels(b)), b);
  }
}

TEST(PictureFileTest, HeaderHoldsTheRectangleAndPalette) {
  PictureImage image = MakePicture("random", 48, 20);
  PictureOptions options;
  options.x = 24;
  options.y = 10;
  options.order = PixelOrder::kRows;
  options.transparent = 3;
  options.palette = TestPalette();
  Bytes file;
  ASSERT_EQ(authoring::BuildPictureFile(image, options, &file), "");
  resources::PictureHeader header{};
  ASSERT_TRUE(resources::ParsePictureHeader(file.data(), file.size(), &header));
  EXPECT_TRUE(header.magic_ok);
  EXPECT_EQ(header.left, 3);
  EXPECT_EQ(header.top, 10);
  EXPECT_EQ(header.right, 8);  // (24 + 48) / 8 - 1, inclusive
  EXPECT_EQ(header.bottom, 29);
  EXPECT_EQ(header.version, 1);
  EXPECT_EQ(header.transparent, 3);
  EXPECT_EQ(header.unpacked_size, 48 * 20 / 2);
  for (int k = 0; k < 16; ++k) {
    EXPECT_EQ(header.palette[k][0], options.palette[static_cast<std::size_t>(k)].r);
    EXPECT_EQ(header.palette[k][1], options.palette[static_cast<std::size_t>(k)].g);
    EXPECT_EQ(header.palette[k][2], options.palette[static_cast<std::size_t>(k)].b);
  }
  // Colour 0 is (0, 15, 0) and colour 1 (1, 14, 5): high half first.
  EXPECT_EQ(file[8], 0x0F);
  EXPECT_EQ(file[9], 0x01);
  EXPECT_EQ(file[10], 0xE5);
}

TEST(PictureFileTest, RefusesWhatTheFormatCannotHold) {
  struct Case {
    const char* name;
    int width, height, x, y;
    std::uint8_t bad_pixel;
    const char* error_part;
  };
  const Case cases[] = {
      {"width not a multiple of 8", 12, 4, 0, 0, 0, "multiple of 8"},
      {"left edge not a multiple of 8", 16, 4, 4, 0, 0, "multiple of 8"},
      {"wider than the screen", 648, 4, 0, 0, 0, "larger than the screen"},
      {"reaches past the right edge", 64, 4, 600, 0, 0, "outside the screen"},
      {"reaches past the bottom", 64, 4, 0, 398, 0, "outside the screen"},
      {"pixel above 15", 8, 2, 0, 0, 16, "colours 0 to 15"},
  };
  for (const Case& c : cases) {
    PictureImage image = MakePicture("zero", c.width, c.height);
    image.pixels.back() = c.bad_pixel;
    PictureOptions options;
    options.x = c.x;
    options.y = c.y;
    Bytes file;
    const std::string error = authoring::BuildPictureFile(image, options, &file);
    EXPECT_NE(error.find(c.error_part), std::string::npos) << c.name << ": " << error;
  }
}

}  // namespace
