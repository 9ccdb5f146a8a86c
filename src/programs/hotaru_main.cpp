// hotaru: the game in an SDL2 window on the desktop.
#include <cstdio>
#include <string>

#include "flow/game_flow.h"
#include "platform/sdl/sdl_backend.h"
#include "shell/startup.h"

int main() {
  static platform::sdl::SdlBackend backend(platform::sdl::OptionsFromEnvironment());
  std::string error;
  if (!backend.Start(&error)) {
    std::fprintf(stderr, "hotaru: %s\n", error.c_str());
    return 1;
  }
  platform::SetBackend(&backend);
  // Until the title screen exists the program starts play directly, as the title's new
  // game would (scenario 0, label 1), and ends when play ends.
  flow::NewGameOnly = true;

  static char instance_marker;
  auto instance = reinterpret_cast<HINSTANCE>(&instance_marker);
  char command_line[] = "";
  ExitProcess(static_cast<UINT>(shell::WinMain(instance, nullptr, command_line, SW_SHOWNORMAL)));
}
