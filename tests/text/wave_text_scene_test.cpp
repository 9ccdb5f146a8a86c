// The wave scenes shown through the event script (opcode 0x21): frames composed from the
// background, the wave and the text layer, checked against a model; the wave's phase kept
// per direction; the palettes and the number of frames of every start and end mode on both
// kinds of display; skipping.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "authoring/picture_file.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "core/memory_blocks.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "core/sine_table.h"
#include "core/window_state.h"
#include "platform/headless/input_script.h"
#include "scenario/scenario_loader.h"
#include "shell/startup.h"
#include "support/scenario_fixture.h"
#include "support/test_font.h"
#include "text/wave_text_scene.h"
#include "visuals/background.h"
#include "visuals/palette_fades.h"
#include "visuals/screen_show.h"

namespace {

using hotaru_test::Bytes;
using hotaru_test::ScenarioBuilder;
using text::WaveDirection;
using Pixels = std::vector<std::uint8_t>;  // 640 × 400, top row first

constexpr int kW = core::kPictureWidth;
constexpr int kH = core::kPictureHeight;
constexpr std::uint8_t kBackground = 1;  // record 1: picture S01.VGR

Bytes G(int n) { return {static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)}; }
Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
const Bytes kEnd = {0xAF};
// Six items: five glyphs and the end.
const Bytes kFiveGlyphs = G(40) + G(41) + G(42) + G(43) + G(44) + kEnd;

// The background's pixels, colours 0 to 3 scattered so that any wrong shift shows.
std::uint8_t Bg(int x, int y) {
  const unsigned hash = static_cast<unsigned>(x) * 7919u ^ static_cast<unsigned>(y) * 104729u;
  return static_cast<std::uint8_t>(hash >> 3 & 3);
}
// Text bits on the screen before a scene (ink 8, shadow 4, or none).
std::uint8_t TextBits(int x, int y) { return static_cast<std::uint8_t>((x / 5 + y / 3) % 3 << 2); }

// Sine of d whole degrees from the quarter-circle table.
int Sine(int d) {
  d %= 360;
  int sign = 1;
  if (d >= 180) {
    d -= 180;
    sign = -1;
  }
  if (d > 90) d = 180 - d;
  return sign * core::SineTable[static_cast<std::size_t>(4 * d)];
}

// A frame as the scene should compose it: the text bits of `text`, the background moved.
Pixels Composed(const Pixels& text, WaveDirection direction, int amplitude, int phase) {
  Pixels out(text.size());
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      int bx = x;
      int by = y;
      if (direction == WaveDirection::kHorizontal) {
        bx = x + static_cast<int>(std::floor(amplitude * Sine(phase + y) / 32768.0));
      } else {
        by = y + static_cast<int>(std::trunc(Sine(2 * y + phase) * amplitude / 262144.0));
      }
      const bool inside = bx >= 0 && bx < kW && by >= 0 && by < kH;
      const std::size_t at = static_cast<std::size_t>(y * kW + x);
      out[at] = static_cast<std::uint8_t>((text[at] & 0x0C) | (inside ? Bg(bx, by) : 0));
    }
  }
  return out;
}

// Glyph `glyph` of the test font drawn into `pixels` at (x, y) in the text layer's colours,
// in the order the font routine walks it.
void DrawModelGlyph(Pixels& pixels, int x, int y, int glyph) {
  const std::vector<std::uint8_t> font = hotaru_test::MakeTestFont();
  const std::uint8_t* bitmap = &font[static_cast<std::size_t>(glyph - 1) * 72];
  for (int strip = 0; strip < 3; ++strip) {
    for (int j = 0; j < 24; ++j) {
      for (int bit = 0; bit < 8; ++bit) {
        const int i = strip * 8 + bit;
        if (!hotaru_test::GlyphBit(bitmap, i, j)) continue;
        pixels[static_cast<std::size_t>((y + j + 2) * kW + x + i + 2)] = 4;
        pixels[static_cast<std::size_t>((y + j) * kW + x + i)] = 8;
      }
    }
  }
}

using Palette16 = std::array<std::array<int, 3>, 16>;
Palette16 ToPalette(const PALETTEENTRY* entries) {
  Palette16 p{};
  for (int i = 0; i < 16; ++i) p[i] = {entries[i].peRed, entries[i].peGreen, entries[i].peBlue};
  return p;
}
// The scene palette of the text layer made from `scene`: 0–3 dimmed, 4–7 black, 8–15 white.
Palette16 WavePalette(const Palette16& scene) {
  Palette16 p = scene;
  for (int i = 0; i < 16; ++i) {
    for (int& c : p[i]) c = i < 4 ? c * 10 / 15 : (i < 8 ? 0 : 255);
  }
  return p;
}
// `p` shown at `level` of `steps`, entry 15 as it is.
Palette16 AtLevel15(Palette16 p, int level, int steps) {
  for (int i = 0; i < 15; ++i) {
    for (int& c : p[i]) c = c * level / steps;
  }
  return p;
}

class WaveTextSceneTest : public hotaru_test::ScenarioTest {
 protected:
  void SetUp() override {
    ScenarioTest::SetUp();
    WriteBackgroundPicture();
    PrepareScene();
  }

  // A fresh window on a display of `bits` per pixel (FadeSteps 47 at 8 bits, else 15).
  void StartDisplay(int bits) {
    Restart("", {}, bits);
    PrepareScene();
  }

  void WriteBackgroundPicture() {
    authoring::PictureImage image{kW, kH, Pixels(static_cast<std::size_t>(kW * kH))};
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) image.pixels[static_cast<std::size_t>(y * kW + x)] = Bg(x, y);
    }
    std::vector<std::uint8_t> file;
    ASSERT_EQ(authoring::BuildPictureFile(image, authoring::PictureOptions{}, &file), "");
    WriteBytes(dir() / "S01.VGR", file);
  }

  // The scene before the wave: the background shown in its colours, text over it.
  void PrepareScene() {
    hotaru_test::InstallFont(hotaru_test::MakeTestFont());
    visuals::ShowBackground(kBackground);
    visuals::ShowComposed();
    visuals::ApplyScreenPalette();
    std::uint8_t* p = core::LockPicture(core::Screen.VmemDIB);
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) *core::PixelAt(p, x, y) |= TextBits(x, y);
    }
    core::MemUnlock(core::Screen.VmemDIB);
  }

  static Pixels Screen() {
    Pixels out(static_cast<std::size_t>(kW * kH));
    auto* p = static_cast<std::uint8_t*>(core::MemLock(core::Screen.VmemDIB));
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        out[static_cast<std::size_t>(y * kW + x)] = *core::PixelAt(p, x, y);
      }
    }
    core::MemUnlock(core::Screen.VmemDIB);
    return out;
  }
  static Pixels Background() {
    Pixels out(static_cast<std::size_t>(kW * kH));
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) out[static_cast<std::size_t>(y * kW + x)] = Bg(x, y);
    }
    return out;
  }

  int WholePresents() const {
    int n = 0;
    for (const std::string& p : TraceOf("present")) n += p == "all";
    return n;
  }

  // What one scene showed: per frame (numbered from 0), ShownPalette 0–15 and, for the
  // frames asked for, the shown picture; the whole-screen presents of the scene; its
  // virtual duration up to the script's next instruction.
  struct Scene {
    std::map<int, Palette16> shown;
    std::map<int, Pixels> pictures;
    int presents = 0;
    std::uint32_t ms = 0;
  };

  // Runs message `text` as a wave scene through opcode 0x21 of a new scenario, sampling the
  // screen at every virtual millisecond it waits through.
  Scene Run(const Bytes& text, WaveDirection direction, std::uint8_t start_mode,
            std::uint8_t end_mode, std::set<int> wanted = {}, bool seen_before = false) {
    const std::uint8_t n = next_scenario_++;
    ScenarioBuilder s;
    const std::uint8_t sub = direction == WaveDirection::kHorizontal ? 1 : 2;
    s.Label(1).Code({0x21, sub, 0, start_mode, end_mode, 0x4B, 10, 1, 0x20});
    s.Message(0, text);
    WriteScenario(n, s);
    if (seen_before) scenario::MarkScenarioSeen(core::GameState, n);

    Scene scene;
    const int base = WholePresents();
    // Above 8 bits the opening palette repaints once before the first frame.
    const int before_first_frame = core::Window.DisplayBits > 8 ? 1 : 0;
    std::size_t scanned = backend().trace_lines().size();
    int presents = base;
    backend().SetDumpProvider([&] {
      const auto& lines = backend().trace_lines();
      const int seen = presents;
      for (; scanned < lines.size(); ++scanned) {
        const std::string& line = lines[scanned];
        presents += line.compare(line.find(' ') + 1, std::string::npos, "present all") == 0;
      }
      if (presents != seen) {
        const int frame = presents - base - before_first_frame - 1;
        scene.shown[frame] = ToPalette(core::Screen.ShownPalette);
        if (wanted.count(frame) != 0) scene.pictures[frame] = Screen();
      }
      return std::string("{}");
    });
    platform::headless::InputScript script;
    const std::uint32_t now = GetTickCount();
    for (std::uint32_t t = now; t < now + 2500; ++t) {
      platform::headless::ScriptAction dump;
      dump.time = t;
      dump.kind = platform::headless::ActionKind::Dump;
      dump.path = "/dev/null";
      script.actions.push_back(dump);
    }
    backend().LoadScript(script);
    RunLabel(n, 1);
    backend().LoadScript({});
    backend().SetDumpProvider(nullptr);
    scene.presents = WholePresents() - base;
    scene.ms = SceneEnd() - now;
    return scene;
  }

  // When the script went on after the scene (the flag set after 0x21).
  std::uint32_t SceneEnd() const {
    std::uint32_t at = 0;
    for (const auto& line : TimedTraceOf("op")) {
      if (line.details.find(" set 10 1") != std::string::npos) at = line.ms;
    }
    return at;
  }

  std::uint8_t next_scenario_ = 1;
};

TEST_F(WaveTextSceneTest, FramesMoveTheBackgroundUnderTheText) {
  // A blank first, so the first frame draws no glyph; glyph 40 comes in the second frame.
  const Bytes text = G(0) + G(40) + kEnd;
  struct Case {
    WaveDirection direction;
    int phase_step;
  } cases[] = {{WaveDirection::kHorizontal, 2}, {WaveDirection::kVertical, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.phase_step);
    PrepareScene();
    const Pixels before = Screen();
    const int first_phase = text::Text.WaveMotions[static_cast<int>(c.direction)].phase;
    // Blank, glyph, end, and the closing frame of end mode 0.
    const Scene scene = Run(text, c.direction, 0, 0, {0, 3});
    ASSERT_EQ(scene.presents, 4 + 1);
    ASSERT_EQ(scene.pictures.size(), 2u);
    EXPECT_TRUE(scene.pictures.at(0) == Composed(before, c.direction, 128, first_phase));
    Pixels text_layer = before;
    DrawModelGlyph(text_layer, 40, 10, 40);
    const Pixels last = Composed(text_layer, c.direction, 128, first_phase + 3 * c.phase_step);
    EXPECT_TRUE(scene.pictures.at(3) == last);
    // End mode 0 takes the text away and leaves the last frame's background.
    Pixels cleared = last;
    for (std::uint8_t& v : cleared) v &= 3;
    EXPECT_TRUE(Screen() == cleared);
    EXPECT_EQ(text::Text.WaveMotions[static_cast<int>(c.direction)].phase,
              first_phase + 4 * c.phase_step);
  }
}

TEST_F(WaveTextSceneTest, EachDirectionGoesOnFromWhereItsLastSceneLeftItsWave) {
  const Bytes text = G(0) + kEnd;  // three frames: blank, end, closing
  const auto first_frame = [&](WaveDirection direction, std::uint8_t start_mode, int amplitude,
                               int phase) {
    PrepareScene();
    const Pixels before = Screen();
    const Scene scene = Run(text, direction, start_mode, 0, {0});
    ASSERT_EQ(scene.pictures.count(0), 1u);
    EXPECT_TRUE(scene.pictures.at(0) == Composed(before, direction, amplitude, phase));
  };
  first_frame(WaveDirection::kHorizontal, 0, 128, 0);
  EXPECT_EQ(text::Text.WaveMotions[0].phase, 6);
  first_frame(WaveDirection::kVertical, 1, 128, 0);  // from black: 16 frames of opening
  EXPECT_EQ(text::Text.WaveMotions[1].phase, 17 * 3);
  first_frame(WaveDirection::kHorizontal, 1, 128, 6);
  first_frame(WaveDirection::kVertical, 0, 128, 51);
  // A still opening starts the wave again from phase 0, flat.
  first_frame(WaveDirection::kHorizontal, 2, 0, 0);
  EXPECT_EQ(text::Text.WaveMotions[0].phase, 129 * 2 % 360);
  EXPECT_EQ(text::Text.WaveMotions[0].amplitude, 128);

  // The wave grows by 1 a frame on a palette display: frame 64 has amplitude 64.
  PrepareScene();
  const Pixels before = Screen();
  const Scene scene = Run(text, WaveDirection::kVertical, 2, 2, {64});
  ASSERT_EQ(scene.pictures.count(64), 1u);
  EXPECT_TRUE(scene.pictures.at(64) == Composed(before, WaveDirection::kVertical, 64, 64 * 3));
  EXPECT_EQ(text::Text.WaveMotions[1].amplitude, 0);
}

TEST_F(WaveTextSceneTest, StartAndEndModesSetThePalettes) {
  const Palette16 scene_palette = ToPalette(core::Screen.ScreenPalette);
  const Palette16 wave = WavePalette(scene_palette);
  struct Case {
    std::uint8_t start, end;
    Palette16 first_frame;  // ShownPalette 0–15 in the first frame
    Palette16 after;        // and after the scene
    std::uint16_t state;    // PaletteState after the scene
    bool background_again;  // the screen shows the background without wave and text
  } cases[] = {
      // The still endings leave the scene dimmed for the text, and the state says so.
      {0, 0, wave, wave, 3, false},
      {1, 0, AtLevel15(wave, 3, 47), wave, 3, false},
      {2, 0, wave, wave, 3, false},
      {0, 1, wave, scene_palette, 1, true},
      {1, 1, AtLevel15(wave, 3, 47), scene_palette, 1, true},
      {0, 2, wave, AtLevel15(scene_palette, 31, 47), 3, true},
      {1, 2, AtLevel15(wave, 3, 47), AtLevel15(scene_palette, 31, 47), 3, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.start) + " " + std::to_string(c.end));
    PrepareScene();
    const Scene scene = Run(kFiveGlyphs, WaveDirection::kHorizontal, c.start, c.end);
    ASSERT_EQ(scene.shown.count(0), 1u);
    EXPECT_EQ(scene.shown.at(0), c.first_frame);
    EXPECT_EQ(ToPalette(core::Screen.ShownPalette), c.after);
    EXPECT_EQ(ToPalette(core::Screen.ScreenPalette), scene_palette);  // the scene's own again
    EXPECT_EQ(core::Screen.PaletteState, c.state);
    const Pixels screen = Screen();
    if (c.background_again) {
      EXPECT_TRUE(screen == Background());
    } else {
      EXPECT_TRUE(std::all_of(screen.begin(), screen.end(), [](std::uint8_t v) { return v < 4; }));
    }
  }

  // Without a background (an event picture is shown) end mode 1 brings back the composed
  // picture as it is, in the scene's palette.
  PrepareScene();
  visuals::SetBackgroundNumber(visuals::kNoBackground);
  Run(kFiveGlyphs, WaveDirection::kVertical, 0, 1);
  EXPECT_EQ(visuals::BackgroundNumber(), visuals::kNoBackground);
  EXPECT_TRUE(Screen() == Background());
  EXPECT_EQ(ToPalette(core::Screen.ShownPalette), scene_palette);
  EXPECT_EQ(core::Screen.PaletteState, 1);
}

TEST_F(WaveTextSceneTest, OpeningsAndClosingsTakeTheirFramesOnBothDisplays) {
  // Five glyphs and the end: six frames of typing at 8 bits, two above.
  struct Case {
    int bits;
    bool low;
    std::uint8_t start, end;
    int frames;
    int extra_presents;  // the scene's whole-screen presents besides one per frame
  } cases[] = {
      {8, false, 0, 0, 7, 1},
      {8, false, 1, 0, 17, 1},   // black to level 47 by 3
      {8, false, 2, 0, 129, 1},  // amplitude 0 to 128 by 1
      {8, true, 2, 0, 17, 1},    // by 8 with simplified effects
      {8, false, 0, 1, 22, 1},   // level 47 to 0 by 3, then the background again
      {8, false, 0, 2, 70, 1},   // amplitude 128 to 0 by 2
      {8, true, 0, 2, 14, 1},    // by 16
      {32, false, 0, 0, 3, 2},
      {32, false, 1, 0, 16, 2},   // level 15 by 1; the fade repaints in place of the frame
      {32, false, 2, 0, 17, 2},   // by 8
      {32, false, 0, 1, 17, 19},  // ... and the fade-in of the background repaints 16 times
      {32, false, 0, 2, 10, 3},   // by 16
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.bits) + (c.low ? " low " : " ") + std::to_string(c.start) + " " +
                 std::to_string(c.end));
    StartDisplay(c.bits);
    core::Settings.Low = c.low ? 1 : 0;
    const Scene scene = Run(kFiveGlyphs, WaveDirection::kVertical, c.start, c.end);
    EXPECT_EQ(scene.presents, c.frames + c.extra_presents);
    // Every frame is paced to 10 ms from its start (the virtual clock passes 11).
    if (c.end != 1) {
      EXPECT_GE(scene.ms, static_cast<std::uint32_t>(11 * c.frames));
      EXPECT_LE(scene.ms, static_cast<std::uint32_t>(11 * c.frames + 2));
    }
    const int steps = c.bits > 8 ? 15 : 47;
    const int step = c.bits > 8 ? 1 : 3;
    for (int frame = 0; frame < c.frames; ++frame) {
      int level = steps;
      if (c.start == 1) level = std::min(step * (frame + 1), steps);
      const int closing_from = c.frames - (steps + step - 1) / step;
      if (c.end == 1 && frame >= closing_from) {
        level = steps - std::min(step * (frame - closing_from + 1), steps);
      }
      SCOPED_TRACE(frame);
      ASSERT_EQ(scene.shown.count(frame), 1u);
      EXPECT_EQ(scene.shown.at(frame)[8][0], 255 * level / steps);
    }
  }
  core::Settings.Low = 0;
}

TEST_F(WaveTextSceneTest, SkippingEndsTheSceneOnceItsTextIsTyped) {
  core::Input.SkipMode = 1;
  // From black: the opening is cut short and shown at its end.
  const Bytes text = G(40) + Bytes{0xB2} + G(41) + Bytes{0xB3} + G(42) + kEnd;
  const Scene scene = Run(text, WaveDirection::kHorizontal, 1, 0, {0}, true);
  EXPECT_EQ(core::Input.SkipMode, 1);
  EXPECT_LT(scene.ms, 10u);
  // The whole text came in the first frame, without its waits.
  ASSERT_EQ(scene.pictures.count(0), 1u);
  const Pixels& first = scene.pictures.at(0);
  EXPECT_EQ(first[10 * kW + 16], 8);
  EXPECT_EQ(first[10 * kW + 40], 8);
  EXPECT_EQ(first[10 * kW + 64], 8);
  EXPECT_EQ(scene.shown.size(), 2u + 1u);  // two frames, then the end's present
  EXPECT_EQ(ToPalette(core::Screen.ShownPalette),
            WavePalette(ToPalette(core::Screen.ScreenPalette)));
  core::Input.SkipMode = 0;
}

TEST_F(WaveTextSceneTest, AMessageOutsideItsBlockShowsTheSceneWithoutText) {
  // The caller checks the message; the scene itself never reads outside MESSAGE DATA: a
  // table entry past the block's end, or a block too short to hold the table entry.
  const Bytes table =
      ScenarioBuilder().Message(0, G(40) + kEnd).MessageAt(1, 0xFFF0).MessageBlock();
  struct Case {
    const char* what;
    Bytes block;
    std::uint8_t message;
  } cases[] = {
      {"the text lies past the end", table, 1},
      {"the table is cut short", Bytes(table.begin(), table.begin() + 12), 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PrepareScene();
    core::Scenario.MessageData =
        core::MemAlloc(static_cast<std::uint32_t>(c.block.size()), "MESSAGE DATA");
    std::copy(c.block.begin(), c.block.end(),
              static_cast<std::uint8_t*>(core::MemLock(core::Scenario.MessageData)));
    core::MemUnlock(core::Scenario.MessageData);
    const Pixels before = Screen();
    const int phase = text::Text.WaveMotions[0].phase;
    text::WaveTextScene(c.message, 0, 0, WaveDirection::kHorizontal);
    // One frame, without text, then the text layer cleared.
    Pixels expected = Composed(before, WaveDirection::kHorizontal, 128, phase);
    for (std::uint8_t& v : expected) v &= 3;
    EXPECT_TRUE(Screen() == expected);
    EXPECT_EQ(text::Text.WaveMotions[0].phase, phase + 2);
    core::MemRelease(&core::Scenario.MessageData);
  }
}

}  // namespace
