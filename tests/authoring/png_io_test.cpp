#include "authoring/png_io.h"

#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <vector>

namespace {

using authoring::IndexedImage;
using authoring::Rgb8;
using Bytes = std::vector<std::uint8_t>;

// A PNG in any of libpng's simple formats (grey, RGB, RGBA…), made in memory.
Bytes SimplePng(std::uint32_t format, int width, int height, const Bytes& pixels) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = format;
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr));
  Bytes out(size);
  EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr));
  out.resize(size);
  return out;
}

IndexedImage Decode(const Bytes& png, std::vector<std::string>* warnings, std::string* error) {
  IndexedImage image;
  *error = authoring::DecodePng(png, &image, warnings);
  return image;
}

TEST(PngIoTest, PaletteImagesKeepTheirIndexes) {
  IndexedImage original;
  original.width = 3;
  original.height = 2;
  original.pixels = {0, 15, 3, 3, 1, 0};
  for (int k = 0; k < 40; ++k) original.palette.push_back(Rgb8{static_cast<std::uint8_t>(k), 2, 3});
  Bytes png;
  ASSERT_EQ(authoring::EncodeIndexedPng(original, &png), "");
  std::vector<std::string> warnings;
  std::string error;
  IndexedImage image = Decode(png, &warnings, &error);
  ASSERT_EQ(error, "");
  EXPECT_EQ(image.pixels, original.pixels);
  // Only the 16 colours a picture can have are kept.
  EXPECT_EQ(image.palette,
            std::vector<Rgb8>(original.palette.begin(), original.palette.begin() + 16));
  EXPECT_TRUE(warnings.empty());

  // Indexes above 15: the colours are numbered anew, in order of first appearance.
  original.pixels = {39, 20, 39, 0, 20, 20};
  ASSERT_EQ(authoring::EncodeIndexedPng(original, &png), "");
  image = Decode(png, &warnings, &error);
  ASSERT_EQ(error, "");
  EXPECT_EQ(image.pixels, (Bytes{0, 1, 0, 2, 1, 1}));
  EXPECT_EQ(image.palette, (std::vector<Rgb8>{{39, 2, 3}, {20, 2, 3}, {0, 2, 3}}));
  EXPECT_EQ(warnings.size(), 1u);
}

TEST(PngIoTest, OtherImagesAreReducedToTheirDistinctColours) {
  struct Case {
    const char* name;
    std::uint32_t format;
    Bytes pixels;  // 2 × 2
    Bytes indexes;
    std::vector<Rgb8> palette;
    bool warns;
  };
  const Case cases[] = {
      {"grey",
       PNG_FORMAT_GRAY,
       {0, 255, 255, 68},
       {0, 1, 1, 2},
       {{0, 0, 0}, {255, 255, 255}, {68, 68, 68}},
       false},
      {"rgb",
       PNG_FORMAT_RGB,
       {1, 2, 3, 1, 2, 3, 9, 9, 9, 1, 2, 4},
       {0, 0, 1, 2},
       {{1, 2, 3}, {9, 9, 9}, {1, 2, 4}},
       false},
      {"opaque rgba",
       PNG_FORMAT_RGBA,
       {5, 5, 5, 255, 6, 6, 6, 255, 5, 5, 5, 255, 5, 5, 5, 255},
       {0, 1, 0, 0},
       {{5, 5, 5}, {6, 6, 6}},
       false},
      {"translucent rgba",
       PNG_FORMAT_RGBA,
       {5, 5, 5, 0, 6, 6, 6, 255, 5, 5, 5, 255, 5, 5, 5, 255},
       {0, 1, 0, 0},
       {{5, 5, 5}, {6, 6, 6}},
       true},
  };
  for (const Case& c : cases) {
    std::vector<std::string> warnings;
    std::string error;
    IndexedImage image = Decode(SimplePng(c.format, 2, 2, c.pixels), &warnings, &error);
    ASSERT_EQ(error, "") << c.name;
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.pixels, c.indexes) << c.name;
    EXPECT_EQ(image.palette, c.palette) << c.name;
    EXPECT_EQ(!warnings.empty(), c.warns) << c.name;
  }
}

TEST(PngIoTest, RefusalsSayWhy) {
  Bytes grey17(17);
  for (int i = 0; i < 17; ++i)
    grey17[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 10);
  const Bytes good = SimplePng(PNG_FORMAT_GRAY, 17, 1, grey17);
  // Larger than a picture: refused from its header, before a pixel is inflated. Only the
  // header is given, so a decode would fail differently.
  const Bytes wide = SimplePng(PNG_FORMAT_GRAY, 641, 1, Bytes(641));
  const Bytes tall = SimplePng(PNG_FORMAT_GRAY, 1, 401, Bytes(401));
  struct Case {
    const char* name;
    Bytes png;
    const char* says;
  };
  const Case cases[] = {
      {"17 colours", good, "more than 16 colours"},
      {"not a PNG", Bytes{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}, "not a PNG"},
      {"cut short",
       Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2)), "bad PNG"},
      {"641 wide", Bytes(wide.begin(), wide.begin() + 33), "641 x 1 pixels"},
      {"401 tall", Bytes(tall.begin(), tall.begin() + 33), "1 x 401 pixels"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> warnings;
    std::string error;
    Decode(c.png, &warnings, &error);
    EXPECT_NE(error.find(c.says), std::string::npos) << c.name << ": " << error;
  }
}

}  // namespace
