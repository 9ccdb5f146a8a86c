#include "core/text_code_table.h"

#include <algorithm>
#include <iterator>

namespace core {
namespace {

constexpr std::uint8_t CountNames(std::string_view layout) {
  std::uint8_t count = 0;
  bool in_name = false;
  for (char c : layout) {
    if (c == ' ') {
      in_name = false;
    } else if (!in_name) {
      in_name = true;
      ++count;
    }
  }
  return count;
}

constexpr TextCodeInfo kCodes[] = {
#define HOTARU_TEXT_CODE(number, Name, mnemonic, layout, effect) \
  {number, mnemonic, layout, CountNames(layout), effect},
#include "core/text_code_list.h"
#undef HOTARU_TEXT_CODE
};

constexpr bool OneRowPerCode() {
  if (std::size(kCodes) != kLastTextCode - kFirstTextCode + 1) return false;
  for (std::size_t i = 0; i < std::size(kCodes); ++i) {
    if (kCodes[i].number != kFirstTextCode + i) return false;
  }
  return true;
}
static_assert(OneRowPerCode(), "one text code row per code, in order");

}  // namespace

std::span<const TextCodeInfo> TextCodeTable() { return kCodes; }

const TextCodeInfo* FindTextCode(std::uint8_t number) {
  if (number < kFirstTextCode || number > kLastTextCode) return nullptr;
  return &kCodes[number - kFirstTextCode];
}

const TextCodeInfo* FindTextCode(std::string_view mnemonic) {
  auto it = std::find_if(std::begin(kCodes), std::end(kCodes),
                         [&](const TextCodeInfo& row) { return row.mnemonic == mnemonic; });
  return it == std::end(kCodes) ? nullptr : &*it;
}

bool ScanTextItem(const std::uint8_t* text, std::size_t size, std::size_t pos, TextItem* out) {
  if (pos >= size) return false;
  const std::uint8_t b = text[pos];
  out->pos = pos;
  out->length = 1;
  out->code = nullptr;
  out->operands = nullptr;
  if (b < 0x20) {
    if (size - pos < 2) return false;
    out->kind = TextItemKind::kGlyph;
    out->glyph = static_cast<std::uint16_t>(b << 8 | text[pos + 1]);
    out->length = 2;
    return true;
  }
  if (b == kTextEnd) {
    out->kind = TextItemKind::kEnd;
    return true;
  }
  if (const TextCodeInfo* code = FindTextCode(b)) {
    if (size - pos - 1 < code->operand_bytes) return false;
    out->kind = TextItemKind::kCode;
    out->code = code;
    out->operands = text + pos + 1;
    out->length = 1u + code->operand_bytes;
    return true;
  }
  if (const OpcodeInfo* op = FindOpcode(b); op != nullptr && op->in_text) {
    if (!DecodeInstruction(text, size, pos, &out->operation)) return false;
    out->kind = TextItemKind::kOperation;
    out->length = out->operation.length;
    return true;
  }
  out->kind = TextItemKind::kIgnored;
  return true;
}

std::optional<std::size_t> MessageEnd(const std::uint8_t* text, std::size_t size, std::size_t pos) {
  TextItem item;
  while (ScanTextItem(text, size, pos, &item)) {
    pos += item.length;
    if (item.kind == TextItemKind::kEnd) return pos;
  }
  return std::nullopt;
}

}  // namespace core
