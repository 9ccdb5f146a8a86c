// `hotaru --record FILE` refuses a place that is not a file before the program starts
// anything of its own: at once (a pipe with no reader does not hold it), with one line that
// names the place, and before the display is opened (no display is needed to be told, and
// nothing the display's libraries open is left behind).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;

TEST(HotaruRecord, APipeADeviceOrAFolderIsRefusedAtOnceBeforeTheDisplay) {
  const fs::path program = fs::path(HOTARU_HEADLESS_PATH).parent_path() / "hotaru";
  const fs::path dir =
      fs::temp_directory_path() / ("hotaru-record-" + std::to_string(std::random_device()()));
  fs::create_directories(dir / "folder");
  ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
  const struct {
    fs::path path;
    const char* kind;
  } cases[] = {{dir / "pipe", "a pipe"}, {"/dev/full", "a device"}, {dir / "folder", "a folder"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.string());
    std::string output;
    // Without a display: a program that went on to open one would fail on that instead. A
    // program that waited on the pipe would be ended by the time limit (status 124).
    const int status = hotaru_test::RunProgram(
        "/usr/bin/env",
        {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "HOME=" + dir.string(), "/usr/bin/timeout", "20",
         program.string(), "--record", c.path.string()},
        {}, &output);
    EXPECT_EQ(status, 1) << output;
    EXPECT_EQ(output, "hotaru: cannot record to " + c.path.string() + ": " + c.kind +
                          ", not a file (a recording is written to a regular file or a new one)\n");
  }
  fs::remove_all(dir);
}

}  // namespace
