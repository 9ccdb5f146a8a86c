#include "authoring/utf8.h"

#include <cstdio>

namespace authoring {

std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t* at) {
  std::size_t i = *at;
  if (i >= text.size()) return std::nullopt;
  const auto lead = static_cast<unsigned char>(text[i]);
  int extra;
  char32_t cp;
  if (lead < 0x80) {
    *at = i + 1;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1, cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, cp = lead & 0x07;
  } else {
    return std::nullopt;
  }
  if (text.size() - i <= static_cast<std::size_t>(extra)) return std::nullopt;
  for (int k = 1; k <= extra; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (next & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  *at = i + 1 + extra;
  return cp;
}

void AppendUtf8(char32_t cp, std::string* out) {
  if (cp < 0x80) {
    *out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out += static_cast<char>(0xC0 | (cp >> 6));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *out += static_cast<char>(0xE0 | (cp >> 12));
    *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (cp >> 18));
    *out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string CodePointName(char32_t cp) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(cp));
  return name;
}

}  // namespace authoring
