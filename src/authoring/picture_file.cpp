#include "authoring/picture_file.h"

#include <cstring>

#include "authoring/lz_parse.h"
#include "resources/picture_decoder.h"

namespace authoring {
namespace {

std::uint16_t PlainWord(std::uint16_t word) { return word; }

constexpr LzStreamStyle kPictureStyle{true, &InterleavePixels, &PlainWord};

void PutLe(std::uint8_t* p, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Spreads the 4 bits of a pixel to every other bit, starting at bit 7 for `shift` 0 and at
// bit 6 for `shift` 1.
std::uint8_t Spread(std::uint8_t pixel, int shift) {
  std::uint8_t out = 0;
  for (int k = 0; k < 4; ++k)
    if (pixel & (8 >> k)) out |= static_cast<std::uint8_t>(0x80 >> (2 * k + shift));
  return out;
}

std::uint8_t Gather(std::uint8_t stored, int shift) {
  std::uint8_t out = 0;
  for (int k = 0; k < 4; ++k)
    if (stored & (0x80 >> (2 * k + shift))) out |= static_cast<std::uint8_t>(8 >> k);
  return out;
}

}  // namespace

std::uint8_t InterleavePixels(std::uint8_t value) {
  return static_cast<std::uint8_t>(Spread(value >> 4, 0) | Spread(value & 15, 1));
}

std::uint8_t DeinterleavePixels(std::uint8_t stored) {
  return static_cast<std::uint8_t>(Gather(stored, 0) << 4 | Gather(stored, 1));
}

std::vector<std::uint8_t> PictureBytes(const PictureImage& image, PixelOrder order) {
  const auto w = static_cast<std::size_t>(image.width);
  const auto h = static_cast<std::size_t>(image.height);
  std::vector<std::uint8_t> bytes;
  bytes.reserve(w * h / 2);
  auto pair = [&](std::size_t x, std::size_t y) {
    const std::uint8_t* p = image.pixels.data() + y * w + x;
    return static_cast<std::uint8_t>(p[0] << 4 | p[1]);
  };
  if (order == PixelOrder::kColumns) {
    for (std::size_t x = 0; x < w; x += 2)
      for (std::size_t y = 0; y < h; ++y) bytes.push_back(pair(x, y));
  } else {
    for (std::size_t y = 0; y < h; ++y)
      for (std::size_t x = 0; x < w; x += 2) bytes.push_back(pair(x, y));
  }
  return bytes;
}

std::vector<std::uint8_t> PackPictureStream(std::span<const std::uint8_t> unpacked) {
  return WriteLzStream(ParseOptimal(unpacked, LzMatchFinder::kBinaryTree), kPictureStyle);
}

std::string CheckPicture(const PictureImage& image, const PictureOptions& options) {
  if (image.width <= 0 || image.width % 8 != 0)
    return "the width (" + std::to_string(image.width) + ") must be a positive multiple of 8";
  if (image.height <= 0) return "the height must be positive";
  if (image.width > kScreenWidth || image.height > kScreenHeight)
    return "the picture (" + std::to_string(image.width) + " x " + std::to_string(image.height) +
           ") is larger than the screen (640 x 400)";
  if (image.pixels.size() !=
      static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
    return "the pixel count does not match the size";
  if (options.x < 0 || options.x % 8 != 0)
    return "the left edge (" + std::to_string(options.x) + ") must be a multiple of 8, 0 or more";
  if (options.y < 0) return "the top edge must be 0 or more";
  if (options.x + image.width > kScreenWidth || options.y + image.height > kScreenHeight)
    return "the picture placed at " + std::to_string(options.x) + "," + std::to_string(options.y) +
           " reaches outside the screen (640 x 400)";
  for (std::size_t i = 0; i < image.pixels.size(); ++i) {
    if (image.pixels[i] > 15) {
      const auto w = static_cast<std::size_t>(image.width);
      return "pixel " + std::to_string(i % w) + "," + std::to_string(i / w) + " has colour " +
             std::to_string(image.pixels[i]) + "; a picture has colours 0 to 15";
    }
  }
  for (const Rgb4& c : options.palette) {
    if (c.r > 15 || c.g > 15 || c.b > 15) return "a palette channel is above 15";
  }
  return "";
}

std::string BuildPictureFile(const PictureImage& image, const PictureOptions& options,
                             std::vector<std::uint8_t>* file) {
  if (std::string error = CheckPicture(image, options); !error.empty()) return error;
  const std::vector<std::uint8_t> unpacked = PictureBytes(image, options.order);
  const std::vector<std::uint8_t> stream = PackPictureStream(unpacked);

  file->assign(resources::kPictureFileHeaderSize, 0);
  std::uint8_t* h = file->data();
  std::memcpy(h, resources::kPictureMagic, sizeof resources::kPictureMagic);
  // 48 values of 4 bits, red, green, blue of each colour in turn, high half first.
  for (int k = 0; k < 16; ++k) {
    const Rgb4& c = options.palette[static_cast<std::size_t>(k)];
    const std::uint8_t values[3] = {c.r, c.g, c.b};
    for (int j = 0; j < 3; ++j) {
      const int n = 3 * k + j;
      h[8 + n / 2] |= static_cast<std::uint8_t>(n % 2 == 0 ? values[j] << 4 : values[j]);
    }
  }
  PutLe(h + 32, static_cast<std::uint32_t>(options.x / 8), 2);
  PutLe(h + 34, static_cast<std::uint32_t>(options.y), 2);
  PutLe(h + 36, static_cast<std::uint32_t>((options.x + image.width) / 8 - 1), 2);
  PutLe(h + 38, static_cast<std::uint32_t>(options.y + image.height - 1), 2);
  h[40] = static_cast<std::uint8_t>(options.order);
  h[41] = options.transparent;
  PutLe(h + 44, static_cast<std::uint32_t>(unpacked.size()), 4);
  file->insert(file->end(), stream.begin(), stream.end());
  return "";
}

}  // namespace authoring
