// hotaru-tool: one command for people who work with the story data, with git-style
// subcommands.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "commands.h"

namespace {

struct Subcommand {
  const char* name;
  int (*run)(int argc, char** argv);
  const char* summary;
};

constexpr Subcommand kSubcommands[] = {
    {"pack", tool::PackCommand, "list, extract and build pack archives"},
    {"picture", tool::PictureCommand, "picture files to and from PNG, and their header"},
    {"block", tool::BlockCommand, "unpack and pack compressed data blocks"},
    {"font", tool::FontCommand, "build the kanji font from the charset table, and show a font"},
    {"scn", tool::ScnCommand, "disassemble, assemble and audit scenario files"},
    {"save", tool::SaveCommand, "show what a save file holds; unseal and seal save files"},
};

void PrintUsage(std::FILE* out) {
  std::fprintf(out, "usage: hotaru-tool COMMAND [ARGS...]\n\ncommands:\n");
  for (const auto& sub : kSubcommands) std::fprintf(out, "  %-10s %s\n", sub.name, sub.summary);
  std::fprintf(out, "\n'hotaru-tool COMMAND --help' shows the usage of one command.\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    PrintUsage(argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  for (const auto& sub : kSubcommands) {
    if (std::strcmp(argv[1], sub.name) != 0) continue;
    const int status = sub.run(argc - 2, argv + 2);
    // What went to standard output counts only once it is written: a full disk or a closed
    // pipe shows at the flush or the close, and must not end as success with a short file.
    if (std::ferror(stdout) != 0 || std::fflush(stdout) != 0 || std::fclose(stdout) != 0) {
      const int error = errno;
      std::fprintf(stderr, "hotaru-tool: the output could not be written: %s\n",
                   error != 0 ? std::strerror(error) : "a write failed");
      return status == 0 ? 1 : status;
    }
    return status;
  }
  std::fprintf(stderr, "hotaru-tool: unknown command '%s'\n", argv[1]);
  PrintUsage(stderr);
  return 2;
}
