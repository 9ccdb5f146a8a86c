// The player's command line: a table of options, the game folder check and the demo's place.
#include "shell/command_line.h"

#include <array>
#include <cstdlib>
#include <string_view>
#include <system_error>

#include "core/settings.h"
#include "platform/win32.h"
#include "resources/pack_format.h"

#ifndef HOTARU_VERSION
#error "HOTARU_VERSION comes from the project's version (CMakeLists.txt)"
#endif

namespace shell {
namespace {

namespace fs = std::filesystem;

std::string SetFlag(bool* flag) {
  *flag = true;
  return "";
}

const std::array kOptions = {
    PlayerOption{"--demo", nullptr, "play the demo story installed with the program",
                 [](PlayerCommandLine* l, const char*) { return SetFlag(&l->demo); }},
    PlayerOption{"--fullscreen", nullptr, "start in full screen",
                 [](PlayerCommandLine* l, const char*) { return SetFlag(&l->fullscreen); }},
    PlayerOption{"--help", nullptr, "show this help and exit",
                 [](PlayerCommandLine* l, const char*) { return SetFlag(&l->help); }},
    PlayerOption{"--version", nullptr, "show the program's version and exit",
                 [](PlayerCommandLine* l, const char*) { return SetFlag(&l->version); }},
    PlayerOption{"--record", "FILE", "write the play's input as a script for hotaru-headless",
                 [](PlayerCommandLine* l, const char* file) {
                   if (*file == '\0') return std::string("--record needs a FILE");
                   l->record_path = file;
                   return std::string();
                 }},
};

const PlayerOption* FindOption(std::span<const PlayerOption> options, std::string_view name) {
  for (const PlayerOption& option : options) {
    if (name == option.name) return &option;
  }
  return nullptr;
}

// The pack as the archive code opens it: the data folder, `\`, the name, found regardless
// of case. Present but not a regular file that can be read (a folder, a FIFO), it would
// stop the game later with a fatal message: the command line says so instead.
enum class PackPresence { kHeld, kMissing, kUnreadable };
PackPresence FindPack(const std::string& folder) {
  const std::string path = folder + "\\" + resources::kPackFileName;
  OFSTRUCT info;
  const HFILE file = OpenFile(path.c_str(), &info, OF_READ);
  if (file != HFILE_ERROR) {
    _lclose(file);
    return PackPresence::kHeld;
  }
  // Windows' codes for "file not found" and "path not found".
  return info.nErrCode == 2 || info.nErrCode == 3 ? PackPresence::kMissing
                                                  : PackPresence::kUnreadable;
}

// Makes `own` a folder of links to the files of `installed`: a link is made or pointed anew
// for each installed file, a link whose file is gone is removed, and anything else in `own`
// (the saves) is left alone.
std::string LinkDemoFiles(const fs::path& installed, const fs::path& own) {
  std::error_code ec;
  fs::create_directories(own, ec);
  if (ec) return "cannot make the demo's folder " + own.string() + ": " + ec.message();
  std::error_code ignored;
  for (const fs::directory_entry& entry : fs::directory_iterator(own, ignored)) {
    if (entry.is_symlink(ignored) && !fs::exists(entry.path(), ignored)) {
      fs::remove(entry.path(), ignored);
    }
  }
  fs::directory_iterator files(installed, ec);
  if (ec) return "cannot read the demo's folder " + installed.string() + ": " + ec.message();
  for (const fs::directory_entry& entry : files) {
    if (!entry.is_regular_file(ignored)) continue;
    const fs::path link = own / entry.path().filename();
    const fs::file_status there = fs::symlink_status(link, ignored);
    if (fs::is_symlink(there)) {
      if (fs::read_symlink(link, ignored) == entry.path()) continue;
      fs::remove(link, ignored);
    } else if (fs::exists(there)) {
      continue;  // the player's own file of that name
    }
    fs::create_symlink(entry.path(), link, ec);
    if (ec) return "cannot link " + link.string() + " to the demo: " + ec.message();
  }
  return "";
}

}  // namespace

std::span<const PlayerOption> PlayerOptions() { return kOptions; }

std::string ParsePlayerCommandLine(std::span<const char* const> args, PlayerCommandLine* line,
                                   std::span<const PlayerOption> options) {
  *line = PlayerCommandLine{};
  bool only_folders = false;  // after "--" every argument is a folder
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (!only_folders && arg == "--") {
      only_folders = true;
      continue;
    }
    if (!only_folders && arg.size() > 1 && arg[0] == '-') {
      const std::size_t equals = arg.find('=');
      const PlayerOption* option = FindOption(options, arg.substr(0, equals));
      if (option == nullptr) return "unknown option " + std::string(arg);
      std::string value;
      const char* value_text = nullptr;
      if (option->value_name != nullptr) {
        if (equals != std::string_view::npos) {
          value = std::string(arg.substr(equals + 1));
          value_text = value.c_str();
        } else if (i + 1 < args.size()) {
          value_text = args[++i];
        } else {
          return std::string(option->name) + " needs " + option->value_name;
        }
      } else if (equals != std::string_view::npos) {
        return std::string(option->name) + " takes no value";
      }
      if (std::string error = option->apply(line, value_text); !error.empty()) return error;
      continue;
    }
    if (!line->game_dir.empty()) return "only one game folder, please (" + std::string(arg) + ")";
    if (arg.empty()) return "the game folder is an empty name";
    line->game_dir = std::string(arg);
  }
  if (line->demo && !line->game_dir.empty()) return "a game folder or --demo, not both";
  return "";
}

std::string PlayerUsage() {
  std::string text =
      "usage: hotaru [OPTION]... [GAME_DIR]\n"
      "Plays the game whose files (ZEN2DATA.PAK, the music tracks) are in GAME_DIR, or in the\n"
      "folder that HotaruDir names in ~/.config/hotaru/hotaru.ini when no folder is given.\n\n";
  for (const PlayerOption& option : kOptions) {
    std::string left = "  " + std::string(option.name);
    if (option.value_name != nullptr) left += " " + std::string(option.value_name);
    if (left.size() < 18) left.resize(18, ' ');
    text += left + " " + option.help + "\n";
  }
  return text;
}

std::string PlayerVersion() { return std::string("hotaru ") + HOTARU_VERSION + "\n"; }

std::string CheckGameFolder(const std::string& game_dir, std::string* data_dir) {
  std::error_code ec;
  const fs::path folder = fs::absolute(fs::path(game_dir), ec).lexically_normal();
  if (ec || !fs::exists(folder, ec)) return game_dir + ": no such folder";
  if (!fs::is_directory(folder, ec)) return game_dir + ": not a folder";
  std::string path = folder.string();
  if (path.size() > 1 && path.back() == '/') path.pop_back();
  // The game joins the data folder and its file names with `\`, so a `\` in a folder's
  // own name would split it.
  if (path.find('\\') != std::string::npos) {
    return game_dir + ": the game cannot use a folder whose path holds a backslash";
  }
  if (path.size() >= sizeof core::Settings.DataDir) {
    return game_dir + ": the folder's path is longer than the game can hold (" +
           std::to_string(sizeof core::Settings.DataDir - 1) + " bytes)";
  }
  switch (FindPack(path)) {
    case PackPresence::kHeld: break;
    case PackPresence::kMissing:
      return game_dir + ": no game data here (" + resources::kPackFileName +
             " not found); name the folder that holds the game's files";
    case PackPresence::kUnreadable:
      return game_dir + ": " + resources::kPackFileName +
             " here is not a file the game can read (a folder, a pipe or no permission)";
  }
  *data_dir = path;
  return "";
}

std::string FindDemoFolder(const fs::path& program, const fs::path& player_data,
                           std::string* data_dir) {
  const fs::path prefix = program.parent_path().parent_path();
  const fs::path installed = (prefix / "share" / "hotaru" / "demo").lexically_normal();
  const fs::path built = (prefix / "demo").lexically_normal();
  if (FindPack(installed.string()) != PackPresence::kMissing) {
    const fs::path own = (player_data / "hotaru" / "demo").lexically_normal();
    if (std::string error = LinkDemoFiles(installed, own); !error.empty()) return error;
    return CheckGameFolder(own.string(), data_dir);
  }
  if (FindPack(built.string()) != PackPresence::kMissing)
    return CheckGameFolder(built.string(), data_dir);
  return "the demo is not installed (looked in " + installed.string() + " and " + built.string() +
         ")";
}

fs::path PlayerDataHome() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  return fs::path(home != nullptr ? home : "") / ".local" / "share";
}

std::string ChooseDataFolder(const PlayerCommandLine& line, const fs::path& program,
                             const fs::path& player_data, std::string* data_dir) {
  data_dir->clear();
  if (line.demo) return FindDemoFolder(program, player_data, data_dir);
  if (!line.game_dir.empty()) return CheckGameFolder(line.game_dir, data_dir);
  return "";
}

}  // namespace shell
