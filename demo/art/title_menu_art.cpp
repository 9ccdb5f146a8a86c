// The maker's logo VELA.VGR and the pictures of the title's centre box, the part of the
// screen that the title menu's dissolves change. Each covers the whole box except the plates:
// TITLE2.VGR (the scene with the title and its reading, as the title shows before its
// menu), TITLE2_.VGR (dark plates under the menu items, laid over it), TITLE_.VGR (the bare
// night while a slot screen or a question is up, nothing behind their text but the scene)
// and TITLE.VGR (the title with its menu plates, which brings the menu back after a slot
// screen: the game decodes it alone over TITLE_.VGR). The title is composed of OP2_BACK.VGR,
// TITLE.VGR and TITLE2.VGR, so TITLE2.VGR hides TITLE.VGR's plates until the menu opens.
#include <array>

#include "pixel_kit.h"
#include "title_menu_art.h"
#include "title_scene.h"

namespace demo_art {
namespace {

// Calls paint(x, y, column) for every pixel of `word` drawn at (left, top) with cells of
// `scale` pixels; `column` counts the cells across the whole word, gaps included.
template <class Paint>
void DrawWord(const char* word, int left, int top, int scale, Paint paint) {
  for (int i = 0; word[i] != '\0'; ++i) {
    for (int row = 0; row < 7; ++row)
      for (int col = 0; col < 5; ++col) {
        if (!LetterPixel(word[i], col, row)) continue;
        for (int dy = 0; dy < scale; ++dy)
          for (int dx = 0; dx < scale; ++dx)
            paint(left + (i * 6 + col) * scale + dx, top + row * scale + dy, i * 6 + col);
      }
  }
}

// The logo's colours. 0 … 4 appear out of the white; 5 … 13 are the nine bands of the
// name, which the logo animation cycles from white through its five tints in a wave from
// left to right; 14 is the line under the name, white until it turns light grey.
enum LogoColour : std::uint8_t {
  kLogoInk = 0,
  kLogoShadowDark = 1,
  kLogoShadow = 2,
  kLogoRuleDark = 3,
  kLogoRule = 4,
  kLogoFirstBand = 5,
  kLogoBands = 9,
  kLogoSubtitle = 14,
  kLogoPaper = 15,
};

constexpr int kNameScale = 16;
constexpr int kNameCells = 4 * 6 - 1;  // four letters, a cell between each
constexpr int kNameLeft = (640 - kNameCells * kNameScale) / 2;
constexpr int kNameTop = 112;

// The title's centre box: where the menu's plates go, inside the band its dissolves change.
constexpr int kBoxLeft = 224, kBoxTop = 16, kBoxRight = 424, kBoxBottom = 392;

// Lays a picture over the box, skipping its transparent colour.
void LayOver(PixelCanvas* box, const Artwork& part) {
  const auto& image = part.image;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const std::uint8_t p = image.pixels[static_cast<std::size_t>(y * image.width + x)];
      if (p == part.options.transparent) continue;
      box->Set(part.options.x + x - kBoxLeft, part.options.y + y - kBoxTop, p);
    }
}

// The box of OP2_BACK.VGR: the night alone.
PixelCanvas NightInBox() {
  PixelCanvas box(kBoxRight - kBoxLeft, kBoxBottom - kBoxTop);
  Artwork back = PaintTitleBack();
  back.options.x = 0;
  back.options.y = 0;
  LayOver(&box, back);
  return box;
}

// The box as the title shows it before its menu: the night with the title and its reading.
PixelCanvas TitleInBox() {
  PixelCanvas box = NightInBox();
  LayOver(&box, PaintTitleLogo());
  LayOver(&box, PaintTitleSubtitle());
  return box;
}

// The title scene's colours with its own picture over the centre band.
Artwork TitleOverlay(const char* name, const PixelCanvas& canvas, int x, int y,
                     std::uint8_t transparent) {
  Artwork art;
  art.kind = ArtKind::kScreenPicture;
  art.file_name = name;
  art.image = canvas.ToImage();
  art.options.x = x;
  art.options.y = y;
  art.options.order = authoring::PixelOrder::kRows;
  art.options.transparent = transparent;
  art.options.palette = TitlePalette();
  return art;
}

// A black plate with a gold rule one pixel inside its edge.
void Plate(PixelCanvas* c, int left, int top, int right, int bottom) {
  FillBox(c, left, top, right, bottom, kTitleBlack);
  for (int x = left + 2; x < right - 2; ++x) {
    c->Set(x, top + 2, kTitleGold);
    c->Set(x, bottom - 3, kTitleGold);
  }
  for (int y = top + 2; y < bottom - 2; ++y) {
    c->Set(left + 2, y, kTitleGold);
    c->Set(right - 3, y, kTitleGold);
  }
}

}  // namespace

Artwork PaintMakerLogo() {
  PixelCanvas c(640, 400, kLogoPaper);
  // A soft shadow under the name, then the name in nine bands from left to right.
  DrawWord("VELA", kNameLeft + 6, kNameTop + 6, kNameScale, [&](int x, int y, int) {
    c.Set(x, y, DitherTone({kLogoShadow, kLogoShadowDark}, (x + y) % 64, x, y));
  });
  DrawWord("VELA", kNameLeft, kNameTop, kNameScale, [&](int x, int y, int column) {
    const bool rim = (x - kNameLeft) % kNameScale == 0 || (y - kNameTop) % kNameScale == 0;
    c.Set(x, y,
          rim ? std::uint8_t{kLogoInk}
              : static_cast<std::uint8_t>(kLogoFirstBand + column * kLogoBands / kNameCells));
  });
  // The rule under the name and the series' name under it.
  const int rule_top = kNameTop + 7 * kNameScale + 24;
  FillBox(&c, kNameLeft, rule_top, kNameLeft + kNameCells * kNameScale, rule_top + 4, kLogoRule);
  FillBox(&c, kNameLeft, rule_top + 4, kNameLeft + kNameCells * kNameScale, rule_top + 6,
          kLogoRuleDark);
  constexpr int kSubtitleScale = 4;
  const char* series = "STORY SERIES";
  const int series_width = (12 * 6 - 1) * kSubtitleScale;
  DrawWord(series, (640 - series_width) / 2, rule_top + 20, kSubtitleScale,
           [&](int x, int y, int) { c.Set(x, y, kLogoSubtitle); });

  Artwork art;
  art.kind = ArtKind::kScreenPicture;
  art.file_name = "VELA.VGR";
  art.image = c.ToImage();
  art.options.order = authoring::PixelOrder::kRows;
  // Only 0 … 4 matter: the logo animation sets 5 … 15 itself.
  art.options.palette = authoring::Palette16{{{0, 0, 0},
                                              {6, 6, 9},
                                              {9, 9, 12},
                                              {2, 3, 8},
                                              {5, 7, 13},
                                              {15, 15, 15},
                                              {15, 15, 15},
                                              {15, 15, 15},
                                              {15, 15, 15},
                                              {15, 15, 15},
                                              {15, 15, 15},
                                              {15, 15, 15},
                                              {15, 15, 15},
                                              {15, 15, 15},
                                              {15, 15, 15},
                                              {15, 15, 15}}};
  return art;
}

// The plates under the menu items, in box coordinates: the four stacked items from
// (240, 248), 34 pixels apart, at most 7 glyphs wide; the fifth item alone at (304, 24),
// 4 glyphs wide.
void MenuPlates(PixelCanvas* box) {
  Plate(box, 0, 236 - kBoxTop, kBoxRight - kBoxLeft, 384 - kBoxTop);
  Plate(box, 296 - kBoxLeft, 0, 408 - kBoxLeft, 56 - kBoxTop);
}

Artwork PaintTitleMenuPlates() {
  constexpr std::uint8_t kSeeThrough = kTitleSkyTop;
  PixelCanvas c(kBoxRight - kBoxLeft, kBoxBottom - kBoxTop, kSeeThrough);
  MenuPlates(&c);
  return TitleOverlay("TITLE2_.VGR", c, kBoxLeft, kBoxTop, kSeeThrough);
}

Artwork PaintTitleBeforeMenu() {
  return TitleOverlay("TITLE2.VGR", TitleInBox(), kBoxLeft, kBoxTop,
                      authoring::kNoTransparentColour);
}

Artwork PaintTitleWithMenu() {
  PixelCanvas c = TitleInBox();
  MenuPlates(&c);
  return TitleOverlay("TITLE.VGR", c, kBoxLeft, kBoxTop, authoring::kNoTransparentColour);
}

Artwork PaintTitleNight() {
  return TitleOverlay("TITLE_.VGR", NightInBox(), kBoxLeft, kBoxTop,
                      authoring::kNoTransparentColour);
}

}  // namespace demo_art
