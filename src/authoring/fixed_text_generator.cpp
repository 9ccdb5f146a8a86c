#include "authoring/fixed_text_generator.h"

#include <cstdio>
#include <map>

#include "authoring/message_text_source.h"

namespace authoring {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsIdentifierStart(char c) {
  return c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsIdentifierChar(char c) { return IsIdentifierStart(c) || (c >= '0' && c <= '9'); }

std::string Located(std::string_view source_name, int line, const std::string& what) {
  return std::string(source_name) + ":" + std::to_string(line) + ": " + what;
}

std::string DisplayName(const FixedTextLine& line) {
  return line.index < 0 ? line.name : line.name + "[" + std::to_string(line.index) + "]";
}

// A C++ string literal of UTF-8 text.
std::string Literal(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string ByteList(const std::vector<std::uint8_t>& bytes) {
  std::string out;
  char hex[8];
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(hex, sizeof hex, "0x%02X", bytes[i]);
    out += (i == 0 ? "" : i % 12 == 0 ? ",\n    " : ", ") + std::string(hex);
  }
  return out;
}

// A comment line showing the source; a trailing backslash would splice the next line in.
std::string SourceComment(std::string_view source) {
  std::string out = "// " + std::string(source);
  if (!out.empty() && out.back() == '\\') out += " ";
  return out + "\n";
}

struct EncodedText {
  const FixedTextLine* line;
  std::vector<std::uint8_t> bytes;
  std::string symbol;  // the byte array's name
};

}  // namespace

std::string ParseFixedTexts(std::string_view text, std::string_view source_name,
                            std::vector<FixedTextLine>* lines) {
  std::vector<FixedTextLine> result;
  std::string problems;
  auto problem = [&](int line, const std::string& what) {
    problems += (problems.empty() ? "" : "\n") + Located(source_name, line, what);
  };
  int line_number = 0;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++line_number;
    while (!line.empty() && (IsBlank(line.back()) || line.back() == '\r')) line.remove_suffix(1);
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    if (line.empty() || line.front() == '#') continue;

    FixedTextLine entry;
    entry.line = line_number;
    std::size_t at = 0;
    if (!IsIdentifierStart(line[0])) {
      problem(line_number, "expected an identifier and a text");
      continue;
    }
    while (at < line.size() && IsIdentifierChar(line[at])) ++at;
    entry.name = std::string(line.substr(0, at));
    if (at < line.size() && line[at] == '[') {
      const std::size_t close = line.find(']', at);
      const std::string_view digits = close == std::string_view::npos
                                          ? std::string_view()
                                          : line.substr(at + 1, close - at - 1);
      if (digits.empty() || digits.size() > 3 ||
          digits.find_first_not_of("0123456789") != std::string_view::npos) {
        problem(line_number, "expected an index like " + entry.name + "[0]");
        continue;
      }
      entry.index = std::stoi(std::string(digits));
      at = close + 1;
    }
    if (at >= line.size() || !IsBlank(line[at])) {
      problem(line_number, "expected blanks and a text after " + DisplayName(entry));
      continue;
    }
    while (at < line.size() && IsBlank(line[at])) ++at;
    entry.source = std::string(line.substr(at));
    result.push_back(std::move(entry));
  }

  // Names: each single text once; each array complete from 0, each element once.
  std::map<std::string, std::vector<const FixedTextLine*>> by_name;
  for (const auto& entry : result) by_name[entry.name].push_back(&entry);
  for (const auto& [name, entries] : by_name) {
    const bool single = entries.front()->index < 0;
    std::map<int, const FixedTextLine*> elements;
    for (const auto* entry : entries) {
      if ((entry->index < 0) != single) {
        problem(entry->line, name + " is used both as a single text and as an array");
      } else if (single && entry != entries.front()) {
        problem(entry->line, name + " is given twice (first on line " +
                                 std::to_string(entries.front()->line) + ")");
      } else if (!single && !elements.emplace(entry->index, entry).second) {
        problem(entry->line, DisplayName(*entry) + " is given twice (first on line " +
                                 std::to_string(elements[entry->index]->line) + ")");
      }
    }
    if (!single && !elements.empty() &&
        elements.rbegin()->first + 1 != static_cast<int>(elements.size())) {
      for (int i = 0;; ++i) {
        if (!elements.count(i)) {
          problem(entries.front()->line, name + "[" + std::to_string(i) + "] is missing");
          break;
        }
      }
    }
  }
  if (!problems.empty()) return problems;
  *lines = std::move(result);
  return "";
}

std::string GenerateFixedTexts(const std::vector<FixedTextLine>& lines, const Charset& charset,
                               std::string_view source_name, std::string_view charset_name,
                               GeneratedFixedTexts* out) {
  std::vector<EncodedText> texts;
  std::string problems;
  for (const auto& line : lines) {
    EncodedText encoded{
        &line, {}, line.index < 0 ? line.name : line.name + "_" + std::to_string(line.index)};
    if (std::string problem = EncodeMessageText(line.source, charset, &encoded.bytes);
        !problem.empty()) {
      // One report per problem, each naming the text: "…: kYes "はい": column 2: …".
      for (std::size_t start = 0; start < problem.size();) {
        std::size_t end = problem.find('\n', start);
        if (end == std::string::npos) end = problem.size();
        problems += (problems.empty() ? "" : "\n") +
                    Located(source_name, line.line,
                            DisplayName(line) + " " + Literal(line.source) + ": " +
                                problem.substr(start, end - start));
        start = end + 1;
      }
      continue;
    }
    texts.push_back(std::move(encoded));
  }
  if (!problems.empty()) return problems;

  const std::string banner = "// Generated by hotaru-fixed-texts from " + std::string(source_name) +
                             " through " + std::string(charset_name) +
                             ".\n// Do not edit: change the source and rebuild.\n";
  std::string header =
      banner +
      "#pragma once\n\n#include <cstddef>\n#include <cstdint>\n\nnamespace text {\n\n"
      "// Each text is message text: glyph numbers as two bytes, high byte first, control codes,\n"
      "// and the end byte 0xAF. kNameLength (kNameLength[i] for an array) is its length in\n"
      "// bytes, the end byte included.\n\n";
  std::string elements = "namespace fixed_text_elements {\n\n";
  std::string singles;
  std::string arrays;
  std::map<std::string, std::vector<const EncodedText*>> array_elements;
  std::vector<std::string> array_order;
  for (const auto& text : texts) {
    std::string definition = SourceComment(text.line->source) + "inline constexpr std::uint8_t " +
                             text.symbol + "[] = {\n    " + ByteList(text.bytes) + "};\n";
    if (text.line->index < 0) {
      singles += definition + "inline constexpr std::size_t " + text.symbol + "Length = sizeof " +
                 text.symbol + ";\n\n";
    } else {
      elements += definition + "\n";
      auto& list = array_elements[text.line->name];
      if (list.empty()) array_order.push_back(text.line->name);
      list.resize(
          std::max<std::size_t>(list.size(), static_cast<std::size_t>(text.line->index) + 1));
      list[static_cast<std::size_t>(text.line->index)] = &text;
    }
  }
  elements += "}  // namespace fixed_text_elements\n\n";
  for (const auto& name : array_order) {
    const auto& list = array_elements[name];
    const std::string count = std::to_string(list.size());
    std::string pointers, lengths;
    for (const auto* text : list) {
      pointers += "    fixed_text_elements::" + text->symbol + ",\n";
      lengths += "    sizeof fixed_text_elements::" + text->symbol + ",\n";
    }
    arrays += "inline constexpr const std::uint8_t* " + name + "[" + count + "] = {\n" + pointers +
              "};\ninline constexpr std::size_t " + name + "Length[" + count + "] = {\n" + lengths +
              "};\n\n";
  }
  header += elements + singles + arrays +
            "// Every text by its name with its source, for the tools and the tests.\n"
            "struct FixedTextSource {\n  const char* name;\n  const char* source;\n"
            "  const std::uint8_t* bytes;\n  std::size_t length;\n};\n"
            "extern const FixedTextSource kFixedTextSources[" +
            std::to_string(texts.size()) + "];\n\n}  // namespace text\n";

  std::string source = banner +
                       "#include \"text/fixed_texts.h\"\n\nnamespace text {\n\n"
                       "const FixedTextSource kFixedTextSources[" +
                       std::to_string(texts.size()) + "] = {\n";
  for (const auto& text : texts) {
    const std::string symbol =
        text.line->index < 0 ? text.symbol : "fixed_text_elements::" + text.symbol;
    source += "    {" + Literal(DisplayName(*text.line)) + ", " + Literal(text.line->source) +
              ", " + symbol + ", sizeof " + symbol + "},\n";
  }
  source += "};\n\n}  // namespace text\n";

  out->header = std::move(header);
  out->source = std::move(source);
  return "";
}

}  // namespace authoring
