#include "scene_colours.h"

#include "visuals/background_table.h"

namespace demo_art {

std::vector<authoring::Rgb8> ScenePalette(int n) {
  PALETTEENTRY entries[16];
  visuals::BuildBackgroundPalette(static_cast<std::uint8_t>(n), entries);
  std::vector<authoring::Rgb8> out;
  for (int i = 0; i < 16; ++i) {
    out.push_back(authoring::Rgb8{entries[i].peRed, entries[i].peGreen, entries[i].peBlue});
  }
  out[15] = authoring::Rgb8{255, 255, 255};
  return out;
}

authoring::Palette16 ScenePalette16(int n) {
  const std::vector<authoring::Rgb8> colours = ScenePalette(n);
  authoring::Palette16 out{};
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = authoring::Rgb4{authoring::FourBitLevel(colours[i].r),
                             authoring::FourBitLevel(colours[i].g),
                             authoring::FourBitLevel(colours[i].b)};
  }
  return out;
}

std::vector<authoring::Rgb8> Dimmed(std::vector<authoring::Rgb8> palette) {
  // Colour 15, the text's white, keeps its full brightness.
  for (std::size_t i = 0; i < palette.size() && i < 15; ++i) {
    authoring::Rgb8& c = palette[i];
    c = authoring::Rgb8{static_cast<std::uint8_t>(c.r * 10 / 15),
                        static_cast<std::uint8_t>(c.g * 10 / 15),
                        static_cast<std::uint8_t>(c.b * 10 / 15)};
  }
  return palette;
}

}  // namespace demo_art
