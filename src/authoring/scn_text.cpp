#include "authoring/scn_text.h"

#include "authoring/message_text_source.h"
#include "authoring/scn_source.h"
#include "authoring/utf8.h"
#include "core/opcode_table.h"
#include "core/text_code_table.h"

namespace authoring {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> SplitArguments(std::string_view arguments) {
  std::vector<std::string_view> parts;
  if (Trim(arguments).empty()) return parts;
  for (std::size_t start = 0;;) {
    const std::size_t comma = arguments.find(',', start);
    parts.push_back(Trim(arguments.substr(start, comma - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return parts;
}

std::string OperandCountProblem(std::string_view tag, std::string_view name, std::size_t count,
                                std::string_view operand_names) {
  if (count == 0) return "{" + std::string(tag) + "}: " + std::string(name) + " takes no operands";
  return "{" + std::string(tag) + "}: " + std::string(name) + " takes " + std::to_string(count) +
         (count == 1 ? " operand (" : " operands (") + std::string(operand_names) + ")";
}

// The bytes of one tag (the text between the braces), or what is wrong with it.
std::string EncodeTag(std::string_view tag, std::vector<std::uint8_t>* out) {
  const std::string_view trimmed = Trim(tag);
  const std::size_t colon = trimmed.find(':');
  const std::string_view name = Trim(trimmed.substr(0, colon));
  const std::vector<std::string_view> arguments = colon == std::string_view::npos
                                                      ? std::vector<std::string_view>{}
                                                      : SplitArguments(trimmed.substr(colon + 1));
  const std::string quoted = "{" + std::string(tag) + "}";

  if (name.starts_with("0x") && colon == std::string_view::npos) {
    auto byte = scn::ParseNumber(name);
    if (!byte || *byte > 0xFF || *byte < 0x20 || *byte == kMessageEnd)
      return quoted + ": a raw byte must be from 0x20 to 0xFF and not 0xAF";
    out->push_back(static_cast<std::uint8_t>(*byte));
    return "";
  }

  if (const core::TextCodeInfo* code = core::FindTextCode(name)) {
    if (code->number == kMessageSetX || code->number == kMessageSetY) {
      const bool is_x = code->number == kMessageSetX;
      auto value = arguments.size() == 1 ? scn::ParseNumber(arguments[0]) : std::nullopt;
      if (is_x) {
        if (!value || *value < 0 || *value % 8 != 0 || *value > 255 * 8)
          return quoted + ": x must be a multiple of 8 from 0 to 2040";
        out->insert(out->end(), {code->number, static_cast<std::uint8_t>(*value / 8)});
      } else {
        if (!value || *value < 0 || *value > 0xFFFF) return quoted + ": y must be from 0 to 65535";
        out->insert(out->end(), {code->number, static_cast<std::uint8_t>(*value & 0xFF),
                                 static_cast<std::uint8_t>(*value >> 8)});
      }
      return "";
    }
    if (arguments.size() != code->operand_bytes)
      return OperandCountProblem(tag, name, code->operand_bytes, code->layout);
    std::vector<std::uint8_t> bytes = {code->number};
    for (std::string_view argument : arguments) {
      auto value = scn::ParseNumber(argument);
      if (!value || *value < 0 || *value > 0xFF)
        return quoted + ": '" + std::string(argument) + "' is not a byte value (0 to 255)";
      bytes.push_back(static_cast<std::uint8_t>(*value));
    }
    out->insert(out->end(), bytes.begin(), bytes.end());
    return "";
  }

  const core::OpcodeInfo* op = core::FindOpcode(name);
  if (op == nullptr) return "unknown tag " + quoted;
  if (!op->in_text || op->form != core::OpcodeForm::kFixed)
    return quoted + ": " + std::string(name) + " is an event instruction that text cannot hold";
  if (arguments.size() != op->layout.size())
    return OperandCountProblem(tag, name, op->layout.size(), SpacedLetters(op->layout));
  std::vector<std::uint8_t> bytes = {op->number};
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    auto value = scn::ParseNumber(arguments[i]);
    const bool signed_operand =
        core::OperandLetterKind(op->layout[i]) == core::OperandKind::kDisplacement;
    const std::int64_t low = signed_operand ? -128 : 0, high = signed_operand ? 127 : 255;
    if (!value || *value < low || *value > high)
      return quoted + ": '" + std::string(arguments[i]) + "' is out of range for " +
             std::string(1, op->layout[i]) + " (" + std::to_string(low) + " to " +
             std::to_string(high) + ")";
    bytes.push_back(static_cast<std::uint8_t>(*value));
  }
  out->insert(out->end(), bytes.begin(), bytes.end());
  return "";
}

void AppendQuotableGlyph(std::uint16_t glyph, const Charset& charset, std::string* out) {
  const std::optional<char32_t> character = charset.CharacterOf(glyph);
  if (character && *character != U'"') {
    AppendUtf8(*character, out);
  } else {
    *out += "<g" + std::to_string(glyph) + ">";
  }
}

void AppendTag(std::string_view name, const std::uint8_t* operands, std::size_t count,
               const core::Instruction* instruction, std::string* out) {
  *out += '{';
  *out += name;
  for (std::size_t i = 0; i < count; ++i) {
    *out += i == 0 ? ':' : ',';
    *out += std::to_string(instruction ? instruction->Value(i) : operands[i]);
  }
  *out += '}';
}

}  // namespace

std::string SpacedLetters(std::string_view letters) {
  std::string out;
  for (char c : letters) {
    if (!out.empty()) out += ' ';
    out += c;
  }
  return out;
}

std::vector<TextProblem> EncodeTaggedText(std::string_view text, const Charset& charset,
                                          std::vector<std::uint8_t>* out) {
  std::vector<TextProblem> problems;
  std::size_t column = 1;
  for (std::size_t at = 0; at < text.size(); ++column) {
    if (text[at] == '{') {
      const std::size_t close = text.find('}', at);
      if (close == std::string_view::npos) {
        problems.push_back({column, "'{' without its '}'"});
        break;
      }
      if (std::string problem = EncodeTag(text.substr(at + 1, close - at - 1), out);
          !problem.empty())
        problems.push_back({column, problem});
      column += scn::CharacterCount(text.substr(at, close - at));
      at = close + 1;
      continue;
    }
    std::string problem;
    const std::uint16_t glyph = charset.ReadGlyph(text, &at, &problem);
    if (!problem.empty()) problems.push_back({column, problem});
    out->insert(out->end(),
                {static_cast<std::uint8_t>(glyph >> 8), static_cast<std::uint8_t>(glyph & 0xFF)});
  }
  return problems;
}

std::string DecodeTaggedText(std::span<const std::uint8_t> bytes, const Charset& charset,
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
      const auto* code = core::FindTextCode(bytes[at]);
      return fail("{" + std::string(code ? code->mnemonic : core::FindOpcode(bytes[at])->mnemonic) +
                  "} cut short");
    }
    switch (item.kind) {
      case core::TextItemKind::kGlyph: AppendQuotableGlyph(item.glyph, charset, &text); break;
      case core::TextItemKind::kEnd:
        if (at + 1 != bytes.size()) return fail("bytes after the end byte");
        return text;
      case core::TextItemKind::kCode:
        if (item.code->number == kMessageSetX) {
          text += "{x:" + std::to_string(item.operands[0] * 8) + "}";
        } else if (item.code->number == kMessageSetY) {
          text += "{y:" + std::to_string(item.operands[0] | item.operands[1] << 8) + "}";
        } else {
          AppendTag(item.code->mnemonic, item.operands, item.code->operand_bytes, nullptr, &text);
        }
        break;
      case core::TextItemKind::kOperation:
        AppendTag(item.operation.info->mnemonic, nullptr, item.operation.operand_count,
                  &item.operation, &text);
        break;
      case core::TextItemKind::kIgnored: {
        static constexpr char kHex[] = "0123456789ABCDEF";
        text += "{0x";
        text += kHex[bytes[at] >> 4];
        text += kHex[bytes[at] & 0xF];
        text += '}';
        break;
      }
    }
    at += item.length;
  }
  return fail("no end byte");
}

bool TagEndsLine(std::string_view tag) {
  const core::TextCodeInfo* code = core::FindTextCode(tag);
  // New line, carriage return and the two reader waits.
  if (code == nullptr) return false;
  switch (static_cast<core::TextCode>(code->number)) {
    case core::TextCode::NewLine:
    case core::TextCode::CarriageReturn:
    case core::TextCode::WaitLine:
    case core::TextCode::WaitPage: return true;
    default: return false;
  }
}

}  // namespace authoring
