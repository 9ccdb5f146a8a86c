#include "authoring/png_io.h"

#include <png.h>

#include <cstdio>
#include <cstring>

#include "authoring/pack_writer.h"

namespace authoring {
namespace {

// libpng reports errors by longjmp. Each call into it is made from a function that keeps
// only plain values of its own, writing its results through pointers into the caller's
// objects, so a jump back leaves nothing half-built on its stack.
struct PngErrors {
  char message[200] = "";
};

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
  auto* errors = static_cast<PngErrors*>(png_get_error_ptr(png));
  std::snprintf(errors->message, sizeof errors->message, "%s", message);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

struct MemoryReader {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, std::size_t count) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (count > reader->size - reader->at) png_error(png, "the file ends early");
  std::memcpy(out, reader->data + reader->at, count);
  reader->at += count;
}

void WriteToMemory(png_structp png, png_bytep data, std::size_t count) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + count);
}

void FlushNothing(png_structp) {}

// What the read gives before colours are reduced.
struct RawImage {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  bool indexed = false;       // one palette index per byte; else RGBA per pixel
  std::vector<Rgb8> palette;  // an indexed image's PLTE
  std::vector<std::uint8_t> bytes;
  std::vector<png_bytep> rows;
};

bool ReadRaw(png_structp png, png_infop info, MemoryReader* reader, RawImage* raw) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, reader, &ReadFromMemory);
  png_set_user_limits(png, kMaxPngReadWidth, kMaxPngReadHeight);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  // A mutated chunk would almost never carry a right checksum; the decoder behind is what
  // is being tried.
  png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
#endif
  png_read_info(png, info);
  raw->width = png_get_image_width(png, info);
  raw->height = png_get_image_height(png, info);
  const int colour_type = png_get_color_type(png, info);
  const int depth = png_get_bit_depth(png, info);
  std::size_t channels = 1;
  if (colour_type == PNG_COLOR_TYPE_PALETTE) {
    raw->indexed = true;
    png_set_packing(png);
    png_colorp colours = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &colours, &count) == 0)
      png_error(png, "a palette image without a palette");
    raw->palette.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
      raw->palette[static_cast<std::size_t>(i)] =
          Rgb8{colours[i].red, colours[i].green, colours[i].blue};
  } else {
    channels = 4;
    png_set_strip_16(png);
    if ((colour_type & PNG_COLOR_MASK_COLOR) == 0) {
      if (depth < 8) png_set_expand_gray_1_2_4_to_8(png);
      png_set_gray_to_rgb(png);
    }
    const bool has_trns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (has_trns) png_set_tRNS_to_alpha(png);
    if ((colour_type & PNG_COLOR_MASK_ALPHA) == 0 && !has_trns)
      png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const std::size_t row_bytes = png_get_rowbytes(png, info);
  if (row_bytes != raw->width * channels) png_error(png, "unexpected row layout");
  raw->bytes.resize(row_bytes * raw->height);
  raw->rows.resize(raw->height);
  for (std::uint32_t y = 0; y < raw->height; ++y) raw->rows[y] = raw->bytes.data() + y * row_bytes;
  png_read_image(png, raw->rows.data());
  png_read_end(png, nullptr);
  return true;
}

bool WriteIndexed(png_structp png, png_infop info, const IndexedImage& image,
                  const std::vector<png_color>* palette, const std::vector<png_bytep>* rows,
                  std::vector<std::uint8_t>* out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, out, &WriteToMemory, &FlushNothing);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
               static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_PALETTE,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_PLTE(png, info, palette->data(), static_cast<int>(palette->size()));
  png_write_info(png, info);
  png_write_image(png, const_cast<png_bytepp>(rows->data()));
  png_write_end(png, nullptr);
  return true;
}

// Numbers the distinct colours of the RGBA pixels in order of first appearance.
std::string ReduceColours(const RawImage& raw, IndexedImage* image,
                          std::vector<std::string>* warnings) {
  const std::size_t count = static_cast<std::size_t>(raw.width) * raw.height;
  image->pixels.resize(count);
  image->palette.clear();
  bool translucent = false;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* p = raw.bytes.data() + 4 * i;
    if (p[3] != 0xFF) translucent = true;
    const Rgb8 colour{p[0], p[1], p[2]};
    std::size_t k = 0;
    while (k < image->palette.size() && !(image->palette[k] == colour)) ++k;
    if (k == image->palette.size()) {
      if (k == 16) {
        char where[64];
        std::snprintf(where, sizeof where, " (the 17th, #%02x%02x%02x, first at %zu,%zu)", colour.r,
                      colour.g, colour.b, i % raw.width, i / raw.width);
        return std::string("more than 16 colours") + where;
      }
      image->palette.push_back(colour);
    }
    image->pixels[i] = static_cast<std::uint8_t>(k);
  }
  if (translucent) warnings->push_back("the alpha channel is ignored: pixels are taken as opaque");
  return "";
}

// The PNG's pixels as libpng gives them: palette indexes or RGBA. A picture larger than the
// game's screen is refused from its header, before a byte of it is inflated.
std::string DecodeRawPng(std::span<const std::uint8_t> png_bytes, RawImage* raw) {
  if (png_bytes.size() < 8 || png_sig_cmp(png_bytes.data(), 0, 8) != 0) return "not a PNG file";
  if (png_bytes.size() >= 24 && std::memcmp(png_bytes.data() + 12, "IHDR", 4) == 0) {
    auto be32 = [&](std::size_t at) {
      return std::uint32_t{png_bytes[at]} << 24 | std::uint32_t{png_bytes[at + 1]} << 16 |
             std::uint32_t{png_bytes[at + 2]} << 8 | std::uint32_t{png_bytes[at + 3]};
    };
    const std::uint32_t width = be32(16);
    const std::uint32_t height = be32(20);
    if (width > kMaxPngReadWidth || height > kMaxPngReadHeight)
      return "the image is " + std::to_string(width) + " x " + std::to_string(height) +
             " pixels; a picture is at most " + std::to_string(kMaxPngReadWidth) + " x " +
             std::to_string(kMaxPngReadHeight);
  }
  PngErrors errors;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &errors, &OnError, &OnWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return "out of memory";
  }
  MemoryReader reader{png_bytes.data(), png_bytes.size(), 0};
  const bool ok = ReadRaw(png, info, &reader, raw);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) return std::string("bad PNG: ") + errors.message;
  if (!raw->indexed) return "";
  for (std::uint8_t index : raw->bytes)
    if (index >= raw->palette.size())
      return "a pixel uses palette index " + std::to_string(index) + " beyond the palette's " +
             std::to_string(raw->palette.size()) + " entries";
  return "";
}

}  // namespace

std::string DecodePng(std::span<const std::uint8_t> png_bytes, IndexedImage* image,
                      std::vector<std::string>* warnings) {
  RawImage raw;
  if (std::string error = DecodeRawPng(png_bytes, &raw); !error.empty()) return error;

  image->width = static_cast<int>(raw.width);
  image->height = static_cast<int>(raw.height);
  if (!raw.indexed) return ReduceColours(raw, image, warnings);

  bool small_indexes = true;
  for (std::uint8_t index : raw.bytes)
    if (index >= 16) small_indexes = false;
  if (small_indexes) {
    image->pixels = std::move(raw.bytes);
    image->palette = raw.palette;
    if (image->palette.size() > 16) image->palette.resize(16);
    return "";
  }
  // Higher indexes: fall back to the colours they stand for.
  RawImage rgba;
  rgba.width = raw.width;
  rgba.height = raw.height;
  rgba.bytes.resize(raw.bytes.size() * 4);
  for (std::size_t i = 0; i < raw.bytes.size(); ++i) {
    const Rgb8& c = raw.palette[raw.bytes[i]];
    std::uint8_t* p = rgba.bytes.data() + 4 * i;
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
    p[3] = 0xFF;
  }
  if (std::string error = ReduceColours(rgba, image, warnings); !error.empty()) return error;
  warnings->push_back("palette indexes above 15 are in use: the colours were numbered anew");
  return "";
}

std::string ReadPngColours(const std::filesystem::path& path, int* width, int* height,
                           std::vector<Rgb8>* colours) {
  std::vector<std::uint8_t> bytes;
  if (std::string error = ReadWholeFile(path, &bytes); !error.empty()) return error;
  RawImage raw;
  if (std::string error = DecodeRawPng(bytes, &raw); !error.empty())
    return path.string() + ": " + error;
  const std::size_t count = std::size_t{raw.width} * raw.height;
  colours->resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* p = raw.bytes.data() + 4 * i;
    (*colours)[i] = raw.indexed ? raw.palette[raw.bytes[i]] : Rgb8{p[0], p[1], p[2]};
  }
  *width = static_cast<int>(raw.width);
  *height = static_cast<int>(raw.height);
  return "";
}

std::string ReadPng(const std::filesystem::path& path, IndexedImage* image,
                    std::vector<std::string>* warnings) {
  std::vector<std::uint8_t> bytes;
  if (std::string error = ReadWholeFile(path, &bytes); !error.empty()) return error;
  if (std::string error = DecodePng(bytes, image, warnings); !error.empty())
    return path.string() + ": " + error;
  return "";
}

std::string EncodeIndexedPng(const IndexedImage& image, std::vector<std::uint8_t>* out) {
  if (image.width <= 0 || image.height <= 0) return "an image needs a positive size";
  if (image.palette.empty() || image.palette.size() > 256) return "a palette has 1 to 256 colours";
  const auto w = static_cast<std::size_t>(image.width);
  const auto h = static_cast<std::size_t>(image.height);
  if (image.pixels.size() != w * h) return "the pixel count does not match the size";
  for (std::uint8_t index : image.pixels)
    if (index >= image.palette.size()) return "a pixel indexes beyond the palette";

  std::vector<png_color> palette;
  for (const Rgb8& c : image.palette) palette.push_back(png_color{c.r, c.g, c.b});
  std::vector<png_bytep> rows(h);
  for (std::size_t y = 0; y < h; ++y) rows[y] = const_cast<png_bytep>(image.pixels.data() + y * w);

  PngErrors errors;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &errors, &OnError, &OnWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return "out of memory";
  }
  out->clear();
  const bool ok = WriteIndexed(png, info, image, &palette, &rows, out);
  png_destroy_write_struct(&png, &info);
  if (!ok) return std::string("cannot encode the PNG: ") + errors.message;
  return "";
}

std::string WriteIndexedPng(const std::filesystem::path& path, const IndexedImage& image) {
  std::vector<std::uint8_t> bytes;
  if (std::string error = EncodeIndexedPng(image, &bytes); !error.empty()) return error;
  return WriteWholeFile(path, bytes);
}

}  // namespace authoring
