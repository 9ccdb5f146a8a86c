// The desktop icon, painted in a 1024 × 1024 design space and averaged over 4 × 4 samples
// per pixel, in integers only.
#include "app_icon.h"

#include <png.h>

#include <array>
#include <system_error>

namespace demo_art {
namespace {

constexpr int kSpace = 1024;  // design units across the icon
constexpr int kMargin = 48;   // the tile's distance from the icon's edge
constexpr int kCorner = 176;  // the tile's corner radius
constexpr int kSamples = 4;   // per pixel and direction

struct Rgb {
  int r, g, b;
};

struct Glow {
  int x, y, radius;
};

// The fireflies: a big one near the top, two small ones over the grass.
constexpr std::array kGlows = {Glow{600, 360, 300}, Glow{300, 590, 150}, Glow{790, 660, 110}};

bool InsideTile(int x, int y) {
  const int low = kMargin + kCorner;
  const int high = kSpace - kMargin - kCorner;
  if (x < kMargin || y < kMargin || x >= kSpace - kMargin || y >= kSpace - kMargin) return false;
  const int dx = x < low ? low - x : (x > high ? x - high : 0);
  const int dy = y < low ? low - y : (y > high ? y - high : 0);
  return dx * dx + dy * dy <= kCorner * kCorner;
}

// A gentle hill line: lower at the sides.
bool InGrass(int x, int y) {
  const int from_middle = x - 430;
  return y > 720 + from_middle * from_middle / 2600;
}

Rgb Mix(Rgb a, Rgb b, int weight /* 0..256 toward b */) {
  return {a.r + (b.r - a.r) * weight / 256, a.g + (b.g - a.g) * weight / 256,
          a.b + (b.b - a.b) * weight / 256};
}

Rgb Sample(int x, int y) {
  constexpr Rgb kSkyTop{12, 18, 48};
  constexpr Rgb kSkyLow{36, 58, 96};
  constexpr Rgb kGrass{14, 38, 30};
  constexpr Rgb kHalo{190, 250, 110};
  constexpr Rgb kCore{255, 252, 200};
  Rgb colour = InGrass(x, y) ? kGrass : Mix(kSkyTop, kSkyLow, y * 256 / kSpace);
  for (const Glow& glow : kGlows) {
    const int dx = x - glow.x;
    const int dy = y - glow.y;
    const int d2 = dx * dx + dy * dy;
    const int r2 = glow.radius * glow.radius;
    if (d2 >= r2) continue;
    // Falls off as the square of (1 − d²/r²), a soft edge without a visible rim.
    const int near = (r2 - d2) * 256 / r2;
    colour = Mix(colour, kHalo, near * near / 256);
    if (d2 * 64 < r2) colour = kCore;  // the core: within an eighth of the radius
  }
  return colour;
}

}  // namespace

std::vector<std::uint8_t> PaintAppIcon(int size) {
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(size) * size * 4);
  const int steps = size * kSamples;
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      int r = 0, g = 0, b = 0, covered = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          // The sample's centre in design units.
          const int x = (2 * (px * kSamples + sx) + 1) * kSpace / (2 * steps);
          const int y = (2 * (py * kSamples + sy) + 1) * kSpace / (2 * steps);
          if (!InsideTile(x, y)) continue;
          const Rgb c = Sample(x, y);
          r += c.r;
          g += c.g;
          b += c.b;
          ++covered;
        }
      }
      std::uint8_t* out = &rgba[(static_cast<std::size_t>(py) * size + px) * 4];
      if (covered > 0) {
        out[0] = static_cast<std::uint8_t>(r / covered);
        out[1] = static_cast<std::uint8_t>(g / covered);
        out[2] = static_cast<std::uint8_t>(b / covered);
      }
      out[3] = static_cast<std::uint8_t>(covered * 255 / (kSamples * kSamples));
    }
  }
  return rgba;
}

std::string WriteAppIcons(const std::filesystem::path& theme_dir, const std::string& name) {
  for (int size : kIconSizes) {
    const std::string side = std::to_string(size);
    const std::filesystem::path folder = theme_dir / (side + "x" + side) / "apps";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return "cannot create " + folder.string() + ": " + ec.message();
    const std::vector<std::uint8_t> rgba = PaintAppIcon(size);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(size);
    image.height = static_cast<png_uint_32>(size);
    image.format = PNG_FORMAT_RGBA;
    const std::filesystem::path file = folder / (name + ".png");
    if (!png_image_write_to_file(&image, file.c_str(), 0, rgba.data(), 0, nullptr)) {
      return "cannot write " + file.string() + ": " + image.message;
    }
  }
  return "";
}

}  // namespace demo_art
