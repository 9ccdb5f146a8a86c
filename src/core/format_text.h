// The program's own text formatter: file names, messages, and texts built directly as
// message text (glyph numbers) for the save screens.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace core {

// One argument of FormatText: a 32-bit value (number or character) or a text.
struct FormatArg {
  FormatArg(std::int32_t v) : number(static_cast<std::uint32_t>(v)) {}
  FormatArg(std::uint32_t v) : number(v) {}
  FormatArg(std::int16_t v) : number(static_cast<std::uint32_t>(static_cast<std::int32_t>(v))) {}
  FormatArg(std::uint16_t v) : number(v) {}
  FormatArg(std::uint8_t v) : number(v) {}
  FormatArg(char v) : number(static_cast<std::uint8_t>(v)) {}
  FormatArg(const char* t) : text(t), is_text(true) {}
  FormatArg(char* t) : text(t), is_text(true) {}

  std::uint32_t number = 0;
  const char* text = nullptr;
  bool is_text = false;
};

struct FormatterState {
  // How half-width katakana bytes are written: 0 as they are, 1 full-width katakana,
  // 2 full-width hiragana. Reset to 0 by every FormatText call; read by TextColumns.
  int KanaMode = 0;

  bool operator==(const FormatterState&) const = default;
};
// Process lifetime.
extern FormatterState Formatter;
void ResetFormatterState();

// Formats into `out`, writing at most `capacity` - 1 bytes and a terminating NUL (nothing
// when capacity is 0). A result that would not fit stops at the last whole character that
// does. Returns the number of bytes written before the NUL.
int FormatTextTo(char* out, std::size_t capacity, const char* format,
                 std::initializer_list<FormatArg> args);

template <std::size_t N, typename... Args>
int FormatText(char (&out)[N], const char* format, Args... args) {
  return FormatTextTo(out, N, format, {FormatArg(args)...});
}

// The same into a string (at most 32,767 bytes, the formatter's own limit).
template <typename... Args>
std::string FormatString(const char* format, Args... args) {
  std::string out(32768, '\0');
  int n = FormatTextTo(out.data(), out.size(), format, {FormatArg(args)...});
  out.resize(static_cast<std::size_t>(n));
  return out;
}

// Display width in half-width columns.
std::uint16_t TextColumns(const char* text);

}  // namespace core
