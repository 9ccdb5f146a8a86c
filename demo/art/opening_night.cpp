// The cloud passes' art: the night picture the clouds drift over, and the clouds.
#include <algorithm>

#include "opening_art.h"
#include "pixel_kit.h"

namespace demo_art {
namespace {

constexpr int kWidth = authoring::kScreenWidth;
constexpr int kHeight = authoring::kScreenHeight;
constexpr int kMoonX = 412, kMoonY = 118, kMoonRadius = 46;

// Picture values: the sky 0, the far hills 4, the moon's glow 8, the moon 12; 15 is the
// foreground, which the clouds pass behind.
enum : std::uint8_t { kSky = 0, kHills = 4, kGlow = 8, kMoon = 12, kForeground = 15 };

// Entry k (1 … 3) is the cloud over the sky at density k, and the cloud's tint over picture
// colour 4k; the game fills in the mixed entries.
constexpr std::uint8_t kNightColours[16][3] = {
    {1, 1, 4},  {4, 4, 8}, {5, 6, 10}, {10, 10, 13}, {2, 2, 6},    {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
    {4, 5, 10}, {0, 0, 0}, {0, 0, 0},  {0, 0, 0},    {15, 14, 11}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};

bool InForeground(int x, int y) {
  // A grassy bank rising to the right and a pine on the left, its branches in tiers.
  if (y > 352 + (kWidth - x) / 16 - ValueNoise8(x, 0, 16, 5) / 24) return true;
  const int trunk = 88;
  if (x >= trunk - 5 && x <= trunk + 5 && y > 150) return true;
  for (int tier = 0; tier < 5; ++tier) {
    const int top = 120 + tier * 48, reach = 30 + tier * 16;
    const int dy = y - top;
    if (dy < 0 || dy > 40) continue;
    // A wedge drooping to both sides, ragged at its edge.
    const int half = reach * dy / 40 + ValueNoise8(x, y, 6, 9 + tier) / 24;
    if (x > trunk - half && x < trunk + half) return true;
  }
  return false;
}

}  // namespace

Artwork PaintOpeningNight() {
  PixelCanvas c(kWidth, kHeight, kSky);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const int d2 = (x - kMoonX) * (x - kMoonX) + (y - kMoonY) * (y - kMoonY);
      if (d2 <= kMoonRadius * kMoonRadius) {
        c.Set(x, y, kMoon);
      } else if (d2 <= 3 * kMoonRadius * kMoonRadius) {
        // The glow thins out from the moon's rim.
        const int fall =
            (3 * kMoonRadius * kMoonRadius - d2) * 64 / (2 * kMoonRadius * kMoonRadius);
        if (fall > Bayer(x, y)) c.Set(x, y, kGlow);
      }
      const int ridge = 270 + ValueNoise8(x, 0, 120, 3) / 5 + ValueNoise8(x, 0, 30, 4) / 20;
      if (y > ridge) c.Set(x, y, kHills);
      if (InForeground(x, y)) c.Set(x, y, kForeground);
    }
  }
  Artwork art;
  art.kind = ArtKind::kScreenPicture;
  art.file_name = "OP2_MN_W.VGR";
  art.image = c.ToImage();
  art.options.order = authoring::PixelOrder::kRows;
  for (int i = 0; i < 16; ++i)
    art.options.palette[static_cast<std::size_t>(i)] =
        authoring::Rgb4{kNightColours[i][0], kNightColours[i][1], kNightColours[i][2]};
  return art;
}

Artwork PaintOpeningClouds() {
  constexpr int kCloudWidth = 1280;
  PixelCanvas c(kCloudWidth, kHeight, 0);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kCloudWidth; ++x) {
      // Long banks of cloud: the noise is stretched across and repeats every 1280 columns,
      // so the layer's right edge runs on into its left.
      const int n = FractalNoise8(x, y * 3, 160, 4, 77, kCloudWidth);
      // Thinner towards the hills.
      const int density = (n - 128) * 4 * (kHeight - y / 2) / kHeight;
      c.Set(x, y, DitherTone({0, 1, 2, 3}, density, x, y));
    }
  }
  return FinishOpeningLayer("OP2_KM_W.SDT", c, {{{0, 0, 0}, {4, 4, 8}, {5, 6, 10}, {10, 10, 13}}});
}

Artwork FinishOpeningLayer(const char* name, const PixelCanvas& canvas,
                           const authoring::Palette16& preview_colours) {
  Artwork art;
  art.kind = ArtKind::kOpeningLayer;
  art.file_name = name;
  art.image = canvas.ToImage();
  art.options.palette = preview_colours;
  return art;
}

std::vector<std::uint8_t> LayerBytes(const Artwork& layer) {
  const authoring::PictureImage& image = layer.image;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(image.pixels.size());
  for (int y = image.height - 1; y >= 0; --y) {
    const auto row = image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width;
    bytes.insert(bytes.end(), row, row + image.width);
  }
  return bytes;
}

}  // namespace demo_art
