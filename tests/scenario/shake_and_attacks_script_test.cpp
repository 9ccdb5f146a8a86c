// The shake, the claw attacks and the blood reached from the event script and from message
// text: each form runs the real effect, told apart by the sound it plays and the scene it
// leaves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "authoring/picture_file.h"
#include "core/format_text.h"
#include "core/game_state.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "support/scenario_fixture.h"
#include "visuals/palette_fades.h"
#include "visuals/scene_state.h"

namespace {

using hotaru_test::Bytes;
using hotaru_test::ScenarioBuilder;

constexpr std::size_t kShakeSoundBytes = 4410;
constexpr std::size_t kClawSoundBytes = 2206;

class ShakeAndAttacksScriptTest : public hotaru_test::ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    core::Settings.Pcm = 1;
    for (int n = 1; n <= 11; ++n) WriteFrame(core::FormatString("CLAW%02dW.VGR", n));
    for (int n = 0; n <= 3; ++n) WriteFrame(core::FormatString("BLDW%1d.VGR", n));
    WriteFrame("S40.VGR");
    WriteBytes(dir() / "HT_VD03.P16", Bytes(kShakeSoundBytes, 0));
    WriteBytes(dir() / "HT_VD18.P16", Bytes(kClawSoundBytes, 0));
  }
  // A small picture in colours 1 and 2.
  void WriteFrame(const std::string& name) {
    authoring::PictureImage image{16, 8, Bytes(16 * 8, 1)};
    image.pixels[3] = 2;
    std::vector<std::uint8_t> file;
    ASSERT_EQ(authoring::BuildPictureFile(image, {}, &file), "");
    WriteBytes(dir() / name, file);
  }
  std::vector<std::string> WaveWrites() {
    std::vector<std::string> out;
    for (const std::string& w : TraceOf("wave")) {
      if (w.rfind("write ", 0) == 0) out.push_back(w);
    }
    return out;
  }
};

TEST_F(ShakeAndAttacksScriptTest, OpcodesAndTextCodesRunTheEffects) {
  struct Case {
    const char* code;
    std::vector<std::string> writes;
    std::uint8_t background;  // BackgroundNumber after
    std::uint16_t palette;
  } cases[] = {
      {"quake", {"write 4410 loops 1"}, 7, visuals::kPaletteNormal},
      {"msg \"{quake}\"", {"write 4410 loops 1"}, 7, visuals::kPaletteNormal},
      {"claw1", {"write 2206 loops 1"}, 0, visuals::kPaletteBlack},
      {"msg \"{claw1}\"", {"write 2206 loops 1"}, 0, visuals::kPaletteBlack},
      {"claw2", {}, 0, visuals::kPaletteBlack},
      {"msg \"{claw2}\"", {}, 0, visuals::kPaletteBlack},
      {"blood", {}, 40, visuals::kPaletteDim},
      {"msg \"{blood}\"", {}, 40, visuals::kPaletteDim},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    Restart("");
    core::Settings.Pcm = 1;
    visuals::SetBackgroundNumber(7);
    visuals::ApplyScreenPalette();
    WriteScenarioFile(1,
                      ScenarioBuilder::Assemble(std::string("L1:\n    ") + c.code + "\n    end\n"));
    RunLabel(1, 1);
    EXPECT_EQ(WaveWrites(), c.writes);
    EXPECT_EQ(visuals::BackgroundNumber(), c.background);
    EXPECT_EQ(core::Screen.PaletteState, c.palette);
  }
}

}  // namespace
