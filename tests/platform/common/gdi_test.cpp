// Drawing a bitmap into a window's client surface on the emulated palette display.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/window_state.h"
#include "platform/common/window_table.h"
#include "support/platform_fixture.h"

namespace {

class GdiTest : public hotaru_test::PlatformTest {};

// A palette display stores system palette indexes: 10 + the colour table's entry, at most
// 245. Spans are moved sixteen pixels at a time while the table runs 0, 1, 2 …; a pixel
// whose entry breaks that run, anywhere in a span, must still go through the table.
TEST_F(GdiTest, SetDIBitsStoresEachPixelThroughTheColourTable) {
  ASSERT_TRUE(OpenWindow());
  constexpr int kWidth = 52;  // three whole spans of 16 and a tail of 4
  struct Bitmap {
    BITMAPINFOHEADER header;
    std::uint16_t table[256];
  } bitmap{};
  bitmap.header.biSize = sizeof(BITMAPINFOHEADER);
  bitmap.header.biWidth = kWidth;
  bitmap.header.biHeight = -2;  // top-down
  bitmap.header.biPlanes = 1;
  bitmap.header.biBitCount = 8;
  bitmap.header.biCompression = BI_RGB;
  for (int v = 0; v < 256; ++v) bitmap.table[v] = static_cast<std::uint16_t>(v);
  bitmap.table[20] = 3;     // breaks the run: values from 20 on go through the table
  bitmap.table[250] = 240;  // past the last free entry: 245
  std::vector<std::uint8_t> bits(kWidth * 2);
  for (int i = 0; i < kWidth * 2; ++i)
    bits[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i % 17);
  bits[5] = 20;             // in the first span of row 0
  bits[kWidth + 40] = 250;  // in the third span of row 1
  bits[kWidth - 1] = 19;    // in the tail

  HDC dc = GetDC(core::Window.MainWindow);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(SetDIBitsToDevice(dc, 3, 1, kWidth, 2, 0, 0, 0, 2, bits.data(),
                              reinterpret_cast<const BITMAPINFO*>(&bitmap), DIB_PAL_COLORS),
            2);
  ReleaseDC(core::Window.MainWindow, dc);

  const platform::WindowRecord* w = platform::FindWindowRecord(core::Window.MainWindow);
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(w->surface.indexed);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const unsigned v = bits[static_cast<std::size_t>(y * kWidth + x)];
      const unsigned expected = std::min(10u + bitmap.table[v], 245u);
      const std::size_t at =
          static_cast<std::size_t>(1 + y) * static_cast<std::size_t>(w->surface.width) +
          static_cast<std::size_t>(3 + x);
      EXPECT_EQ(w->surface.pixels[at], expected) << "pixel " << x << ", " << y;
    }
  }
}

}  // namespace
