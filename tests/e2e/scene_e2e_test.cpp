// Scenes end to end: hotaru-headless --new-game on a pack holding pictures and a scenario
// built here; what the window shows is checked in captures, state dumps and op times.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "authoring/picture_file.h"
#include "authoring/png_io.h"
#include "support/run_program.h"
#include "support/scenario_builder.h"

namespace {

namespace fs = std::filesystem;
using hotaru_test::Bytes;
using hotaru_test::ReadLines;
using hotaru_test::RunProgram;
using hotaru_test::ScenarioBuilder;

constexpr int W = 640;
constexpr int H = 400;

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};
Rgb Nibbles(int r, int g, int b) { return {r * 17, g * 17, b * 17}; }

// The story's pictures: background picture 5 in stripes of colours 0–3, two characters of
// colours 4 and 9 on transparent colour 5.
int BackgroundColour(int x, int y) { return (x / 40 + y / 25) % 4; }
bool InCharacter(int x, int y) {
  return x >= 16 && x < 112 && y >= 40 && y < 200;
}  // file coordinates
constexpr int kCharacterLeft = 64;  // the files place the 128 × 240 rectangle at (64, 80)
constexpr int kCharacterTop = 80;

class SceneE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    dir_ = fs::temp_directory_path() / ("hotaru-scene-" + std::to_string(rd()));
    fs::create_directories(dir_ / "src");
    std::ofstream(dir_ / "hotaru.ini") << "[蛍]\nHotaruDir=" << dir_.string() << "\n";
    WritePicture("S05.VGR", 0, 0, W, H, BackgroundColour, authoring::kNoTransparentColour);
    for (auto [name, colour] : {std::pair{"C1C.VGR", 4}, std::pair{"C1D.VGR", 9}}) {
      WritePicture(
          name, kCharacterLeft, kCharacterTop, 128, 240,
          [colour](int x, int y) { return InCharacter(x, y) ? colour : 5; }, 5);
    }
  }
  void TearDown() override { fs::remove_all(dir_); }

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
    std::ofstream(dir_ / "src" / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));
    packed_.push_back((dir_ / "src" / name).string());
  }

  // Packs the font, the pictures and scenario 000 into ZEN2DATA.PAK with the pack tool.
  void Pack(const ScenarioBuilder& scenario) {
    const fs::path font = dir_ / "src" / "KNJ_ALL.KNJ";
    const fs::path scn = dir_ / "src" / "000.SCN";
    std::ofstream(font, std::ios::binary) << std::string(72, '\0');
    const Bytes bytes = scenario.Build();
    std::ofstream(scn, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    std::vector<std::string> args = {"pack", "build", (dir_ / "ZEN2DATA.PAK").string(),
                                     font.string(), scn.string()};
    args.insert(args.end(), packed_.begin(), packed_.end());
    std::string out;
    ASSERT_EQ(RunProgram(HOTARU_TOOL_PATH, args, {}, &out), 0) << out;
  }
  // `input` names its captures and dumps inside the test folder as {NAME}.
  int Run(std::string input, std::vector<std::string> extra = {}) {
    for (std::size_t at; (at = input.find('{')) != std::string::npos;) {
      const std::size_t end = input.find('}', at);
      input.replace(at, end - at + 1, (dir_ / input.substr(at + 1, end - at - 1)).string());
    }
    std::ofstream(dir_ / "input.txt") << input;
    std::vector<std::string> args = {
        "--ini",   (dir_ / "hotaru.ini").string(), "--trace",    (dir_ / "trace.txt").string(),
        "--input", (dir_ / "input.txt").string(),  "--new-game", "--trace-ops"};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunProgram(HOTARU_HEADLESS_PATH, args, {}, &output_);
  }
  // Trace lines of one kind: (time, details).
  std::vector<std::pair<int, std::string>> Trace(const std::string& kind) {
    std::vector<std::pair<int, std::string>> out;
    for (const std::string& line : ReadLines(dir_ / "trace.txt")) {
      const std::size_t a = line.find(' ');
      const std::string rest = line.substr(a + 1);
      if (rest.rfind(kind + " ", 0) == 0)
        out.push_back({std::stoi(line), rest.substr(kind.size() + 1)});
    }
    return out;
  }
  std::string Read(const std::string& name) {
    std::ifstream in(dir_ / name);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  static int StateByte(const std::string& dump, std::size_t at) {
    const std::size_t start = dump.find("\"state\":\"") + 9;
    return std::stoi(dump.substr(start + 2 * at, 2), nullptr, 16);
  }
  // Entry i of "shown" in a dump.
  static Rgb Shown(const std::string& dump, int i) {
    std::size_t at = dump.find("\"shown\":[") + 9;
    for (int k = 0; k < i; ++k) at = dump.find(']', at) + 2;
    Rgb c{};
    std::sscanf(dump.c_str() + at, "[%d,%d,%d]", &c.r, &c.g, &c.b);
    return c;
  }
  // The capture as colours, top row first.
  std::vector<Rgb> Shot(const std::string& name) {
    authoring::IndexedImage image;
    std::vector<std::string> warnings;
    const std::string error = authoring::ReadPng(dir_ / name, &image, &warnings);
    EXPECT_EQ(error, "");
    EXPECT_EQ(image.width, W);
    EXPECT_EQ(image.height, H);
    std::vector<Rgb> out;
    for (std::uint8_t i : image.pixels) {
      const authoring::Rgb8& c = image.palette[i];
      out.push_back({c.r, c.g, c.b});
    }
    return out;
  }
  // FNV-1a over the colours.
  static std::uint64_t Hash(const std::vector<Rgb>& pixels) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (const Rgb& p : pixels) {
      for (int v : {p.r, p.g, p.b}) h = (h ^ static_cast<std::uint8_t>(v)) * 0x100000001b3ull;
    }
    return h;
  }

  fs::path dir_;
  std::vector<std::string> packed_;
  std::string output_;
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
      << output_;

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

  const std::string dump = Read("scene.json");
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
  ASSERT_EQ(Run("at 100 dump {a.json}\nat 100 shot {a.png}\nat 300 dump {b.json}\n"), 1) << output_;
  for (const char* name : {"a.json", "b.json"}) {
    const std::string dump = Read(name);
    EXPECT_EQ(StateByte(dump, 50), 0) << name;
    EXPECT_EQ(StateByte(dump, 51), 0) << name;
  }
  for (const Rgb& p : Shot("a.png")) ASSERT_EQ(p, (Rgb{0, 0, 0}));
  const auto ops = Trace("op");
  ASSERT_FALSE(ops.empty());
  EXPECT_NE(ops.back().second.find("end"), std::string::npos) << "played to the end";
  EXPECT_TRUE(Trace("msgbox").empty());

  ScenarioBuilder missing;
  missing.Label(0).Code({0x20});
  missing.Label(1).Code({0x30, 57, 0x20});
  Pack(missing);
  ASSERT_EQ(Run(""), 1) << output_;
  const auto boxes = Trace("msgbox");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].second, "\"終了します\" \"ファイルが見つかりません[PACK] : S07.VGR\" ok");
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
    ASSERT_EQ(Run("", {"--display-bits", std::to_string(c.bits)}), 1) << output_;
    const auto ops = Trace("op");
    auto at = [&](const std::string& mnemonic) {
      for (const auto& [time, details] : ops) {
        if (details.find(" " + mnemonic) != std::string::npos) return time;
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
