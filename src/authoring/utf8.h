// UTF-8 reading and writing for the authoring tools (the charset table, story and fixed
// texts are UTF-8 files).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace authoring {

// Decodes the character that starts at text[*at] and advances *at past it. Invalid UTF-8
// (a stray continuation byte, a cut sequence, an overlong form, a surrogate, a value past
// U+10FFFF) gives nullopt and leaves *at unchanged.
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t* at);

// Appends the UTF-8 form of a code point (at most U+10FFFF, no surrogate).
void AppendUtf8(char32_t code_point, std::string* out);

// "U+3042".
std::string CodePointName(char32_t code_point);

}  // namespace authoring
