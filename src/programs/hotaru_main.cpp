// hotaru: the game in an SDL2 window on the desktop.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "flow/game_flow.h"
#include "platform/sdl/sdl_backend.h"
#include "shell/startup.h"
#include "shell/state_dump.h"

int main(int argc, char** argv) {
  platform::sdl::Options options = platform::sdl::OptionsFromEnvironment();
  // --record FILE: the player's input is written as a script for hotaru-headless.
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--record" && i + 1 < argc && argv[i + 1][0] != '\0') {
      options.record_path = argv[++i];
    } else {
      std::fprintf(
          stderr, "hotaru: %s\nusage: hotaru [--record FILE]\n",
          arg == "--record" ? "--record needs a FILE" : ("unknown argument " + arg).c_str());
      return 2;
    }
  }
  static platform::sdl::SdlBackend backend(std::move(options));
  std::string error;
  if (!backend.Start(&error)) {
    std::fprintf(stderr, "hotaru: %s\n", error.c_str());
    return 1;
  }
  platform::SetBackend(&backend);
  backend.SetDumpProvider(shell::StateDumpJson);
  // The game begins with the maker's logo. The window tests set HOTARU_START=new-game to
  // play their own scenario at once, as the headless runner's --new-game does.
  if (const char* start = std::getenv("HOTARU_START")) {
    const std::string where = start;
    if (where == "new-game") flow::StartPoint = flow::StartAt::kNewGame;
    if (where == "title") flow::StartPoint = flow::StartAt::kTitle;
  }
  static char instance_marker;
  auto instance = reinterpret_cast<HINSTANCE>(&instance_marker);
  char command_line[] = "";
  ExitProcess(static_cast<UINT>(shell::WinMain(instance, nullptr, command_line, SW_SHOWNORMAL)));
}
