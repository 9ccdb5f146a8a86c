#include "authoring/scn_disassembler.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <map>
#include <span>
#include <unordered_map>
#include <vector>

#include "authoring/scn_text.h"
#include "core/opcode_table.h"
#include "core/text_code_table.h"

namespace authoring {
namespace {

using Block = std::span<const std::uint8_t>;

// Label lines written at one offset; further entries of the same offset become directives.
constexpr std::size_t kLabelLinesPerOffset = 4;
constexpr std::size_t kBytesPerDbLine = 16;
// A label that cuts an instruction is honoured by splitting it; jump targets inside an
// instruction are too, for this many passes (each pass can change what the next decodes),
// and are written as NAME+k after that.
constexpr int kSplitPasses = 8;
constexpr std::size_t kPreviewCharacters = 40;
constexpr const char* kIndent = "    ";

std::string Hex(std::size_t value, int digits) {
  char text[24];
  std::snprintf(text, sizeof text, "%0*zX", digits, value);
  return text;
}

std::string OffsetText(std::size_t offset) { return "0x" + Hex(offset, 4); }

void AppendDbLines(Block block, std::size_t from, std::size_t to, std::string* out) {
  for (std::size_t line = from; line < to; line += kBytesPerDbLine) {
    *out += kIndent;
    *out += "db";
    for (std::size_t at = line; at < std::min(to, line + kBytesPerDbLine); ++at)
      *out += " 0x" + Hex(block[at], 2);
    *out += '\n';
  }
}

// `.DIRECTIVE N TARGET` lines for the table entries whose target text is not empty, runs
// of equal targets as one `N-M` line.
void AppendTableDirectives(std::string_view directive,
                           const std::array<std::string, kScnTableEntries>& targets,
                           std::string* out) {
  for (std::size_t n = 0; n < kScnTableEntries; ++n) {
    if (targets[n].empty()) continue;
    std::size_t last = n;
    while (last + 1 < kScnTableEntries && targets[last + 1] == targets[n]) ++last;
    *out += std::string(directive) + " " + std::to_string(n) +
            (last > n ? "-" + std::to_string(last) : "") + " " + targets[n] + "\n";
    n = last;
  }
}

// Table entries that point into the block's body, by offset, in entry order.
std::map<std::size_t, std::vector<std::size_t>> EntriesByOffset(Block block) {
  std::map<std::size_t, std::vector<std::size_t>> at;
  for (std::size_t n = 0; n < kScnTableEntries; ++n) {
    const std::size_t offset = ScnTableEntry(block, n);
    if (offset >= kScnBodyStart && offset < block.size()) at[offset].push_back(n);
  }
  return at;
}

// The target text of every table entry: "" for the first entries of an offset that the
// source marks with label lines (`labelled`), a name (`name_of`) or a number otherwise.
std::array<std::string, kScnTableEntries> EntryTargets(
    Block block, const std::map<std::size_t, std::vector<std::size_t>>& entries_at,
    const std::function<bool(std::size_t)>& labelled,
    const std::function<std::string(std::size_t)>& name_of) {
  std::array<std::string, kScnTableEntries> targets;
  for (std::size_t n = 0; n < kScnTableEntries; ++n) {
    const std::size_t offset = ScnTableEntry(block, n);
    auto it = entries_at.find(offset);
    if (it == entries_at.end()) {
      targets[n] = OffsetText(offset);
      continue;
    }
    const auto& numbers = it->second;
    const std::size_t index =
        static_cast<std::size_t>(std::find(numbers.begin(), numbers.end(), n) - numbers.begin());
    if (index >= kLabelLinesPerOffset || !labelled(offset)) targets[n] = name_of(offset);
  }
  return targets;
}

void AppendRaw(std::string_view section, Block block, std::string* out) {
  *out += std::string(section) + "\n.raw  ; " + std::to_string(block.size()) +
          " bytes, too short for the table\n";
  AppendDbLines(block, 0, block.size(), out);
}

// --- Event code -------------------------------------------------------------------------

struct CodeItem {
  std::size_t pos = 0;
  std::size_t length = 0;
  bool instruction = false;
  core::Instruction decoded;
};

std::vector<CodeItem> SweepCode(Block block, const std::vector<bool>& boundary) {
  std::vector<CodeItem> items;
  auto add_data = [&](std::size_t from, std::size_t to) {
    if (!items.empty() && !items.back().instruction &&
        items.back().pos + items.back().length == from) {
      items.back().length += to - from;
    } else {
      items.push_back({from, to - from, false, {}});
    }
  };
  std::size_t pos = kScnBodyStart;
  while (pos < block.size()) {
    core::Instruction decoded;
    const bool whole = core::DecodeInstruction(block.data(), block.size(), pos, &decoded);
    if (!whole) {
      // Cut off by the block's end: data up to the next label.
      std::size_t next = pos + 1;
      while (next < block.size() && !boundary[next]) ++next;
      add_data(pos, next);
      pos = next;
    } else if (decoded.info == nullptr) {
      add_data(pos, pos + 1);
      ++pos;
    } else {
      std::size_t cut = 0;
      for (std::size_t k = 1; k < decoded.length && cut == 0; ++k)
        if (boundary[pos + k]) cut = k;
      if (cut != 0) {
        add_data(pos, pos + cut);
        pos += cut;
      } else {
        items.push_back({pos, decoded.length, true, decoded});
        pos += decoded.length;
      }
    }
  }
  return items;
}

std::size_t JumpTarget(const CodeItem& item, std::size_t operand) {
  return static_cast<std::size_t>(static_cast<std::int64_t>(item.pos + item.length) +
                                  item.decoded.Value(operand));
}

class EventDisassembly {
 public:
  EventDisassembly(Block block, Block messages, const Charset& charset)
      : block_(block), messages_(messages), charset_(charset) {}

  void Append(std::string* out) {
    entries_at_ = EntriesByOffset(block_);
    Decode();
    NameOffsets();
    *out += ".event\n";
    const std::uint16_t header = static_cast<std::uint16_t>(block_[0] | block_[1] << 8);
    if (header != 0) *out += ".header " + OffsetText(header) + "\n";
    // Every label offset starts an instruction or lies in data, where label lines go.
    AppendTableDirectives(".label",
                          EntryTargets(
                              block_, entries_at_, [](std::size_t) { return true; },
                              [&](std::size_t offset) { return TargetName(offset); }),
                          out);
    *out += '\n';
    for (const CodeItem& item : items_) {
      if (item.instruction) {
        AppendLabelLines(item.pos, out);
        AppendInstruction(item, out);
        continue;
      }
      std::size_t run = item.pos;
      for (std::size_t at = item.pos; at < item.pos + item.length; ++at) {
        if (at > run && names_.count(at) != 0) {
          AppendDbLines(block_, run, at, out);
          run = at;
        }
        if (at == run) AppendLabelLines(at, out);
      }
      AppendDbLines(block_, run, item.pos + item.length, out);
    }
  }

 private:
  bool InCode(std::size_t offset) const {
    return offset >= kScnBodyStart && offset < block_.size();
  }

  // The item that holds `offset` (which lies in the code).
  const CodeItem& ItemAt(std::size_t offset) const {
    auto it = std::upper_bound(items_.begin(), items_.end(), offset,
                               [](std::size_t o, const CodeItem& item) { return o < item.pos; });
    return *(it - 1);
  }

  bool InsideInstruction(std::size_t offset) const {
    const CodeItem& item = ItemAt(offset);
    return item.instruction && item.pos != offset;
  }

  std::vector<std::size_t> Targets() const {
    std::vector<std::size_t> targets;
    for (const CodeItem& item : items_) {
      if (!item.instruction) continue;
      for (std::size_t i = 0; i < item.decoded.operand_count; ++i) {
        if (item.decoded.kinds[i] != core::OperandKind::kDisplacement) continue;
        const std::size_t target = JumpTarget(item, i);
        if (InCode(target)) targets.push_back(target);
      }
    }
    return targets;
  }

  bool AnyTargetInsideAnInstruction() const {
    const std::vector<std::size_t> targets = Targets();
    return std::any_of(targets.begin(), targets.end(),
                       [&](std::size_t t) { return InsideInstruction(t); });
  }

  void Decode() {
    std::vector<bool> labels(block_.size() + 1, false);
    for (const auto& [offset, numbers] : entries_at_) labels[offset] = true;
    std::vector<bool> boundary = labels;
    for (int pass = 0;; ++pass) {
      items_ = SweepCode(block_, boundary);
      if (pass + 1 == kSplitPasses) break;
      bool split = false;
      for (std::size_t target : Targets()) {
        if (InsideInstruction(target)) {
          boundary[target] = true;
          split = true;
        }
      }
      if (!split) break;
    }
    // A split made for a jump that a later split took apart cuts code for nothing: keep only
    // the labels and the targets of what is decoded now, if no target then falls inside.
    std::vector<bool> needed = labels;
    for (std::size_t target : Targets()) needed[target] = true;
    if (needed == boundary) return;
    std::vector<CodeItem> kept = std::move(items_);
    items_ = SweepCode(block_, needed);
    if (AnyTargetInsideAnInstruction()) items_ = std::move(kept);
  }

  void Name(std::size_t offset) {
    if (names_.count(offset) == 0) names_[offset] = "J" + Hex(offset, 4);
  }

  void NameOffsets() {
    for (const auto& [offset, numbers] : entries_at_)
      names_[offset] = "L" + std::to_string(numbers[0]);
    for (std::size_t target : Targets())
      Name(InsideInstruction(target) ? ItemAt(target).pos : target);
  }

  // A code offset as a name, NAME+k inside an instruction.
  std::string TargetName(std::size_t offset) const {
    const CodeItem& item = ItemAt(offset);
    if (item.instruction && item.pos != offset)
      return names_.at(item.pos) + "+" + std::to_string(offset - item.pos);
    return names_.at(offset);
  }

  void AppendLabelLines(std::size_t offset, std::string* out) const {
    if (auto it = entries_at_.find(offset); it != entries_at_.end()) {
      for (std::size_t i = 0; i < std::min(it->second.size(), kLabelLinesPerOffset); ++i)
        *out += "L" + std::to_string(it->second[i]) + ":\n";
    } else if (auto name = names_.find(offset); name != names_.end()) {
      *out += name->second + ":\n";
    }
  }

  std::string OperandText(const CodeItem& item, std::size_t i) const {
    const core::Instruction& decoded = item.decoded;
    switch (decoded.kinds[i]) {
      case core::OperandKind::kDisplacement: {
        const std::size_t target = JumpTarget(item, i);
        return InCode(target) ? TargetName(target) : std::to_string(decoded.Value(i));
      }
      case core::OperandKind::kLabel: return "L" + std::to_string(decoded.operands[i]);
      default: return std::to_string(decoded.operands[i]);
    }
  }

  // The start of message m as a comment, when it is a whole text.
  std::string MessagePreview(std::uint8_t m) const {
    if (messages_.size() < kScnBodyStart) return "";
    const std::size_t offset = ScnTableEntry(messages_, m);
    const auto end = core::MessageEnd(messages_.data(), messages_.size(), offset);
    if (offset < kScnBodyStart || !end) return "";
    std::string problem;
    const std::string text =
        DecodeTaggedText(messages_.subspan(offset, *end - offset), charset_, &problem);
    std::size_t cut = 0, characters = 0;
    while (cut < text.size() && characters < kPreviewCharacters) {
      ++cut;
      while (cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) ++cut;
      ++characters;
    }
    return cut < text.size() ? text.substr(0, cut) + "…" : text;
  }

  void AppendInstruction(const CodeItem& item, std::string* out) const {
    const core::Instruction& decoded = item.decoded;
    std::string line = kIndent + std::string(decoded.info->mnemonic);
    for (std::size_t i = 0; i < decoded.operand_count; ++i) line += " " + OperandText(item, i);
    // An instruction that shows one message: its text beside it.
    if (decoded.operand_count == 1 && decoded.kinds[0] == core::OperandKind::kMessage) {
      if (std::string preview = MessagePreview(decoded.operands[0]); !preview.empty())
        line += "  ; " + preview;
    }
    *out += line + "\n";
  }

  Block block_;
  Block messages_;
  const Charset& charset_;
  std::map<std::size_t, std::vector<std::size_t>> entries_at_;
  std::vector<CodeItem> items_;
  std::unordered_map<std::size_t, std::string> names_;
};

// --- Message texts ------------------------------------------------------------------------

struct TextItem {
  std::size_t pos = 0;
  std::size_t end = 0;  // after the 0xAF of a text; the end of a run of data
  bool text = false;
};

// Whether the decoded text has a tag that ends a line at `at`.
bool LineEndingTagAt(const std::string& text, std::size_t at) {
  if (at >= text.size() || text[at] != '{') return false;
  const std::size_t close = text.find('}', at);
  return TagEndsLine(std::string_view(text).substr(at + 1, close - at - 1));
}

// The source lines of a text: a line ends after a run of new lines and reader waits.
std::vector<std::string> SplitTextLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at = 0; at < text.size();) {
    if (text[at] != '{') {
      ++at;
      continue;
    }
    const bool ends_line = LineEndingTagAt(text, at);
    at = text.find('}', at) + 1;
    if (ends_line && at < text.size() && !LineEndingTagAt(text, at)) {
      lines.push_back(text.substr(start, at - start));
      start = at;
    }
  }
  lines.push_back(text.substr(start));
  return lines;
}

class MessageDisassembly {
 public:
  MessageDisassembly(Block block, const Charset& charset) : block_(block), charset_(charset) {}

  void Append(std::string* out) {
    entries_at_ = EntriesByOffset(block_);
    Partition();
    *out += ".messages\n";
    const std::uint16_t header = static_cast<std::uint16_t>(block_[0] | block_[1] << 8);
    if (header != 0) *out += ".header " + OffsetText(header) + "\n";
    AppendTableDirectives(
        ".message",
        EntryTargets(
            block_, entries_at_, [&](std::size_t offset) { return ItemAt(offset).pos == offset; },
            [&](std::size_t offset) { return NameOf(offset); }),
        out);
    *out += '\n';
    for (const TextItem& item : items_) {
      if (auto it = entries_at_.find(item.pos); it != entries_at_.end()) {
        for (std::size_t i = 0; i < std::min(it->second.size(), kLabelLinesPerOffset); ++i)
          *out += "M" + std::to_string(it->second[i]) + ":\n";
      } else if (item.text) {
        *out += "T" + Hex(item.pos, 4) + ":\n";
      }
      if (!item.text) {
        AppendDbLines(block_, item.pos, item.end, out);
        continue;
      }
      std::string problem;
      const std::string text =
          DecodeTaggedText(block_.subspan(item.pos, item.end - item.pos), charset_, &problem);
      for (const std::string& line : SplitTextLines(text)) *out += kIndent + ("\"" + line + "\"\n");
    }
  }

 private:
  // Texts from every table offset and every other place where a whole text fits before the
  // next table offset; data between.
  void Partition() {
    std::size_t pos = kScnBodyStart;
    while (pos < block_.size()) {
      auto next = entries_at_.upper_bound(pos);
      const std::size_t next_start = next == entries_at_.end() ? block_.size() : next->first;
      const bool starts_message = entries_at_.count(pos) != 0;
      const auto end = core::MessageEnd(block_.data(), block_.size(), pos);
      if (end && (starts_message || *end <= next_start)) {
        items_.push_back({pos, *end, true});
        pos = *end;
      } else if (!items_.empty() && !items_.back().text && !starts_message) {
        items_.back().end = next_start;
        pos = next_start;
      } else {
        items_.push_back({pos, next_start, false});
        pos = next_start;
      }
    }
  }

  const TextItem& ItemAt(std::size_t offset) const {
    auto it = std::upper_bound(items_.begin(), items_.end(), offset,
                               [](std::size_t o, const TextItem& item) { return o < item.pos; });
    return *(it - 1);
  }

  // An offset in the body: the name of the item it starts, NAME+k inside a text.
  std::string NameOf(std::size_t offset) const {
    const TextItem& item = ItemAt(offset);
    auto entries = entries_at_.find(item.pos);
    const std::string name = entries != entries_at_.end() ? "M" + std::to_string(entries->second[0])
                                                          : "T" + Hex(item.pos, 4);
    return offset == item.pos ? name : name + "+" + std::to_string(offset - item.pos);
  }

  Block block_;
  const Charset& charset_;
  std::map<std::size_t, std::vector<std::size_t>> entries_at_;
  std::vector<TextItem> items_;
};

}  // namespace

std::string DisassembleScenario(const ScenarioBlocks& blocks, const Charset& charset,
                                std::string_view title) {
  std::string out = "; " + std::string(title) + "\n";
  const Block event(blocks.event), messages(blocks.messages);
  if (event.size() < kScnBodyStart) {
    AppendRaw(".event", event, &out);
  } else {
    EventDisassembly(event, messages, charset).Append(&out);
  }
  out += '\n';
  if (messages.size() < kScnBodyStart) {
    AppendRaw(".messages", messages, &out);
  } else {
    MessageDisassembly(messages, charset).Append(&out);
  }
  return out;
}

}  // namespace authoring
