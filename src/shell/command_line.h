// The player's command line of the real program:
//
//   hotaru [--fullscreen] [GAME_DIR | --demo]    hotaru --help    hotaru --version
//
// A game folder given here is the data folder for this run only: it takes the place of the
// ini's HotaruDir, which stays as it is in the file; the ini's other settings still apply.
#pragma once

#include <filesystem>
#include <span>
#include <string>

namespace shell {

// What the command line asked for.
struct PlayerCommandLine {
  std::string game_dir;  // GAME_DIR as given; empty: the ini's HotaruDir
  bool demo = false;     // play the demo installed beside the program
  bool fullscreen = false;
  bool help = false;
  bool version = false;
  std::string record_path;  // --record FILE: the input written as a runner script
};

// One option of the command line. Every option the program knows is a row of
// kPlayerOptions (command_line.cpp): add a row there, a field above, and use the field in
// src/programs/hotaru_main.cpp.
struct PlayerOption {
  const char* name;        // "--fullscreen"
  const char* value_name;  // the value's name in the help ("FILE"); null for a switch
  const char* help;        // one line for --help
  // Stores the option in `line`; `value` is null for a switch. An error text, or "".
  std::string (*apply)(PlayerCommandLine* line, const char* value);
};
std::span<const PlayerOption> PlayerOptions();

// Reads the arguments after the program's name against a table of options (the program's
// own unless another is given). An option with a value takes it as the next argument or
// after `=`; "--" ends the options. An error text (a usage error), or "".
std::string ParsePlayerCommandLine(std::span<const char* const> args, PlayerCommandLine* line,
                                   std::span<const PlayerOption> options = PlayerOptions());
// The --help text: the usage line and one line per option.
std::string PlayerUsage();
// The --version text.
std::string PlayerVersion();

// The folder a game folder argument becomes the data folder as: absolute, at most 255
// bytes, holding ZEN2DATA.PAK as the pack archive looks for it. An error text for the
// player ("" when the folder holds the game's data) and the folder in `data_dir`.
std::string CheckGameFolder(const std::string& game_dir, std::string* data_dir);

// The demo's data folder beside the program at `program` (the running binary). In the build
// tree (build/<preset>/src/hotaru) it is build/<preset>/demo itself. Installed
// (PREFIX/bin/hotaru), the demo's files in PREFIX/share/hotaru/demo belong to the system and
// the player could not save there: the demo is played from `player_data`/hotaru/demo, a folder
// of the player's own holding links to the installed files, where its saves go. An error text
// naming where it looked, or "" with the folder in `data_dir`.
std::string FindDemoFolder(const std::filesystem::path& program,
                           const std::filesystem::path& player_data, std::string* data_dir);

// Where the player's own data goes: $XDG_DATA_HOME, else ~/.local/share.
std::filesystem::path PlayerDataHome();

// The data folder the command line chose for this run: the demo's, the game folder's, or
// "" when the ini is to decide. An error text for the player, or "".
std::string ChooseDataFolder(const PlayerCommandLine& line, const std::filesystem::path& program,
                             const std::filesystem::path& player_data, std::string* data_dir);

}  // namespace shell
