// Story text in scenario sources: message text written as UTF-8 with a readable tag for every
// control code and every embedded event operation, both taken from their tables
// (core/text_code_table.h, core/opcode_table.h).
//
// The language is the one of message_text_source.h grown to the whole encoding:
//   a character           its glyph through the charset table
//   <gN>                  glyph number N (0 … 8191)
//   {name}, {name:a,b,…}  the text code or the embedded operation of that mnemonic with its
//                         operand bytes in order (a displacement may be negative)
//   {x:N}                 0xB9 with the pen x N in pixels (a multiple of 8, at most 2040)
//   {y:N}                 0xBA with the pen y N (0 … 65535), low byte first
//   {0xNN}                the byte NN as it is (an ignored byte; never 0xAF nor below 0x20)
// The end byte 0xAF is not written: a text ends where its source ends. The decoder writes a
// glyph that shows '"' as <gN>, so that a decoded text can always be quoted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/charset.h"

namespace authoring {

struct TextProblem {
  std::size_t column = 0;  // characters from the start of the text, counted from 1
  std::string what;
};

// "n e t" for the operand layout letters "net", as messages name operands.
std::string SpacedLetters(std::string_view letters);

// Appends the bytes of tagged text (no end byte) to *out. Returns every problem found; the
// bytes appended are then incomplete.
std::vector<TextProblem> EncodeTaggedText(std::string_view text, const Charset& charset,
                                          std::vector<std::uint8_t>* out);

// The tagged form of one whole message text: `bytes` hold the items of the text and its end
// byte 0xAF as the last byte. Answers "" in *problem when they do, else what is wrong (the
// text is then what could be read).
std::string DecodeTaggedText(std::span<const std::uint8_t> bytes, const Charset& charset,
                             std::string* problem);

// Whether the tag text (between the braces) ends a line of the reader's text: new lines and
// reader waits. The disassembler breaks its source lines after them.
bool TagEndsLine(std::string_view tag);

}  // namespace authoring
