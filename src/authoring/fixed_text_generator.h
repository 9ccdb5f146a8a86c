// The system's fixed texts (menu items, questions, the slot screen, the music mode) are
// written once as UTF-8 in src/text/fixed_texts.txt and compiled at build time into C++
// byte arrays of message text. This is the parser and the code generator of that step.
//
// Source format, one text per line: a C++ identifier, blanks, then the text up to the end
// of the line (trailing blanks dropped; escapes as in message_text_source.h). `Name[i]`
// makes element i of the array Name, whose elements must be 0 … n − 1. Lines whose first
// non-blank character is `#` are comments; empty lines are ignored.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "authoring/charset.h"

namespace authoring {

struct FixedTextLine {
  std::string name;
  int index = -1;  // -1: a single text, else the element of the array `name`
  std::string source;
  int line = 0;
};

// Returns "" on success, else one problem per line with its line number.
std::string ParseFixedTexts(std::string_view text, std::string_view source_name,
                            std::vector<FixedTextLine>* lines);

struct GeneratedFixedTexts {
  std::string header;  // text/fixed_texts.h
  std::string source;  // text/fixed_texts.cpp
};

// Encodes every text through the charset into the generated header and source (namespace
// `text`). Returns "" on success, else one problem per text that cannot be encoded, naming
// the text, its line and the character.
std::string GenerateFixedTexts(const std::vector<FixedTextLine>& lines, const Charset& charset,
                               std::string_view source_name, std::string_view charset_name,
                               GeneratedFixedTexts* out);

}  // namespace authoring
