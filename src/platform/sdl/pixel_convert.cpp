#include "platform/sdl/pixel_convert.h"

#include <cstring>
#include <vector>

namespace platform::sdl {
namespace {

std::uint32_t Pack(Rgb32Format f, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return (r << f.red_shift) | (g << f.green_shift) | (b << f.blue_shift);
}

// Columns that are one surface row's consecutive pixels need no column lookup.
bool Consecutive(std::span<const int> columns) {
  return !columns.empty() &&
         columns.back() - columns.front() == static_cast<int>(columns.size()) - 1 &&
         (columns.size() < 2 || columns[1] == columns[0] + 1);
}

}  // namespace

PaletteColours MapPalette(const PALETTEENTRY* system_palette, Rgb32Format format) {
  PaletteColours out{};
  for (std::size_t i = 0; i < out.size(); ++i) {
    const PALETTEENTRY& e = system_palette[i];
    out[i] = Pack(format, e.peRed, e.peGreen, e.peBlue);
  }
  return out;
}

void DrawSurface(const ClientSurface& surface, const PaletteColours& colours, Rgb32Format format,
                 std::span<const int> columns, std::span<const int> rows, std::uint8_t* out,
                 int pitch) {
  const std::size_t n = columns.size();
  if (n == 0) return;
  const bool straight = Consecutive(columns);
  const std::size_t width = static_cast<std::size_t>(surface.width);
  const std::size_t bytes = surface.indexed ? 1 : 3;
  for (std::size_t j = 0; j < rows.size(); ++j) {
    auto* dst = reinterpret_cast<std::uint32_t*>(out + static_cast<std::ptrdiff_t>(j) * pitch);
    const std::size_t row = static_cast<std::size_t>(rows[j]) * width;
    // Scaling repeats rows, ours here in full screen or the program's own stretch into the
    // surface: a row like the one before is copied, not converted again.
    if (j > 0) {
      const std::size_t previous = static_cast<std::size_t>(rows[j - 1]) * width;
      if (rows[j] == rows[j - 1] ||
          std::memcmp(&surface.pixels[row * bytes], &surface.pixels[previous * bytes],
                      width * bytes) == 0) {
        std::memcpy(dst, out + static_cast<std::ptrdiff_t>(j - 1) * pitch, n * 4);
        continue;
      }
    }
    if (surface.indexed) {
      const std::uint8_t* src = surface.pixels.data() + row;
      if (straight) {
        src += columns.front();
        for (std::size_t i = 0; i < n; ++i) dst[i] = colours[src[i]];
      } else {
        for (std::size_t i = 0; i < n; ++i) dst[i] = colours[src[columns[i]]];
      }
    } else {
      const std::uint8_t* src = surface.pixels.data() + row * 3;
      for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t* p = src + static_cast<std::size_t>(columns[i]) * 3;
        dst[i] = Pack(format, p[0], p[1], p[2]);
      }
    }
  }
}

namespace {

// One surface row blended along the columns, 8 fractional bits, three channels a pixel.
void BlendRow(const ClientSurface& surface, const PaletteColours& colours, Rgb32Format format,
              std::span<const SurfaceBlend> columns, int row, std::vector<std::uint32_t>* out) {
  const std::size_t width = static_cast<std::size_t>(surface.width);
  out->resize(columns.size() * 3);
  auto channels = [&](int column, std::uint32_t* rgb) {
    const std::size_t at = static_cast<std::size_t>(row) * width + static_cast<std::size_t>(column);
    if (surface.indexed) {
      const std::uint32_t c = colours[surface.pixels[at]];
      rgb[0] = (c >> format.red_shift) & 0xFF;
      rgb[1] = (c >> format.green_shift) & 0xFF;
      rgb[2] = (c >> format.blue_shift) & 0xFF;
    } else {
      const std::uint8_t* p = &surface.pixels[at * 3];
      rgb[0] = p[0];
      rgb[1] = p[1];
      rgb[2] = p[2];
    }
  };
  std::uint32_t a[3], b[3];
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const SurfaceBlend& c = columns[i];
    channels(c.first, a);
    channels(c.second, b);
    const auto w = static_cast<std::uint32_t>(c.weight);
    for (int k = 0; k < 3; ++k)
      (*out)[i * 3 + static_cast<std::size_t>(k)] = a[k] * (256 - w) + b[k] * w;
  }
}

}  // namespace

void DrawSurfaceSmooth(const ClientSurface& surface, const PaletteColours& colours,
                       Rgb32Format format, std::span<const SurfaceBlend> columns,
                       std::span<const SurfaceBlend> rows, std::uint8_t* out, int pitch) {
  const std::size_t n = columns.size();
  if (n == 0) return;
  std::vector<std::uint32_t> upper, lower;
  int upper_row = -1, lower_row = -1;
  for (std::size_t j = 0; j < rows.size(); ++j) {
    auto* dst = reinterpret_cast<std::uint32_t*>(out + static_cast<std::ptrdiff_t>(j) * pitch);
    const SurfaceBlend& r = rows[j];
    if (j > 0 && r.first == rows[j - 1].first && r.second == rows[j - 1].second &&
        r.weight == rows[j - 1].weight) {
      std::memcpy(dst, out + static_cast<std::ptrdiff_t>(j - 1) * pitch, n * 4);
      continue;
    }
    if (upper_row != r.first) {
      // The row below of the last pass is often this pass's row above.
      if (lower_row == r.first) {
        std::swap(upper, lower);
        std::swap(upper_row, lower_row);
      } else {
        BlendRow(surface, colours, format, columns, r.first, &upper);
        upper_row = r.first;
      }
    }
    if (lower_row != r.second) {
      BlendRow(surface, colours, format, columns, r.second, &lower);
      lower_row = r.second;
    }
    const auto w = static_cast<std::uint32_t>(r.weight);
    for (std::size_t i = 0; i < n; ++i) {
      std::uint32_t rgb[3];
      for (std::size_t k = 0; k < 3; ++k) {
        rgb[k] = (upper[i * 3 + k] * (256 - w) + lower[i * 3 + k] * w + 32768) >> 16;
      }
      dst[i] = Pack(format, rgb[0], rgb[1], rgb[2]);
    }
  }
}

}  // namespace platform::sdl
