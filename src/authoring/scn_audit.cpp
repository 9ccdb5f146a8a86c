#include "authoring/scn_audit.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <span>
#include <tuple>

#include "authoring/pack_writer.h"
#include "authoring/scn_file.h"
#include "core/opcode_table.h"
#include "core/text_code_table.h"

namespace authoring {
namespace {

using Block = std::span<const std::uint8_t>;

constexpr int kNoScenarioNumber = 255;

std::string Hex(std::size_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%04zX", value);
  return text;
}

std::string Hex2(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

std::string ScenarioName(int number) {
  char text[16];
  std::snprintf(text, sizeof text, "%03d.SCN", number);
  return text;
}

// The scenario number of a file name "NNN.SCN" in any letter case, or -1.
int ScenarioNumberOf(const std::string& name) {
  if (name.size() != 7 || name[3] != '.') return -1;
  for (int i = 0; i < 3; ++i)
    if (name[static_cast<std::size_t>(i)] < '0' || name[static_cast<std::size_t>(i)] > '9')
      return -1;
  std::string extension = name.substr(4);
  for (char& c : extension) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  if (extension != "SCN") return -1;
  const int number = std::stoi(name.substr(0, 3));
  return number < kNoScenarioNumber ? number : -1;
}

struct Unpacked {
  bool ok = false;
  ScenarioBlocks blocks;
  bool HasCode() const { return ok && blocks.event.size() >= kScnBodyStart; }
  bool HasTexts() const { return ok && blocks.messages.size() >= kScnBodyStart; }
};

struct Finding {
  int block = 0;  // 0 the file, 1 EVENT DATA, 2 MESSAGE DATA
  std::size_t offset = 0;
  std::string what;
};

class FileAudit {
 public:
  FileAudit(const ScenarioFile& file, const Unpacked& unpacked,
            const std::map<int, const Unpacked*>& all)
      : file_(file), unpacked_(unpacked), all_(all) {}

  std::vector<std::string> Run(std::vector<std::string> unpack_findings) {
    for (auto& what : unpack_findings) findings_.push_back({0, 0, std::move(what)});
    if (unpacked_.ok) {
      CheckSize(unpacked_.blocks.event, "EVENT DATA");
      CheckSize(unpacked_.blocks.messages, "MESSAGE DATA");
      if (unpacked_.HasCode()) CheckTable(unpacked_.blocks.event, 1, "label", "labels");
      if (unpacked_.HasTexts()) {
        CheckTable(unpacked_.blocks.messages, 2, "message", "messages");
        CheckTexts();
      }
      if (unpacked_.HasCode()) WalkCode();
    }
    std::stable_sort(findings_.begin(), findings_.end(), [](const Finding& a, const Finding& b) {
      return std::tie(a.block, a.offset) < std::tie(b.block, b.offset);
    });
    std::vector<std::string> lines;
    static constexpr const char* kBlockNames[] = {"", "EVENT DATA", "MESSAGE DATA"};
    for (const Finding& f : findings_) {
      lines.push_back(
          file_.name + ": " +
          (f.block == 0 ? "" : std::string(kBlockNames[f.block]) + " " + Hex(f.offset) + ": ") +
          f.what);
    }
    return lines;
  }

 private:
  void Add(int block, std::size_t offset, std::string what) {
    findings_.push_back({block, offset, std::move(what)});
  }

  void CheckSize(const std::vector<std::uint8_t>& block, const char* name) {
    if (block.size() < kScnBodyStart)
      Add(0, 0,
          std::string(name) + " is " + std::to_string(block.size()) +
              " bytes, too short for its table (" + std::to_string(kScnBodyStart) + ")");
  }

  // Entries past the end of the block (the loader refuses those), runs of equal ones as one.
  void CheckTable(Block block, int which, const char* one, const char* many) {
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
      if (!scenario::MessageEnd(texts.data(), texts.size(), offset))
        Add(2, offset,
            "message " + std::to_string(n) + " does not end (no 0xAF before the block's end)");
    }
  }

  bool InCode(std::size_t offset) const {
    return offset >= kScnBodyStart && offset < unpacked_.blocks.event.size();
  }

  void WalkCode() {
    const Block code(unpacked_.blocks.event);
    visited_.assign(code.size(), false);
    std::vector<std::size_t> work;
    for (std::size_t n = 0; n < kScnTableEntries; ++n) {
      const std::size_t offset = ScnTableEntry(code, n);
      if (InCode(offset)) work.push_back(offset);
    }
    // Labels that are always used: the entry routine, and where a new game begins.
    CheckUsedLabel(0, kScnTableStart, "the entry routine");
    if (file_.number == 0) CheckUsedLabel(1, kScnTableStart + 2, "where a new game begins");
    while (!work.empty()) {
      std::size_t pos = work.back();
      work.pop_back();
      Walk(pos, &work);
    }
  }

  void CheckUsedLabel(std::size_t label, std::size_t at, const char* role) {
    const std::size_t offset = ScnTableEntry(unpacked_.blocks.event, label);
    if (offset < kScnBodyStart)
      Add(1, at,
          "label " + std::to_string(label) + " (" + role + ") points to " + Hex(offset) +
              ", into the table");
  }

  void Walk(std::size_t pos, std::vector<std::size_t>* work) {
    const Block code(unpacked_.blocks.event);
    std::size_t from = pos;
    while (true) {
      if (pos >= code.size()) {
        Add(1, from, "the code runs past the end of the block");
        return;
      }
      if (visited_[pos]) return;
      visited_[pos] = true;
      scenario::Instruction instruction;
      if (!scenario::DecodeInstruction(code.data(), code.size(), pos, &instruction)) {
        Add(1, pos, "the instruction " + Hex2(code[pos]) + " is cut short by the end of the block");
        return;
      }
      from = pos;
      if (instruction.info == nullptr) {
        Add(1, pos, "unknown opcode " + Hex2(instruction.opcode));
        ++pos;
        continue;
      }
      CheckOperands(pos, instruction, work);
      if (scenario::EndsFlow(instruction)) return;
      pos += instruction.length;
    }
  }

  void CheckOperands(std::size_t pos, const scenario::Instruction& instruction,
                     std::vector<std::size_t>* work) {
    const Block code(unpacked_.blocks.event);
    const std::string name(instruction.info->mnemonic);
    int scenario_number = -1;
    for (std::size_t i = 0; i < instruction.operand_count; ++i)
      if (instruction.kinds[i] == scenario::OperandKind::kScenario)
        scenario_number = instruction.operands[i];
    for (std::size_t i = 0; i < instruction.operand_count; ++i) {
      const std::uint8_t operand = instruction.operands[i];
      switch (instruction.kinds[i]) {
        case scenario::OperandKind::kDisplacement: {
          const std::int64_t target =
              static_cast<std::int64_t>(pos + instruction.length) + instruction.Value(i);
          if (target < 0 || !InCode(static_cast<std::size_t>(target))) {
            Add(1, pos,
                name + " to " + Hex(static_cast<std::size_t>(std::max<std::int64_t>(target, 0))) +
                    ", outside the code (" + Hex(kScnBodyStart) + " to " + Hex(code.size()) + ")");
          } else {
            work->push_back(static_cast<std::size_t>(target));
          }
          break;
        }
        case scenario::OperandKind::kLabel:
          if (scenario_number >= 0) {
            CheckScenarioTarget(pos, name, scenario_number, operand);
          } else if (const std::size_t offset = ScnTableEntry(code, operand); !InCode(offset)) {
            Add(1, pos,
                name + " of label " + std::to_string(operand) + ", which points to " + Hex(offset) +
                    ", outside the code");
          }
          break;
        case scenario::OperandKind::kMessage: CheckMessage(pos, name, operand); break;
        default: break;
      }
    }
  }

  void CheckMessage(std::size_t pos, const std::string& name, std::uint8_t m) {
    if (!unpacked_.HasTexts()) {
      Add(1, pos, name + " of message " + std::to_string(m) + ", and MESSAGE DATA has no table");
      return;
    }
    const std::size_t offset = ScnTableEntry(unpacked_.blocks.messages, m);
    // Entries past the block's end are reported with the table, unterminated texts with the texts.
    if (offset < kScnBodyStart)
      Add(1, pos,
          name + " of message " + std::to_string(m) + ", which points to " + Hex(offset) +
              ", into the table");
  }

  void CheckScenarioTarget(std::size_t pos, const std::string& name, int number,
                           std::uint8_t label) {
    auto it = all_.find(number);
    if (number == kNoScenarioNumber || it == all_.end()) {
      Add(1, pos,
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
      Add(1, pos,
          name + " to label " + std::to_string(label) + " of " + ScenarioName(number) +
              ", which points to " + Hex(offset) + ", outside its code");
  }

  const ScenarioFile& file_;
  const Unpacked& unpacked_;
  const std::map<int, const Unpacked*>& all_;
  std::vector<Finding> findings_;
  std::vector<bool> visited_;
};

}  // namespace

std::string CollectScenarioFiles(const std::filesystem::path& path,
                                 std::vector<ScenarioFile>* files) {
  std::map<int, ScenarioFile> found;
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    std::vector<std::filesystem::path> names;
    for (const auto& entry : std::filesystem::directory_iterator(path, error))
      if (!entry.is_directory()) names.push_back(entry.path());
    if (error) return "cannot list " + path.string() + ": " + error.message();
    std::sort(names.begin(), names.end());
    for (const auto& name : names) {
      const int number = ScenarioNumberOf(name.filename().string());
      if (number < 0 || found.count(number) != 0) continue;
      ScenarioFile file{number, name.filename().string(), {}, {}};
      file.read_error = ReadWholeFile(name, &file.bytes);
      found[number] = std::move(file);
    }
  } else {
    std::vector<std::uint8_t> archive;
    if (std::string read = ReadWholeFile(path, &archive); !read.empty()) return read;
    std::vector<PackEntry> entries;
    if (std::string index = ReadPackIndex(archive, &entries); !index.empty())
      return path.string() + ": " + index;
    for (const PackEntry& entry : entries) {
      const int number = ScenarioNumberOf(entry.name);
      if (number < 0 || found.count(number) != 0) continue;
      found[number] = ScenarioFile{number, entry.name, PackEntryData(archive, entry), {}};
    }
  }
  files->clear();
  for (auto& [number, file] : found) files->push_back(std::move(file));
  return "";
}

std::vector<std::string> AuditScenarios(const std::vector<ScenarioFile>& files) {
  std::vector<Unpacked> unpacked(files.size());
  std::vector<std::vector<std::string>> unpack_findings(files.size());
  std::map<int, const Unpacked*> by_number;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const ScenarioFile& file = files[i];
    by_number[file.number] = &unpacked[i];
    if (!file.read_error.empty()) {
      unpack_findings[i].push_back("cannot be read: " + file.read_error);
      continue;
    }
    std::vector<std::string> warnings;
    if (std::string error = UnpackScenarioFile(file.bytes, &unpacked[i].blocks, &warnings);
        !error.empty()) {
      unpack_findings[i].push_back("does not unpack: " + error);
      continue;
    }
    unpacked[i].ok = true;
    for (const auto& warning : warnings) unpack_findings[i].push_back("damaged: " + warning);
  }
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < files.size(); ++i) {
    for (auto& line : FileAudit(files[i], unpacked[i], by_number).Run(unpack_findings[i]))
      lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace authoring
