// hotaru-tool pack: list, extract and build pack archives.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/pack_writer.h"
#include "command_support.h"
#include "commands.h"

namespace tool {
namespace {

constexpr const char* kUsage =
    "usage: hotaru-tool pack list ARCHIVE\n"
    "       hotaru-tool pack extract ARCHIVE DIR [NAME...]\n"
    "       hotaru-tool pack build ARCHIVE FILE...\n"
    "\n"
    "  list     one line per index entry: name, offset, size in bytes\n"
    "  extract  writes the entries (all, or the NAMEs given, in any letter case) into DIR,\n"
    "           unscrambled, named as in the index\n"
    "  build    packs the FILEs, each under its own file name upper-cased; names must be\n"
    "           8.3 names, and an archive holds at most 1365 files\n";
const CommandText kCommand{"pack", kUsage};

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto fold = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

// An index name is outside data: it becomes a file name only when it cannot leave DIR.
bool SafeFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\") == std::string::npos;
}

struct Archive {
  std::vector<std::uint8_t> bytes;
  std::vector<authoring::PackEntry> entries;
};

std::string Load(const char* path, Archive* archive) {
  if (std::string error = authoring::ReadWholeFile(path, &archive->bytes); !error.empty())
    return error;
  if (std::string error = authoring::ReadPackIndex(archive->bytes, &archive->entries);
      !error.empty())
    return std::string(path) + ": " + error;
  return "";
}

int List(int argc, char** argv) {
  if (argc != 1) return kCommand.UsageError("list takes one ARCHIVE");
  Archive archive;
  if (std::string error = Load(argv[0], &archive); !error.empty()) return kCommand.Failure(error);
  for (const auto& entry : archive.entries)
    std::printf("%s %u %u\n", Printable(entry.name).c_str(), entry.offset, entry.size);
  return 0;
}

int Extract(int argc, char** argv) {
  if (argc < 2) return kCommand.UsageError("extract takes ARCHIVE DIR [NAME...]");
  Archive archive;
  if (std::string error = Load(argv[0], &archive); !error.empty()) return kCommand.Failure(error);
  std::filesystem::path dir = argv[1];

  // The game loads the first entry of a name, so only that one is extracted.
  std::vector<const authoring::PackEntry*> chosen;
  auto first_named = [&](std::string_view name) -> const authoring::PackEntry* {
    for (const auto& entry : archive.entries)
      if (EqualIgnoringAsciiCase(entry.name, name)) return &entry;
    return nullptr;
  };
  if (argc == 2) {
    for (const auto& entry : archive.entries) {
      if (first_named(entry.name) == &entry) {
        chosen.push_back(&entry);
      } else {
        std::fprintf(stderr, "hotaru-tool pack: skipping a second entry '%s' (offset %u)\n",
                     Printable(entry.name).c_str(), entry.offset);
      }
    }
  } else {
    for (int i = 2; i < argc; ++i) {
      const authoring::PackEntry* entry = first_named(argv[i]);
      if (entry == nullptr)
        return kCommand.Failure(std::string("no entry '") + argv[i] + "' in " + argv[0]);
      chosen.push_back(entry);
    }
  }
  for (const auto* entry : chosen) {
    if (!SafeFileName(entry->name))
      return kCommand.Failure("entry name '" + Printable(entry->name) +
                              "' cannot be used as a file name");
  }

  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) return kCommand.Failure("cannot create " + dir.string() + ": " + error.message());
  for (const auto* entry : chosen) {
    std::vector<std::uint8_t> data = authoring::PackEntryData(archive.bytes, *entry);
    if (std::string failure =
            authoring::WriteWholeFile(dir / entry->name, data, platform::AtLink::kReplace);
        !failure.empty())
      return kCommand.Failure(failure);
  }
  return 0;
}

int Build(int argc, char** argv) {
  if (argc < 2) return kCommand.UsageError("build takes ARCHIVE FILE...");
  std::vector<authoring::PackSource> sources;
  sources.reserve(static_cast<std::size_t>(argc - 1));
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path path = argv[i];
    authoring::PackSource source;
    source.name = path.filename().string();
    char index_name[resources::kPackNameLength];
    if (std::string error = authoring::IndexNameOf(source.name, index_name); !error.empty())
      return kCommand.Failure(path.string() + ": " + error);
    if (std::string error = authoring::ReadWholeFile(path, &source.data); !error.empty())
      return kCommand.Failure(error);
    sources.push_back(std::move(source));
  }
  if (std::string error = authoring::WritePack(argv[0], sources); !error.empty())
    return kCommand.Failure(error);
  return 0;
}

}  // namespace

int PackCommand(int argc, char** argv) {
  if (kCommand.HelpAsked(argc, argv)) return 0;
  if (argc < 1) return kCommand.UsageError("missing subcommand");
  std::string_view action = argv[0];
  if (action == "list") return List(argc - 1, argv + 1);
  if (action == "extract") return Extract(argc - 1, argv + 1);
  if (action == "build") return Build(argc - 1, argv + 1);
  return kCommand.UsageError(("unknown subcommand '" + std::string(action) + "'").c_str());
}

}  // namespace tool
