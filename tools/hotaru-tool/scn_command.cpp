// hotaru-tool scn: scenario files to scenario source and back, the audit and the coverage of
// a set of scenario files, and the tables the scenario language is made of.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/charset.h"
#include "authoring/pack_writer.h"
#include "authoring/scn_assembler.h"
#include "authoring/scn_audit.h"
#include "authoring/scn_coverage.h"
#include "authoring/scn_disassembler.h"
#include "authoring/scn_file.h"
#include "command_support.h"
#include "commands.h"
#include "core/opcode_table.h"
#include "core/text_code_table.h"

namespace tool {
namespace {

constexpr const char* kUsage =
    "usage: hotaru-tool scn disasm FILE.SCN [--charset TBL] [-o OUT]\n"
    "       hotaru-tool scn asm SOURCE OUT.SCN [--charset TBL]\n"
    "       hotaru-tool scn audit PATH\n"
    "       hotaru-tool scn coverage PATH [--require-all]\n"
    "       hotaru-tool scn opcodes\n"
    "\n"
    "  disasm   the event code and the message texts of a scenario file as scenario source\n"
    "           (docs/scenario-language.md), to OUT or standard output; text goes through\n"
    "           the charset table (lines NUMBER=CHARACTER), glyphs it lacks as <gN>\n"
    "  asm      scenario source into a scenario file; the source of disasm gives back the\n"
    "           same unpacked blocks\n"
    "  audit    checks every NNN.SCN of a pack archive or a folder and prints one line per\n"
    "           finding; exit status 1 when there is any\n"
    "  coverage what the story of a pack archive or a folder reaches from a new game along\n"
    "           every branch: opcodes, text codes, transitions, scene-clearing effects, show\n"
    "           styles, colour effects, character places and scenario files, and what it\n"
    "           never reaches; --require-all: exit status 1 unless all is reached and\n"
    "           nothing is found; 2 when PATH cannot be read\n"
    "  opcodes  the event instructions and the text tags, as Markdown tables\n";
const CommandText kCommand{"scn", kUsage};

// Positional arguments and the values of --charset and -o.
struct Arguments {
  std::vector<std::string> positional;
  std::string charset;
  std::string out;
};

std::string ParseArguments(int argc, char** argv, bool allow_out, Arguments* args) {
  for (int i = 0; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--charset" || (allow_out && arg == "-o")) {
      if (i + 1 >= argc) return std::string(arg) + " needs a value";
      (arg == "-o" ? args->out : args->charset) = argv[++i];
    } else if (arg.size() > 1 && arg.front() == '-') {
      return "unexpected option '" + std::string(arg) + "'";
    } else {
      args->positional.emplace_back(arg);
    }
  }
  return "";
}

std::string ReadCharset(const std::string& path, authoring::Charset* charset) {
  if (path.empty()) return "";
  return authoring::Charset::Read(path, charset);
}

int Disassemble(int argc, char** argv) {
  Arguments args;
  if (std::string error = ParseArguments(argc, argv, true, &args); !error.empty())
    return kCommand.UsageError(error);
  if (args.positional.size() != 1) return kCommand.UsageError("disasm takes one FILE.SCN");
  authoring::Charset charset;
  if (std::string error = ReadCharset(args.charset, &charset); !error.empty())
    return kCommand.Failure(error);
  const std::string& path = args.positional[0];
  std::vector<std::uint8_t> file;
  if (std::string error = authoring::ReadWholeFile(path, &file); !error.empty())
    return kCommand.Failure(error);
  authoring::ScenarioBlocks blocks;
  std::vector<std::string> warnings;
  if (std::string error = authoring::UnpackScenarioFile(file, &blocks, &warnings); !error.empty())
    return kCommand.Failure(path + ": does not unpack: " + error);
  for (const auto& warning : warnings)
    std::fprintf(stderr, "hotaru-tool scn: warning: %s: %s\n", path.c_str(), warning.c_str());
  const std::string source = authoring::DisassembleScenario(
      blocks, charset,
      std::filesystem::path(path).filename().string() + " (hotaru-tool scn disasm)");
  if (args.out.empty()) {
    std::fwrite(source.data(), 1, source.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : kCommand.Failure("cannot write the source");
  }
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(source.data()),
                                            source.size());
  if (std::string error = authoring::WriteWholeFile(args.out, bytes); !error.empty())
    return kCommand.Failure(error);
  return 0;
}

int Assemble(int argc, char** argv) {
  Arguments args;
  if (std::string error = ParseArguments(argc, argv, false, &args); !error.empty())
    return kCommand.UsageError(error);
  if (args.positional.size() != 2) return kCommand.UsageError("asm takes SOURCE OUT.SCN");
  authoring::Charset charset;
  if (std::string error = ReadCharset(args.charset, &charset); !error.empty())
    return kCommand.Failure(error);
  const std::string& path = args.positional[0];
  std::vector<std::uint8_t> bytes;
  if (std::string error = authoring::ReadWholeFile(path, &bytes); !error.empty())
    return kCommand.Failure(error);
  const std::string source(bytes.begin(), bytes.end());
  authoring::ScenarioBlocks blocks;
  if (std::string error = authoring::AssembleScenario(source, path, charset, &blocks);
      !error.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  try {
    if (std::string error =
            authoring::WriteWholeFile(args.positional[1], authoring::BuildScenarioFile(blocks));
        !error.empty())
      return kCommand.Failure(error);
  } catch (const std::length_error& error) {
    return kCommand.Failure(path + ": " + error.what());
  }
  return 0;
}

int Audit(int argc, char** argv) {
  if (argc != 1) return kCommand.UsageError("audit takes one PATH");
  std::vector<authoring::ScenarioFile> files;
  if (std::string error = authoring::CollectScenarioFiles(argv[0], &files); !error.empty())
    return kCommand.Failure(error);
  if (files.empty()) return kCommand.Failure(std::string("no NNN.SCN files in ") + argv[0]);
  const std::vector<std::string> findings = authoring::AuditScenarios(files);
  for (const auto& line : findings) std::printf("%s\n", line.c_str());
  return findings.empty() ? 0 : 1;
}

int Coverage(int argc, char** argv) {
  // 1 is the answer of --require-all; input that cannot be read says so apart from it.
  constexpr int kCannotRead = 2;
  bool require_all = false;
  std::vector<std::string> paths;
  for (int i = 0; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--require-all")
      require_all = true;
    else if (arg.size() > 1 && arg.front() == '-')
      return kCommand.UsageError("unexpected option '" + std::string(arg) + "'");
    else
      paths.emplace_back(arg);
  }
  if (paths.size() != 1) return kCommand.UsageError("coverage takes one PATH");
  std::vector<authoring::ScenarioFile> files;
  if (std::string error = authoring::CollectScenarioFiles(paths[0], &files); !error.empty()) {
    kCommand.Failure(error);
    return kCannotRead;
  }
  if (files.empty()) {
    kCommand.Failure("no NNN.SCN files in " + paths[0]);
    return kCannotRead;
  }
  const authoring::ScenarioCoverage coverage =
      authoring::MeasureCoverage(authoring::UnpackScenarios(files));
  const std::string report = authoring::CoverageReport(coverage);
  std::fwrite(report.data(), 1, report.size(), stdout);
  return require_all && !coverage.Complete() ? 1 : 0;
}

std::string Cell(std::string_view text) {
  std::string out;
  for (char c : text) out += c == '|' ? std::string("\\|") : std::string(1, c);
  return out;
}

// The operands of an opcode row as the source writes them.
std::string OperandForm(const core::OpcodeInfo& row) {
  std::string letters;
  for (char c : row.layout) letters += (letters.empty() ? "" : " ") + std::string(1, c);
  switch (row.form) {
    case core::OpcodeForm::kSubOperation:
      return std::string(1, row.layout[0]) + " [" + letters.substr(2) + "]";
    case core::OpcodeForm::kChoice:
      return letters.substr(0, 3) + " (" + letters.substr(4) + ") × c";
    case core::OpcodeForm::kFixed: break;
  }
  return letters;
}

// The tag of an operation that text can hold: {bg:n}, {click}.
std::string OperationTag(const core::OpcodeInfo& row) {
  std::string tag = "{" + std::string(row.mnemonic);
  for (std::size_t i = 0; i < row.layout.size(); ++i)
    tag += (i == 0 ? ":" : ",") + std::string(1, row.layout[i]);
  return tag + "}";
}

std::string TagForm(const core::TextCodeInfo& row) {
  const auto code = static_cast<core::TextCode>(row.number);
  if (code == core::TextCode::SetX) return "{x:N}";  // N in pixels, a multiple of 8
  if (code == core::TextCode::SetY) return "{y:N}";
  std::string tag = "{" + std::string(row.mnemonic);
  bool first = true, in_name = false;
  for (char c : row.layout) {
    if (c == ' ') {
      in_name = false;
      continue;
    }
    if (!in_name) tag += first ? ":" : ",";
    tag += c;
    first = false;
    in_name = true;
  }
  return tag + "}";
}

int Opcodes(int argc, char**) {
  if (argc != 0) return kCommand.UsageError("opcodes takes no arguments");
  std::string out =
      "| Opcode | Instruction | Operands | Tag in text | Effect |\n|---|---|---|---|---|\n";
  char number[8];
  for (const auto& row : core::OpcodeTable()) {
    std::snprintf(number, sizeof number, "0x%02X", row.number);
    out += "| " + std::string(number) + " | `" + std::string(row.mnemonic) + "` | " +
           Cell(OperandForm(row)) + " | " + (row.in_text ? "`" + OperationTag(row) + "`" : "") +
           " | " + Cell(row.effect) + " |\n";
  }
  out += "\n| Code | Tag | Effect |\n|---|---|---|\n";
  for (const auto& row : core::TextCodeTable()) {
    std::snprintf(number, sizeof number, "0x%02X", row.number);
    out += "| " + std::string(number) + " | `" + TagForm(row) + "` | " + Cell(row.effect) + " |\n";
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

}  // namespace

int ScnCommand(int argc, char** argv) {
  if (kCommand.HelpAsked(argc, argv)) return 0;
  if (argc < 1) return kCommand.UsageError("missing subcommand");
  const std::string_view action = argv[0];
  if (action == "disasm") return Disassemble(argc - 1, argv + 1);
  if (action == "asm") return Assemble(argc - 1, argv + 1);
  if (action == "audit") return Audit(argc - 1, argv + 1);
  if (action == "coverage") return Coverage(argc - 1, argv + 1);
  if (action == "opcodes") return Opcodes(argc - 1, argv + 1);
  return kCommand.UsageError("unknown subcommand '" + std::string(action) + "'");
}

}  // namespace tool
