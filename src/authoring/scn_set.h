// A set of scenario files as the tools read them: the NNN.SCN files of a pack archive or a
// folder, each unpacked as the loader unpacks it. The audit and the coverage start from here.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "authoring/scn_file.h"

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

// "012.SCN": the name the game forms for scenario n.
std::string ScenarioName(int number);

// One scenario file unpacked. A file that cannot be read or does not unpack is kept (with
// its problem) so that the tools can say so; its blocks are then empty.
struct UnpackedScenario {
  int number = 0;
  std::string name;
  bool ok = false;  // both blocks unpacked (a stream that ended early included)
  ScenarioBlocks blocks;
  // "cannot be read: …", "does not unpack: …", or "damaged: …" for each stream that ended
  // early.
  std::vector<std::string> problems;

  // The blocks hold their 256-entry tables.
  bool HasCode() const { return ok && blocks.event.size() >= kScnBodyStart; }
  bool HasTexts() const { return ok && blocks.messages.size() >= kScnBodyStart; }
};

std::vector<UnpackedScenario> UnpackScenarios(const std::vector<ScenarioFile>& files);

// How the tools name a place in a scenario file: "NAME: EVENT DATA 0x0202: what",
// "NAME: MESSAGE DATA 0x0202: what", or "NAME: what" for the whole file.
enum class ScnBlock { kFile, kEvent, kMessages };
std::string FindingLine(const std::string& name, ScnBlock block, std::size_t offset,
                        const std::string& what);
// An offset as the findings write it: "0x0202".
std::string HexOffset(std::size_t offset);

}  // namespace authoring
