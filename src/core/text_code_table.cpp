#include "core/text_code_table.h"

#include <algorithm>
#include <array>
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

struct Row {
  std::uint8_t number;
  std::string_view mnemonic;
  std::string_view layout;
  std::string_view effect;
};

// clang-format off
constexpr Row kRows[] = {
  // code  mnemonic          operands        effect
  {0xB0, "nl",              "",             "new line unless the last glyph wrapped: y += 30, x = left margin"},
  {0xB1, "cr",              "",             "x = 0; unless the last glyph wrapped, y += 30"},
  {0xB2, "wait_line",       "",             "reader wait with cursor 223 (skipped with Low on); menu at a scenario message"},
  {0xB3, "wait_page",       "",             "reader wait with cursor 226; a scenario message's page start moves after it"},
  {0xB4, "colour",          "k",            "ink colour = k"},
  {0xB5, "shadow",          "k",            "shadow colour = k"},
  {0xB6, "speed",           "n",            "glyph delay = n x 10 ms (0 none)"},
  {0xB7, "pause",           "n",            "Wait(n)"},
  {0xB8, "hurry_lock",      "",             "presses no longer complete the text"},
  {0xB9, "x",               "n",            "x = left margin = n x 8"},
  {0xBA, "y",               "lo hi",        "y = lo + 256 x hi"},
  {0xBB, "flash",           "",             "white flash, then the scene dimmed"},
  {0xBC, "quake",           "",             "Quake"},
  {0xBD, "bg_change",       "n e t",        "scene change to background n unless it is shown (effect e, transition t)"},
  {0xBE, "bg_always",       "n e t",        "scene change to background n"},
  {0xBF, "event_v_change",  "n e t",        "scene change to V picture n unless it is shown"},
  {0xC0, "event_h_change",  "n e t",        "scene change to H picture n unless it is shown"},
  {0xC1, "chara_change",    "p n",          "character n at position p mod 4 (mode p div 4) unless there, old one removed"},
  {0xC2, "chara_add",       "p n",          "the same without removing the old character"},
  {0xC3, "chara_only",      "p n",          "all characters removed, then character n at p, mode 1"},
  {0xC4, "bg_chara",        "p n b e t",    "background b and character n at p together"},
  {0xC5, "chara3",          "p n p n p n",  "three characters, each shown with its own mode"},
  {0xC6, "chara3_together", "p n p n p n",  "three characters shown together once"},
  {0xC7, "hurry_unlock",    "",             "presses complete the text again"},
  {0xC8, "wave_h",          "a z",          "arm the horizontal wave scene: flags 117 = 1, 118 = a, 119 = z"},
  {0xC9, "redraw",          "",             "RedrawPage up to here"},
  {0xCA, "claw1",           "",             "ClawEffect1"},
  {0xCB, "blood",           "",             "BloodEffect"},
  {0xCC, "wave_v",          "a z",          "arm the vertical wave scene: flags 120 = 1, 121 = a, 122 = z"},
  {0xCD, "claw2",           "",             "ClawEffect2"},
};
// clang-format on

constexpr auto kCodes = [] {
  std::array<TextCodeInfo, std::size(kRows)> codes{};
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    codes[i] = TextCodeInfo{kRows[i].number, kRows[i].mnemonic, kRows[i].layout,
                            CountNames(kRows[i].layout), kRows[i].effect};
  }
  return codes;
}();

constexpr bool OneRowPerCode() {
  if (kCodes.size() != kLastTextCode - kFirstTextCode + 1) return false;
  for (std::size_t i = 0; i < kCodes.size(); ++i) {
    if (kCodes[i].number != kFirstTextCode + i) return false;
  }
  return true;
}
static_assert(OneRowPerCode(), "one text code row per code, in order");

// Each enumerator of TextCode with the mnemonic of its row. The switch names every
// enumerator (-Wswitch refuses one left out), and the check below holds each byte's
// enumerator and row to the same mnemonic: no enumerator without its row, no row without its
// enumerator.
constexpr std::string_view MnemonicOf(TextCode code) {
  switch (code) {
    case TextCode::NewLine: return "nl";
    case TextCode::CarriageReturn: return "cr";
    case TextCode::WaitLine: return "wait_line";
    case TextCode::WaitPage: return "wait_page";
    case TextCode::Colour: return "colour";
    case TextCode::Shadow: return "shadow";
    case TextCode::Speed: return "speed";
    case TextCode::Pause: return "pause";
    case TextCode::HurryLock: return "hurry_lock";
    case TextCode::SetX: return "x";
    case TextCode::SetY: return "y";
    case TextCode::Flash: return "flash";
    case TextCode::Quake: return "quake";
    case TextCode::BackgroundChange: return "bg_change";
    case TextCode::BackgroundAlways: return "bg_always";
    case TextCode::EventPictureVChange: return "event_v_change";
    case TextCode::EventPictureHChange: return "event_h_change";
    case TextCode::CharacterChange: return "chara_change";
    case TextCode::CharacterAdd: return "chara_add";
    case TextCode::CharacterOnly: return "chara_only";
    case TextCode::BackgroundAndCharacter: return "bg_chara";
    case TextCode::ThreeCharacters: return "chara3";
    case TextCode::ThreeCharactersTogether: return "chara3_together";
    case TextCode::HurryUnlock: return "hurry_unlock";
    case TextCode::WaveH: return "wave_h";
    case TextCode::Redraw: return "redraw";
    case TextCode::Claw1: return "claw1";
    case TextCode::Blood: return "blood";
    case TextCode::WaveV: return "wave_v";
    case TextCode::Claw2: return "claw2";
  }
  return {};
}

constexpr bool EveryRowHasItsTextCode() {
  for (std::size_t number = 0; number < 256; ++number) {
    const bool in_table = number >= kFirstTextCode && number <= kLastTextCode;
    const std::string_view mnemonic =
        in_table ? kCodes[number - kFirstTextCode].mnemonic : std::string_view();
    if (MnemonicOf(static_cast<TextCode>(number)) != mnemonic) return false;
  }
  return true;
}
static_assert(EveryRowHasItsTextCode(), "TextCode and the text code rows must name the same codes");

}  // namespace

std::span<const TextCodeInfo> TextCodeTable() { return kCodes; }

const TextCodeInfo* FindTextCode(std::uint8_t number) {
  if (number < kFirstTextCode || number > kLastTextCode) return nullptr;
  return &kCodes[number - kFirstTextCode];
}

const TextCodeInfo* FindTextCode(std::string_view mnemonic) {
  auto it = std::find_if(kCodes.begin(), kCodes.end(),
                         [&](const TextCodeInfo& row) { return row.mnemonic == mnemonic; });
  return it == kCodes.end() ? nullptr : &*it;
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
