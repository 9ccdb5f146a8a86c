// hotaru-headless: the game on the headless backend, driven by an input script, for tests.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "flow/game_flow.h"
#include "platform/headless/headless_backend.h"
#include "shell/startup.h"
#include "shell/state_dump.h"

namespace programs {
namespace {

constexpr const char* kUsage =
    "usage: hotaru-headless --ini FILE [--input FILE] [--trace FILE] [--until MS]\n"
    "                       [--dump-at-exit FILE.json] [--new-game | --title | --no-game]\n"
    "                       [--window TITLE]...\n"
    "                       [--display-bits 8|32] [--screen WxH] [--realtime]\n"
    "                       [--trace-ops] [--trace-presents] [--cd-error in-use|other]\n";

int UsageError(const std::string& what) {
  std::fprintf(stderr, "hotaru-headless: %s\n%s", what.c_str(), kUsage);
  return 2;
}

bool ParseUnsigned(const char* text, unsigned long* out) {
  if (text == nullptr || *text == '\0') return false;
  char* end = nullptr;
  *out = std::strtoul(text, &end, 10);
  return *end == '\0' && text[0] != '-';
}

int HeadlessMain(int argc, char** argv) {
  platform::headless::Options options;
  std::string input_path;
  // The whole game from the logo unless a switch starts it elsewhere.
  flow::StartAt start = flow::StartAt::kLogo;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    if (arg == "--ini") {
      const char* v = value();
      if (!v) return UsageError("--ini needs a file");
      options.ini_path = v;
    } else if (arg == "--input") {
      const char* v = value();
      if (!v) return UsageError("--input needs a file");
      input_path = v;
    } else if (arg == "--trace") {
      const char* v = value();
      if (!v) return UsageError("--trace needs a file");
      options.trace_path = v;
    } else if (arg == "--until") {
      unsigned long ms = 0;
      if (!ParseUnsigned(value(), &ms)) return UsageError("--until needs milliseconds");
      options.until_ms = static_cast<std::uint32_t>(ms);
    } else if (arg == "--dump-at-exit") {
      const char* v = value();
      if (!v) return UsageError("--dump-at-exit needs a file");
      options.dump_at_exit_path = v;
    } else if (arg == "--new-game") {
      start = flow::StartAt::kNewGame;
    } else if (arg == "--title") {
      start = flow::StartAt::kTitle;
    } else if (arg == "--no-game") {
      start = flow::StartAt::kNothing;
    } else if (arg == "--window") {
      const char* v = value();
      if (!v) return UsageError("--window needs a title");
      options.foreign_titles.emplace_back(v);
    } else if (arg == "--display-bits") {
      unsigned long bits = 0;
      if (!ParseUnsigned(value(), &bits) || (bits != 8 && bits != 16 && bits != 24 && bits != 32)) {
        return UsageError("--display-bits is 8, 16, 24 or 32");
      }
      options.display_bits = static_cast<int>(bits);
    } else if (arg == "--screen") {
      const char* v = value();
      unsigned w = 0, h = 0;
      char extra = 0;
      if (!v || std::sscanf(v, "%ux%u%c", &w, &h, &extra) != 2 || w < 320 || h < 200 || w > 16384 ||
          h > 16384) {
        return UsageError("--screen is WIDTHxHEIGHT");
      }
      options.screen_width = static_cast<int>(w);
      options.screen_height = static_cast<int>(h);
    } else if (arg == "--trace-ops") {
      options.trace_ops = true;
    } else if (arg == "--trace-presents") {
      options.trace_presents = true;
    } else if (arg == "--cd-error") {
      // The CD device refuses to open: "in-use" as a drive another program holds, "other"
      // as a machine without one.
      const char* v = value();
      const std::string kind = v ? v : "";
      if (kind == "in-use") {
        options.cd_open_error = MCIERR_DEVICE_OPEN;
      } else if (kind == "other") {
        options.cd_open_error = MCIERR_HARDWARE;
      } else {
        return UsageError("--cd-error is in-use or other");
      }
    } else if (arg == "--realtime") {
      options.realtime = true;
    } else if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else {
      return UsageError("unknown option " + arg);
    }
  }
  if (options.ini_path.empty()) return UsageError("--ini is required");

  platform::headless::InputScript script;
  if (!input_path.empty()) {
    std::ifstream in(input_path, std::ios::binary);
    if (!in) return UsageError("cannot read input script " + input_path);
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    if (!platform::headless::ParseInputScript(text.str(), &script, &error)) {
      std::fprintf(stderr, "hotaru-headless: %s: %s\n", input_path.c_str(), error.c_str());
      return 2;
    }
  }

  flow::Flow.StartPoint = start;
  static platform::headless::HeadlessBackend backend(options, std::move(script));
  backend.SetDumpProvider(shell::StateDumpJson);
  platform::SetBackend(&backend);

  static char instance_marker;
  auto instance = reinterpret_cast<HINSTANCE>(&instance_marker);
  char command_line[] = "";
  ExitProcess(static_cast<UINT>(shell::WinMain(instance, nullptr, command_line, SW_SHOWNORMAL)));
}

}  // namespace
}  // namespace programs

int main(int argc, char** argv) { return programs::HeadlessMain(argc, argv); }
