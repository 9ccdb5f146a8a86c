#include "authoring/scn_coverage.h"

#include <algorithm>
#include <bitset>
#include <map>
#include <memory>
#include <string_view>
#include <tuple>

#include "authoring/scn_code_walk.h"
#include "authoring/scn_file.h"
#include "core/opcode_table.h"
#include "core/text_code_table.h"

namespace authoring {
namespace {

using core::Op;
using core::TextCode;

// Where a new game starts: scenario 0, entered with its entry routine, then label 1.
constexpr int kStartScenario = 0;
constexpr std::uint8_t kEntryLabel = 0;
constexpr std::uint8_t kNewGameLabel = 1;

// 255 in the operands of the scene-change codes: no transition, no clearing, no character.
constexpr std::uint8_t kNone = 255;
// The scene-change codes 0xBD … 0xC0 clear nothing with effect 18 either.
constexpr std::uint8_t kNoClearInSceneChange = 18;

// The names the report gives, in number order.
// clang-format off
constexpr std::string_view kTransitionNames[] = {
    "fade in", "spiral blocks", "random blocks", "diamonds", "diamond wave",
    "dither", "blinds", "column sweep", "dither sweep", "vertical unfold",
    "interleaved columns", "instant", "dither (as 5)", "iris", "slide from the bottom",
    "slide from the left", "slide from the top", "slide from the right", "palette cross-fade",
    "random rows"};
constexpr std::string_view kClearingNames[] = {
    "fade out", "spiral blocks", "random blocks", "diamonds", "diamond wave",
    "dither", "blinds", "column sweep", "dither sweep", "squeeze",
    "interleaved columns", "instant", "fade out (as 0)", "iris", "scroll up",
    "scroll right", "scroll down", "scroll left", "fade out (as 0)", "random rows"};
// clang-format on
constexpr std::string_view kShowStyleNames[] = {"plain", "interlaced", "dither", "blinds"};
// Colour effect 0 is none: it takes an effect away and is not counted.
constexpr std::string_view kColourEffectNames[] = {"none", "grey",     "red", "green",
                                                   "blue", "negative", "dim"};
constexpr std::string_view kPlaceNames[] = {"left", "right", "centre"};

constexpr std::size_t kTransitions = std::size(kTransitionNames);
constexpr std::size_t kClearings = std::size(kClearingNames);
constexpr std::size_t kShowStyles = std::size(kShowStyleNames);
constexpr std::size_t kColourEffects = std::size(kColourEffectNames);
constexpr std::size_t kPlaces = std::size(kPlaceNames);
// The show operation's area operand: 0 the whole screen, 1 … 3 an area.
constexpr std::uint8_t kLastShowArea = 3;

// The codes the wave scenes' typewriter carries out; it passes over every other code and
// every event operation in its text.
constexpr bool Typed(TextCode code) {
  switch (code) {
    case TextCode::NewLine:
    case TextCode::CarriageReturn:
    case TextCode::WaitLine:
    case TextCode::WaitPage:
    case TextCode::Colour:
    case TextCode::Shadow:
    case TextCode::Speed:
    case TextCode::SetX:
    case TextCode::SetY:
    case TextCode::WaveH:
    case TextCode::WaveV: return true;
    default: return false;
  }
}

std::string Numbered(std::size_t n, std::string_view name) {
  return std::to_string(n) + " " + std::string(name);
}

struct Finding {
  int scenario = 0;
  ScnBlock block = ScnBlock::kFile;
  std::size_t offset = 0;
  std::string line;
};

class CoverageWalk {
 public:
  explicit CoverageWalk(const std::vector<UnpackedScenario>& scenarios) {
    for (const UnpackedScenario& file : scenarios) {
      Scenario& s = scenarios_[file.number];
      s.file = &file;
      if (file.HasCode()) s.walk = std::make_unique<CodeWalk>(file.blocks.event);
      // A file that is read at all is walked; what is damaged in it is the audit's to say.
      if (!file.ok)
        for (const std::string& problem : file.problems)
          Add(file.number, ScnBlock::kFile, 0, problem);
      if (file.ok && !file.HasCode())
        Add(file.number, ScnBlock::kFile, 0,
            "EVENT DATA is too short for its table: there is no code to walk");
    }
  }

  ScenarioCoverage Measure() {
    if (scenarios_.count(kStartScenario) == 0)
      Add(kStartScenario, ScnBlock::kFile, 0, "the story starts here, and there is no such file");
    else
      Enter(kStartScenario, kNewGameLabel, nullptr);
    for (bool walked = true; walked;) {
      walked = false;
      for (auto& [number, s] : scenarios_) {
        if (s.walk == nullptr || !s.walk->Pending()) continue;
        CodeVisitor visitor(*this, number);
        s.walk->Run(visitor);
        walked = true;
      }
    }
    for (auto& [number, s] : scenarios_) {
      if (!s.file->HasTexts()) continue;
      for (std::size_t m = 0; m < kScnTableEntries; ++m) {
        if (s.plain_messages[m]) ScanMessage(number, s, m, false);
        if (s.wave_messages[m]) ScanMessage(number, s, m, true);
      }
    }
    return Result();
  }

 private:
  struct Scenario {
    const UnpackedScenario* file = nullptr;
    std::unique_ptr<CodeWalk> walk;  // null: no code to walk
    bool entered = false;
    std::bitset<kScnTableEntries> plain_messages;
    std::bitset<kScnTableEntries> wave_messages;
  };

  // Where an operand was read: an instruction of the code, or an item of a message.
  struct Site {
    int scenario;
    ScnBlock block;
    std::size_t offset;
  };

  class CodeVisitor : public CodeWalk::Visitor {
   public:
    CodeVisitor(CoverageWalk& coverage, int scenario) : coverage_(coverage), scenario_(scenario) {}
    void Instruction(std::size_t pos, const core::Instruction& instruction) override {
      coverage_.CodeInstruction({scenario_, ScnBlock::kEvent, pos}, instruction);
    }

   private:
    CoverageWalk& coverage_;
    int scenario_;
  };

  void Add(int scenario, ScnBlock block, std::size_t offset, const std::string& what) {
    const auto it = scenarios_.find(scenario);
    const std::string name = it != scenarios_.end() && it->second.file != nullptr
                                 ? it->second.file->name
                                 : ScenarioName(scenario);
    findings_.push_back({scenario, block, offset, FindingLine(name, block, offset, what)});
  }
  void Add(const Site& site, const std::string& what) {
    Add(site.scenario, site.block, site.offset, what);
  }

  // EnterScenario(number, run) and then label `label`; `from` is the scenario jump, or null
  // for the start of the story.
  void Enter(int number, std::uint8_t label, const Site* from) {
    const auto it = scenarios_.find(number);
    if (it == scenarios_.end()) {
      if (from != nullptr)
        Add(*from,
            "scenario to scenario " + std::to_string(number) + ", which has no file" +
                (number == kNone ? " (255 is no scenario)" : " (" + ScenarioName(number) + ")"));
      return;
    }
    Scenario& s = it->second;
    const bool first = !s.entered;
    s.entered = true;
    // A file without code is a finding of its own already.
    if (s.walk == nullptr) return;
    if (first && !s.walk->StartLabel(kEntryLabel))
      Add(number, ScnBlock::kFile, 0,
          "label 0, the entry routine, points to " + HexOffset(s.walk->LabelOffset(kEntryLabel)) +
              ", outside the code");
    if (!s.walk->StartLabel(label)) {
      const std::string where = HexOffset(s.walk->LabelOffset(label));
      if (from != nullptr)
        Add(*from, "scenario to label " + std::to_string(label) + " of " + s.file->name +
                       ", which points to " + where + ", outside its code");
      else
        Add(number, ScnBlock::kFile, 0,
            "label " + std::to_string(label) + ", where a new game begins, points to " + where +
                ", outside the code");
    }
  }

  void CodeInstruction(const Site& site, const core::Instruction& instruction) {
    if (instruction.info == nullptr) return;  // the audit's finding
    Scenario& s = scenarios_[site.scenario];
    int jump_scenario = -1;
    for (std::size_t i = 0; i < instruction.operand_count; ++i)
      if (instruction.kinds[i] == core::OperandKind::kScenario)
        jump_scenario = instruction.operands[i];
    const bool wave = static_cast<Op>(instruction.opcode) == Op::SubOperation;
    for (std::size_t i = 0; i < instruction.operand_count; ++i) {
      const std::uint8_t operand = instruction.operands[i];
      switch (instruction.kinds[i]) {
        case core::OperandKind::kMessage:
          (wave ? s.wave_messages : s.plain_messages).set(operand);
          break;
        case core::OperandKind::kLabel:
          if (jump_scenario >= 0)
            Enter(jump_scenario, operand, &site);
          else
            s.walk->StartLabel(operand);  // a call outside the code is the audit's finding
          break;
        default: break;
      }
    }
    Operation(site, instruction);
  }

  // What an instruction of the code or an operation written in a text selects.
  void Operation(const Site& site, const core::Instruction& instruction) {
    opcodes_.set(instruction.opcode);
    const auto op = [&instruction](std::size_t i) { return instruction.operands[i]; };
    switch (static_cast<Op>(instruction.opcode)) {
      case Op::Transition: CountTransition(site, op(0)); break;
      case Op::ClearScene: CountClearing(site, op(0)); break;
      case Op::ShowInStyle:
        if (op(0) < kShowStyles)
          show_styles_.set(op(0));
        else
          Add(site, "show style " + std::to_string(op(0)) + " is not one of 0-3: nothing is shown");
        if (op(1) > kLastShowArea)
          Add(site, "show area " + std::to_string(op(1)) +
                        " is not one of 0-3 (0 the whole screen): nothing is shown");
        break;
      case Op::ColourFade:
      case Op::ColourSet:
      case Op::ColourPending: CountColourEffect(site, op(0)); break;
      case Op::ShowCharacter: CountPlace(site, op(0), op(1)); break;
      default: break;
    }
  }

  void CountTransition(const Site& site, std::uint8_t n) {
    if (n < kTransitions)
      transitions_.set(n);
    else
      Add(site, "transition " + std::to_string(n) + " is not one of 0-19: the game runs 0");
  }

  void CountClearing(const Site& site, std::uint8_t n) {
    if (n < kClearings)
      clearings_.set(n);
    else
      Add(site,
          "scene-clearing effect " + std::to_string(n) + " is not one of 0-19: the game runs 0");
  }

  void CountColourEffect(const Site& site, std::uint8_t kind) {
    if (kind >= kColourEffects)
      Add(site, "colour effect " + std::to_string(kind) +
                    " is not one of 0-6: it is recorded and changes no colour");
    else if (kind != 0)
      colour_effects_.set(kind);
  }

  // A character picture shown at a place; picture 255 shows none.
  void CountPlace(const Site& site, std::uint8_t place, std::uint8_t picture) {
    if (picture == kNone) return;
    if (place < kPlaces)
      places_.set(place);
    else
      Add(site, "character place " + std::to_string(place) +
                    " is not one of 0-2: the character is not shown");
  }

  void ScanMessage(int number, const Scenario& s, std::size_t m, bool wave) {
    const std::vector<std::uint8_t>& texts = s.file->blocks.messages;
    std::size_t pos = ScnTableEntry(texts, m);
    if (pos < kScnBodyStart) return;  // the audit's finding
    core::TextItem item;
    while (core::ScanTextItem(texts.data(), texts.size(), pos, &item) &&
           item.kind != core::TextItemKind::kEnd) {
      const Site site{number, ScnBlock::kMessages, pos};
      if (item.kind == core::TextItemKind::kCode) {
        const auto code = static_cast<TextCode>(item.code->number);
        if (!wave || Typed(code)) {
          text_codes_.set(item.code->number);
          if (!wave) TextCodeOperands(site, code, item.operands);
        } else {
          Add(site, "{" + std::string(item.code->mnemonic) +
                        "} in a wave scene's text, whose typewriter passes over it");
        }
      } else if (item.kind == core::TextItemKind::kOperation) {
        if (!wave)
          Operation(site, item.operation);
        else
          Add(site, "{" + std::string(item.operation.info->mnemonic) +
                        "} in a wave scene's text, whose typewriter passes over it");
      }
      pos += item.length;
    }
  }

  void TextCodeOperands(const Site& site, TextCode code, const std::uint8_t* op) {
    switch (code) {
      case TextCode::BackgroundChange:
      case TextCode::BackgroundAlways:
      case TextCode::EventPictureVChange:
      case TextCode::EventPictureHChange:  // n e t
        if (op[1] != kNone && op[1] != kNoClearInSceneChange) CountClearing(site, op[1]);
        if (op[2] != kNone) CountTransition(site, op[2]);
        break;
      case TextCode::CharacterChange:
      case TextCode::CharacterAdd:
      case TextCode::CharacterOnly:  // p n
        CountPlace(site, op[0] % 4, op[1]);
        break;
      case TextCode::BackgroundAndCharacter:  // p n b e t
        CountPlace(site, op[0] % 4, op[1]);
        if (op[3] != kNone) CountClearing(site, op[3]);
        if (op[4] != kNone) CountTransition(site, op[4]);
        break;
      case TextCode::ThreeCharacters:
      case TextCode::ThreeCharactersTogether:  // (p n) × 3
        for (int i = 0; i < 3; ++i) CountPlace(site, op[2 * i] % 4, op[2 * i + 1]);
        break;
      default: break;
    }
  }

  template <std::size_t N>
  static CoverageTally Tally(std::string what, const std::bitset<N>& reached,
                             const std::string_view (&names)[N], std::size_t first = 0) {
    CoverageTally tally{std::move(what), N - first, {}};
    for (std::size_t n = first; n < N; ++n)
      if (!reached[n]) tally.never.push_back(Numbered(n, names[n]));
    return tally;
  }

  ScenarioCoverage Result() {
    ScenarioCoverage coverage;
    CoverageTally files{"scenario files", scenarios_.size(), {}};
    for (const auto& [number, s] : scenarios_)
      if (!s.entered) files.never.push_back(s.file->name);
    coverage.tallies.push_back(std::move(files));

    CoverageTally opcodes{"opcodes", core::OpcodeTable().size(), {}};
    for (const auto& row : core::OpcodeTable())
      if (!opcodes_[row.number]) opcodes.never.emplace_back(row.mnemonic);
    coverage.tallies.push_back(std::move(opcodes));

    CoverageTally codes{"text codes", core::TextCodeTable().size(), {}};
    for (const auto& row : core::TextCodeTable())
      if (!text_codes_[row.number]) codes.never.push_back("{" + std::string(row.mnemonic) + "}");
    coverage.tallies.push_back(std::move(codes));

    coverage.tallies.push_back(Tally("transitions", transitions_, kTransitionNames));
    coverage.tallies.push_back(Tally("scene-clearing effects", clearings_, kClearingNames));
    coverage.tallies.push_back(Tally("show styles", show_styles_, kShowStyleNames));
    coverage.tallies.push_back(Tally("colour effects", colour_effects_, kColourEffectNames, 1));
    coverage.tallies.push_back(Tally("character places", places_, kPlaceNames));

    std::stable_sort(findings_.begin(), findings_.end(), [](const Finding& a, const Finding& b) {
      return std::tie(a.scenario, a.block, a.offset) < std::tie(b.scenario, b.block, b.offset);
    });
    for (Finding& f : findings_) coverage.findings.push_back(std::move(f.line));
    return coverage;
  }

  std::map<int, Scenario> scenarios_;
  std::vector<Finding> findings_;
  std::bitset<256> opcodes_;
  std::bitset<256> text_codes_;
  std::bitset<kTransitions> transitions_;
  std::bitset<kClearings> clearings_;
  std::bitset<kShowStyles> show_styles_;
  std::bitset<kColourEffects> colour_effects_;
  std::bitset<kPlaces> places_;
};

// Appends `items` after `lead`, comma-separated, in lines of at most kWidth characters.
constexpr std::size_t kWidth = 100;
void AppendWrapped(std::string* out, const std::string& lead,
                   const std::vector<std::string>& items) {
  std::string line = lead;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string item = items[i] + (i + 1 < items.size() ? "," : "");
    if (i > 0 && line.size() + 1 + item.size() > kWidth) {
      *out += line + "\n";
      line = "   ";
    }
    line += " " + item;
  }
  *out += line + "\n";
}

}  // namespace

bool ScenarioCoverage::Complete() const {
  return findings.empty() && std::all_of(tallies.begin(), tallies.end(),
                                         [](const CoverageTally& t) { return t.never.empty(); });
}

ScenarioCoverage MeasureCoverage(const std::vector<UnpackedScenario>& scenarios) {
  return CoverageWalk(scenarios).Measure();
}

std::string CoverageReport(const ScenarioCoverage& coverage) {
  std::string out;
  std::size_t never = 0;
  for (const CoverageTally& tally : coverage.tallies) {
    out += tally.what + ": reached " + std::to_string(tally.Reached()) + " of " +
           std::to_string(tally.total) + "\n";
    if (!tally.never.empty()) AppendWrapped(&out, "  never reached:", tally.never);
    never += tally.never.size();
  }
  out += "findings: " + std::to_string(coverage.findings.size()) + "\n";
  for (const std::string& line : coverage.findings) out += "  " + line + "\n";
  if (coverage.Complete())
    out += "all reached, no findings\n";
  else
    out += std::to_string(never) + " never reached, " + std::to_string(coverage.findings.size()) +
           (coverage.findings.size() == 1 ? " finding\n" : " findings\n");
  return out;
}

}  // namespace authoring
