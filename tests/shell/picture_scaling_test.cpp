// The player's choice of how the picture fills the window: read from our own section of the
// ini file, changed from our menu and written back without touching the original's settings.
#include "shell/picture_scaling.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/message_pump.h"
#include "core/window_state.h"
#include "platform/common/window_table.h"
#include "platform/presentation.h"
#include "support/platform_fixture.h"

namespace {

using platform::Presentation;
using platform::ScaleFilter;
using platform::ScaleMode;

class PictureScalingTest : public hotaru_test::PlatformTest {
 protected:
  void Start(const std::string& script = "") {
    RestartBackend(platform::headless::Options{}, script);
    ASSERT_TRUE(OpenWindow());
  }
  bool Checked(UINT id) {
    const platform::WindowRecord* w = platform::FindWindowRecord(core::Window.MainWindow);
    for (const auto& item : w->menu) {
      if (item.id == id) return (item.flags & MF_CHECKED) != 0;
    }
    ADD_FAILURE() << "no item " << id;
    return false;
  }
};

TEST_F(PictureScalingTest, TheIniChoiceHoldsFromTheWindowsCreation) {
  struct Case {
    const char* section;
    Presentation expected;
    UINT checked_mode, checked_filter;
  } cases[] = {
      {"", Presentation{}, shell::kCommandScaleFit, shell::kCommandFilterNearest},
      {"[hotaru]\nScaling=whole\nFilter=smooth\n",
       {ScaleMode::kWhole, ScaleFilter::kSmooth},
       shell::kCommandScaleWhole,
       shell::kCommandFilterSmooth},
      {"[hotaru]\nScaling=STRETCH\n",
       {ScaleMode::kStretch, ScaleFilter::kNearest},
       shell::kCommandScaleStretch,
       shell::kCommandFilterNearest},
      // Unknown or damaged values are the default.
      {"[hotaru]\nScaling=zoom 3x\nFilter=\xff\xfe\n", Presentation{}, shell::kCommandScaleFit,
       shell::kCommandFilterNearest},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.section);
    WriteText(ini_path(), std::string("[蛍]\nHotaruDir=/data\n") + c.section);
    Start();
    EXPECT_TRUE(platform::CurrentPresentation() == c.expected);
    EXPECT_TRUE(Checked(c.checked_mode));
    EXPECT_TRUE(Checked(c.checked_filter));
    EXPECT_EQ(Checked(shell::kCommandScaleFit) + Checked(shell::kCommandScaleWhole) +
                  Checked(shell::kCommandScaleStretch),
              1);
  }
}

TEST_F(PictureScalingTest, MenuCommandsChangeTheChoiceAndKeepTheOtherSettings) {
  WriteText(ini_path(), "[蛍]\nHotaruDir=/data\nMusic=OFF\n[hotaru]\nScaling=bogus\n");
  Start("at 10 menu 41002\nat 20 menu 41012\n");
  while (GetTickCount() < 30) core::PumpMessage();
  EXPECT_TRUE(
      (platform::CurrentPresentation() == Presentation{ScaleMode::kWhole, ScaleFilter::kSmooth}));
  EXPECT_TRUE(Checked(shell::kCommandScaleWhole));
  EXPECT_FALSE(Checked(shell::kCommandScaleFit));
  EXPECT_TRUE(Checked(shell::kCommandFilterSmooth));
  EXPECT_EQ(ReadText(ini_path()),
            "[蛍]\nHotaruDir=/data\nMusic=OFF\n[hotaru]\nScaling=whole\nFilter=smooth\n");
}

// A settings file that cannot be written keeps the choice for this run and says so.
TEST_F(PictureScalingTest, AFileThatCannotBeWrittenIsReported) {
  std::filesystem::create_directories(ini_path());
  Start("at 10 menu 41003\n");
  while (GetTickCount() < 20) core::PumpMessage();
  EXPECT_EQ(platform::CurrentPresentation().mode, ScaleMode::kStretch);
  bool reported = false;
  for (const std::string& line : backend().trace_lines()) {
    if (line.find("msgbox") != std::string::npos &&
        line.find("設定を保存できませんでした") != std::string::npos) {
      reported = true;
    }
  }
  EXPECT_TRUE(reported);
}

}  // namespace
