// Message text: the one table of its control codes (0xB0 … 0xCD) and a scanner that walks a
// message item by item without ever reading past the bytes it is given. The table's rows, and
// the enumerators of `TextCode`, are made from the one list of codes in core/text_code_list.h.
//
// A message is a run of items ended by 0xAF:
//   0x00 … 0x1F  a glyph: this byte and the next, glyph number = b × 256 + next
//   0xB0 … 0xCD  a control code of the text code table with its operand bytes
//   0xAF         the end
//   an opcode of the event table marked `in_text`: that embedded operation with the
//                operands of its event row
//   any other byte is ignored (one byte).
// The layout letters of a code name its operand bytes (n a number, k a colour, lo hi the two
// bytes of a 16-bit value, e a scene-clearing effect, t a transition, p a position with its
// mode, b a background, a and z the start and end modes); the count is what matters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "core/opcode_table.h"

namespace core {

constexpr std::uint8_t kTextEnd = 0xAF;
constexpr std::uint8_t kFirstTextCode = 0xB0;
constexpr std::uint8_t kLastTextCode = 0xCD;

// The control codes by name, one enumerator per row of the list.
enum class TextCode : std::uint8_t {
#define HOTARU_TEXT_CODE(number, Name, mnemonic, layout, effect) Name = number,
#include "core/text_code_list.h"
#undef HOTARU_TEXT_CODE
};

struct TextCodeInfo {
  std::uint8_t number;
  std::string_view mnemonic;
  std::string_view layout;  // space-separated operand names, one per byte
  std::uint8_t operand_bytes;
  std::string_view effect;
};

// The rows in ascending order, 0xB0 … 0xCD, one per code.
std::span<const TextCodeInfo> TextCodeTable();
const TextCodeInfo* FindTextCode(std::uint8_t number);
const TextCodeInfo* FindTextCode(std::string_view mnemonic);

enum class TextItemKind : std::uint8_t { kGlyph, kCode, kOperation, kEnd, kIgnored };

struct TextItem {
  TextItemKind kind = TextItemKind::kIgnored;
  std::size_t pos = 0;                     // offset of the item's first byte
  std::size_t length = 1;                  // bytes of the item, operands included
  std::uint16_t glyph = 0;                 // kGlyph
  const TextCodeInfo* code = nullptr;      // kCode
  Instruction operation;                   // kOperation
  const std::uint8_t* operands = nullptr;  // kCode: its operand bytes
};

// Reads the item at offset `pos` of `size` bytes. False when the item, or any of its
// operand bytes, lies at or beyond `size`.
bool ScanTextItem(const std::uint8_t* text, std::size_t size, std::size_t pos, TextItem* out);

// The offset just after the 0xAF that ends the message starting at `pos`, or nothing when
// the message runs to `size` (or beyond) without its end.
std::optional<std::size_t> MessageEnd(const std::uint8_t* text, std::size_t size, std::size_t pos);

}  // namespace core
