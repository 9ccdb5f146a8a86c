#include "previews.h"

#include <cstdint>
#include <system_error>

#include "authoring/png_io.h"
#include "scene_colours.h"
#include "visuals/character_slots.h"

namespace demo_art {
namespace {

namespace fs = std::filesystem;
using authoring::IndexedImage;
using authoring::Rgb8;

constexpr int kW = authoring::kScreenWidth;
constexpr int kH = authoring::kScreenHeight;
// Shown around a character in its own preview, where the game would show the scene.
constexpr Rgb8 kBackdrop{96, 104, 96};

std::vector<Rgb8> FilePalette(const Artwork& art) {
  std::vector<Rgb8> out;
  for (const authoring::Rgb4& c : art.options.palette) {
    out.push_back(Rgb8{authoring::EightBitLevel(c.r), authoring::EightBitLevel(c.g),
                       authoring::EightBitLevel(c.b)});
  }
  out[15] = Rgb8{255, 255, 255};
  if (art.kind == ArtKind::kCharacter || art.kind == ArtKind::kEffectFrame)
    out[art.options.transparent] = kBackdrop;
  return out;
}

// Draws a picture onto a screen of palette indexes as the game's decoder places it: at its
// own position plus (dx, 0), its transparent colour skipped.
void Place(const Artwork& art, int dx, std::vector<std::uint8_t>* screen) {
  const authoring::PictureImage& image = art.image;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const std::uint8_t colour = image.pixels[static_cast<std::size_t>(y * image.width + x)];
      const int sx = art.options.x + dx + x, sy = art.options.y + y;
      if (colour == art.options.transparent || sx < 0 || sy < 0 || sx >= kW || sy >= kH) continue;
      (*screen)[static_cast<std::size_t>(sy * kW + sx)] = colour;
    }
  }
}

// Four screens side by side, two by two, each with a 16-colour palette of its own.
IndexedImage Grid(const std::vector<std::uint8_t> (&screens)[4],
                  const std::vector<Rgb8> (&palettes)[4]) {
  IndexedImage grid{2 * kW, 2 * kH, std::vector<std::uint8_t>(4 * kW * kH), {}};
  for (int tile = 0; tile < 4; ++tile) {
    grid.palette.insert(grid.palette.end(), palettes[tile].begin(), palettes[tile].end());
    const int ox = (tile % 2) * kW, oy = (tile / 2) * kH;
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        grid.pixels[static_cast<std::size_t>((oy + y) * 2 * kW + ox + x)] =
            static_cast<std::uint8_t>(16 * tile +
                                      screens[tile][static_cast<std::size_t>(y * kW + x)]);
      }
    }
  }
  return grid;
}

std::string WriteColourings(const Artwork& background, const std::vector<const Artwork*>& cast,
                            bool dimmed, const fs::path& path) {
  const int picture = std::stoi(background.file_name.substr(1, 2));
  std::vector<std::uint8_t> screen = background.image.pixels;
  // The cast in slots 0 (left), 2 (centre) and 1 (right), as far as there are characters.
  constexpr int kSlotOrder[3] = {0, 2, 1};
  for (std::size_t i = 0; i < cast.size() && i < 3; ++i) {
    Place(*cast[i], visuals::SlotX[kSlotOrder[i]], &screen);
  }
  std::vector<std::uint8_t> screens[4] = {screen, screen, screen, screen};
  std::vector<Rgb8> palettes[4];
  for (int variant = 0; variant < 4; ++variant) {
    palettes[variant] = ScenePalette(picture + 50 * variant);
    if (dimmed) palettes[variant] = Dimmed(palettes[variant]);
  }
  return authoring::WriteIndexedPng(path, Grid(screens, palettes));
}

// The title screen as the game composes it: the night scene, then the title pictures over
// it, in the last one's colours (they all share one palette).
std::string WriteTitleComposition(const std::vector<Artwork>& pictures, const fs::path& dir) {
  constexpr const char* kLayers[] = {"OP2_BACK.VGR", "TITLE.VGR", "TITLE2.VGR"};
  std::vector<std::uint8_t> screen(static_cast<std::size_t>(kW * kH), 0);
  const Artwork* last = nullptr;
  for (const char* name : kLayers) {
    for (const Artwork& art : pictures) {
      if (art.file_name != name) continue;
      Place(art, 0, &screen);
      last = &art;
    }
  }
  if (!last) return "";
  return authoring::WriteIndexedPng(dir / "title-composed.png",
                                    IndexedImage{kW, kH, screen, FilePalette(*last)});
}

}  // namespace

std::string WritePreviews(const std::vector<Artwork>& pictures, const fs::path& dir) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) return "cannot create " + dir.string() + ": " + ec.message();

  std::vector<const Artwork*> cast;
  for (const Artwork& art : pictures) {
    if (art.kind == ArtKind::kCharacter) cast.push_back(&art);
  }
  for (const Artwork& art : pictures) {
    const std::string stem = art.file_name.substr(0, art.file_name.find('.'));
    IndexedImage image{art.image.width, art.image.height, art.image.pixels, FilePalette(art)};
    if (std::string error = authoring::WriteIndexedPng(dir / (stem + ".png"), image);
        !error.empty())
      return error;
    if (art.kind != ArtKind::kBackground) continue;
    // The four colourings bare, then with the characters over them as the game dims the
    // scene under story text.
    if (std::string error = WriteColourings(art, {}, false, dir / (stem + "-colourings.png"));
        !error.empty())
      return error;
    if (std::string error = WriteColourings(art, cast, true, dir / (stem + "-scene.png"));
        !error.empty())
      return error;
  }
  return WriteTitleComposition(pictures, dir);
}

}  // namespace demo_art
