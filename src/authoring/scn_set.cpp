#include "authoring/scn_set.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "authoring/pack_writer.h"

namespace authoring {
namespace {

constexpr int kNoScenarioNumber = 255;

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

}  // namespace

std::string ScenarioName(int number) {
  char text[16];
  std::snprintf(text, sizeof text, "%03d.SCN", number);
  return text;
}

std::string HexOffset(std::size_t offset) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%04zX", offset);
  return text;
}

std::string FindingLine(const std::string& name, ScnBlock block, std::size_t offset,
                        const std::string& what) {
  switch (block) {
    case ScnBlock::kFile: break;
    case ScnBlock::kEvent: return name + ": EVENT DATA " + HexOffset(offset) + ": " + what;
    case ScnBlock::kMessages: return name + ": MESSAGE DATA " + HexOffset(offset) + ": " + what;
  }
  return name + ": " + what;
}

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

std::vector<UnpackedScenario> UnpackScenarios(const std::vector<ScenarioFile>& files) {
  std::vector<UnpackedScenario> unpacked(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    const ScenarioFile& file = files[i];
    UnpackedScenario& out = unpacked[i];
    out.number = file.number;
    out.name = file.name;
    if (!file.read_error.empty()) {
      out.problems.push_back("cannot be read: " + file.read_error);
      continue;
    }
    std::vector<std::string> warnings;
    if (std::string error = UnpackScenarioFile(file.bytes, &out.blocks, &warnings);
        !error.empty()) {
      out.blocks = {};
      out.problems.push_back("does not unpack: " + error);
      continue;
    }
    out.ok = true;
    for (const auto& warning : warnings) out.problems.push_back("damaged: " + warning);
  }
  return unpacked;
}

}  // namespace authoring
