// The backgrounds the ending's pages and the music mode show beyond the six of the story:
// each one of the story's pictures seen again, mirrored or turned half round the screen.
// Their colours are those the background table gives their numbers, so each page is a
// new colouring of a familiar place.
#include <cstdio>
#include <utility>
#include <vector>

#include "backgrounds.h"
#include "ending_backgrounds.h"
#include "scene_colours.h"

namespace demo_art {
namespace {

enum class Turn { kMirror, kHalfRound };

struct Variant {
  int picture;
  Artwork (*paint)();
  Turn turn;
};

constexpr Variant kVariants[] = {
    {7, PaintNightField, Turn::kMirror},     {8, PaintRiverside, Turn::kMirror},
    {9, PaintRoom, Turn::kMirror},           {11, PaintSky, Turn::kMirror},
    {12, PaintStreet, Turn::kMirror},        {15, PaintShrine, Turn::kMirror},
    {16, PaintNightField, Turn::kHalfRound}, {17, PaintRiverside, Turn::kHalfRound},
    {19, PaintSky, Turn::kHalfRound},        {24, PaintStreet, Turn::kHalfRound},
    {27, PaintShrine, Turn::kHalfRound},     {45, PaintRoom, Turn::kHalfRound},
};

Artwork Repaint(const Variant& v) {
  Artwork art = v.paint();
  const int w = art.image.width, h = art.image.height;
  std::vector<std::uint8_t> turned(art.image.pixels.size());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int from = v.turn == Turn::kMirror ? w - 1 - x : (x + w / 2) % w;
      turned[static_cast<std::size_t>(y * w + x)] =
          art.image.pixels[static_cast<std::size_t>(y * w + from)];
    }
  art.image.pixels = std::move(turned);
  char name[16];
  std::snprintf(name, sizeof name, "S%02d.VGR", v.picture);
  art.file_name = name;
  art.options.palette = ScenePalette16(v.picture);
  return art;
}

template <int Picture>
Artwork PaintVariant() {
  for (const Variant& v : kVariants)
    if (v.picture == Picture) return Repaint(v);
  return Artwork{};
}

}  // namespace

const std::vector<CatalogueEntry>& EndingBackgrounds() {
  static const std::vector<CatalogueEntry> entries = {
      {"S07.VGR", PaintVariant<7>},  {"S08.VGR", PaintVariant<8>},  {"S09.VGR", PaintVariant<9>},
      {"S11.VGR", PaintVariant<11>}, {"S12.VGR", PaintVariant<12>}, {"S15.VGR", PaintVariant<15>},
      {"S16.VGR", PaintVariant<16>}, {"S17.VGR", PaintVariant<17>}, {"S19.VGR", PaintVariant<19>},
      {"S24.VGR", PaintVariant<24>}, {"S27.VGR", PaintVariant<27>}, {"S45.VGR", PaintVariant<45>},
  };
  return entries;
}

}  // namespace demo_art
