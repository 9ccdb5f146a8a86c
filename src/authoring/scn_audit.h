// The scenario audit: everything in a set of scenario files that would make the game refuse
// a file, run off its code or show something that is not there.
//
// Per file: a file that does not unpack (or whose stream ends early), a block too short for
// its table, label and message entries past the end of their block, messages that do not end
// in 0xAF. Along the code that the labels reach (following jumps, calls and choices): opcodes
// outside the table, instructions cut by the block's end, code running off the end, jumps,
// calls and messages that point outside the code or the texts, and scenario jumps to a
// scenario that has no file or whose label points outside its code.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace authoring {

struct ScenarioFile {
  int number = 0;    // 0 … 254
  std::string name;  // as found: "012.SCN"
  std::vector<std::uint8_t> bytes;
  std::string read_error;  // not empty: the file could not be read
};

// The scenario files ("%03d.SCN", any letter case, numbers 0 … 254) of a pack archive or of a
// folder (its own files, not those of subfolders), in number order. Where a name occurs twice
// the first one counts, as for the game. Returns "" or why PATH cannot be read.
std::string CollectScenarioFiles(const std::filesystem::path& path,
                                 std::vector<ScenarioFile>* files);

// One line per finding, "NAME: BLOCK 0xOFFSET: what" (or "NAME: what" for the whole file), in
// file order and by offset within a file.
std::vector<std::string> AuditScenarios(const std::vector<ScenarioFile>& files);

}  // namespace authoring
