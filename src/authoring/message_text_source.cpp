#include "authoring/message_text_source.h"

#include <charconv>
#include <cstdio>

namespace authoring {
namespace {

std::optional<std::uint32_t> Number(std::string_view digits, int base) {
  std::uint32_t value = 0;
  if (digits.empty()) return std::nullopt;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

// The bytes of one escape (the text between the braces), or an error text.
std::string EncodeEscape(std::string_view name, std::vector<std::uint8_t>* out) {
  if (name == "nl") {
    out->push_back(kMessageNewLine);
    return "";
  }
  if (name.starts_with("x:")) {
    auto x = Number(name.substr(2), 10);
    if (!x || *x % 8 != 0 || *x > 255 * 8)
      return "{" + std::string(name) + "}: x must be a multiple of 8 from 0 to 2040";
    out->insert(out->end(), {kMessageSetX, static_cast<std::uint8_t>(*x / 8)});
    return "";
  }
  if (name.starts_with("y:")) {
    auto y = Number(name.substr(2), 10);
    if (!y || *y > 0xFFFF) return "{" + std::string(name) + "}: y must be from 0 to 65535";
    out->insert(out->end(), {kMessageSetY, static_cast<std::uint8_t>(*y & 0xFF),
                             static_cast<std::uint8_t>(*y >> 8)});
    return "";
  }
  if (name.starts_with("0x")) {
    auto byte = Number(name.substr(2), 16);
    if (!byte || *byte > 0xFF || *byte < 0x20 || *byte == kMessageEnd)
      return "{" + std::string(name) + "}: a raw byte must be from 0x20 to 0xFF and not 0xAF";
    out->push_back(static_cast<std::uint8_t>(*byte));
    return "";
  }
  return "unknown escape {" + std::string(name) + "}";
}

// Appends the source form of an item that this language names: a glyph, {nl}, {x:N} or
// {y:N}. Any other item is written as its first byte alone, {0xNN}, and the bytes after that
// byte are read again as items of their own: that is what the encoder makes of a {0xNN}
// followed by more text.
bool AppendNamedItem(const core::TextItem& item, const Charset& charset, std::string* text) {
  if (item.kind == core::TextItemKind::kGlyph) {
    charset.AppendGlyph(item.glyph, text);
    return true;
  }
  if (item.kind != core::TextItemKind::kCode) return false;
  switch (static_cast<core::TextCode>(item.code->number)) {
    case core::TextCode::NewLine: *text += "{nl}"; return true;
    case core::TextCode::SetX:
      *text += "{x:" + std::to_string(item.operands[0] * 8) + "}";
      return true;
    case core::TextCode::SetY:
      *text += "{y:" + std::to_string(item.operands[0] | item.operands[1] << 8) + "}";
      return true;
    default: return false;
  }
}

}  // namespace

std::string EncodeMessageText(std::string_view source, const Charset& charset,
                              std::vector<std::uint8_t>* bytes) {
  std::vector<std::uint8_t> out;
  std::string problems;
  auto report = [&](int column, const std::string& what) {
    problems += (problems.empty() ? "" : "\n") + ("column " + std::to_string(column) + ": ") + what;
  };
  int column = 1;
  for (std::size_t at = 0; at < source.size(); ++column) {
    if (source[at] == '{') {
      const std::size_t close = source.find('}', at);
      if (close == std::string_view::npos) {
        report(column, "'{' without its '}'");
        break;
      }
      if (std::string problem = EncodeEscape(source.substr(at + 1, close - at - 1), &out);
          !problem.empty())
        report(column, problem);
      column += static_cast<int>(close - at);  // the escape's characters are all ASCII
      at = close + 1;
      continue;
    }
    std::string problem;
    const std::uint16_t glyph = charset.ReadGlyph(source, &at, &problem);
    if (!problem.empty()) report(column, problem);
    out.insert(out.end(),
               {static_cast<std::uint8_t>(glyph >> 8), static_cast<std::uint8_t>(glyph & 0xFF)});
  }
  if (!problems.empty()) return problems;
  out.push_back(kMessageEnd);
  *bytes = std::move(out);
  return "";
}

std::string DecodeMessageText(std::span<const std::uint8_t> bytes, const Charset& charset,
                              std::string* problem) {
  std::string text;
  problem->clear();
  std::size_t at = 0;
  auto fail = [&](const std::string& what) {
    *problem = "byte " + std::to_string(at) + ": " + what;
    return text;
  };
  while (at < bytes.size()) {
    core::TextItem item;
    if (!core::ScanTextItem(bytes.data(), bytes.size(), at, &item)) {
      if (bytes[at] < 0x20) return fail("a glyph cut short");
      if (bytes[at] == kMessageSetX) return fail("{x:} cut short");
      if (bytes[at] == kMessageSetY) return fail("{y:} cut short");
      item.kind = core::TextItemKind::kIgnored;  // written as a raw byte all the same
    } else if (item.kind == core::TextItemKind::kEnd) {
      if (at + 1 != bytes.size()) return fail("bytes after the end byte");
      return text;
    }
    if (AppendNamedItem(item, charset, &text)) {
      at += item.length;
    } else {
      char raw[8];
      std::snprintf(raw, sizeof raw, "{0x%02X}", bytes[at]);
      text += raw;
      ++at;
    }
  }
  return fail("no end byte");
}

}  // namespace authoring
