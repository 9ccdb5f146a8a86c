// Screenshots: the game's 640 × 400 picture read back from the client area at every size
// the window can take, and files that never replace one another.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "core/menu_command_ids.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "core/window_state.h"
#include "platform/common/window_table.h"
#include "platform/sdl/screenshot.h"
#include "support/platform_fixture.h"

namespace platform::sdl {
namespace {

namespace fs = std::filesystem;

class ScreenshotTest : public hotaru_test::PlatformTest {
 protected:
  std::vector<std::uint8_t> ClientAfterCommand(UINT command) {
    SendMessageA(core::Window.MainWindow, WM_COMMAND, command, 0);
    InvalidateRect(core::Window.MainWindow, nullptr, FALSE);
    UpdateWindow(core::Window.MainWindow);
    const WindowRecord* w = FindWindowRecord(core::Window.MainWindow);
    width_ = w->surface.width;
    height_ = w->surface.height;
    return ClientRgb(*w);
  }
  int width_ = 0, height_ = 0;
};

// Picture pixels of every colour next to one another, so that a pixel read from its
// neighbour's place shows.
TEST_F(ScreenshotTest, EverySizeAndFullScreenGiveThePictureAsAt640x400) {
  platform::headless::Options options;
  options.screen_width = 1920;
  options.screen_height = 1200;
  RestartBackend(options);
  ASSERT_TRUE(OpenWindow());
  std::uint8_t* picture = core::LockPicture(core::Screen.VmemDIB);
  for (int y = 0; y < 400; ++y) {
    for (int x = 0; x < 640; ++x) {
      picture[core::PixelOffset(x, y)] = static_cast<std::uint8_t>((x * 7 + y * 3 + x / 9) % 16);
    }
  }
  core::MemUnlock(core::Screen.VmemDIB);

  const std::vector<std::uint8_t> reference = ClientAfterCommand(core::kModeWindow640);
  ASSERT_EQ(width_, 640);
  ASSERT_EQ(height_, 400);
  std::vector<UINT> commands = {core::kModeFullScreen};
  for (int i = 1; i < 8; ++i) commands.push_back(static_cast<UINT>(core::kModeFirstSize + i));
  for (UINT command : commands) {
    const std::vector<std::uint8_t> client = ClientAfterCommand(command);
    SCOPED_TRACE(std::to_string(width_) + "x" + std::to_string(height_));
    const RgbPicture shot = PictureOfClient(
        client, width_, height_, SourceOfClient(width_, height_, command == core::kModeFullScreen));
    if (width_ < 640) {
      // The smallest window shows less than the picture: the shot is what it shows.
      EXPECT_EQ(shot.width, width_);
      EXPECT_EQ(shot.rgb, client);
      continue;
    }
    ASSERT_EQ(shot.width, 640);
    ASSERT_EQ(shot.height, 400);
    EXPECT_TRUE(shot.rgb == reference);
  }
}

TEST(Screenshot, FilesAreNamedByTheTimeAndNeverReplaced) {
  const fs::path folder =
      fs::temp_directory_path() / ("hotaru-shots-" + std::to_string(std::time(nullptr))) / "Pics";
  RgbPicture picture{2, 1, {255, 0, 0, 0, 0, 255}};
  std::tm when{};
  when.tm_year = 126;
  when.tm_mon = 11;
  when.tm_mday = 10;
  when.tm_hour = 17;
  when.tm_min = 5;
  when.tm_sec = 9;
  std::vector<fs::path> saved(3);
  std::string error;
  for (fs::path& path : saved)
    ASSERT_TRUE(SaveScreenshot(picture, folder, when, &path, &error)) << error;
  EXPECT_EQ(saved[0].filename(), "hotaru 2026-12-10 17-05-09.png");
  EXPECT_EQ(saved[1].filename(), "hotaru 2026-12-10 17-05-09 (2).png");
  EXPECT_EQ(saved[2].filename(), "hotaru 2026-12-10 17-05-09 (3).png");
  for (const fs::path& path : saved) EXPECT_GT(fs::file_size(path), 0u);

  fs::path none;
  EXPECT_FALSE(SaveScreenshot(RgbPicture{}, folder, when, &none, &error));
  EXPECT_FALSE(SaveScreenshot(picture, "/proc/no-such-folder", when, &none, &error));
  EXPECT_NE(error.find("/proc/no-such-folder"), std::string::npos) << error;
  fs::remove_all(folder.parent_path());
}

}  // namespace
}  // namespace platform::sdl
