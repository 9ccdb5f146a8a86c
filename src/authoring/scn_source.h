// The lexical side of scenario sources: one line at a time into an optional label and the
// words and strings of its statement.
//
//   line    := [NAME ':'] [word | string]* [';' comment]
//   word    := characters up to a blank, a comma, a '"' or a ';'
//   string  := '"' any characters but '"' '"'   (a '"' glyph is written <gN>)
// Commas separate like blanks, so `jeq 5, 1, done` and `jeq 5 1 done` are the same.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace authoring::scn {

// A number as sources write it: decimal with an optional '-', or 0x followed by hex digits.
std::optional<std::int64_t> ParseNumber(std::string_view word);

// NAME: a letter or '_', then letters, digits and '_'.
bool IsName(std::string_view word);

// Characters (code points) of UTF-8 text, for columns.
std::size_t CharacterCount(std::string_view text);

struct Token {
  bool is_string = false;
  std::string_view text;   // the word, or a string's characters without its quotes
  std::size_t column = 0;  // of the first character (a string's opening quote), from 1
};

struct SourceLine {
  int number = 0;
  std::string_view label;  // NAME of a leading "NAME:", else empty
  std::size_t label_column = 0;
  std::vector<Token> tokens;  // the statement, empty when the line holds none
};

// Splits `text` (one line without its line break). Returns "" or what is wrong, with its
// column in *column.
std::string LexLine(std::string_view text, int number, SourceLine* out, std::size_t* column);

}  // namespace authoring::scn
