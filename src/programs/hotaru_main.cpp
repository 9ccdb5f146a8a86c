// hotaru: the game in an SDL2 window on the desktop.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <system_error>
#include <utility>

#include "flow/game_flow.h"
#include "platform/sdl/sdl_backend.h"
#include "shell/command_line.h"
#include "shell/startup.h"
#include "shell/state_dump.h"

namespace programs {
namespace {

int CommandLineError(const std::string& what) {
  std::fprintf(stderr, "hotaru: %s\n(hotaru --help shows the options)\n", what.c_str());
  return 2;
}

int HotaruMain(int argc, char** argv) {
  shell::PlayerCommandLine line;
  if (std::string error = shell::ParsePlayerCommandLine(
          std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc - 1)), &line);
      !error.empty()) {
    return CommandLineError(error);
  }
  if (line.help) return std::fputs(shell::PlayerUsage().c_str(), stdout) < 0 ? 1 : 0;
  if (line.version) return std::fputs(shell::PlayerVersion().c_str(), stdout) < 0 ? 1 : 0;
  // The demo is found beside the running binary, wherever it was installed.
  std::error_code ec;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (std::string error = shell::ChooseDataFolder(line, program, shell::PlayerDataHome(),
                                                  &shell::Shell.DataDirOverride);
      !error.empty()) {
    return CommandLineError(error);
  }
  shell::Shell.StartFullScreen = line.fullscreen;

  platform::sdl::Options options = platform::sdl::OptionsFromEnvironment();
  options.record_path = line.record_path;
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
    if (where == "new-game") flow::Flow.StartPoint = flow::StartAt::kNewGame;
    if (where == "title") flow::Flow.StartPoint = flow::StartAt::kTitle;
  }
  static char instance_marker;
  auto instance = reinterpret_cast<HINSTANCE>(&instance_marker);
  char command_line[] = "";
  ExitProcess(static_cast<UINT>(shell::WinMain(instance, nullptr, command_line, SW_SHOWNORMAL)));
}

}  // namespace
}  // namespace programs

int main(int argc, char** argv) { return programs::HotaruMain(argc, argv); }
