// Message text written as UTF-8 source: characters become glyph numbers through the charset
// table, a few escapes stand for the control codes that the system's own texts need, and
// the result ends in the end byte 0xAF.
//
// Escapes: `{nl}` new line (0xB0); `{x:N}` pen x and left margin = N (0xB9 N/8; N a
// multiple of 8, at most 2040); `{y:N}` pen y = N (0xBA, low byte, high byte; N at most
// 65535); `{0xNN}` the byte NN as it is (a code without a name here, never 0xAF nor a byte
// below 0x20); `<gN>` glyph number N (see Charset::ReadGlyph).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/charset.h"
#include "core/text_code_table.h"

namespace authoring {

inline constexpr std::uint8_t kMessageEnd = core::kTextEnd;
inline constexpr auto kMessageNewLine = static_cast<std::uint8_t>(core::TextCode::NewLine);
inline constexpr auto kMessageSetX = static_cast<std::uint8_t>(core::TextCode::SetX);
inline constexpr auto kMessageSetY = static_cast<std::uint8_t>(core::TextCode::SetY);

// Encodes `source` into *bytes (replacing them), the end byte included. Returns "" on
// success, else one line per problem with its column (characters counted from 1).
std::string EncodeMessageText(std::string_view source, const Charset& charset,
                              std::vector<std::uint8_t>* bytes);

// The source form of message text bytes, up to and without the end byte. Answers "" in
// *problem when the bytes are one whole text ending in 0xAF, else what is wrong with them
// (the text is then what could be read).
std::string DecodeMessageText(std::span<const std::uint8_t> bytes, const Charset& charset,
                              std::string* problem);

}  // namespace authoring
