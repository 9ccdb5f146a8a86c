// The display modes a screen lists through EnumDisplaySettingsA: its own size, then 640 × 480
// when that differs, both at the depth in force.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32.h"
#include "support/platform_fixture.h"

namespace {

class DisplayModesTest : public hotaru_test::PlatformTest {
 protected:
  void StartScreen(int width, int height, int bits) {
    platform::headless::Options options;
    options.screen_width = width;
    options.screen_height = height;
    options.display_bits = bits;
    RestartBackend(options);
  }

  // Every mode listed, as "WIDTHxHEIGHTxBITS"; a mode that lacks one of its three fields or
  // its refresh rate is listed with a "?".
  static std::vector<std::string> ListedModes() {
    std::vector<std::string> modes;
    DEVMODEA mode{};
    for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i) {
      const DWORD fields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
      const bool whole = mode.dmSize == sizeof(DEVMODEA) && (mode.dmFields & fields) == fields &&
                         mode.dmDisplayFrequency == 60;
      modes.push_back(std::to_string(mode.dmPelsWidth) + "x" + std::to_string(mode.dmPelsHeight) +
                      "x" + std::to_string(mode.dmBitsPerPel) + (whole ? "" : "?"));
      if (i > 8) break;  // a list that never ends shows as a long one
    }
    return modes;
  }
};

TEST_F(DisplayModesTest, OwnSizeFirstThen640x480AtTheScreensDepth) {
  struct Case {
    const char* name;
    int width, height, bits;
    std::vector<std::string> modes;
  };
  const Case cases[] = {
      {"a larger screen", 1024, 768, 8, {"1024x768x8", "640x480x8"}},
      {"a deeper, wider screen", 1920, 1080, 32, {"1920x1080x32", "640x480x32"}},
      {"a 640 × 480 screen lists its size once", 640, 480, 16, {"640x480x16"}},
  };
  for (const Case& c : cases) {
    StartScreen(c.width, c.height, c.bits);
    EXPECT_EQ(ListedModes(), c.modes) << c.name;
  }
}

// The list is the screen's, not the mode in force: after a switch to 640 × 480 the screen's
// own size still comes first, and only the depth follows the switch.
TEST_F(DisplayModesTest, AfterASwitchTheListKeepsTheScreensSizeAndTakesTheNewDepth) {
  StartScreen(1280, 1024, 8);
  DEVMODEA small{};
  small.dmSize = sizeof(DEVMODEA);
  small.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  small.dmBitsPerPel = 16;
  small.dmPelsWidth = 640;
  small.dmPelsHeight = 480;
  ASSERT_EQ(ChangeDisplaySettingsA(&small, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
  EXPECT_EQ(ListedModes(), (std::vector<std::string>{"1280x1024x16", "640x480x16"}));
}

}  // namespace
