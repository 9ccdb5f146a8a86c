// The shake and the claw and blood sequences: what the screen shows frame by frame (read
// from the window's client area, as a reader sees it), how long each part lasts on the
// virtual clock, the sounds they play and stop, and the scene they leave.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/format_text.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "core/memory_blocks.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "core/window_state.h"
#include "platform/common/window_table.h"
#include "scenario/shake_and_attacks.h"
#include "sound/pcm.h"
#include "visuals/background.h"
#include "visuals/effect_frames.h"
#include "visuals/palette_fades.h"
#include "visuals/screen_show.h"
#include "visuals/shake_effects.h"
#include "visuals/visuals_fixture.h"

namespace {

using namespace visuals;
using Pixels = std::vector<std::uint8_t>;
using hotaru_test::VisualsTest;
namespace field = core::field;

constexpr int W = core::kPictureWidth;
constexpr int H = core::kPictureHeight;

// A picture whose rows and columns all differ, with no pixel of colour 0.
std::uint8_t Scene(int x, int y) { return static_cast<std::uint8_t>(1 + (x + 3 * y) % 15); }

// Palette of effect frame n: every colour its own, and different in every frame.
authoring::Palette16 FramePalette(int n) {
  authoring::Palette16 palette{};
  for (int i = 0; i < 16; ++i) {
    palette[static_cast<std::size_t>(i)] =
        authoring::Rgb4{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>((i + n) % 16),
                        static_cast<std::uint8_t>((15 - i + 2 * n) % 16)};
  }
  return palette;
}

// Frame n paints a band of rows 30n … 30n + 59 (overlapping the frame before) in a colour
// of its own with stripes of colour 0 through it, which is opaque: colour 5 is the
// transparent one.
constexpr int kClear = 5;
int FramePixel(int n, int x, int y) {
  if (y < 30 * n || y >= 30 * n + 60) return kClear;
  if (x % 64 < 8) return 0;
  const int colour = 1 + n % 14;
  return colour == kClear ? 14 : colour;
}

// FNV-1a over RGB bytes, top row first.
class Hash {
 public:
  void Add(std::uint8_t byte) { h_ = (h_ ^ byte) * 1099511628211ull; }
  std::uint64_t value() const { return h_; }

 private:
  std::uint64_t h_ = 14695981039346656037ull;
};

// What the screen shows: pixels through a palette of 8-bit entries.
std::uint64_t ScreenHash(const Pixels& pixels, const PALETTEENTRY* palette) {
  Hash h;
  for (std::uint8_t p : pixels) {
    h.Add(palette[p].peRed);
    h.Add(palette[p].peGreen);
    h.Add(palette[p].peBlue);
  }
  return h.value();
}

std::vector<PALETTEENTRY> Entries(const authoring::Palette16& palette) {
  std::vector<PALETTEENTRY> out(16);
  for (int i = 0; i < 16; ++i) {
    const authoring::Rgb4 c = palette[static_cast<std::size_t>(i)];
    out[static_cast<std::size_t>(i)] = PALETTEENTRY{
        static_cast<BYTE>(c.r * 17), static_cast<BYTE>(c.g * 17), static_cast<BYTE>(c.b * 17), 1};
  }
  out[15] = PALETTEENTRY{255, 255, 255, 1};  // the decoder's colour 15 is white
  return out;
}

class ShakeAndAttacksTest : public VisualsTest {
 protected:
  void SetUp() override {
    VisualsTest::SetUp();
    StartWindow(8);
    core::Settings.Pcm = 1;
  }

  void WriteFrame(const std::string& name, int n) {
    authoring::PictureImage image{W, H, Pixels(static_cast<std::size_t>(W * H))};
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x)
        image.pixels[static_cast<std::size_t>(y * W + x)] =
            static_cast<std::uint8_t>(FramePixel(n, x, y));
    }
    authoring::PictureOptions options;
    options.transparent = kClear;
    options.palette = FramePalette(n);
    std::vector<std::uint8_t> file;
    ASSERT_EQ(authoring::BuildPictureFile(image, options, &file), "");
    WriteBytes(dir() / name, file);
  }
  // The frame files of a sequence and the red background.
  void WriteFrames(const char* pattern, int first, int last) {
    for (int n = first; n <= last; ++n) WriteFrame(core::FormatString(pattern, n), n);
  }
  void WriteRedBackground() {
    WritePicture("S40.VGR", 0, 0, W, H,
                 [](int x, int y) { return static_cast<std::uint8_t>((x / 8 + y) % 4); });
  }
  static Pixels RedBackground() {
    Pixels out(static_cast<std::size_t>(W * H));
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        out[static_cast<std::size_t>(y * W + x)] = static_cast<std::uint8_t>((x / 8 + y) % 4);
    return out;
  }
  void WriteSound(int n, std::size_t bytes) {
    WriteBytes(dir() / core::FormatString("HT_VD%02d.P16", n), Pixels(bytes, 0x11));
  }

  // A scene composed and shown dimmed, as under text.
  void ShowDimmedScene() {
    Fill(core::Screen.VbufDIB, Scene);
    ShowComposed();
    ApplyScreenPalette();
    Dim();
  }

  // The screens of frames first … last as the model draws them: each over the one before,
  // starting from a screen of colour 0, each seen through its own palette.
  static std::vector<std::uint64_t> ModelFrames(int first, int last, Pixels* screen) {
    std::vector<std::uint64_t> out;
    for (int n = first; n <= last; ++n) {
      for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
          const int v = FramePixel(n, x, y);
          if (v != kClear)
            (*screen)[static_cast<std::size_t>(y * W + x)] = static_cast<std::uint8_t>(v);
        }
      }
      out.push_back(ScreenHash(*screen, Entries(FramePalette(n)).data()));
    }
    return out;
  }

  // The client area as shown, hashed.
  static std::uint64_t ShownHash() {
    const platform::WindowRecord* w = platform::FindWindowRecord(core::Window.MainWindow);
    const std::vector<std::uint8_t> rgb = platform::ClientRgb(*w);
    Hash h;
    for (std::uint8_t b : rgb) h.Add(b);
    return h.value();
  }

  // Runs `op` while the shown screen is sampled every `every` ms for `span` ms; answers the
  // runs of equal samples in order: (hash, number of samples).
  std::vector<std::pair<std::uint64_t, int>> Watch(const std::function<void()>& op,
                                                   std::uint32_t span, std::uint32_t every) {
    const platform::WindowRecord* w = platform::FindWindowRecord(core::Window.MainWindow);
    EXPECT_TRUE(w != nullptr && w->client_width == W && w->client_height == H);
    std::vector<std::pair<std::uint64_t, int>> runs;
    const std::uint32_t now = GetTickCount();
    SampleDuring(
        now + 1, now + span, every,
        [&runs] {
          const std::uint64_t h = ShownHash();
          if (!runs.empty() && runs.back().first == h) {
            ++runs.back().second;
          } else {
            runs.push_back({h, 1});
          }
        },
        op);
    return runs;
  }

  // The frames appear one after another, in order, each held `ms` (one sample more or less).
  static void ExpectFrames(const std::vector<std::pair<std::uint64_t, int>>& runs,
                           const std::vector<std::uint64_t>& frames, int ms, int every) {
    std::size_t at = 0;
    while (at < runs.size() && runs[at].first != frames.front()) ++at;
    ASSERT_LT(at, runs.size()) << "the first frame is never shown";
    ASSERT_LE(at + frames.size(), runs.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
      EXPECT_EQ(runs[at + i].first, frames[i]) << "frame " << i;
      EXPECT_NEAR(runs[at + i].second * every, ms, every) << "frame " << i;
    }
  }

  static Pixels Uniform(std::uint8_t v) { return Pixels(static_cast<std::size_t>(W * H), v); }
  static std::uint8_t RecordByte(std::size_t offset) {
    return core::GetU8(core::GameState, offset);
  }
  std::vector<std::string> WaveWrites(std::size_t mark) {
    std::vector<std::string> out;
    const auto& lines = backend().trace_lines();
    for (std::size_t i = mark; i < lines.size(); ++i) {
      const std::size_t at = lines[i].find(" wave write ");
      if (at != std::string::npos) out.push_back(lines[i].substr(at + 12));
    }
    return out;
  }
};

// ---------------------------------------------------------------------------------------
// The shake

TEST_F(ShakeAndAttacksTest, QuakeShowsEachMoveForFortyMillisecondsAndPutsThePictureBack) {
  WriteSound(3, 4410);  // 0.1 s: over before the shake
  Fill(core::Screen.VmemDIB, Scene);
  const Pixels before = Screen(core::Screen.VmemDIB);
  const int blocks = core::Memory.MemBlockCount;
  const int presents = Presents();

  // Each frame sampled 5 ms into its 41.
  std::vector<Pixels> frames;
  backend().SetDumpProvider([&frames] {
    frames.push_back(Screen(core::Screen.VmemDIB));
    return std::string("{}");
  });
  const DWORD start = GetTickCount();
  std::string text;
  for (int k = 0; k < 7; ++k)
    text += "at " + std::to_string(start + 41 * k + 5) + " dump /dev/null\n";
  platform::headless::InputScript script;
  std::string error;
  ASSERT_TRUE(platform::headless::ParseInputScript(text, &script, &error)) << error;
  backend().LoadScript(script);
  scenario::Quake();
  const std::uint32_t took = GetTickCount() - start;
  backend().SetDumpProvider(nullptr);

  EXPECT_EQ(Screen(core::Screen.VmemDIB), before);
  EXPECT_EQ(Presents() - presents, 7);
  EXPECT_GE(took, 7u * 41);
  EXPECT_LE(took, 7u * 42 + 2);
  EXPECT_EQ(core::Memory.MemBlockCount, blocks);  // the "quake buf" is gone again
  ASSERT_EQ(frames.size(), 7u);
  for (std::size_t k = 0; k < 7; ++k) {
    const auto [dx, dy] = QuakeOffsets[k];
    int wrong = 0;
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x) {
        // Columns and rows with nothing to show are colour 0; the rest is the picture moved
        // dx pixels left and dy rows down.
        const bool bare = (dx > 0 && x >= W - dx) || (dx < 0 && x < -dx) || (dy > 0 && y < dy) ||
                          (dy < 0 && y >= H + dy);
        const int want = bare ? 0 : Scene(x + dx, y - dy);
        wrong += frames[k][static_cast<std::size_t>(y * W + x)] != want;
      }
    }
    EXPECT_EQ(wrong, 0) << "frame " << k;
  }
}

TEST_F(ShakeAndAttacksTest, QuakeSoundsOnlyOverSilenceAndEndsWhateverSoundIsLoaded) {
  // Sound 3: 0.5 s; sound 7: 1 s.
  WriteSound(3, 22050);
  WriteSound(7, 44100);
  struct Case {
    const char* what;
    std::function<void()> before;
    std::vector<std::string> writes;  // the wave writes of the shake
    std::uint8_t loaded_after;
    std::uint32_t ms;  // how long the shake lasts: the longer of its frames and the sound
  } cases[] = {
      {"nothing loaded", [] {}, {"22050 loops 1"}, 255, 501},
      {"a silent sound loaded", [] { sound::PcmLoad(7); }, {"22050 loops 1"}, 7, 501},
      // The voice is waited out (1 s from its start), not cut off, and then unloaded.
      {"a voice playing",
       [] {
         sound::PcmLoad(7);
         sound::PcmPlay(1, 0);
       },
       {},
       255,
       1001},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.before();
    const std::size_t mark = backend().trace_lines().size();
    const DWORD start = GetTickCount();
    scenario::Quake();
    EXPECT_NEAR(static_cast<double>(GetTickCount() - start), c.ms, 3);
    EXPECT_EQ(WaveWrites(mark), c.writes);
    EXPECT_EQ(RecordByte(field::kPcmNumber), c.loaded_after);
    EXPECT_EQ(RecordByte(field::kPcmPlaying), 0);
    sound::PcmUnload();
  }
}

TEST_F(ShakeAndAttacksTest, QuakeInSkipModeShowsEveryMoveWithoutWaiting) {
  Fill(core::Screen.VmemDIB, Scene);
  const Pixels before = Screen(core::Screen.VmemDIB);
  core::Settings.Pcm = 0;  // no sound to wait out
  WriteSound(3, 22050);
  core::Input.SkipMode = 1;
  const int presents = Presents();
  const DWORD start = GetTickCount();
  scenario::Quake();
  EXPECT_LE(GetTickCount() - start, 10u);  // a look at the queue in each wait
  EXPECT_EQ(Presents() - presents, 7);
  EXPECT_EQ(Screen(core::Screen.VmemDIB), before);
}

// ---------------------------------------------------------------------------------------
// The claw and blood sequences

TEST_F(ShakeAndAttacksTest, ClawEffect1ShowsItsFourFramesWithTheirPalettesAndEndsOnBlack) {
  WriteFrames(kClawFrameName, 1, 4);
  WriteSound(18, 4410);  // 0.1 s, over before the fade ends
  Pixels model(static_cast<std::size_t>(W * H), 0);
  const std::vector<std::uint64_t> frames = ModelFrames(1, 4, &model);

  ApplyBlack();  // nothing to fade out first
  const std::size_t mark = backend().trace_lines().size();
  const DWORD start = GetTickCount();
  const auto runs = Watch(scenario::ClawEffect1, 200, 3);
  const std::uint32_t took = GetTickCount() - start;
  // The last frame stands on through the fade's first step, which shows the same colours.
  ExpectFrames(runs, std::vector<std::uint64_t>(frames.begin(), frames.end() - 1), 21, 3);
  ExpectFrames(runs, {frames.back()}, 21 + 11, 3);
  // Four frames of 21 ms, then 48 fade steps of 11 ms.
  EXPECT_NEAR(static_cast<double>(took), 4 * 21 + 48 * 11, 3);
  EXPECT_EQ(WaveWrites(mark), std::vector<std::string>{"4410 loops 1"});
  EXPECT_EQ(RecordByte(field::kPcmNumber), 255);

  // The empty black scene of background 0, its palette shown, the state black.
  EXPECT_EQ(Screen(core::Screen.VmemDIB), Uniform(0));
  EXPECT_EQ(Screen(core::Screen.VbufDIB), Uniform(0));
  EXPECT_EQ(BackgroundNumber(), 0);
  EXPECT_EQ(StoredBackground(), 0);
  EXPECT_EQ(core::Screen.PaletteState, kPaletteBlack);
  PALETTEENTRY scene[16];
  BuildBackgroundPalette(0, scene);
  for (int i = 0; i < 15; ++i) EXPECT_EQ(ToRgb(core::Screen.ShownPalette[i]), ToRgb(scene[i])) << i;
  EXPECT_EQ(ToRgb(core::Screen.ShownPalette[15]), (Rgb{255, 255, 255}));
}

TEST_F(ShakeAndAttacksTest, ClawEffect2FlashesColourOneOfTheLastFrameThenFadesToTheEmptyScene) {
  WriteFrames(kClawFrameName, 5, 11);
  Pixels model(static_cast<std::size_t>(W * H), 0);
  const std::vector<std::uint64_t> frames = ModelFrames(5, 11, &model);
  const std::uint64_t flash = ScreenHash(Uniform(1), Entries(FramePalette(11)).data());

  ApplyBlack();
  const DWORD start = GetTickCount();
  const auto runs = Watch(visuals::ClawEffect2, 7 * 21 + 800, 3);
  const std::uint32_t took = GetTickCount() - start;
  // The last frame stands 30 ms longer: the flash is painted, and shown when they are over.
  std::vector<std::uint64_t> firsts(frames.begin(), frames.end() - 1);
  ExpectFrames(runs, firsts, 21, 3);
  std::size_t at = 0;
  while (at + 1 < runs.size() && runs[at].first != frames.back()) ++at;
  ASSERT_LT(at + 1, runs.size());
  EXPECT_EQ(runs[at - 1].first, frames[frames.size() - 2]);
  EXPECT_EQ(runs[at + 1].first, flash);
  EXPECT_NEAR(runs[at].second * 3, 21 + 31, 3);
  EXPECT_NEAR(runs[at + 1].second * 3, 601 + 31, 3);  // and the fade's first step, at full
  // Seven frames, the flash's 31 ms and 601 ms, then 48 fade steps of 31 ms.
  EXPECT_NEAR(static_cast<double>(took), 7 * 21 + 31 + 601 + 48 * 31, 3);

  EXPECT_EQ(Screen(core::Screen.VmemDIB), Uniform(0));
  EXPECT_EQ(BackgroundNumber(), 0);
  EXPECT_EQ(core::Screen.PaletteState, kPaletteBlack);
  EXPECT_EQ(ToRgb(core::Screen.ShownPalette[4]), ToRgb(core::BasePalette1[4]));
}

TEST_F(ShakeAndAttacksTest, BloodEffectEndsOnTheRedBackgroundDimmed) {
  WriteFrames(kBloodFrameName, 0, 3);
  WriteRedBackground();
  Pixels model(static_cast<std::size_t>(W * H), 0);
  const std::vector<std::uint64_t> frames = ModelFrames(0, 3, &model);
  // The red scene first shows in the last frame's colours.
  const std::uint64_t red_in_frame_colours =
      ScreenHash(RedBackground(), Entries(FramePalette(3)).data());

  ApplyBlack();
  const DWORD start = GetTickCount();
  const auto runs = Watch(visuals::BloodEffect, 4 * 21 + 700, 3);
  const std::uint32_t took = GetTickCount() - start;
  ExpectFrames(runs, frames, 21, 3);
  ExpectFrames(runs, {red_in_frame_colours}, 601, 3);
  // Four frames, 601 ms from the background's load, then the dim's 17 steps of 11 ms.
  EXPECT_NEAR(static_cast<double>(took), 4 * 21 + 601 + 17 * 11, 3);

  EXPECT_EQ(Screen(core::Screen.VmemDIB), RedBackground());
  EXPECT_EQ(Screen(core::Screen.VbufDIB), RedBackground());
  EXPECT_EQ(BackgroundNumber(), 40);
  EXPECT_EQ(core::Screen.PaletteState, kPaletteDim);
  // Dark red 8, 0, 0 at 31 of 47.
  EXPECT_EQ(ToRgb(core::Screen.ShownPalette[2]), (Rgb{136 * 31 / 47, 0, 0}));
}

TEST_F(ShakeAndAttacksTest, EverySequenceFirstFadesTheDimmedSceneOut) {
  WriteFrames(kClawFrameName, 1, 11);
  WriteFrames(kBloodFrameName, 0, 3);
  WriteRedBackground();
  WriteSound(18, 4410);
  struct Case {
    const char* what;
    void (*effect)();
    std::uint32_t rest;  // ms after the first fade, as measured from black above
  } cases[] = {
      {"claw 1", scenario::ClawEffect1, 4 * 21 + 48 * 11},
      {"claw 2", visuals::ClawEffect2, 7 * 21 + 31 + 601 + 48 * 31},
      {"blood", visuals::BloodEffect, 4 * 21 + 601 + 17 * 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ShowDimmedScene();
    SetSlotPicture(0, 3);
    SetSlotLayer(0, 0);
    const DWORD start = GetTickCount();
    c.effect();
    // The fade from the dimmed scene: 48 steps of 31 ms.
    EXPECT_NEAR(static_cast<double>(GetTickCount() - start), 48 * 31 + c.rest, 3);
    EXPECT_EQ(SlotPicture(0), kNoCharacter);
  }
}

TEST_F(ShakeAndAttacksTest, InSkipModeTheSequencesShowEveryFrameAtOnceAndEndTheSame) {
  WriteFrames(kClawFrameName, 1, 11);
  WriteFrames(kBloodFrameName, 0, 3);
  WriteRedBackground();
  WriteSound(18, 4410);
  core::Settings.Pcm = 0;  // the sound is not waited out in SkipMode either
  struct Case {
    const char* what;
    void (*effect)();
    int presents;  // the scene shown, every frame, and the flash or the red scene
    std::uint8_t background;
    std::uint16_t palette;
  } cases[] = {
      {"claw 1", scenario::ClawEffect1, 1 + 4, 0, kPaletteBlack},
      {"claw 2", visuals::ClawEffect2, 1 + 7 + 1, 0, kPaletteBlack},
      {"blood", visuals::BloodEffect, 1 + 4 + 1, 40, kPaletteDim},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    core::Input.SkipMode = 0;
    ShowDimmedScene();
    core::Input.SkipMode = 1;
    const int presents = Presents();
    const DWORD start = GetTickCount();
    c.effect();
    EXPECT_LE(GetTickCount() - start, 20u);  // a look at the queue in each wait
    EXPECT_EQ(Presents() - presents, c.presents);
    EXPECT_EQ(BackgroundNumber(), c.background);
    EXPECT_EQ(core::Screen.PaletteState, c.palette);
  }
  EXPECT_EQ(Screen(core::Screen.VmemDIB), RedBackground());
}

TEST_F(ShakeAndAttacksTest, AMissingFrameEndsTheProgramNamingTheFile) {
  WriteFrames(kClawFrameName, 5, 10);
  EXPECT_EQ(ExpectFatal(visuals::ClawEffect2), "ファイルが見つかりません[PACK] : CLAW11W.VGR");
}

}  // namespace
