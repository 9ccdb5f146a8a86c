// hotaru-demo-art, run as the build runs it; every picture it writes is read back with the
// game's own decoder and held against what the game does with that kind of picture.
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "core/memory_blocks.h"
#include "core/picture.h"
#include "resources/picture_decoder.h"
#include "support/platform_fixture.h"
#include "support/run_program.h"
#include "visuals/background_table.h"
#include "visuals/character_slots.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Pictures = std::map<std::string, Bytes>;

constexpr int W = visuals::kPictureWidth;
constexpr int H = visuals::kPictureHeight;
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
    screen_ = visuals::AllocPicture("VbufDIB");
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

  // The pictures whose names start with one of `kinds`.
  static Pictures OfKind(const Pictures& all, const std::string& kinds) {
    Pictures out;
    for (const auto& [name, bytes] : all) {
      // A story picture: its kind's letter and a number ("VELA.VGR" is the maker's logo).
      const bool numbered = name.size() > 2 && name[1] >= '0' && name[1] <= '9';
      if (numbered && kinds.find(name[0]) != std::string::npos) out[name] = bytes;
    }
    return out;
  }

  // Decodes `file` as the game does, at offset (x, 0), onto a screen of untouched pixels;
  // the screen afterwards, top row first.
  Bytes Decode(const Bytes& file, std::int16_t x = 0) {
    std::uint8_t* base = visuals::LockPicture(screen_);
    std::memset(base + visuals::kPixelOffset, kUntouched, visuals::kPixelBytes);
    resources::MemUnlock(screen_);

    const resources::MemHandle block =
        resources::MemAlloc(static_cast<std::uint32_t>(file.size()), "pk:TEST.VGR");
    std::memcpy(resources::MemLock(block), file.data(), file.size());
    resources::MemUnlock(block);
    EXPECT_EQ(resources::DecodePicture(screen_, block, x, 0), 1);
    resources::MemFree(block);

    Bytes pixels(static_cast<std::size_t>(W * H));
    base = visuals::LockPicture(screen_);
    for (int y = 0; y < H; ++y)
      std::memcpy(&pixels[static_cast<std::size_t>(y * W)], visuals::PixelAt(base, 0, y), W);
    resources::MemUnlock(screen_);
    return pixels;
  }

  static resources::PictureHeader Header(const Bytes& file) {
    resources::PictureHeader header{};
    EXPECT_TRUE(resources::ParsePictureHeader(file.data(), file.size(), &header));
    return header;
  }

  resources::MemHandle screen_ = 0;
};

TEST_F(DemoArtTest, WritesOnlyGamePicturesAndTheSameBytesEveryRun) {
  const Pictures& first = Generated();
  const Pictures second = Generate(dir() / "again");
  ASSERT_FALSE(first.empty());
  // The story's pictures, the maker's logo and the title screen's pictures.
  const std::regex game_name(
      R"((S[0-9]{2}|C[0-9A-F]{2}|[HV][0-9]{2}|VELA|OP2_BACK|TITLE2?_?)\.VGR)");
  for (const auto& [name, bytes] : first) {
    EXPECT_TRUE(std::regex_match(name, game_name)) << name << " is no name the game loads";
    ASSERT_TRUE(second.count(name)) << name << " missing from the second run";
    EXPECT_TRUE(bytes == second.at(name)) << name << " differs between runs";
  }
  EXPECT_EQ(first.size(), second.size());
}

TEST_F(DemoArtTest, BackgroundsFillTheScreenWithColoursZeroToThreeAndShowInEveryColouring) {
  const Pictures backgrounds = OfKind(Generated(), "S");
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
  const Pictures characters = OfKind(Generated(), "C");
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
  const Pictures events = OfKind(Generated(), "HV");
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

}  // namespace
