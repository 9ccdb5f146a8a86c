// hotaru-demo-art, run as the build runs it; every picture it writes is read back with the
// game's own decoder and held against what the game does with that kind of picture.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "core/memory_blocks.h"
#include "core/picture.h"
#include "flow/opening_parts.h"
#include "resources/block_unpacker.h"
#include "resources/picture_decoder.h"
#include "support/platform_fixture.h"
#include "support/run_program.h"
#include "visuals/background_table.h"
#include "visuals/character_slots.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Pictures = std::map<std::string, Bytes>;

constexpr int W = core::kPictureWidth;
constexpr int H = core::kPictureHeight;
// What the screen holds before a picture is drawn: no picture file can write this value, so
// every pixel still holding it was left alone by the decoder.
constexpr std::uint8_t kUntouched = 16;

// The columns that clearing slot 0, 1 or 2 restores (RestoreBackground modes 1, 2, 3): a
// character drawn into a slot must stay inside them, or clearing it leaves a piece behind.
constexpr int kSlotColumns[3][2] = {{0, 320}, {320, 640}, {160, 480}};

class DemoArtTest : public hotaru_test::PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    screen_ = core::AllocPicture("VbufDIB");
  }

  // Runs the generator into folder `out` and reads back every file it wrote.
  static Pictures Generate(const fs::path& out) {
    std::string output;
    EXPECT_EQ(hotaru_test::RunProgram(HOTARU_DEMO_ART_PATH, {out.string()}, {}, &output), 0)
        << output;
    Pictures pictures;
    if (!fs::is_directory(out)) return pictures;
    for (const auto& entry : fs::directory_iterator(out)) {
      pictures[entry.path().filename().string()] = hotaru_test::ReadFileBytes(entry.path());
    }
    return pictures;
  }

  // One run's pictures, shared by the tests that only look at them.
  static const Pictures& Generated() {
    static const Pictures pictures = [] {
      const fs::path out =
          fs::temp_directory_path() / ("hotaru-demo-art-" + std::to_string(::getpid()));
      Pictures read = Generate(out);
      fs::remove_all(out);
      return read;
    }();
    return pictures;
  }

  // The pictures whose names match `kind` (a regular expression).
  static Pictures OfKind(const Pictures& all, const std::string& kind) {
    const std::regex pattern(kind);
    Pictures out;
    for (const auto& [name, bytes] : all) {
      if (std::regex_match(name, pattern)) out[name] = bytes;
    }
    return out;
  }

  // Decodes `file` as the game does, at offset (x, 0), onto a screen of untouched pixels;
  // the screen afterwards, top row first.
  Bytes Decode(const Bytes& file, std::int16_t x = 0) {
    std::uint8_t* base = core::LockPicture(screen_);
    std::memset(base + core::kPixelOffset, kUntouched, core::kPixelBytes);
    core::MemUnlock(screen_);

    const core::MemHandle block =
        core::MemAlloc(static_cast<std::uint32_t>(file.size()), "pk:TEST.VGR");
    std::memcpy(core::MemLock(block), file.data(), file.size());
    core::MemUnlock(block);
    EXPECT_EQ(resources::DecodePicture(screen_, block, x, 0), 1);
    core::MemFree(block);

    Bytes pixels(static_cast<std::size_t>(W * H));
    base = core::LockPicture(screen_);
    for (int y = 0; y < H; ++y)
      std::memcpy(&pixels[static_cast<std::size_t>(y * W)], core::PixelAt(base, 0, y), W);
    core::MemUnlock(screen_);
    return pixels;
  }

  static resources::PictureHeader Header(const Bytes& file) {
    resources::PictureHeader header{};
    EXPECT_TRUE(resources::ParsePictureHeader(file.data(), file.size(), &header));
    return header;
  }

  core::MemHandle screen_ = 0;
};

TEST_F(DemoArtTest, WritesOnlyGamePicturesAndTheSameBytesEveryRun) {
  const Pictures& first = Generated();
  const Pictures second = Generate(dir() / "again");
  ASSERT_FALSE(first.empty());
  const std::regex game_name(
      R"((S[0-9]{2}|C[0-9A-F]{2}|[HV][0-9]{2}|CLAW(0[1-9]|1[01])W|BLDW[0-3]|VELA|OP2_BACK|OP2_MN_W|TITLE2?_?)\.VGR)"
      R"(|(OP[1-4]W|OP2_KM_W)\.SDT)");
  for (const auto& [name, bytes] : first) {
    EXPECT_TRUE(std::regex_match(name, game_name)) << name << " is no name the game loads";
    ASSERT_TRUE(second.count(name)) << name << " missing from the second run";
    EXPECT_TRUE(bytes == second.at(name)) << name << " differs between runs";
  }
  EXPECT_EQ(first.size(), second.size());
}

TEST_F(DemoArtTest, BackgroundsFillTheScreenWithColoursZeroToThreeAndShowInEveryColouring) {
  const Pictures backgrounds = OfKind(Generated(), R"(S..\.VGR)");
  EXPECT_GE(backgrounds.size(), 6u);
  for (const auto& [name, file] : backgrounds) {
    SCOPED_TRACE(name);
    // The table must use the picture, or no background number shows it.
    const int picture = std::stoi(name.substr(1, 2));
    ASSERT_TRUE(picture >= 1 && picture < 50);
    for (int variant = 0; variant < 4; ++variant) {
      EXPECT_EQ(visuals::BackgroundTable[static_cast<std::size_t>(picture + 50 * variant)][0],
                picture);
    }
    const Bytes screen = Decode(file);
    int count[17] = {};
    for (std::uint8_t v : screen) ++count[std::min<int>(v, 16)];
    EXPECT_EQ(count[kUntouched], 0) << "pixels left undrawn";
    for (int colour = 4; colour < 16; ++colour) EXPECT_EQ(count[colour], 0) << "colour " << colour;
    // Colours 1–3 are what changes between the colourings: each must be there to be seen
    // (a night scene may keep its lightest colour to a few hundred pixels of highlights).
    for (int colour = 1; colour <= 3; ++colour)
      EXPECT_GE(count[colour], 100) << "colour " << colour;
  }
}

TEST_F(DemoArtTest, CharactersUseTheSharedColoursAndStandSideBySideInTheirSlots) {
  const Pictures characters = OfKind(Generated(), R"(C..\.VGR)");
  EXPECT_GE(characters.size(), 3u);
  int leftmost = W, rightmost = -1;
  for (const auto& [name, file] : characters) {
    SCOPED_TRACE(name);
    const resources::PictureHeader header = Header(file);
    // The colour around the figure must be transparent and be none of the figure's own.
    EXPECT_LT(header.transparent, 4);
    for (int slot = 0; slot < 3; ++slot) {
      SCOPED_TRACE("slot " + std::to_string(slot));
      const Bytes screen = Decode(file, visuals::SlotX[slot]);
      long drawn = 0;
      for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
          const std::uint8_t v = screen[static_cast<std::size_t>(y * W + x)];
          if (v == kUntouched) continue;
          ++drawn;
          ASSERT_TRUE(v >= 4 && v <= 14) << "colour " << int{v} << " at " << x << ", " << y;
          ASSERT_TRUE(x >= kSlotColumns[slot][0] && x < kSlotColumns[slot][1]) << "column " << x;
          if (slot == 0) {
            leftmost = std::min(leftmost, x);
            rightmost = std::max(rightmost, x);
          }
        }
      }
      EXPECT_GT(drawn, W * H / 20) << "hardly a figure";
    }
  }
  // Slots are 160 columns apart: figures no wider than that, in the same band, never overlap.
  EXPECT_LT(rightmost - leftmost, 160);
}

TEST_F(DemoArtTest, EventPicturesFillTheScreenAndAreNumberedForTheGallery) {
  const Pictures events = OfKind(Generated(), R"([HV]..\.VGR)");
  EXPECT_GE(events.size(), 2u);
  for (const auto& [name, file] : events) {
    SCOPED_TRACE(name);
    // Number 0 shows no picture; the gallery keeps seen bits for 0 to 79.
    const int number = std::stoi(name.substr(1, 2));
    EXPECT_TRUE(number >= 1 && number < 80);
    const Bytes screen = Decode(file);
    EXPECT_EQ(std::count(screen.begin(), screen.end(), kUntouched), 0) << "pixels left undrawn";
  }
}

// The claw and blood frames: each drawn over the one before it, so over a transparent colour,
// each with a palette of its own; the claw marks grow from frame to frame, and the second
// attack's last frame has the red its flash fills the screen with as colour 1.
TEST_F(DemoArtTest, EffectFramesGrowOverATransparentColourWithAPaletteEach) {
  const Pictures& all = Generated();
  for (const auto& [first, last, pattern] :
       {std::tuple{1, 4, "CLAW%02dW.VGR"}, std::tuple{5, 11, "CLAW%02dW.VGR"},
        std::tuple{0, 3, "BLDW%1d.VGR"}}) {
    long drawn_before = 0;
    resources::PictureHeader previous{};
    for (int n = first; n <= last; ++n) {
      char name[16];
      std::snprintf(name, sizeof name, pattern, n);
      SCOPED_TRACE(name);
      ASSERT_TRUE(all.count(name));
      const resources::PictureHeader header = Header(all.at(name));
      EXPECT_LT(header.transparent, 16);
      const Bytes screen = Decode(all.at(name));
      const long drawn = W * H - std::count(screen.begin(), screen.end(), kUntouched);
      EXPECT_GT(drawn, 2000);
      EXPECT_GE(drawn, drawn_before) << "a frame takes back what the one before drew";
      if (n > first) {
        EXPECT_NE(std::memcmp(header.palette, previous.palette, sizeof header.palette), 0)
            << "the same palette as the frame before";
      }
      drawn_before = drawn;
      previous = header;
    }
  }
  const resources::PictureHeader last_claw = Header(all.at("CLAW11W.VGR"));
  EXPECT_GE(last_claw.palette[1][0], 12);
  EXPECT_LE(last_claw.palette[1][1], 4);
  // The blood's last colours 1–3 are background 40's, the red scene that follows it.
  const resources::PictureHeader last_blood = Header(all.at("BLDW3.VGR"));
  for (int c = 1; c <= 3; ++c) {
    for (int channel = 0; channel < 3; ++channel) {
      EXPECT_EQ(last_blood.palette[c][channel],
                visuals::BackgroundTable[40][1 + 3 * (c - 1) + channel]);
    }
  }
}

// The opening mixes its layers into the screen by bits: each layer must have the size the
// opening reads and keep to its own bits, or the passes show stray colours.
TEST_F(DemoArtTest, OpeningLayersHaveTheirSizesAndKeepToTheirBits) {
  const Pictures& all = Generated();
  struct Layer {
    const char* name;
    int width, min_rows;
    std::vector<std::uint8_t> values;
  } layers[] = {
      {"OP1W.SDT", flow::kSlideLayerWidth, flow::kOpeningRows, {0, 1, 2, 3}},
      {"OP4W.SDT", flow::kSlideLayerWidth, flow::kOpeningRows, {0, 1, 2, 3}},
      {"OP2W.SDT", flow::kOverlayLayerWidth, flow::kOverlayLayerRows, {0, 4, 8, 12}},
      {"OP3W.SDT", flow::kOverlayLayerWidth, flow::kOverlayLayerRows, {0, 4, 8, 12}},
      {"OP2_KM_W.SDT", flow::kCloudLayerWidth, flow::kOpeningRows, {0, 1, 2, 3}},
  };
  Bytes clouds;
  for (const Layer& layer : layers) {
    SCOPED_TRACE(layer.name);
    ASSERT_TRUE(all.count(layer.name));
    const Bytes& file = all.at(layer.name);
    const std::int32_t size =
        resources::PackedBlockSize(file.data(), static_cast<std::uint32_t>(file.size()));
    EXPECT_EQ(size % layer.width, 0);
    EXPECT_GE(size / layer.width, layer.min_rows);
    Bytes data(static_cast<std::size_t>(size));
    EXPECT_EQ(resources::UnpackStream(file.data() + 4, file.size() - 4, data.data(), data.size()),
              data.size());
    EXPECT_GT(std::count_if(data.begin(), data.end(), [](std::uint8_t v) { return v != 0; }), 0);
    for (std::uint8_t v : data)
      ASSERT_NE(std::find(layer.values.begin(), layer.values.end(), v), layer.values.end())
          << int{v};
    if (std::string(layer.name) == "OP2_KM_W.SDT") clouds = data;
  }
  // The clouds run on across the layer's edge: its last column differs from its first
  // about as much as neighbouring columns inside it do.
  auto differ = [&](int a, int b) {
    int rows = 0;
    for (int r = 0; r < flow::kOpeningRows; ++r)
      rows += clouds[static_cast<std::size_t>(r * 1280 + a)] !=
              clouds[static_cast<std::size_t>(r * 1280 + b)];
    return rows;
  };
  int inside = 0;
  for (int c = 0; c + 1 < 1280; ++c) inside += differ(c, c + 1);
  EXPECT_LE(differ(1279, 0), 2 * inside / 1279);
}

// The night under the clouds uses picture colours 0, 4, 8, 12 and the masked 15; the
// title pictures share one palette, since each one decoded sets the screen's colours, and
// the parts drawn over the night lie in the centre band that the title dissolves in.
TEST_F(DemoArtTest, OpeningAndTitlePicturesFitHowTheyAreShown) {
  const Pictures& all = Generated();
  const Bytes night = Decode(all.at("OP2_MN_W.VGR"));
  for (std::uint8_t v : {0, 4, 8, 12, 15})
    EXPECT_GT(std::count(night.begin(), night.end(), v), 0) << int{v};
  for (std::uint8_t v : night)
    ASSERT_TRUE(v == 0 || v == 4 || v == 8 || v == 12 || v == 15) << int{v};

  const Bytes back = Decode(all.at("OP2_BACK.VGR"));
  EXPECT_EQ(std::count(back.begin(), back.end(), kUntouched), 0) << "pixels left undrawn";
  const resources::PictureHeader scene = Header(all.at("OP2_BACK.VGR"));
  for (const char* name : {"TITLE.VGR", "TITLE2.VGR"}) {
    SCOPED_TRACE(name);
    const resources::PictureHeader part = Header(all.at(name));
    EXPECT_EQ(std::memcmp(part.palette, scene.palette, sizeof scene.palette), 0);
    EXPECT_GE(part.left * 8, 160);
    EXPECT_LE((part.right + 1) * 8, 480);
    const Bytes drawn = Decode(all.at(name));
    EXPECT_GT(std::count(drawn.begin(), drawn.end(), kUntouched), 0) << "the night shows around it";
  }
}

// The title's pictures laid over each other as the title flow decodes them into its work
// picture: each one over what the ones before left.
Bytes ComposeTitle(const Pictures& all, std::initializer_list<const char*> layers,
                   const std::function<Bytes(const Bytes&)>& decode) {
  Bytes screen(static_cast<std::size_t>(W * H), kUntouched);
  for (const char* name : layers) {
    const Bytes drawn = decode(all.at(name));
    for (std::size_t i = 0; i < screen.size(); ++i)
      if (drawn[i] != kUntouched) screen[i] = drawn[i];
  }
  return screen;
}

// Relative luminance of an 8-bit colour, and the contrast ratio of two such luminances.
double Luminance(const std::array<int, 3>& rgb) {
  double sum = 0;
  constexpr double kWeights[3] = {0.2126, 0.7152, 0.0722};
  for (int c = 0; c < 3; ++c) {
    const double v = rgb[c] / 255.0;
    sum += kWeights[c] * (v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
  }
  return sum;
}
double Contrast(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

// The slot screens and the questions over the title (its clear and start items) draw on the
// title as those items leave it, TITLE_.VGR over the title menu, with the palette dimmed as
// the menu left it (colours 0 … 14 at 10/15, 15 white). Their items and frames are colour
// 4, the highlighted one and the prompts 15: both stand out from nearly every pixel under
// the places where the slot screen writes, and from each other.
TEST_F(DemoArtTest, TheTitlesSlotScreensReadOverTheNight) {
  const Pictures& all = Generated();
  const auto decode = [this](const Bytes& file) { return Decode(file); };
  const Bytes screen = ComposeTitle(
      all, {"OP2_BACK.VGR", "TITLE.VGR", "TITLE2.VGR", "TITLE2_.VGR", "TITLE_.VGR"}, decode);
  const resources::PictureHeader header = Header(all.at("TITLE_.VGR"));
  std::array<double, 16> shown{};
  for (int i = 0; i < 16; ++i) {
    std::array<int, 3> rgb{};
    for (int c = 0; c < 3; ++c) rgb[c] = i == 15 ? 255 : header.palette[i][c] * 17 * 10 / 15;
    shown[static_cast<std::size_t>(i)] = Luminance(rgb);
  }
  EXPECT_GE(Contrast(shown[15], shown[4]), 2.0) << "the highlight must show";

  struct Area {
    const char* what;
    int left, top, right, bottom;
  };
  std::vector<Area> areas = {{"the prompt", 64, 8, 64 + 12 * 24, 32}};
  for (int slot = 0; slot < 3; ++slot) {
    const int y0 = 120 * slot;
    areas.push_back({"a slot's label", 96, y0 + 56, 96 + 3 * 24, y0 + 80});
    for (int line : {56, 86, 116})
      areas.push_back({"a slot's line", 272, y0 + line, 272 + 11 * 24, y0 + line + 24});
    areas.push_back({"a slot's frame", 64, y0 + 40, 576, y0 + 44});
  }
  for (const Area& area : areas) {
    for (int colour : {4, 15}) {
      int clear = 0, all_pixels = 0;
      for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
          const std::uint8_t under = screen[static_cast<std::size_t>(y * W + x)];
          ++all_pixels;
          clear += Contrast(shown[static_cast<std::size_t>(colour)], shown[under]) >= 3.0;
        }
      EXPECT_GE(clear * 100, all_pixels * 95)
          << area.what << " at (" << area.left << ", " << area.top << ") in colour " << colour;
    }
  }
}

// The title menu is dissolved in over the title (TITLE2_.VGR after OP2_BACK.VGR, TITLE.VGR
// and TITLE2.VGR); a slot screen dissolves TITLE_.VGR in and the way back TITLE.VGR alone.
// The menu must come back as it was, plates and all; and before the click the title shows
// no plates (TITLE2_.VGR changes something).
TEST_F(DemoArtTest, TheTitleMenuComesBackAsItWasAfterASlotScreen) {
  const Pictures& all = Generated();
  const auto decode = [this](const Bytes& file) { return Decode(file); };
  const Bytes before_menu = ComposeTitle(all, {"OP2_BACK.VGR", "TITLE.VGR", "TITLE2.VGR"}, decode);
  const Bytes menu =
      ComposeTitle(all, {"OP2_BACK.VGR", "TITLE.VGR", "TITLE2.VGR", "TITLE2_.VGR"}, decode);
  const Bytes after_slots = ComposeTitle(
      all, {"OP2_BACK.VGR", "TITLE.VGR", "TITLE2.VGR", "TITLE2_.VGR", "TITLE_.VGR", "TITLE.VGR"},
      decode);
  EXPECT_NE(before_menu, menu);
  EXPECT_EQ(after_slots, menu);
}

}  // namespace
