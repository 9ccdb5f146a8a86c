// The opening: its layer drawing, the whole sequence played to the title in each frame
// rate, and cut short in every one of its stages. The data files are small fixtures whose
// values show, in any frame, how far the motion has gone: the cloud layer is 1 in its left
// half and 2 in its right half, and the overlay layers change value at their row 352.
#include "flow/opening.h"

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "authoring/block_encoder.h"
#include "authoring/picture_file.h"
#include "core/memory_blocks.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "flow/opening_parts.h"
#include "visuals/palette_fades.h"
#include "visuals/visuals_fixture.h"

namespace {

using namespace flow;
using hotaru_test::VisualsTest;

// ---------------------------------------------------------------------------------------
// Layer drawing, on plain byte arrays.

std::vector<std::uint8_t> Screen(std::uint8_t fill) {
  return std::vector<std::uint8_t>(640 * 400, fill);
}
std::uint8_t& StoredAt(std::vector<std::uint8_t>& s, int x, int storage_row) {
  return s[static_cast<std::size_t>(storage_row * 640 + x)];
}

TEST(OpeningLayers, SlideLayerShowsItsEdgeFromTheGivenSideAndClearsTheRest) {
  // Layer column c holds c mod 250 + 1, so a screen value tells which column is shown.
  auto value = [](int column) { return static_cast<std::uint8_t>(column % 250 + 1); };
  std::vector<std::uint8_t> layer(kSlideLayerSize);
  for (int r = 0; r < kOpeningRows; ++r)
    for (int c = 0; c < kSlideLayerWidth; ++c)
      layer[static_cast<std::size_t>(r * kSlideLayerWidth + c)] = value(c);
  struct Case {
    int side, w;
    int x;             // a screen column
    int layer_column;  // the layer column it shows in every row; −1: it is cleared
  } cases[] = {
      {0, 176, 463, -1},  {0, 176, 464, 0},  {0, 176, 639, 175}, {0, 334, 305, -1},
      {0, 334, 306, 0},   {1, 176, 0, 160},  {1, 176, 175, 335}, {1, 176, 176, -1},
      {1, 332, 331, 335}, {1, 332, 332, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "side " << c.side << " w " << c.w << " x " << c.x);
    std::vector<std::uint8_t> screen = Screen(0xEE);
    SlideLayer(screen.data(), layer.data(), c.side, c.w);
    for (int r : {0, 199, 399})
      EXPECT_EQ(StoredAt(screen, c.x, r), c.layer_column < 0 ? 0 : value(c.layer_column));
  }
}

TEST(OpeningLayers, OverlayMovesDownARowPerStepAndOrsIntoItsColumnsOnly) {
  // Layer storage row j holds j mod 200 + 1 in its low bits, 0x80 above.
  std::vector<std::uint8_t> layer(kOverlayLayerSize);
  for (int j = 0; j < kOverlayLayerRows; ++j)
    std::memset(&layer[static_cast<std::size_t>(j * 448)], j % 100 + 1, 448);
  struct Case {
    int p;
    int storage_row;
    int expected_layer_row;  // −1: the row is left alone
  } cases[] = {
      {0, 47, -1},  {0, 48, 0},      {0, 399, 351}, {48, 0, 0},      {48, 399, 399},
      {100, 0, 52}, {100, 399, 451}, {158, 0, 110}, {158, 399, 509},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "p " << c.p << " row " << c.storage_row);
    std::vector<std::uint8_t> screen = Screen(0x80);
    OverlayLayer(screen.data() + 192, layer.data(), c.p);
    const std::uint8_t in =
        c.expected_layer_row < 0
            ? 0x80
            : static_cast<std::uint8_t>(0x80 | (c.expected_layer_row % 100 + 1));
    EXPECT_EQ(StoredAt(screen, 192, c.storage_row), in);
    EXPECT_EQ(StoredAt(screen, 639, c.storage_row), in);
    EXPECT_EQ(StoredAt(screen, 191, c.storage_row), 0x80);  // left of the overlay's columns
  }
}

TEST(OpeningLayers, CloudsReplaceTheLowBitsAtTheirOffsetAndLeaveMaskedGroupsAlone) {
  std::vector<std::uint8_t> cloud(kCloudLayerSize);
  for (std::size_t i = 0; i < cloud.size(); ++i)
    cloud[i] = static_cast<std::uint8_t>((i % 1280) % 3 + 1);
  std::vector<std::uint8_t> screen = Screen(0x0F);  // picture bits 0x0C, old cloud bits 0x03
  for (int x = 0; x < 4; ++x) StoredAt(screen, x, 5) = 16;  // a masked group
  StoredAt(screen, 4, 5) = 16;                              // a group not wholly masked
  ComposeClouds(screen.data(), cloud.data(), 640);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(StoredAt(screen, x, 5), 16);
  EXPECT_EQ(StoredAt(screen, 4, 5), 16 | ((640 + 4) % 3 + 1));
  EXPECT_EQ(StoredAt(screen, 5, 5), 0x0C | ((640 + 5) % 3 + 1));
  EXPECT_EQ(StoredAt(screen, 639, 399), 0x0C | ((640 + 639) % 3 + 1));
}

// ---------------------------------------------------------------------------------------
// The whole opening on the headless backend.

// What the opening holds and shows at a moment: the opening's blocks in the table, and how
// far the motion of the frame on screen has gone (−1 when no frame of it is up).
struct Moment {
  std::uint32_t ms = 0;
  std::string blocks;
  int cloud_x = -1;           // the clouds' offset
  int slide_u = -1;           // a pass's position from the sliding layer's width
  int overlay_u = -1;         // and from the overlay's rows
  bool masked_black = false;  // colour 15 of the night kept out of the clouds, shown black
};

constexpr std::uint8_t kTitleColours[16][3] = {
    {0, 0, 0},    {1, 1, 1},    {2, 2, 2},    {3, 3, 3},   {4, 4, 4}, {15, 0, 0},
    {0, 15, 0},   {0, 0, 15},   {8, 8, 8},    {15, 15, 0}, {9, 9, 9}, {10, 10, 10},
    {11, 11, 11}, {12, 12, 12}, {13, 13, 13}, {15, 15, 15}};
constexpr std::uint8_t kNightColours[16][3] = {
    {0, 0, 3}, {6, 6, 6}, {8, 8, 8}, {10, 10, 10}, {0, 6, 0},  {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
    {6, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},    {0, 0, 15}, {0, 0, 0}, {0, 0, 0}, {15, 15, 15}};

class OpeningTest : public VisualsTest {
 protected:
  void SetUp() override {
    VisualsTest::SetUp();
    WriteOpeningData();
  }

  // A window on `bits` per pixel with the Low setting as given.
  void Start(int bits, bool low) {
    StartWindow(bits);
    core::Settings.Low = low ? 1 : 0;
  }

  void WriteScreenPicture(const std::string& name, int left, int top, int w, int h,
                          std::uint8_t (*pixel)(int, int), const std::uint8_t (&colours)[16][3]) {
    authoring::PictureImage image{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w * h))};
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) image.pixels[static_cast<std::size_t>(y * w + x)] = pixel(x, y);
    authoring::PictureOptions options;
    options.x = left;
    options.y = top;
    for (int i = 0; i < 16; ++i)
      options.palette[static_cast<std::size_t>(i)] =
          authoring::Rgb4{colours[i][0], colours[i][1], colours[i][2]};
    std::vector<std::uint8_t> file;
    ASSERT_EQ(authoring::BuildPictureFile(image, options, &file), "");
    WriteBytes(dir() / name, file);
  }

  void WriteLayer(const std::string& name, int width, int rows,
                  std::uint8_t (*value)(int column, int storage_row)) {
    std::vector<std::uint8_t> data(static_cast<std::size_t>(width * rows));
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < width; ++c) data[static_cast<std::size_t>(r * width + c)] = value(c, r);
    WriteBytes(dir() / name, authoring::PackBlock(data));
  }

  void WriteOpeningData() {
    // The night: masked (15) in the top left corner, picture colour 12 in columns
    // 320 … 383, else 0.
    WriteScreenPicture(
        "OP2_MN_W.VGR", 0, 0, 640, 400,
        [](int x, int y) -> std::uint8_t {
          return x < 64 && y < 100 ? 15 : (x >= 320 && x < 384 ? 12 : 0);
        },
        kNightColours);
    WriteLayer("OP2_KM_W.SDT", 1280, 400,
               [](int c, int) -> std::uint8_t { return c < 640 ? 1 : 2; });
    WriteLayer("OP1W.SDT", 336, 400, [](int, int) -> std::uint8_t { return 1; });
    WriteLayer("OP4W.SDT", 336, 400, [](int, int) -> std::uint8_t { return 2; });
    WriteLayer("OP2W.SDT", 448, 510, [](int, int r) -> std::uint8_t { return r < 352 ? 4 : 8; });
    WriteLayer("OP3W.SDT", 448, 510, [](int, int r) -> std::uint8_t { return r < 352 ? 4 : 8; });
    WriteScreenPicture(
        "OP2_BACK.VGR", 0, 0, 640, 400, [](int, int) -> std::uint8_t { return 5; }, kTitleColours);
    WriteScreenPicture(
        "TITLE.VGR", 320, 200, 16, 8, [](int, int) -> std::uint8_t { return 6; }, kTitleColours);
    WriteScreenPicture(
        "TITLE2.VGR", 320, 216, 16, 8, [](int, int) -> std::uint8_t { return 7; }, kTitleColours);
    WriteScreenPicture(
        "TITLE2_.VGR", 320, 232, 16, 8, [](int, int) -> std::uint8_t { return 9; }, kTitleColours);
  }

  static std::string OpeningBlocks() {
    std::string out;
    for (int i = 0; i < core::Memory.MemBlockCount; ++i) {
      const std::string name = core::Memory.MemBlockTable[i].name;
      if (name.rfind("OP", 0) != 0) continue;
      if (!out.empty()) out += ',';
      out += name.substr(0, name.find_last_not_of(' ') + 1);
    }
    return out;
  }

  static std::vector<std::string> TableNames() {
    std::vector<std::string> out;
    for (int i = 0; i < core::Memory.MemBlockCount; ++i)
      out.emplace_back(core::Memory.MemBlockTable[i].name);
    return out;
  }

  // Reads the motion off the shown picture (see the fixture data).
  static Moment Look(std::uint32_t ms) {
    Moment m;
    m.ms = ms;
    m.blocks = OpeningBlocks();
    const std::vector<std::uint8_t> s = Screen(core::Screen.VmemDIB);
    auto at = [&](int x, int y) { return s[static_cast<std::size_t>(y * 640 + x)]; };
    if (m.blocks == "OP2 KUMO" && (at(100, 200) & 3) != 0) {
      int first = 640;
      for (int x = 0; x < 640; ++x)
        if ((at(x, 200) & 3) == 2) {
          first = x;
          break;
        }
      m.cloud_x = 640 - first;
      m.masked_black = at(10, 50) == 16 && ToRgb(core::Screen.ShownPalette[16]) == Rgb{0, 0, 0};
    }
    const bool pass1 = m.blocks == "OP1A BUF,OP1B BUF", pass2 = m.blocks == "OP1C BUF,OP1D BUF";
    if (pass1 || pass2) {
      int width = 0;
      for (int x = 0; x < 640; ++x) width += (at(x, 200) & 3) != 0;
      int moved = 0;
      for (int y = 0; y < 400; ++y) moved += (at(pass1 ? 10 : 630, y) & 8) != 0;
      if (width > 0) {
        m.slide_u = width - 176;
        m.overlay_u = moved;
      }
    }
    return m;
  }

  // Runs the opening with `script` (times from its start) and a look every 50 ms up to
  // `span`; answers its result.
  int Run(const std::string& script, std::uint32_t span, std::vector<Moment>* moments) {
    const std::uint32_t start = GetTickCount();
    backend().SetDumpProvider([moments, start] {
      if (moments) moments->push_back(Look(GetTickCount() - start));
      return std::string("{}");
    });
    std::string text;
    for (std::uint32_t t = 25; moments && t < span; t += 50)
      text += "at " + std::to_string(start + t) + " dump /dev/null\n";
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
      const std::size_t space = line.find(' ');
      text += "at " + std::to_string(start + std::stoul(line.substr(0, space))) +
              line.substr(space) + "\n";
    }
    platform::headless::InputScript parsed;
    std::string error;
    EXPECT_TRUE(platform::headless::ParseInputScript(text, &parsed, &error)) << error;
    backend().LoadScript(parsed);
    const int answer = RunOpening();
    ended_ = GetTickCount() - start;
    backend().LoadScript({});
    backend().SetDumpProvider(nullptr);
    return answer;
  }

  // The stages in the order seen: the opening's blocks at each look, repeats folded.
  static std::vector<std::string> Stages(const std::vector<Moment>& moments) {
    std::vector<std::string> out;
    for (const Moment& m : moments)
      if (out.empty() || out.back() != m.blocks) out.push_back(m.blocks);
    return out;
  }

  void ExpectTitleShown() {
    const std::vector<std::uint8_t> s = Screen(core::Screen.VmemDIB);
    EXPECT_EQ(s[0], 5);                // the night scene
    EXPECT_EQ(s[200 * 640 + 320], 6);  // TITLE
    EXPECT_EQ(s[216 * 640 + 320], 7);  // TITLE2
    EXPECT_EQ(s[232 * 640 + 320], 9);  // TITLE2_, dissolved in after the click
    EXPECT_EQ(core::Screen.PaletteState, visuals::kPaletteDim);
    const Rgb red = WindowEntry(5);  // the scene's red, dimmed
    EXPECT_TRUE(red.r > 150 && red.r < 200 && red.g == 0 && red.b == 0) << red.r;
  }

  void ExpectCleanScreen() {
    const std::vector<std::uint8_t> s = Screen(core::Screen.VmemDIB);
    EXPECT_EQ(std::count(s.begin(), s.end(), 0), static_cast<long>(s.size()));
    for (int i = 0; i < 16; ++i) EXPECT_EQ(WindowEntry(i), (Rgb{0, 0, 0})) << "entry " << i;
  }

  std::uint32_t ended_ = 0;
};

struct FrameRate {
  const char* what;
  int bits;
  bool low;
  int step;
};

TEST_F(OpeningTest, PlaysToItsEndOnTheTitleAtTheSameSpeedInEveryFrameRate) {
  const FrameRate rates[] = {
      {"smooth", 8, false, 2}, {"Low on", 8, true, 4}, {"deep display", 16, false, 4}};
  for (const FrameRate& rate : rates) {
    SCOPED_TRACE(rate.what);
    Start(rate.bits, rate.low);
    const std::vector<std::string> table = TableNames();
    std::vector<Moment> moments;
    EXPECT_EQ(Run("40000 click", 40000, &moments), 1);
    EXPECT_EQ(TableNames(), table);  // every block of the opening released
    ExpectTitleShown();
    EXPECT_EQ(Stages(moments),
              (std::vector<std::string>{"", "OP2 KUMO", "OP1A BUF,OP1B BUF", "OP2 KUMO",
                                        "OP1C BUF,OP1D BUF", "OP2 KUMO", ""}));
    // Every frame seen is one of the mode's steps, the two layers of a pass agree, and the
    // motion runs at one step per 10 ms whatever the frame rate.
    int frames = 0;
    const Moment* last = nullptr;
    for (const Moment& m : moments) {
      const int u = m.cloud_x >= 0 ? m.cloud_x : m.slide_u;
      if (u < 0) {
        last = nullptr;
        continue;
      }
      ++frames;
      EXPECT_EQ(u % rate.step, 0) << m.ms;
      if (m.slide_u >= 0) {
        EXPECT_EQ(m.slide_u, m.overlay_u) << m.ms;
      } else {
        EXPECT_TRUE(m.masked_black) << m.ms;
      }
      // (A pass's last frame stays up while the pass fades out.)
      if (last && last->blocks == m.blocks && m.slide_u != 160 - rate.step) {
        const int moved = (m.cloud_x >= 0 ? m.cloud_x : m.slide_u) -
                          (last->cloud_x >= 0 ? last->cloud_x : last->slide_u);
        EXPECT_NEAR(moved * 10, static_cast<int>(m.ms - last->ms), rate.step * 10) << m.ms;
      }
      last = &m;
    }
    EXPECT_GT(frames, 100);
  }
}

TEST_F(OpeningTest, ACutAtAnyStageAnswersZeroOnACleanScreenOrInTheLastStageStillEndsOnTheTitle) {
  Start(8, false);
  std::vector<Moment> moments;
  ASSERT_EQ(Run("40000 click", 40000, &moments), 1);
  // The middle of each stage of the uncut run.
  std::vector<std::pair<std::string, std::uint32_t>> middles;
  for (std::size_t i = 0; i < moments.size();) {
    std::size_t j = i;
    while (j < moments.size() && moments[j].blocks == moments[i].blocks) ++j;
    if (!moments[i].blocks.empty())
      middles.push_back({moments[i].blocks, (moments[i].ms + moments[j - 1].ms) / 2});
    i = j;
  }
  ASSERT_EQ(middles.size(), 5u);
  struct Cut {
    std::string what;
    std::uint32_t at;
    const char* button;
    int answer;
  };
  const std::vector<Cut> cuts = {
      {"in the first 300 ms", 100, "click", 0},   {"first clouds", middles[0].second, "rclick", 0},
      {"pass 1", middles[1].second, "click", 0},  {"second clouds", middles[2].second, "click", 0},
      {"pass 2", middles[3].second, "rclick", 0}, {"last clouds", middles[4].second, "click", 1},
  };
  for (const Cut& cut : cuts) {
    SCOPED_TRACE(cut.what);
    Start(8, false);
    const std::vector<std::string> table = TableNames();
    // What the logo before it left on the screen.
    Fill(core::Screen.VmemDIB, [](int x, int) { return static_cast<std::uint8_t>(x % 16); });
    const std::string script = std::to_string(cut.at) + " " + cut.button + "\n60000 click\n";
    EXPECT_EQ(Run(script, 0, nullptr), cut.answer);
    EXPECT_EQ(TableNames(), table);
    if (cut.answer == 0) {
      ExpectCleanScreen();
      // Ended by its stage's fade-out, not played on.
      EXPECT_LT(ended_, cut.at + 1500);
    } else {
      ExpectTitleShown();
      EXPECT_GE(ended_, 60000u);  // the title waited for its click
    }
  }
}

TEST_F(OpeningTest, ALayerShorterThanItsPictureIsDamagedData) {
  Start(8, false);
  WriteLayer("OP2W.SDT", 448, 500, [](int, int) -> std::uint8_t { return 4; });
  // The first stage plays; the short overlay is refused when pass 1 unpacks it.
  EXPECT_EQ(ExpectFatal([this] { Run("", 0, nullptr); }), "データが壊れています : OP2W.SDT");
}

}  // namespace
