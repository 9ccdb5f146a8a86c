#include "authoring/charset.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "authoring/utf8.h"

namespace authoring {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  return s;
}

std::string Quoted(char32_t character) {
  std::string out = "'";
  AppendUtf8(character, &out);
  return out + "' (" + CodePointName(character) + ")";
}

// "<gN>" at text[at]: the glyph number and the length of the form, or nullopt.
std::optional<std::pair<std::uint16_t, std::size_t>> ExplicitGlyph(std::string_view text,
                                                                   std::size_t at) {
  if (text.substr(at, 2) != "<g") return std::nullopt;
  std::size_t i = at + 2;
  std::uint32_t value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - at < 7) {
    value = value * 10 + static_cast<std::uint32_t>(text[i] - '0');
    ++i;
  }
  if (i == at + 2 || i >= text.size() || text[i] != '>' || value >= kGlyphNumberLimit)
    return std::nullopt;
  return std::pair{static_cast<std::uint16_t>(value), i + 1 - at};
}

}  // namespace

std::string Charset::Parse(std::string_view table, std::string_view source, Charset* out) {
  Charset charset;
  std::vector<std::string> problems;
  auto problem = [&](int line, const std::string& what) {
    problems.push_back(std::string(source) + ":" + std::to_string(line) + ": " + what);
  };
  std::unordered_map<std::uint16_t, int> line_of_glyph;

  int line_number = 0;
  for (std::size_t start = 0; start < table.size();) {
    std::size_t end = table.find('\n', start);
    if (end == std::string_view::npos) end = table.size();
    std::string_view line = table.substr(start, end - start);
    start = end + 1;
    ++line_number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = TrimLeft(line);
    if (line.empty() || line.front() == '#') continue;

    std::size_t at = 0;
    std::uint32_t number = 0;
    while (at < line.size() && line[at] >= '0' && line[at] <= '9') {
      if (number < kGlyphNumberLimit)
        number = number * 10 + static_cast<std::uint32_t>(line[at] - '0');
      ++at;
    }
    const bool has_number = at > 0;
    while (at < line.size() && IsBlank(line[at])) ++at;
    if (!has_number || at >= line.size() || line[at] != '=') {
      problem(line_number, "expected NUMBER=CHARACTER");
      continue;
    }
    ++at;
    std::size_t after = at;
    const std::optional<char32_t> character = DecodeUtf8(line, &after);
    if (!character) {
      problem(line_number, at >= line.size() ? "no character after '='" : "invalid UTF-8");
      continue;
    }
    if (*character <= 0x20 || *character == 0x7F) {
      problem(line_number,
              "no character after '=' (blanks and control characters cannot be glyphs)");
      continue;
    }
    if (*character == U'<' || *character == U'{') {
      problem(line_number, "'<' and '{' begin the escapes of story text and cannot be glyphs");
      continue;
    }
    const std::string_view rest = TrimLeft(line.substr(after));
    if (!rest.empty() && rest.front() != '#') {
      problem(line_number, "more than one character after '='");
      continue;
    }
    if (number >= kGlyphNumberLimit) {
      problem(line_number, "glyph number " +
                               std::string(line.substr(0, line.find_first_of(" \t="))) +
                               " is too large: glyph numbers are below 8192");
      continue;
    }
    if (number == kBlankGlyph) {
      problem(line_number, "glyph 0 is the blank and shows no character");
      continue;
    }
    if (number == kDrawnBlankGlyph) {
      problem(line_number, "glyph 8191 is drawn as a blank and cannot show a character");
      continue;
    }
    const auto glyph = static_cast<std::uint16_t>(number);
    if (auto it = line_of_glyph.find(glyph); it != line_of_glyph.end()) {
      problem(line_number, "glyph " + std::to_string(glyph) + " is given twice (first on line " +
                               std::to_string(it->second) + ")");
      continue;
    }
    if (auto it = charset.glyph_of_.find(*character); it != charset.glyph_of_.end()) {
      problem(line_number, Quoted(*character) + " is given twice (glyph " +
                               std::to_string(it->second) + " on line " +
                               std::to_string(line_of_glyph[it->second]) + ")");
      continue;
    }
    line_of_glyph[glyph] = line_number;
    charset.glyph_of_[*character] = glyph;
    charset.entries_.push_back({glyph, *character, line_number});
  }

  if (!problems.empty()) {
    std::string joined;
    for (const auto& p : problems) joined += (joined.empty() ? "" : "\n") + p;
    return joined;
  }
  std::sort(charset.entries_.begin(), charset.entries_.end(),
            [](const CharsetEntry& a, const CharsetEntry& b) { return a.glyph < b.glyph; });
  charset.character_of_.assign(charset.highest_glyph() + 1u, 0);
  for (const auto& entry : charset.entries_) charset.character_of_[entry.glyph] = entry.character;
  *out = std::move(charset);
  return "";
}

std::string Charset::Read(const std::filesystem::path& path, Charset* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "cannot open " + path.string();
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return "cannot read " + path.string();
  return Parse(text.str(), path.string(), out);
}

std::optional<std::uint16_t> Charset::GlyphOf(char32_t character) const {
  auto it = glyph_of_.find(character);
  if (it == glyph_of_.end()) return std::nullopt;
  return it->second;
}

std::optional<char32_t> Charset::CharacterOf(std::uint16_t glyph) const {
  if (glyph >= character_of_.size() || character_of_[glyph] == 0) return std::nullopt;
  return character_of_[glyph];
}

std::uint16_t Charset::ReadGlyph(std::string_view text, std::size_t* at,
                                 std::string* problem) const {
  if (auto explicit_glyph = ExplicitGlyph(text, *at)) {
    *at += explicit_glyph->second;
    return explicit_glyph->first;
  }
  const std::optional<char32_t> character = DecodeUtf8(text, at);
  if (!character) {
    *problem = "invalid UTF-8";
    ++*at;
    return kBlankGlyph;
  }
  if (auto glyph = GlyphOf(*character)) return *glyph;
  *problem = Quoted(*character) + " is not in the charset";
  return kBlankGlyph;
}

std::string Charset::Encode(std::string_view text, std::vector<std::uint16_t>* glyphs) const {
  std::vector<std::uint16_t> result;
  std::string problems;
  int column = 1;
  for (std::size_t at = 0; at < text.size(); ++column) {
    std::string problem;
    result.push_back(ReadGlyph(text, &at, &problem));
    if (!problem.empty())
      problems +=
          (problems.empty() ? "" : "\n") + ("column " + std::to_string(column) + ": ") + problem;
  }
  if (!problems.empty()) return problems;
  *glyphs = std::move(result);
  return "";
}

void Charset::AppendGlyph(std::uint16_t glyph, std::string* out) const {
  if (auto character = CharacterOf(glyph)) {
    AppendUtf8(*character, out);
  } else {
    *out += "<g" + std::to_string(glyph) + ">";
  }
}

std::string Charset::Decode(std::span<const std::uint16_t> glyphs) const {
  std::string text;
  for (std::uint16_t glyph : glyphs) AppendGlyph(glyph, &text);
  return text;
}

std::uint16_t Charset::highest_glyph() const {
  return entries_.empty() ? 0 : entries_.back().glyph;
}

}  // namespace authoring
