// Turning a window's client surface (system palette indexes or RGB) into the pixels of a
// 32-bit window surface, one to one, scaled by nearest neighbour or smoothly.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "platform/common/window_table.h"

namespace platform::sdl {

// Where the 8-bit channels sit in a 32-bit pixel.
struct Rgb32Format {
  int red_shift = 16;
  int green_shift = 8;
  int blue_shift = 0;
};

// The 32-bit pixel of each system palette index.
using PaletteColours = std::array<std::uint32_t, 256>;
PaletteColours MapPalette(const PALETTEENTRY* system_palette, Rgb32Format format);

// Writes rows.size() rows of columns.size() pixels starting at `out` (rows `pitch` bytes
// apart): destination pixel (i, j) shows surface pixel (columns[i], rows[j]). Every index
// must lie inside the surface. `colours` is used for an indexed surface.
void DrawSurface(const ClientSurface& surface, const PaletteColours& colours, Rgb32Format format,
                 std::span<const int> columns, std::span<const int> rows, std::uint8_t* out,
                 int pitch);

// Two neighbouring surface pixels of one axis and the weight of the second, 0 to 256.
struct SurfaceBlend {
  int first = 0, second = 0, weight = 0;
};

// As DrawSurface, each destination pixel blending the four surface pixels its column and
// row name.
void DrawSurfaceSmooth(const ClientSurface& surface, const PaletteColours& colours,
                       Rgb32Format format, std::span<const SurfaceBlend> columns,
                       std::span<const SurfaceBlend> rows, std::uint8_t* out, int pitch);

}  // namespace platform::sdl
