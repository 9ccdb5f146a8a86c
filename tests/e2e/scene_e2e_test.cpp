// Scenes end to end: hotaru-headless --new-game on a pack holding pictures and a scenario
// built here; what the window shows is checked in captures, state dumps and op times.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "authoring/picture_file.h"
#include "support/runner_fixture.h"
#include "support/scenario_builder.h"

namespace {

using hotaru_test::Bytes;
using hotaru_test::ScenarioBuilder;

constexpr int W = 640;
constexpr int H = 400;

using Rgb = hotaru_test::RunnerTest::Rgb;
Rgb Nibbles(int r, int g, int b) { return {r * 17, g * 17, b * 17}; }

// The story's pictures: background picture 5 in stripes of colours 0–3, two characters of
// colours 4 and 9 on transparent colour 5.
int BackgroundColour(int x, int y) { return (x / 40 + y / 25) % 4; }
bool InCharacter(int x, int y) {
  return x >= 16 && x < 112 && y >= 40 && y < 200;
}  // file coordinates
constexpr int kCharacterLeft = 64;  // the files place the 128 × 240 rectangle at (64, 80)
constexpr int kCharacterTop = 80;

class SceneE2E : public hotaru_test::RunnerTest {
 protected:
  void SetUp() override {
    RunnerTest::SetUp();
    WritePicture("S05.VGR", 0, 0, W, H, BackgroundColour, authoring::kNoTransparentColour);
    for (const auto& character : {std::pair{"C1C.VGR", 4}, std::pair{"C1D.VGR", 9}}) {
      const int colour = character.second;
      WritePicture(
          character.first, kCharacterLeft, kCharacterTop, 128, 240,
          [colour](int x, int y) { return InCharacter(x, y) ? colour : 5; }, 5);
    }
  }

  void WritePicture(const std::string& name, int x, int y, int w, int h,
                    const std::function<int(int, int)>& pixel, std::uint8_t transparent) {
    authoring::PictureImage image{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w * h))};
    for (int j = 0; j < h; ++j) {
      for (int i = 0; i < w; ++i)
        image.pixels[static_cast<std::size_t>(j * w + i)] = static_cast<std::uint8_t>(pixel(i, j));
    }
    authoring::PictureOptions options;
    options.x = x;
    options.y = y;
    options.transparent = transparent;
    // Colours of their own that the scene palette must replace.
    for (auto& c : options.palette) c = authoring::Rgb4{1, 14, 1};
    std::vector<std::uint8_t> file;
    ASSERT_EQ(authoring::BuildPictureFile(image, options, &file), "");
    AddFile(name, file);
  }
  void Pack(const ScenarioBuilder& scenario) { RunnerTest::Pack(scenario.Build()); }
  // FNV-1a over the colours.
  static std::uint64_t Hash(const std::vector<Rgb>& pixels) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (const Rgb& p : pixels) {
      for (int v : {p.r, p.g, p.b}) h = (h ^ static_cast<std::uint8_t>(v)) * 0x100000001b3ull;
    }
    return h;
  }
};

TEST_F(SceneE2E, ComposedSceneIsShownInTheSceneColours) {
  ScenarioBuilder s;
  s.Label(0).Code({0x20});
  s.Label(1).Code({0x30, 55,       // background 55: picture 5, second colouring
                   0x37, 1, 0x1C,  // character 0x1C at the right
                   0x37, 2, 0x1D,  // character 0x1D in the centre, over it
                   0x52, 0x60,     // show, scene palette
                   0x23, 50,       // 500 ms
                   0x3C, 1, 0x60,  // grey, applied
                   0x23, 50, 0x20});
  Pack(s);
  ASSERT_EQ(Run("at 300 shot {scene.png}\nat 300 dump {scene.json}\nat 800 shot {grey.png}\n"), 1)
      << output();

  // The model: the stripes in the colours of record 55, the centre character drawn over
  // the right one, both in BasePalette1's colours 4 and 9.
  const Rgb colours[16] = {{0, 0, 0},
                           Nibbles(6, 3, 2),
                           Nibbles(11, 7, 3),
                           Nibbles(15, 12, 5),
                           Nibbles(15, 15, 15),
                           {},
                           {},
                           {},
                           {},
                           Nibbles(15, 3, 4)};
  std::vector<Rgb> expected;
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      int c = BackgroundColour(x, y);
      for (auto [offset, colour] : {std::pair{320, 4}, std::pair{160, 9}}) {
        const int fx = x - offset - kCharacterLeft, fy = y - kCharacterTop;
        if (fx >= 0 && fy >= 0 && InCharacter(fx, fy)) c = colour;
      }
      expected.push_back(colours[c]);
    }
  }
  const std::vector<Rgb> scene = Shot("scene.png");
  EXPECT_EQ(Hash(scene), Hash(expected));
  EXPECT_TRUE(scene == expected);

  const std::string dump = ReadFile("scene.json");
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Shown(dump, i), colours[i]) << "entry " << i;
  EXPECT_EQ(Shown(dump, 15), (Rgb{255, 255, 255}));
  EXPECT_EQ(StateByte(dump, 50), 55);   // BackgroundNumber
  EXPECT_EQ(StateByte(dump, 51), 55);   // StoredBackground
  EXPECT_EQ(StateByte(dump, 37), 255);  // SlotLayer: the centre character on top
  EXPECT_EQ(StateByte(dump, 38), 0);
  EXPECT_EQ(StateByte(dump, 39), 2);
  EXPECT_EQ(StateByte(dump, 55), 0x1C);  // SlotPicture
  EXPECT_EQ(StateByte(dump, 56), 0x1D);
  EXPECT_NE(dump.find("\"PaletteState\":1"), std::string::npos);

  // Grey: the variant-0 colouring of picture 5 in luminance, characters included.
  for (const Rgb& p : Shot("grey.png")) {
    ASSERT_TRUE(p.r == p.g && p.g == p.b) << p.r << "," << p.g << "," << p.b;
  }
  EXPECT_TRUE(Trace("msgbox").empty());
}

// Numbers beyond the table show background 0 and play goes on; a missing picture file ends
// the program with its name.
TEST_F(SceneE2E, BackgroundNumbersBeyondTheTableAndMissingFiles) {
  ScenarioBuilder s;
  s.Label(0).Code({0x20});
  s.Label(1).Code({0x30, 5, 0x30, 201, 0x52, 0x60, 0x23, 20,  // dump at 100
                   0x30, 255, 0x52, 0x23, 20,                 // dump at 300
                   0x4B, 7, 1, 0x20});
  Pack(s);
  ASSERT_EQ(Run("at 100 dump {a.json}\nat 100 shot {a.png}\nat 300 dump {b.json}\n"), 1)
      << output();
  for (const char* name : {"a.json", "b.json"}) {
    const std::string dump = ReadFile(name);
    EXPECT_EQ(StateByte(dump, 50), 0) << name;
    EXPECT_EQ(StateByte(dump, 51), 0) << name;
  }
  for (const Rgb& p : Shot("a.png")) ASSERT_EQ(p, (Rgb{0, 0, 0}));
  const auto ops = Trace("op");
  ASSERT_FALSE(ops.empty());
  EXPECT_NE(ops.back().details.find("end"), std::string::npos) << "played to the end";
  EXPECT_TRUE(Trace("msgbox").empty());

  ScenarioBuilder missing;
  missing.Label(0).Code({0x20});
  missing.Label(1).Code({0x30, 57, 0x20});
  Pack(missing);
  ASSERT_EQ(Run(""), 1) << output();
  const auto boxes = Trace("msgbox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].details, "\"終了します\" \"ファイルが見つかりません[PACK] : S07.VGR\" ok");
}

// The length of a fade on the virtual clock against its nominal length: FadeSteps + 1 steps
// of cs × 10 ms, each ending on the first millisecond past its length.
TEST_F(SceneE2E, FadeLengthsOnTheVirtualClock) {
  ScenarioBuilder s;
  s.Label(0).Code({0x20});
  s.Label(1).Code({0x30, 5, 0x52, 0x60, 0x62, 2,  // FadeOut(2)
                   0x63, 1,                       // FadeIn(1)
                   0x6A,                          // Dim
                   0x69,                          // Undim
                   0x91, 0x20});
  Pack(s);
  struct Case {
    int bits, steps;
  } const cases[] = {{8, 47}, {32, 15}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bits);
    ASSERT_EQ(Run("", {"--display-bits", std::to_string(c.bits)}), 1) << output();
    const auto ops = Trace("op");
    auto at = [&](const std::string& mnemonic) {
      for (const auto& [time, details] : ops) {
        if (details.find(" " + mnemonic) != std::string::npos) return static_cast<int>(time);
      }
      ADD_FAILURE() << mnemonic;
      return 0;
    };
    const int n = c.steps;
    const int dim_steps = n - n * 10 / 15 + 1;
    // Each op lasts until the next one begins; the pump after each instruction adds 1 ms.
    struct Fade {
      const char* op;
      const char* next;
      int steps, cs;
    } const fades[] = {{"fade_out", "fade_in", n + 1, 2},
                       {"fade_in", "dim", n + 1, 1},
                       {"dim", "undim", dim_steps, 1},
                       {"undim", "nop", dim_steps, 1}};
    for (const Fade& f : fades) {
      const int length = at(f.next) - at(f.op);
      const int nominal = f.steps * f.cs * 10;
      EXPECT_EQ(length, f.steps * (f.cs * 10 + 1) + 1) << f.op;
      EXPECT_GE(length, nominal) << f.op;
      RecordProperty(std::string(f.op) + "_" + std::to_string(c.bits) + "bit_ms",
                     std::to_string(length) + " of " + std::to_string(nominal));
    }
  }
}

}  // namespace
