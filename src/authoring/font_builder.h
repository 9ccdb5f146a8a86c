// The kanji font built from a TrueType font: every character of the charset table drawn
// with FreeType into its 24 × 24 cell, one bit per pixel.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "authoring/charset.h"
#include "authoring/glyph_bitmap.h"

namespace authoring {

struct FontBuildOptions {
  // A pixel is ink when the antialiased coverage of the outline reaches this (1 … 255).
  int threshold = 112;
};

// Draws `character` from the font into a glyph: scaled to a 24-pixel em, centred across
// the cell by its advance, and placed on the baseline that centres a full-width ideograph
// vertically, so that punctuation and small kana keep their places within the em.
class GlyphRasteriser {
 public:
  GlyphRasteriser();
  ~GlyphRasteriser();
  GlyphRasteriser(const GlyphRasteriser&) = delete;
  GlyphRasteriser& operator=(const GlyphRasteriser&) = delete;

  // Opens a TrueType or OpenType font. Returns "" on success.
  std::string Open(const std::filesystem::path& font, const FontBuildOptions& options = {});
  bool HasCharacter(char32_t character) const;
  // Returns "" on success, else why the character could not be drawn.
  std::string Draw(char32_t character, GlyphPixels* pixels) const;

 private:
  struct FreeType;
  FreeType* freetype_ = nullptr;
  FontBuildOptions options_;
  int baseline_ = 0;  // cell row of the baseline
};

// The font file for a charset: glyph n at byte (n − 1) × 72 for every n up to the table's
// largest number; glyphs that the table does not name are blank. Fails, naming them, when
// characters of the table are missing from the TrueType font. Characters that draw no ink
// (other than blanks) are listed in *warnings. Returns "" on success.
std::string BuildFont(const Charset& charset, const std::filesystem::path& ttf,
                      std::vector<std::uint8_t>* font, std::vector<std::string>* warnings,
                      const FontBuildOptions& options = {});

// The Japanese TrueType font that fontconfig offers (`fc-match :lang=ja`). Returns "" on
// success.
std::string FindJapaneseFont(std::filesystem::path* ttf);

}  // namespace authoring
