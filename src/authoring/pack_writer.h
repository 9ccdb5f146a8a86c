// Building and inspecting pack archives, for the tools and the tests. Unlike the game's
// loader, nothing here ends the process: every failure comes back as an error text.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_services.h"
#include "resources/pack_format.h"

namespace authoring {

// One file to pack: its name as the game asks for it (an 8.3 name) and its plain bytes.
struct PackSource {
  std::string name;
  std::vector<std::uint8_t> data;
};

struct PackBuildOptions {
  // The game loads the first of several entries of one name; archives that hold such
  // shadowed entries are only built on purpose (tests of that rule).
  bool allow_duplicate_names = false;
};

// The index form of an 8.3 name (base 1–8 characters, extension 0–3, at most one point, no
// folder separators, blanks or control characters), upper-cased. Returns "" on success,
// else what is wrong with the name.
std::string IndexNameOf(std::string_view name, char out[resources::kPackNameLength]);

// The whole archive: header, each file's data scrambled by itself in the order given, then
// the index scrambled as one stream. Returns "" on success, else the reason.
std::string BuildPack(const std::vector<PackSource>& files, std::vector<std::uint8_t>* archive,
                      const PackBuildOptions& options = {});
// BuildPack written to `path` (through a temporary file that replaces it when complete).
std::string WritePack(const std::filesystem::path& path, const std::vector<PackSource>& files,
                      const PackBuildOptions& options = {});

// One index entry as read back.
struct PackEntry {
  char index_name[resources::kPackNameLength];
  std::string name;  // with its point: "S01.VGR"
  std::uint32_t offset = 0;
  std::uint32_t size = 0;
};

// Parses and checks an archive: magic, entry count, the index inside the file after the
// header, every entry's data inside the file. Returns "" on success, else the reason.
std::string ReadPackIndex(std::span<const std::uint8_t> archive, std::vector<PackEntry>* entries);

// The plain bytes of an entry that ReadPackIndex gave for these archive bytes.
std::vector<std::uint8_t> PackEntryData(std::span<const std::uint8_t> archive,
                                        const PackEntry& entry);

// The largest input the tools read: more than any data of the game, checked before a byte is
// read.
inline constexpr std::uint64_t kMaxInputBytes = std::uint64_t{1} << 30;

// Reads a whole regular file; "" on success, else why not (a folder, too large, …).
std::string ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>* bytes);
// Writes a whole file: a regular or new file is replaced at once through a temporary that no
// planted link can redirect, and a link keeps pointing at the replaced file; a FIFO, a device
// or /dev/stdout is written straight into. "" on success. A file written into a folder the
// user did not name file by file (an extraction) replaces a link at its name instead of
// following it.
std::string WriteWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                           platform::AtLink at_link = platform::AtLink::kFollow);

}  // namespace authoring
