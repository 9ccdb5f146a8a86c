#include "authoring/font_builder.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>
#include <memory>

#include "authoring/utf8.h"

namespace authoring {
namespace {

// Outlines only (a font's own small bitmaps differ from face to face), with FreeType's light
// hinting, which snaps horizontal strokes to whole rows and keeps the shapes' widths.
constexpr FT_Int32 kLoadFlags = FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT;

// A full-width ideograph whose ink fills the em as most kanji do; its vertical centre
// becomes the centre of the cell.
constexpr char32_t kReferenceCharacters[] = {U'国', U'田', U'口'};

std::string Describe(char32_t character) {
  std::string out = "'";
  AppendUtf8(character, &out);
  return out + "' (" + CodePointName(character) + ")";
}

bool IsBlankCharacter(char32_t c) { return c == U'\u3000' || c == U' ' || c == U'\u00A0'; }

}  // namespace

struct GlyphRasteriser::FreeType {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~FreeType() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
};

GlyphRasteriser::GlyphRasteriser() = default;
GlyphRasteriser::~GlyphRasteriser() { delete freetype_; }

std::string GlyphRasteriser::Open(const std::filesystem::path& font,
                                  const FontBuildOptions& options) {
  if (options.threshold < 1 || options.threshold > 255) return "the threshold must be 1 to 255";
  auto freetype = std::make_unique<FreeType>();
  if (FT_Init_FreeType(&freetype->library) != 0) return "cannot start FreeType";
  if (FT_New_Face(freetype->library, font.c_str(), 0, &freetype->face) != 0)
    return "cannot open the font " + font.string();
  if (!FT_IS_SCALABLE(freetype->face)) return font.string() + " is not an outline font";
  if (FT_Set_Pixel_Sizes(freetype->face, 0, kGlyphSide) != 0)
    return "cannot scale " + font.string() + " to 24 pixels";
  delete freetype_;
  freetype_ = freetype.release();
  options_ = options;

  // The baseline: the reference ideograph's ink centred in the cell; without one, the em box
  // (ascender to descender) centred.
  const FT_Face face = freetype_->face;
  const double ascender = face->size->metrics.ascender / 64.0;
  const double descender = face->size->metrics.descender / 64.0;
  double baseline = (kGlyphSide + ascender + descender) / 2.0;
  for (char32_t reference : kReferenceCharacters) {
    const FT_UInt index = FT_Get_Char_Index(face, reference);
    if (index == 0 || FT_Load_Glyph(face, index, kLoadFlags) != 0 ||
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0 || face->glyph->bitmap.rows == 0)
      continue;
    baseline = kGlyphSide / 2.0 + face->glyph->bitmap_top - face->glyph->bitmap.rows / 2.0;
    break;
  }
  baseline_ = static_cast<int>(std::lround(baseline));
  return "";
}

bool GlyphRasteriser::HasCharacter(char32_t character) const {
  return freetype_ != nullptr && FT_Get_Char_Index(freetype_->face, character) != 0;
}

std::string GlyphRasteriser::Draw(char32_t character, GlyphPixels* pixels) const {
  if (freetype_ == nullptr) return "no font is open";
  const FT_Face face = freetype_->face;
  const FT_UInt index = FT_Get_Char_Index(face, character);
  if (index == 0) return Describe(character) + " is not in the font";
  if (FT_Load_Glyph(face, index, kLoadFlags) != 0 ||
      FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0)
    return "FreeType cannot draw " + Describe(character);
  const FT_GlyphSlot slot = face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.rows > 0 && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)
    return "FreeType drew " + Describe(character) + " in an unexpected pixel mode";

  // Centred across the cell by the advance, so that narrow characters sit in the middle.
  const double advance = slot->advance.x / 64.0;
  const int origin_x = static_cast<int>(std::lround((kGlyphSide - advance) / 2.0));
  pixels->fill(0);
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    const int y = baseline_ - slot->bitmap_top + static_cast<int>(row);
    if (y < 0 || y >= kGlyphSide) continue;
    const unsigned char* line = bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
    for (unsigned column = 0; column < bitmap.width; ++column) {
      const int x = origin_x + slot->bitmap_left + static_cast<int>(column);
      if (x < 0 || x >= kGlyphSide || line[column] < options_.threshold) continue;
      (*pixels)[static_cast<std::size_t>(y * kGlyphSide + x)] = 1;
    }
  }
  return "";
}

std::string BuildFont(const Charset& charset, const std::filesystem::path& ttf,
                      std::vector<std::uint8_t>* font, std::vector<std::string>* warnings,
                      const FontBuildOptions& options) {
  GlyphRasteriser rasteriser;
  if (std::string error = rasteriser.Open(ttf, options); !error.empty()) return error;

  std::string missing;
  for (const auto& entry : charset.entries()) {
    if (rasteriser.HasCharacter(entry.character)) continue;
    missing += "\n  glyph " + std::to_string(entry.glyph) + " (line " + std::to_string(entry.line) +
               "): " + Describe(entry.character);
  }
  if (!missing.empty()) return "characters of the table that " + ttf.string() + " lacks:" + missing;

  std::vector<std::uint8_t> bytes(charset.highest_glyph() * kGlyphBytes, 0);
  for (const auto& entry : charset.entries()) {
    GlyphPixels pixels;
    if (std::string error = rasteriser.Draw(entry.character, &pixels); !error.empty())
      return "glyph " + std::to_string(entry.glyph) + ": " + error;
    bool ink = false;
    for (std::uint8_t p : pixels) ink = ink || p != 0;
    if (!ink && !IsBlankCharacter(entry.character))
      warnings->push_back("glyph " + std::to_string(entry.glyph) + " " + Describe(entry.character) +
                          " draws no ink");
    const GlyphStrips strips = PackGlyph(pixels);
    std::copy(strips.begin(), strips.end(), bytes.begin() + (entry.glyph - 1) * kGlyphBytes);
  }
  *font = std::move(bytes);
  return "";
}

std::string FindJapaneseFont(std::filesystem::path* ttf) {
  // fc-match always answers with some font; its languages tell whether it covers Japanese.
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(
      popen("fc-match -f '%{file}\\n%{lang}' :lang=ja 2>/dev/null", "r"), pclose);
  if (!pipe) return "cannot run fc-match";
  std::string answer;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) answer += buffer;
  const std::size_t newline = answer.find('\n');
  const std::string file = answer.substr(0, newline);
  const std::string languages =
      newline == std::string::npos ? "" : "|" + answer.substr(newline + 1);
  bool japanese = false;
  for (std::size_t at = languages.find("|ja"); at != std::string::npos;
       at = languages.find("|ja", at + 1)) {
    const char after = at + 3 < languages.size() ? languages[at + 3] : '|';
    japanese = japanese || after == '|' || after == '\n' || after == '-';
  }
  if (file.empty() || !japanese)
    return "no Japanese TrueType font found by fc-match (install fonts-vlgothic), or give --ttf";
  *ttf = file;
  return "";
}

}  // namespace authoring
