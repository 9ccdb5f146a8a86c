#include "authoring/scn_source.h"

#include <charconv>

namespace authoring::scn {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == ','; }
bool IsNameStart(char c) { return c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }

}  // namespace

std::optional<std::int64_t> ParseNumber(std::string_view word) {
  bool negative = false;
  if (word.starts_with('-')) {
    negative = true;
    word.remove_prefix(1);
  }
  int base = 10;
  if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
    base = 16;
    word.remove_prefix(2);
  }
  // Long enough for any block offset; longer digit runs are out of every range anyway.
  if (word.empty() || word.size() > 12) return std::nullopt;
  std::int64_t value = 0;
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return negative ? -value : value;
}

bool IsName(std::string_view word) {
  if (word.empty() || !IsNameStart(word.front())) return false;
  for (char c : word)
    if (!IsNameChar(c)) return false;
  return true;
}

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

std::string LexLine(std::string_view text, int number, SourceLine* out, std::size_t* column) {
  *out = SourceLine{};
  out->number = number;
  auto column_of = [&](std::size_t at) { return CharacterCount(text.substr(0, at)) + 1; };
  std::size_t at = 0;
  while (true) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    if (at >= text.size() || text[at] == ';') break;
    if (text[at] == '"') {
      const std::size_t close = text.find('"', at + 1);
      if (close == std::string_view::npos) {
        *column = column_of(at);
        return "a string without its closing '\"'";
      }
      out->tokens.push_back({true, text.substr(at + 1, close - at - 1), column_of(at)});
      at = close + 1;
      continue;
    }
    const std::size_t start = at;
    while (at < text.size() && !IsBlank(text[at]) && text[at] != '"' && text[at] != ';') ++at;
    std::string_view word = text.substr(start, at - start);
    // "NAME:" first on the line is a label; the statement may follow it.
    if (out->tokens.empty() && out->label.empty() && out->label_column == 0 && word.size() > 1 &&
        word.back() == ':' && IsName(word.substr(0, word.size() - 1))) {
      out->label = word.substr(0, word.size() - 1);
      out->label_column = column_of(start);
      continue;
    }
    out->tokens.push_back({false, word, column_of(start)});
  }
  return "";
}

}  // namespace authoring::scn
