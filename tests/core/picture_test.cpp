#include "core/picture.h"
#include "core/memory_blocks.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "support/platform_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using core::MemHandle;
using namespace core;

constexpr int W = core::kPictureWidth;
constexpr int H = core::kPictureHeight;

class PictureTest : public hotaru_test::PlatformTest {
 protected:
  // Whole block contents.
  static Bytes Block(MemHandle picture) {
    auto* p = static_cast<std::uint8_t*>(core::MemLock(picture));
    Bytes out(p, p + GlobalSize(picture));
    core::MemUnlock(picture);
    return out;
  }
  // Pixels, top row first, read through the bottom-up layout.
  static Bytes Screen(MemHandle picture) {
    const Bytes block = Block(picture);
    Bytes out(static_cast<std::size_t>(W * H));
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x)
        out[static_cast<std::size_t>(y * W + x)] = block[core::PixelOffset(x, y)];
    }
    return out;
  }
  // Every pixel set to a value of its own position (mod 256) plus `salt`.
  static void Scribble(MemHandle picture, int salt) {
    auto* p = static_cast<std::uint8_t*>(core::MemLock(picture));
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x)
        *core::PixelAt(p, x, y) = static_cast<std::uint8_t>(x * 3 + y * 7 + salt);
    }
    core::MemUnlock(picture);
  }
};

TEST_F(PictureTest, AllocPictureLaysOutABottomUpBitmap) {
  const MemHandle picture = core::AllocPicture("VmemDIB");
  ASSERT_EQ(core::Memory.MemBlockCount, 1);
  EXPECT_EQ(core::Memory.MemBlockTable[0].size, 257064u);
  EXPECT_STREQ(core::Memory.MemBlockTable[0].name, "VmemDIB         ");
  EXPECT_EQ(GlobalUnlock(picture), FALSE) << "handed back locked";

  const Bytes block = Block(picture);
  const Bytes header = {40,   0,    0, 0, 0x80, 2, 0, 0, 0x90, 1, 0, 0, 1, 0, 8, 0, 0, 0, 0, 0,
                        0x00, 0xE8, 3, 0, 0,    0, 0, 0, 0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(Bytes(block.begin(), block.begin() + 40), header);
  for (int i = 0; i < 256; ++i) {
    const int expected = i < 32 ? i : 0;
    EXPECT_EQ(block[40 + 2 * i] | block[41 + 2 * i] << 8, expected) << "slot " << i;
  }
  EXPECT_EQ(std::count(block.begin() + 552, block.end(), 0), 257064 - 552);
}

TEST(PictureLayout, PixelOffsetsRunBottomUp) {
  EXPECT_EQ(core::PixelOffset(0, 0), 1064u + 399u * 640u);
  EXPECT_EQ(core::PixelOffset(639, 0), 1064u + 399u * 640u + 639u);
  EXPECT_EQ(core::PixelOffset(0, 399), 1064u);
  EXPECT_EQ(core::PixelOffset(639, 399), 1064u + 639u);
  EXPECT_EQ(core::PixelOffset(5, 1) - core::PixelOffset(5, 2), 640u)
      << "one row down is 640 bytes back";
  EXPECT_EQ(core::PixelOffset(639, 0) + 1, core::kPictureBlockSize);
}

TEST_F(PictureTest, FillPictureRectFillsInclusiveCornersCutToThePicture) {
  struct Case {
    const char* what;
    std::int16_t x1, y1, x2, y2;
    int left, top, right, bottom;  // expected filled area, inclusive; right < left: none
  } cases[] = {
      {"whole picture", 0, 0, 639, 399, 0, 0, 639, 399},
      {"one pixel", 7, 9, 7, 9, 7, 9, 7, 9},
      {"odd widths", 3, 5, 9, 6, 3, 5, 9, 6},
      {"reaching out up and left", -5, -5, 2, 1, 0, 0, 2, 1},
      {"reaching out down and right", 630, 395, 700, 500, 630, 395, 639, 399},
      {"covering more than the picture", -32768, -32768, 32767, 32767, 0, 0, 639, 399},
      {"wholly outside", 640, 0, 700, 10, 1, 0, 0, 0},
      {"above the picture", 0, -10, 10, -1, 1, 0, 0, 0},
      {"corners swapped", 10, 10, 5, 5, 1, 0, 0, 0},
  };
  const MemHandle picture = core::AllocPicture("VbufDIB");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Scribble(picture, 1);
    Bytes expected = Screen(picture);
    for (int y = c.top; y <= c.bottom; ++y) {
      for (int x = c.left; x <= c.right; ++x) expected[static_cast<std::size_t>(y * W + x)] = 12;
    }
    const Bytes before = Block(picture);
    core::FillPictureRect(picture, c.x1, c.y1, c.x2, c.y2, 12);
    EXPECT_EQ(Screen(picture), expected);
    const Bytes after = Block(picture);
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + core::kPixelOffset, after.begin()))
        << "header or colour table touched";
  }
}

TEST_F(PictureTest, CopiesMoveOnlyPixels) {
  const MemHandle dst = core::AllocPicture("VmemDIB");
  const MemHandle src = core::AllocPicture("VbufDIB");
  Scribble(src, 100);
  // A different colour table in the source, which no copy may carry over.
  auto* s = static_cast<std::uint8_t*>(core::MemLock(src));
  std::memset(core::ColourTable(s), 0xAB, core::kColourTableSize);
  core::MemUnlock(src);

  struct Case {
    const char* what;
    RECT rect;
    int left, top, right, bottom;  // expected copied area, inclusive
  } cases[] = {
      {"inclusive corners", {10, 20, 12, 21}, 10, 20, 12, 21},
      {"one pixel", {639, 399, 639, 399}, 639, 399, 639, 399},
      {"reaching out of the picture", {-3, 390, 5, 420}, 0, 390, 5, 399},
      {"wholly outside", {700, 0, 800, 10}, 1, 0, 0, 0},
      {"inverted", {5, 5, 4, 5}, 1, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Scribble(dst, 0);
    Bytes expected = Screen(dst);
    const Bytes from = Screen(src);
    for (int y = c.top; y <= c.bottom; ++y) {
      for (int x = c.left; x <= c.right; ++x) {
        expected[static_cast<std::size_t>(y * W + x)] = from[static_cast<std::size_t>(y * W + x)];
      }
    }
    core::CopyPictureRect(dst, src, &c.rect);
    EXPECT_EQ(Screen(dst), expected);
  }

  const Bytes dst_before = Block(dst);
  core::CopyPicture(dst, src);
  const Bytes dst_after = Block(dst);
  EXPECT_EQ(Screen(dst), Screen(src));
  EXPECT_TRUE(
      std::equal(dst_before.begin(), dst_before.begin() + core::kPixelOffset, dst_after.begin()));

  core::ClearPicture(dst);
  EXPECT_EQ(Screen(dst), Bytes(static_cast<std::size_t>(W * H), 0));
  EXPECT_TRUE(
      std::equal(dst_before.begin(), dst_before.begin() + core::kPixelOffset, Block(dst).begin()));
}

TEST_F(PictureTest, BlocksTooSmallForAPictureAreLeftAlone) {
  const MemHandle small = core::MemAlloc(core::kPictureBlockSize - 1, "small");
  auto* p = static_cast<std::uint8_t*>(core::MemLock(small));
  std::memset(p, 0x5A, core::kPictureBlockSize - 1);
  core::MemUnlock(small);
  const MemHandle picture = core::AllocPicture("VbufDIB");
  Scribble(picture, 3);
  const RECT all{0, 0, 639, 399};

  core::FillPictureRect(small, 0, 0, 639, 399, 1);
  core::ClearPicture(small);
  core::CopyPicture(small, picture);
  core::CopyPictureRect(small, picture, &all);
  core::CopyPicture(picture, small);
  core::CopyPictureRect(picture, small, &all);
  core::FillPictureRect(0, 0, 0, 639, 399, 1);

  const Bytes block = Block(small);
  EXPECT_EQ(std::count(block.begin(), block.end(), 0x5A), static_cast<long>(block.size()));
  EXPECT_EQ(GlobalUnlock(small), FALSE);
  EXPECT_EQ(GlobalUnlock(picture), FALSE);
  const Bytes unchanged = Screen(picture);
  Scribble(picture, 3);
  EXPECT_EQ(Screen(picture), unchanged);
}

TEST(Rects, ExtendAndUnionGrowTheRectangle) {
  RECT r = core::kEmptyUpdateRect;
  core::RectExtend(&r, 100, 50, 116, 66);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right, 116);
  EXPECT_EQ(r.bottom, 66);

  core::RectExtend(&r, 120, 40, 130, 60);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(r.right, 130);
  EXPECT_EQ(r.bottom, 66);

  const RECT s{-5, 60, 110, 400};
  core::RectUnion(&r, &s);
  EXPECT_EQ(r.left, -5);
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(r.right, 130);
  EXPECT_EQ(r.bottom, 400);

  RECT t;
  core::RectSet(&t, 1, 2, 3, 4);
  core::RectCopy(&r, &t);
  EXPECT_EQ(r.left, 1);
  EXPECT_EQ(r.bottom, 4);
}

TEST(PaletteCopy, CopiesColoursAndMarksBothReserved) {
  PALETTEENTRY src[17], dst[17];
  for (int i = 0; i < 17; ++i) {
    src[i] =
        PALETTEENTRY{static_cast<BYTE>(i), static_cast<BYTE>(i + 1), static_cast<BYTE>(i + 2), 0};
    dst[i] = PALETTEENTRY{200, 200, 200, 7};
  }
  core::PaletteCopy(dst, src);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(dst[i].peRed, i);
    EXPECT_EQ(dst[i].peGreen, i + 1);
    EXPECT_EQ(dst[i].peBlue, i + 2);
    EXPECT_EQ(dst[i].peFlags, PC_RESERVED);
    EXPECT_EQ(src[i].peFlags, PC_RESERVED);
  }
  EXPECT_EQ(dst[16].peRed, 200) << "only 16 entries";
  EXPECT_EQ(src[16].peFlags, 0);
}

}  // namespace
