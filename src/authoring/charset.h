// The charset table: which character each glyph number of the font shows. One table
// (demo/charset.tbl) serves the font builder, the texts compiled into the program and the
// tools that turn story text into glyph numbers and back.
//
// Table format, one line each: `NUMBER=CHARACTER` (decimal glyph number, exactly one
// character right after '='; blanks and a `#` comment may follow it). Lines whose first
// non-blank character is `#` are comments; empty lines are ignored. The ASCII '<' and '{'
// cannot be glyphs: they begin the escapes of story text (`<gN>`, `{nl}` …), which keeps
// every text readable back into the same glyphs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace authoring {

// Glyph numbers are stored as two bytes, high byte first, with a high byte below 0x20.
inline constexpr std::uint32_t kGlyphNumberLimit = 0x2000;
// Glyph 0 is the blank; the text routines draw 8191 as a blank too. Neither shows a
// character of the table.
inline constexpr std::uint16_t kBlankGlyph = 0;
inline constexpr std::uint16_t kDrawnBlankGlyph = 0x1FFF;

struct CharsetEntry {
  std::uint16_t glyph = 0;
  char32_t character = 0;
  int line = 0;  // line of the table that gave it
};

class Charset {
 public:
  // Parses a table; `source` names it in the messages ("demo/charset.tbl:12: ..."). Returns
  // "" on success, else every problem found, one per line, each with its line number.
  static std::string Parse(std::string_view table, std::string_view source, Charset* out);
  static std::string Read(const std::filesystem::path& path, Charset* out);

  std::optional<std::uint16_t> GlyphOf(char32_t character) const;
  std::optional<char32_t> CharacterOf(std::uint16_t glyph) const;

  // Reads one glyph of `text` at *at and advances past it: `<gN>` stands for glyph N itself
  // (0 … 8191), any other character for its glyph in the table. When the character is not in
  // the table or the UTF-8 is invalid, fills *problem, answers the blank and still advances,
  // so that a caller can report every problem of a text.
  std::uint16_t ReadGlyph(std::string_view text, std::size_t* at, std::string* problem) const;

  // A whole text to glyph numbers. Returns "" on success, else one line per problem with its
  // column (characters counted from 1).
  std::string Encode(std::string_view text, std::vector<std::uint16_t>* glyphs) const;

  // Glyph numbers to text; a glyph that shows no character of the table becomes `<gN>`, so
  // that Encode gives the same numbers back.
  std::string Decode(std::span<const std::uint16_t> glyphs) const;
  void AppendGlyph(std::uint16_t glyph, std::string* out) const;

  // The entries in glyph order.
  const std::vector<CharsetEntry>& entries() const { return entries_; }
  // The largest glyph number of the table (0 when it is empty).
  std::uint16_t highest_glyph() const;

 private:
  std::vector<CharsetEntry> entries_;
  std::unordered_map<char32_t, std::uint16_t> glyph_of_;
  std::vector<char32_t> character_of_;  // by glyph number; 0 where the table gives none
};

}  // namespace authoring
