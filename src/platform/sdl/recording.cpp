// `hotaru --record FILE`: the recording's opening lines tell how to replay it.
#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/sdl/sdl_backend.h"

namespace platform::sdl {

void SdlBackend::WriteRecordingHeader() {
  char when[32] = "";
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) != nullptr) {
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
  }
  // The runner must see the same desktop: the window sizes offered depend on its size, and
  // the program's first question on its depth.
  std::string replay = "hotaru-headless --ini hotaru.ini --screen " +
                       std::to_string(desktop_width_) + "x" + std::to_string(desktop_height_) +
                       " --display-bits " + std::to_string(display_bits_);
  if (const char* start = std::getenv("HOTARU_START")) {
    const std::string where = start;
    if (where == "new-game") replay += " --new-game";
    if (where == "title") replay += " --title";
  }
  recorder_.Comment(std::string("hotaru input recording, started ") + when);
  recorder_.Comment("replay with the same hotaru.ini and data folder:");
  recorder_.Comment("  " + replay + " --input " + options_.record_path);
  recorder_.Comment("times are the program's tick in ms, positions client pixels");
}

}  // namespace platform::sdl
