#include "authoring/scn_audit.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <span>
#include <tuple>

#include "authoring/scn_code_walk.h"
#include "authoring/scn_file.h"
#include "core/opcode_table.h"
#include "core/text_code_table.h"

namespace authoring {
namespace {

using Block = std::span<const std::uint8_t>;

constexpr int kNoScenarioNumber = 255;

std::string Hex(std::size_t value) { return HexOffset(value); }

std::string Hex2(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

struct Finding {
  ScnBlock block = ScnBlock::kFile;
  std::size_t offset = 0;
  std::string what;
};

class FileAudit : CodeWalk::Visitor {
 public:
  FileAudit(const UnpackedScenario& unpacked, const std::map<int, const UnpackedScenario*>& all)
      : unpacked_(unpacked), all_(all) {}

  std::vector<std::string> Run() {
    for (const auto& what : unpacked_.problems) findings_.push_back({ScnBlock::kFile, 0, what});
    if (unpacked_.ok) {
      CheckSize(unpacked_.blocks.event, "EVENT DATA");
      CheckSize(unpacked_.blocks.messages, "MESSAGE DATA");
      if (unpacked_.HasCode())
        CheckTable(unpacked_.blocks.event, ScnBlock::kEvent, "label", "labels");
      if (unpacked_.HasTexts()) {
        CheckTable(unpacked_.blocks.messages, ScnBlock::kMessages, "message", "messages");
        CheckTexts();
      }
      if (unpacked_.HasCode()) WalkCode();
    }
    std::stable_sort(findings_.begin(), findings_.end(), [](const Finding& a, const Finding& b) {
      return std::tie(a.block, a.offset) < std::tie(b.block, b.offset);
    });
    std::vector<std::string> lines;
    for (const Finding& f : findings_)
      lines.push_back(FindingLine(unpacked_.name, f.block, f.offset, f.what));
    return lines;
  }

 private:
  void Add(ScnBlock block, std::size_t offset, std::string what) {
    findings_.push_back({block, offset, std::move(what)});
  }

  void CheckSize(const std::vector<std::uint8_t>& block, const char* name) {
    if (block.size() < kScnBodyStart)
      Add(ScnBlock::kFile, 0,
          std::string(name) + " is " + std::to_string(block.size()) +
              " bytes, too short for its table (" + std::to_string(kScnBodyStart) + ")");
  }

  // Entries past the end of the block (the loader refuses those), runs of equal ones as one.
  void CheckTable(Block block, ScnBlock which, const char* one, const char* many) {
    for (std::size_t n = 0; n < kScnTableEntries; ++n) {
      const std::size_t offset = ScnTableEntry(block, n);
      if (offset < block.size()) continue;
      std::size_t last = n;
      while (last + 1 < kScnTableEntries && ScnTableEntry(block, last + 1) == offset) ++last;
      const std::string numbers =
          last > n ? std::string(many) + " " + std::to_string(n) + "-" + std::to_string(last)
                   : std::string(one) + " " + std::to_string(n);
      Add(which, kScnTableStart + 2 * n,
          numbers + (last > n ? " point to " : " points to ") + Hex(offset) +
              ", past the end of the block (" + std::to_string(block.size()) + " bytes)");
      n = last;
    }
  }

  void CheckTexts() {
    const Block texts(unpacked_.blocks.messages);
    std::map<std::size_t, std::size_t> first_entry_at;
    for (std::size_t n = kScnTableEntries; n-- > 0;) {
      const std::size_t offset = ScnTableEntry(texts, n);
      if (offset >= kScnBodyStart && offset < texts.size()) first_entry_at[offset] = n;
    }
    for (const auto& [offset, n] : first_entry_at) {
      if (!core::MessageEnd(texts.data(), texts.size(), offset))
        Add(ScnBlock::kMessages, offset,
            "message " + std::to_string(n) + " does not end (no 0xAF before the block's end)");
    }
  }

  void WalkCode() {
    CodeWalk walk(unpacked_.blocks.event);
    for (std::size_t n = 0; n < kScnTableEntries; ++n)
      walk.StartLabel(static_cast<std::uint8_t>(n));
    // Labels that are always used: the entry routine, and where a new game begins.
    CheckUsedLabel(0, kScnTableStart, "the entry routine");
    if (unpacked_.number == 0) CheckUsedLabel(1, kScnTableStart + 2, "where a new game begins");
    walk_ = &walk;
    walk.Run(*this);
    walk_ = nullptr;
  }

  void CheckUsedLabel(std::size_t label, std::size_t at, const char* role) {
    const std::size_t offset = ScnTableEntry(unpacked_.blocks.event, label);
    if (offset < kScnBodyStart)
      Add(ScnBlock::kEvent, at,
          "label " + std::to_string(label) + " (" + role + ") points to " + Hex(offset) +
              ", into the table");
  }

  void RunsPastEnd(std::size_t last) override {
    Add(ScnBlock::kEvent, last, "the code runs past the end of the block");
  }

  void CutShort(std::size_t pos) override {
    Add(ScnBlock::kEvent, pos,
        "the instruction " + Hex2(unpacked_.blocks.event[pos]) +
            " is cut short by the end of the block");
  }

  void JumpOutside(std::size_t pos, const core::Instruction& instruction,
                   std::int64_t target) override {
    Add(ScnBlock::kEvent, pos,
        std::string(instruction.info->mnemonic) + " to " +
            Hex(static_cast<std::size_t>(std::max<std::int64_t>(target, 0))) +
            ", outside the code (" + Hex(kScnBodyStart) + " to " +
            Hex(unpacked_.blocks.event.size()) + ")");
  }

  void Instruction(std::size_t pos, const core::Instruction& instruction) override {
    if (instruction.info == nullptr) {
      Add(ScnBlock::kEvent, pos, "unknown opcode " + Hex2(instruction.opcode));
      return;
    }
    const std::string name(instruction.info->mnemonic);
    int scenario_number = -1;
    for (std::size_t i = 0; i < instruction.operand_count; ++i)
      if (instruction.kinds[i] == core::OperandKind::kScenario)
        scenario_number = instruction.operands[i];
    for (std::size_t i = 0; i < instruction.operand_count; ++i) {
      const std::uint8_t operand = instruction.operands[i];
      switch (instruction.kinds[i]) {
        case core::OperandKind::kLabel:
          if (scenario_number >= 0) {
            CheckScenarioTarget(pos, name, scenario_number, operand);
          } else if (const std::size_t offset = walk_->LabelOffset(operand);
                     !walk_->InCode(offset)) {
            Add(ScnBlock::kEvent, pos,
                name + " of label " + std::to_string(operand) + ", which points to " + Hex(offset) +
                    ", outside the code");
          }
          break;
        case core::OperandKind::kMessage: CheckMessage(pos, name, operand); break;
        default: break;
      }
    }
  }

  void CheckMessage(std::size_t pos, const std::string& name, std::uint8_t m) {
    if (!unpacked_.HasTexts()) {
      Add(ScnBlock::kEvent, pos,
          name + " of message " + std::to_string(m) + ", and MESSAGE DATA has no table");
      return;
    }
    const std::size_t offset = ScnTableEntry(unpacked_.blocks.messages, m);
    // Entries past the block's end are reported with the table, unterminated texts with the texts.
    if (offset < kScnBodyStart)
      Add(ScnBlock::kEvent, pos,
          name + " of message " + std::to_string(m) + ", which points to " + Hex(offset) +
              ", into the table");
  }

  void CheckScenarioTarget(std::size_t pos, const std::string& name, int number,
                           std::uint8_t label) {
    auto it = all_.find(number);
    if (number == kNoScenarioNumber || it == all_.end()) {
      Add(ScnBlock::kEvent, pos,
          name + " to scenario " + std::to_string(number) + ", which has no file " +
              (number == kNoScenarioNumber ? "(255 is no scenario)"
                                           : "(" + ScenarioName(number) + ")"));
      return;
    }
    // A target that does not unpack is reported with its own file.
    if (!it->second->HasCode()) return;
    const Block target(it->second->blocks.event);
    const std::size_t offset = ScnTableEntry(target, label);
    if (offset < kScnBodyStart || offset >= target.size())
      Add(ScnBlock::kEvent, pos,
          name + " to label " + std::to_string(label) + " of " + ScenarioName(number) +
              ", which points to " + Hex(offset) + ", outside its code");
  }

  const UnpackedScenario& unpacked_;
  const std::map<int, const UnpackedScenario*>& all_;
  std::vector<Finding> findings_;
  CodeWalk* walk_ = nullptr;
};

}  // namespace

std::vector<std::string> AuditScenarios(const std::vector<ScenarioFile>& files) {
  const std::vector<UnpackedScenario> unpacked = UnpackScenarios(files);
  std::map<int, const UnpackedScenario*> by_number;
  for (const UnpackedScenario& scenario : unpacked) by_number[scenario.number] = &scenario;
  std::vector<std::string> lines;
  for (const UnpackedScenario& scenario : unpacked) {
    for (auto& line : FileAudit(scenario, by_number).Run()) lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace authoring
