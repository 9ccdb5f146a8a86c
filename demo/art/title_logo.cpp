// The title 「蛍」 in gold with a black rim and its reading "HOTARU" under it, laid over the
// scene in the title's centre box (see title_menu_art.cpp). Both are placed in the centre of
// the screen, inside the band that the title's dissolve reveals, and leave everything else
// to the scene through their transparent colour.
#include <array>

#include "pixel_kit.h"
#include "title_scene.h"

namespace demo_art {
namespace {

// Neither picture uses the sky's top colour, so it is their transparent one.
constexpr std::uint8_t kSeeThrough = kTitleSkyTop;

struct Stroke {
  int ax, ay, bx, by;
};

// The strokes of 蛍 on a 32 × 32 grid: the three short strokes on top, the crown, then
// 虫 (its box, the stroke through it, the rising bottom stroke and the dot).
constexpr std::array<Stroke, 14> kFireflyStrokes = {{
    {10, 2, 12, 6},
    {16, 1, 16, 6},
    {22, 2, 20, 6},
    {5, 8, 5, 12},
    {5, 8, 27, 8},
    {27, 8, 26, 12},
    {9, 14, 23, 14},
    {9, 14, 9, 23},
    {23, 14, 23, 23},
    {9, 23, 23, 23},
    {16, 11, 16, 29},
    {6, 30, 26, 28},
    {22, 25, 26, 29},
    {26, 29, 27, 30},
}};

constexpr int kGrid = 5;  // pixels per grid unit
constexpr int kLogoX = 232, kLogoY = 40;
constexpr int kLogoWidth = 176, kLogoHeight = 176;
constexpr int kLogoMargin = 8;

constexpr int kLetterScale = 3;
constexpr int kLetterAdvance = 7 * kLetterScale;
constexpr int kSubtitleX = 256, kSubtitleY = 212;
constexpr int kSubtitleWidth = 128, kSubtitleHeight = 28;

Artwork TitlePart(const char* name, const PixelCanvas& canvas, int x, int y) {
  Artwork art;
  art.kind = ArtKind::kScreenPicture;
  art.file_name = name;
  art.image = canvas.ToImage();
  art.options.x = x;
  art.options.y = y;
  art.options.order = authoring::PixelOrder::kRows;
  art.options.transparent = kSeeThrough;
  art.options.palette = TitlePalette();
  return art;
}

}  // namespace

Artwork PaintTitleLogo() {
  PixelCanvas c(kLogoWidth, kLogoHeight, kSeeThrough);
  auto at = [](int grid) { return kLogoMargin + grid * kGrid; };
  // The rim of every stroke first, so that the fills join where the strokes meet.
  for (const Stroke& s : kFireflyStrokes)
    ThickLine(&c, at(s.ax), at(s.ay), at(s.bx), at(s.by), 10, kTitleBlack);
  PixelCanvas fill(kLogoWidth, kLogoHeight, 0);
  for (const Stroke& s : kFireflyStrokes)
    ThickLine(&fill, at(s.ax), at(s.ay), at(s.bx), at(s.by), 7, 1);
  for (int y = 0; y < kLogoHeight; ++y) {
    for (int x = 0; x < kLogoWidth; ++x) {
      if (!fill.at(x, y)) continue;
      // Lit from above: pale at the top, deep gold below, with a glow around the dot.
      const int tone = (kLogoHeight - y) * 2 * kToneStep / kLogoHeight;
      c.Set(x, y, DitherTone({kTitleGold, kTitleGold, kTitleFireflyCore}, tone, x, y));
    }
  }
  return TitlePart("title", c, kLogoX, kLogoY);
}

Artwork PaintTitleSubtitle() {
  PixelCanvas c(kSubtitleWidth, kSubtitleHeight, kSeeThrough);
  const char* reading = "HOTARU";
  const int left = (kSubtitleWidth - 6 * kLetterAdvance + 2 * kLetterScale) / 2;
  PixelCanvas ink(kSubtitleWidth, kSubtitleHeight, 0);
  for (int i = 0; i < 6; ++i) {
    for (int row = 0; row < 7; ++row)
      for (int col = 0; col < 5; ++col)
        if (LetterPixel(reading[i], col, row))
          FillBox(&ink, left + i * kLetterAdvance + col * kLetterScale, 3 + row * kLetterScale,
                  left + i * kLetterAdvance + (col + 1) * kLetterScale,
                  3 + (row + 1) * kLetterScale, 1);
  }
  // A black rim one pixel around the letters, then the letters in the fireflies' glow.
  for (int y = 0; y < kSubtitleHeight; ++y)
    for (int x = 0; x < kSubtitleWidth; ++x)
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          if (ink.Inside(x + dx, y + dy) && ink.at(x + dx, y + dy)) c.Set(x, y, kTitleBlack);
  for (int y = 0; y < kSubtitleHeight; ++y)
    for (int x = 0; x < kSubtitleWidth; ++x)
      if (ink.at(x, y)) c.Set(x, y, kTitleFireflyGlow);
  return TitlePart("reading", c, kSubtitleX, kSubtitleY);
}

}  // namespace demo_art
