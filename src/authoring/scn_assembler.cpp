#include "authoring/scn_assembler.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

#include "authoring/scn_source.h"
#include "authoring/scn_text.h"
#include "core/opcode_table.h"

namespace authoring {
namespace {

using core::OperandKind;
using scn::Token;

constexpr std::size_t kTableOffsetLimit = 0xFFFF;
constexpr std::size_t kMaxProblemsShown = 200;

struct Problem {
  int line = 0;
  std::size_t column = 0;  // 0: the whole line
  std::string what;
};

// A place in a block: NAME, NAME+k, NAME-k, or an offset.
struct Position {
  std::string_view name;   // empty for an offset
  std::int64_t value = 0;  // the offset, or k
};

std::optional<Position> ParsePosition(std::string_view word) {
  const std::size_t sign = word.find_first_of("+-");
  const std::string_view name = word.substr(0, sign);
  if (!scn::IsName(name)) {
    auto offset = scn::ParseNumber(word);
    if (!offset || *offset < 0) return std::nullopt;
    return Position{{}, *offset};
  }
  if (sign == std::string_view::npos) return Position{name, 0};
  auto k = scn::ParseNumber(word.substr(sign + 1));
  if (!k || *k < 0 || word[sign + 1] == '-') return std::nullopt;
  return Position{name, word[sign] == '-' ? -*k : *k};
}

// n of a name `<prefix>n` that names table entry n; -1 for any other name, -2 for a name of
// that form whose number is no entry (L256, L007).
int TableNumberOf(std::string_view name, char prefix) {
  if (name.size() < 2 || name[0] != prefix) return -1;
  const std::string_view digits = name.substr(1);
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return -1;
  if (digits.size() > 3 || (digits.size() > 1 && digits[0] == '0')) return -2;
  const int n = std::stoi(std::string(digits));
  return n < static_cast<int>(kScnTableEntries) ? n : -2;
}

std::string Quoted(std::string_view word) { return "'" + std::string(word) + "'"; }

// "takes no operands", "takes 1 operand (n)", "takes 3 operands (f v d)".
std::string TakesOperands(std::string_view letters) {
  if (letters.empty()) return "takes no operands";
  return "takes " + std::to_string(letters.size()) +
         (letters.size() == 1 ? " operand (" : " operands (") + SpacedLetters(letters) + ")";
}

struct NameDef {
  std::size_t offset = 0;
  int line = 0;
};

struct TableEntry {
  bool set = false;
  std::size_t offset = 0;
  int line = 0;
};

struct TableDirective {
  std::size_t first = 0, last = 0;
  Position target;
  int line = 0;
  std::size_t column = 0;
};

// What one block collects while the source is read.
struct Section {
  Section(const char* directive_name, const char* entry, char name_prefix)
      : directive(directive_name), entry_word(entry), prefix(name_prefix) {}

  const char* directive;   // ".event", ".messages"
  const char* entry_word;  // "label", "message"
  char prefix;             // of the names of table entries
  bool raw = false;
  bool has_content = false;
  std::optional<std::uint16_t> header;
  int header_line = 0;
  std::unordered_map<std::string_view, NameDef> names;
  std::array<TableEntry, kScnTableEntries> entries{};
  std::vector<TableDirective> directives;
  std::size_t body_size = 0;

  std::size_t Here() const { return (raw ? 0 : kScnBodyStart) + body_size; }
};

struct Operand {
  Token token;
  OperandKind kind = OperandKind::kNumber;
  char letter = 'n';
  int inline_text = -1;   // index of an inline message
  bool implicit = false;  // a choice's count left out (token unused)
  std::uint8_t implicit_value = 0;
};

struct CodeStatement {
  int line = 0;
  std::size_t offset = 0;
  const core::OpcodeInfo* info = nullptr;  // null: db
  std::vector<Operand> operands;
  std::vector<std::uint8_t> bytes;  // db
  std::size_t Length() const { return info ? 1 + operands.size() : bytes.size(); }
};

struct InlineText {
  std::vector<std::uint8_t> bytes;  // without the end byte
  int line = 0;
};

class Assembler {
 public:
  Assembler(std::string_view source_name, const Charset& charset)
      : source_name_(source_name),
        charset_(charset),
        event_(".event", "label", 'L'),
        messages_(".messages", "message", 'M') {}

  void Read(std::string_view source) {
    if (source.starts_with("\xEF\xBB\xBF")) source.remove_prefix(3);
    int number = 0;
    for (std::size_t start = 0; start <= source.size();) {
      std::size_t end = source.find('\n', start);
      if (end == std::string_view::npos) end = source.size();
      scn::SourceLine line;
      std::size_t column = 0;
      if (std::string problem =
              scn::LexLine(source.substr(start, end - start), ++number, &line, &column);
          !problem.empty()) {
        Error(number, column, problem);
      } else {
        Line(line);
      }
      start = end + 1;
    }
    CloseText();
  }

  std::string Finish(ScenarioBlocks* out) {
    ApplyDirectives(event_);
    ApplyDirectives(messages_);
    std::vector<std::uint8_t> code;
    for (const CodeStatement& statement : code_) Emit(statement, &code);
    // Entries nothing sets: labels at the first instruction, messages at an empty text.
    for (TableEntry& entry : event_.entries)
      if (!entry.set) entry = {true, kScnBodyStart, 0};
    if (!messages_.raw && std::any_of(messages_.entries.begin(), messages_.entries.end(),
                                      [](const TableEntry& e) { return !e.set; })) {
      const std::size_t empty = messages_.Here();
      AppendMessageBytes({kMessageEndByte});
      for (TableEntry& entry : messages_.entries)
        if (!entry.set) entry = {true, empty, 0};
    }
    CheckTableReach(event_);
    CheckTableReach(messages_);
    if (!problems_.empty()) return ProblemText();
    out->event = BlockOf(event_, code);
    out->messages = BlockOf(messages_, message_body_);
    return "";
  }

 private:
  static constexpr std::uint8_t kMessageEndByte = 0xAF;

  void Error(int line, std::size_t column, std::string what) {
    problems_.push_back({line, column, std::move(what)});
  }

  Section& Current() { return in_messages_ ? messages_ : event_; }

  // --- Reading lines ----------------------------------------------------------------------

  void Line(const scn::SourceLine& line) {
    const bool strings_only = line.label.empty() && !line.tokens.empty() &&
                              std::all_of(line.tokens.begin(), line.tokens.end(),
                                          [](const Token& t) { return t.is_string; });
    if (strings_only) {
      ContinueText(line);
      return;
    }
    CloseText();
    open_inline_ = -1;
    if (!line.label.empty()) DefineName(line.label, line.number, line.label_column);
    if (line.tokens.empty()) return;
    const Token& first = line.tokens.front();
    if (first.is_string) {
      if (in_messages_ && !messages_.raw) {
        StartText(line);
      } else {
        Error(line.number, first.column,
              in_messages_ ? "a .raw block holds only db lines"
                           : "a string is no instruction (texts go after msg, or into .messages)");
      }
    } else if (first.text.starts_with('.')) {
      Directive(line);
    } else if (first.text == "db") {
      Db(line);
    } else if (in_messages_) {
      Error(line.number, first.column,
            "expected a text, db or a directive in .messages, not " + Quoted(first.text));
    } else {
      Instruction(line);
    }
  }

  // The bytes of the strings of a line (its other words are reported).
  void EncodeStrings(const scn::SourceLine& line, std::vector<std::uint8_t>* out) {
    for (const Token& token : line.tokens) {
      if (!token.is_string) {
        Error(line.number, token.column,
              "a text line holds only strings, not " + Quoted(token.text));
        continue;
      }
      for (const TextProblem& problem : EncodeTaggedText(token.text, charset_, out)) {
        std::string what = problem.what;
        if (charset_.entries().empty() && what.ends_with("is not in the charset"))
          what += " (no charset table was given)";
        Error(line.number, token.column + problem.column, what);
      }
    }
  }

  void StartText(const scn::SourceLine& line) {
    messages_.has_content = true;
    std::vector<std::uint8_t> bytes;
    EncodeStrings(line, &bytes);
    AppendMessageBytes(bytes);
    text_open_ = true;
    last_string_line_ = line.number;
  }

  void ContinueText(const scn::SourceLine& line) {
    const bool follows = last_string_line_ == line.number - 1;
    if (in_messages_) {
      if (messages_.raw) {
        Error(line.number, line.tokens[0].column, "a .raw block holds only db lines");
        return;
      }
      if (text_open_ && follows) {
        std::vector<std::uint8_t> bytes;
        EncodeStrings(line, &bytes);
        AppendMessageBytes(bytes);
        last_string_line_ = line.number;
      } else {
        CloseText();
        StartText(line);
      }
      return;
    }
    if (open_inline_ >= 0 && follows) {
      EncodeStrings(line, &inline_texts_[static_cast<std::size_t>(open_inline_)].bytes);
      last_string_line_ = line.number;
      return;
    }
    Error(line.number, line.tokens[0].column,
          "a text line continues the message that ends the line above, and there is none");
  }

  void CloseText() {
    if (!text_open_) return;
    AppendMessageBytes({kMessageEndByte});
    text_open_ = false;
  }

  void AppendMessageBytes(const std::vector<std::uint8_t>& bytes) {
    message_body_.insert(message_body_.end(), bytes.begin(), bytes.end());
    messages_.body_size = message_body_.size();
  }

  void DefineName(std::string_view name, int line, std::size_t column) {
    Section& section = Current();
    section.has_content = true;
    if (auto it = section.names.find(name); it != section.names.end()) {
      Error(line, column,
            Quoted(name) + " is defined twice (first on line " + std::to_string(it->second.line) +
                ")");
      return;
    }
    section.names[name] = {section.Here(), line};
    const int n = TableNumberOf(name, section.prefix);
    if (n == -2) {
      Error(line, column,
            Quoted(name) + " is no " + section.entry_word + " number: they are " +
                std::string(1, section.prefix) + "0 to " + std::string(1, section.prefix) + "255");
    } else if (n >= 0) {
      if (section.raw) {
        Error(line, column, std::string("a .raw block has no ") + section.entry_word + " table");
        return;
      }
      SetEntry(section, static_cast<std::size_t>(n), section.Here(), line, column);
    }
  }

  void SetEntry(Section& section, std::size_t n, std::size_t offset, int line, std::size_t column) {
    TableEntry& entry = section.entries[n];
    if (entry.set) {
      Error(line, column,
            std::string(section.entry_word) + " " + std::to_string(n) +
                " is given twice (first on line " + std::to_string(entry.line) + ")");
      return;
    }
    entry = {true, offset, line};
  }

  void Directive(const scn::SourceLine& line) {
    const Token& first = line.tokens.front();
    const std::string_view name = first.text;
    const std::size_t arguments = line.tokens.size() - 1;
    auto expect_arguments = [&](std::size_t count, const char* form) {
      if (arguments == count) return true;
      Error(line.number, first.column, std::string("usage: ") + form);
      return false;
    };
    if (name == ".event" || name == ".messages") {
      if (expect_arguments(0, name == ".event" ? ".event" : ".messages"))
        in_messages_ = name == ".messages";
      return;
    }
    Section& section = Current();
    if (name == ".raw") {
      if (!expect_arguments(0, ".raw")) return;
      if (section.has_content || section.raw)
        Error(line.number, first.column,
              std::string(".raw must come first in ") + section.directive);
      section.raw = true;
      section.has_content = true;
      return;
    }
    const bool table_directive = name == ".label" || name == ".message";
    if (name != ".header" && !table_directive) {
      Error(line.number, first.column, "unknown directive " + Quoted(name));
      return;
    }
    section.has_content = true;
    if (section.raw) {
      Error(line.number, first.column, "a .raw block has no header or table");
      return;
    }
    if (name == ".header") {
      if (!expect_arguments(1, ".header VALUE")) return;
      auto value = scn::ParseNumber(line.tokens[1].text);
      if (line.tokens[1].is_string || !value || *value < 0 || *value > 0xFFFF) {
        Error(line.number, line.tokens[1].column, ".header takes a value from 0 to 65535");
      } else if (section.header) {
        Error(line.number, first.column,
              ".header is given twice (first on line " + std::to_string(section.header_line) + ")");
      } else {
        section.header = static_cast<std::uint16_t>(*value);
        section.header_line = line.number;
      }
      return;
    }
    const bool wants_event = name == ".label";
    if (wants_event == in_messages_) {
      Error(line.number, first.column,
            Quoted(name) + " belongs in " + (wants_event ? ".event" : ".messages"));
      return;
    }
    if (!expect_arguments(2, wants_event ? ".label N[-M] TARGET" : ".message N[-M] TARGET")) return;
    TableDirective directive;
    directive.line = line.number;
    directive.column = line.tokens[2].column;
    const std::string_view range = line.tokens[1].text;
    const std::size_t dash = range.find('-');
    auto first_n = scn::ParseNumber(range.substr(0, dash));
    auto last_n =
        dash == std::string_view::npos ? first_n : scn::ParseNumber(range.substr(dash + 1));
    if (line.tokens[1].is_string || !first_n || !last_n || *first_n < 0 || *last_n > 255 ||
        *first_n > *last_n) {
      Error(line.number, line.tokens[1].column,
            Quoted(range) + " is no " + section.entry_word + " number (0 to 255) or range N-M");
      return;
    }
    auto target = line.tokens[2].is_string ? std::nullopt : ParsePosition(line.tokens[2].text);
    if (!target) {
      Error(line.number, line.tokens[2].column,
            Quoted(line.tokens[2].text) + " is no name, NAME+k or offset");
      return;
    }
    directive.first = static_cast<std::size_t>(*first_n);
    directive.last = static_cast<std::size_t>(*last_n);
    directive.target = *target;
    section.directives.push_back(directive);
  }

  void Db(const scn::SourceLine& line) {
    Section& section = Current();
    section.has_content = true;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 1; i < line.tokens.size(); ++i) {
      const Token& token = line.tokens[i];
      auto value = token.is_string ? std::nullopt : scn::ParseNumber(token.text);
      if (!value || *value < 0 || *value > 0xFF) {
        Error(line.number, token.column,
              "db takes byte values (0 to 255), not " + Quoted(token.text));
        continue;
      }
      bytes.push_back(static_cast<std::uint8_t>(*value));
    }
    if (line.tokens.size() == 1)
      Error(line.number, line.tokens[0].column, "db needs at least one byte");
    if (in_messages_) {
      AppendMessageBytes(bytes);
      return;
    }
    CodeStatement statement;
    statement.line = line.number;
    statement.offset = section.Here();
    statement.bytes = std::move(bytes);
    section.body_size += statement.bytes.size();
    code_.push_back(std::move(statement));
  }

  // The operand letters of an instruction with `count` operands written, as the decoder
  // reads them; "" with a problem when the count does not fit the instruction.
  std::string LettersFor(const core::OpcodeInfo& info, const scn::SourceLine& line,
                         std::string* problem, bool* implicit_count) {
    const std::size_t count = line.tokens.size() - 1;
    const std::string_view layout = info.layout;
    const std::string name = Quoted(info.mnemonic);
    *implicit_count = false;
    switch (info.form) {
      case core::OpcodeForm::kFixed:
        if (count != layout.size())
          *problem = name + " " + TakesOperands(layout) + ", not " + std::to_string(count);
        return std::string(layout);
      case core::OpcodeForm::kSubOperation: {
        auto selector = count >= 1 && !line.tokens[1].is_string
                            ? scn::ParseNumber(line.tokens[1].text)
                            : std::nullopt;
        if (!selector) {
          *problem = name + " starts with its sub-operation number";
          return "";
        }
        const bool long_form = *selector == 1 || *selector == 2;
        const std::string letters =
            long_form ? std::string(layout) : std::string(layout.substr(0, 1));
        if (count != letters.size())
          *problem = name + " " + std::to_string(*selector) + " " + TakesOperands(letters) +
                     ", not " + std::to_string(count);
        return letters;
      }
      case core::OpcodeForm::kChoice: {
        // q [c] then pairs: with the count written the rest is odd.
        if (count < 1) {
          *problem = name + " takes a question, an optional count and pairs of message and target";
          return "";
        }
        const std::size_t rest = count - 1;
        *implicit_count = rest % 2 == 0;
        const std::size_t pairs = *implicit_count ? rest / 2 : (rest - 1) / 2;
        if (pairs > core::kMaxChoiceOptions) {
          *problem =
              name + " offers at most " + std::to_string(core::kMaxChoiceOptions) + " options";
          return "";
        }
        if (!*implicit_count) {
          auto written =
              line.tokens[2].is_string ? std::nullopt : scn::ParseNumber(line.tokens[2].text);
          const std::size_t expected =
              written && *written >= 0 ? std::min<std::size_t>(static_cast<std::size_t>(*written),
                                                               core::kMaxChoiceOptions)
                                       : pairs + 1;
          if (!written || *written < 0 || *written > 255 || expected != pairs) {
            *problem = name + ": the count " + Quoted(line.tokens[2].text) +
                       " does not match the " + std::to_string(pairs) + " pairs given";
            return "";
          }
        }
        std::string letters(layout.substr(0, 2));
        for (std::size_t i = 0; i < pairs; ++i) letters += layout.substr(2, 2);
        return letters;
      }
    }
    return "";
  }

  void Instruction(const scn::SourceLine& line) {
    Section& section = event_;
    section.has_content = true;
    const Token& first = line.tokens.front();
    if (section.raw) {
      Error(line.number, first.column, "a .raw block holds only db lines");
      return;
    }
    const core::OpcodeInfo* info = core::FindOpcode(first.text);
    if (info == nullptr) {
      Error(line.number, first.column, "unknown instruction " + Quoted(first.text));
      return;
    }
    std::string problem;
    bool implicit_count = false;
    const std::string letters = LettersFor(*info, line, &problem, &implicit_count);
    if (!problem.empty()) {
      Error(line.number, first.column, problem);
      return;
    }
    CodeStatement statement;
    statement.line = line.number;
    statement.offset = section.Here();
    statement.info = info;
    std::size_t token = 1;
    for (std::size_t i = 0; i < letters.size(); ++i) {
      Operand operand;
      operand.letter = letters[i];
      operand.kind = core::OperandLetterKind(letters[i]);
      if (implicit_count && operand.kind == OperandKind::kCount) {
        operand.implicit = true;
        operand.implicit_value = static_cast<std::uint8_t>((letters.size() - 2) / 2);
        operand.token = first;
      } else {
        operand.token = line.tokens[token++];
      }
      if (operand.token.is_string && !operand.implicit) {
        if (operand.kind != OperandKind::kMessage) {
          Error(line.number, operand.token.column,
                "a text stands only where a message is expected, not for " +
                    std::string(1, letters[i]));
        } else {
          InlineText text;
          text.line = line.number;
          scn::SourceLine piece = line;
          piece.tokens = {operand.token};
          EncodeStrings(piece, &text.bytes);
          operand.inline_text = static_cast<int>(inline_texts_.size());
          inline_texts_.push_back(std::move(text));
        }
      }
      statement.operands.push_back(operand);
    }
    if (!line.tokens.back().is_string || statement.operands.empty() ||
        statement.operands.back().inline_text < 0) {
      open_inline_ = -1;
    } else {
      open_inline_ = statement.operands.back().inline_text;
      last_string_line_ = line.number;
    }
    section.body_size += statement.Length();
    code_.push_back(std::move(statement));
  }

  // --- Resolving ------------------------------------------------------------------------

  // The offset of a position in a section, or nothing (with the problem reported).
  std::optional<std::size_t> Resolve(const Section& section, const Position& position, int line,
                                     std::size_t column) {
    if (position.name.empty()) return static_cast<std::size_t>(position.value);
    auto it = section.names.find(position.name);
    if (it == section.names.end()) {
      Error(line, column,
            "undefined " + std::string(section.entry_word) + " " + Quoted(position.name));
      return std::nullopt;
    }
    const std::int64_t offset = static_cast<std::int64_t>(it->second.offset) + position.value;
    if (offset < 0) {
      Error(line, column,
            Quoted(position.name) + std::to_string(position.value) + " lies before the block");
      return std::nullopt;
    }
    return static_cast<std::size_t>(offset);
  }

  void ApplyDirectives(Section& section) {
    for (const TableDirective& directive : section.directives) {
      auto offset = Resolve(section, directive.target, directive.line, directive.column);
      if (!offset) continue;
      for (std::size_t n = directive.first; n <= directive.last; ++n)
        SetEntry(section, n, *offset, directive.line, directive.column);
    }
  }

  // The table number for a name used where a label or message number is expected: its own
  // number, the number of an entry at its offset, or the lowest free one.
  std::optional<std::uint8_t> NumberForName(Section& section, std::string_view name, int line,
                                            std::size_t column) {
    const int n = TableNumberOf(name, section.prefix);
    if (n >= 0) {
      if (!section.entries[static_cast<std::size_t>(n)].set) {
        Error(
            line, column,
            std::string(section.entry_word) + " " + Quoted(name) + " is not given in this source");
        return std::nullopt;
      }
      return static_cast<std::uint8_t>(n);
    }
    auto offset = Resolve(section, Position{name, 0}, line, column);
    if (!offset) return std::nullopt;
    return NumberForOffset(section, *offset, line, column, Quoted(name));
  }

  std::optional<std::uint8_t> NumberForOffset(Section& section, std::size_t offset, int line,
                                              std::size_t column, const std::string& what) {
    for (std::size_t n = 0; n < kScnTableEntries; ++n)
      if (section.entries[n].set && section.entries[n].offset == offset)
        return static_cast<std::uint8_t>(n);
    for (std::size_t n = 0; n < kScnTableEntries; ++n) {
      if (!section.entries[n].set) {
        section.entries[n] = {true, offset, line};
        return static_cast<std::uint8_t>(n);
      }
    }
    Error(line, column,
          std::string("no free ") + section.entry_word + " number for " + what +
              ": all 256 are taken");
    return std::nullopt;
  }

  std::optional<std::uint8_t> InlineMessageNumber(const Operand& operand, int line) {
    if (messages_.raw) {
      Error(line, operand.token.column,
            "a message written inline needs the message table, and .messages is .raw");
      return std::nullopt;
    }
    const std::vector<std::uint8_t>& bytes =
        inline_texts_[static_cast<std::size_t>(operand.inline_text)].bytes;
    if (auto it = inline_numbers_.find(bytes); it != inline_numbers_.end()) return it->second;
    const std::size_t offset = messages_.Here();
    AppendMessageBytes(bytes);
    AppendMessageBytes({kMessageEndByte});
    auto n = NumberForOffset(messages_, offset, line, operand.token.column, "the text");
    if (n) inline_numbers_[bytes] = *n;
    return n;
  }

  std::optional<std::uint8_t> OperandByte(const CodeStatement& statement, const Operand& operand,
                                          bool other_scenario) {
    const int line = statement.line;
    const Token& token = operand.token;
    if (operand.implicit) return operand.implicit_value;
    if (operand.inline_text >= 0) return InlineMessageNumber(operand, line);
    if (token.is_string) return std::nullopt;  // reported when read
    const std::string what =
        Quoted(statement.info->mnemonic) + " " + std::string(1, operand.letter);
    if (auto number = scn::ParseNumber(token.text)) {
      const std::int64_t low = operand.kind == OperandKind::kDisplacement ? -128
                               : operand.kind == OperandKind::kValue      ? -128
                                                                          : 0;
      const std::int64_t high = operand.kind == OperandKind::kDisplacement ? 127 : 255;
      if (*number < low || *number > high) {
        Error(line, token.column,
              what + " = " + std::string(token.text) + " is out of range (" + std::to_string(low) +
                  " to " + std::to_string(high) + ")");
        return std::nullopt;
      }
      return static_cast<std::uint8_t>(*number & 0xFF);
    }
    switch (operand.kind) {
      case OperandKind::kDisplacement: {
        auto position = ParsePosition(token.text);
        if (!position || position->name.empty()) break;
        auto target = Resolve(event_, *position, line, token.column);
        if (!target) return std::nullopt;
        const std::int64_t from = static_cast<std::int64_t>(statement.offset + statement.Length());
        const std::int64_t distance = static_cast<std::int64_t>(*target) - from;
        if (distance < -128 || distance > 127) {
          Error(line, token.column,
                "jump target " + Quoted(token.text) + " is " + std::to_string(distance) +
                    " bytes away; a jump reaches -128 to 127");
          return std::nullopt;
        }
        return static_cast<std::uint8_t>(distance & 0xFF);
      }
      case OperandKind::kLabel:
        if (!scn::IsName(token.text)) break;
        if (other_scenario) {
          const int n = TableNumberOf(token.text, 'L');
          if (n < 0) {
            Error(line, token.column,
                  "a label of another scenario is written as a number or L<n>, not " +
                      Quoted(token.text));
            return std::nullopt;
          }
          return static_cast<std::uint8_t>(n);
        }
        return NumberForName(event_, token.text, line, token.column);
      case OperandKind::kMessage:
        if (!scn::IsName(token.text)) break;
        return NumberForName(messages_, token.text, line, token.column);
      default: break;
    }
    Error(line, token.column, what + ": " + Quoted(token.text) + " is no value here");
    return std::nullopt;
  }

  void Emit(const CodeStatement& statement, std::vector<std::uint8_t>* code) {
    if (statement.info == nullptr) {
      code->insert(code->end(), statement.bytes.begin(), statement.bytes.end());
      return;
    }
    const bool other_scenario =
        std::any_of(statement.operands.begin(), statement.operands.end(),
                    [](const Operand& o) { return o.kind == OperandKind::kScenario; });
    code->push_back(statement.info->number);
    for (const Operand& operand : statement.operands)
      code->push_back(OperandByte(statement, operand, other_scenario).value_or(0));
  }

  void CheckTableReach(const Section& section) {
    for (std::size_t n = 0; n < kScnTableEntries; ++n) {
      const TableEntry& entry = section.entries[n];
      if (entry.set && entry.offset > kTableOffsetLimit)
        Error(entry.line, 0,
              std::string(section.entry_word) + " " + std::to_string(n) + " lies at offset " +
                  std::to_string(entry.offset) + ", beyond the table's reach (65535)");
    }
  }

  static std::vector<std::uint8_t> BlockOf(const Section& section,
                                           const std::vector<std::uint8_t>& body) {
    std::vector<std::uint8_t> block;
    if (!section.raw) {
      block.reserve(kScnBodyStart + body.size());
      const std::uint16_t header = section.header.value_or(0);
      block.push_back(static_cast<std::uint8_t>(header & 0xFF));
      block.push_back(static_cast<std::uint8_t>(header >> 8));
      for (const TableEntry& entry : section.entries) {
        block.push_back(static_cast<std::uint8_t>(entry.offset & 0xFF));
        block.push_back(static_cast<std::uint8_t>(entry.offset >> 8 & 0xFF));
      }
    }
    block.insert(block.end(), body.begin(), body.end());
    return block;
  }

  std::string ProblemText() {
    std::stable_sort(problems_.begin(), problems_.end(),
                     [](const Problem& a, const Problem& b) { return a.line < b.line; });
    std::string text;
    std::size_t shown = 0;
    for (const Problem& problem : problems_) {
      if (shown++ == kMaxProblemsShown) {
        text += std::string(source_name_) + ": " +
                std::to_string(problems_.size() - kMaxProblemsShown) + " more problems\n";
        break;
      }
      text += std::string(source_name_) + ":" +
              (problem.line > 0 ? std::to_string(problem.line) + ":" : "") +
              (problem.column > 0 ? std::to_string(problem.column) + ":" : "") + " " +
              problem.what + "\n";
    }
    text.pop_back();
    return text;
  }

  std::string_view source_name_;
  const Charset& charset_;
  std::vector<Problem> problems_;
  Section event_;
  Section messages_;
  bool in_messages_ = false;
  std::vector<CodeStatement> code_;
  std::vector<std::uint8_t> message_body_;
  std::vector<InlineText> inline_texts_;
  std::map<std::vector<std::uint8_t>, std::uint8_t> inline_numbers_;
  bool text_open_ = false;
  int open_inline_ = -1;
  int last_string_line_ = -10;
};

}  // namespace

std::string AssembleScenario(std::string_view source, std::string_view source_name,
                             const Charset& charset, ScenarioBlocks* out) {
  Assembler assembler(source_name, charset);
  assembler.Read(source);
  return assembler.Finish(out);
}

}  // namespace authoring
