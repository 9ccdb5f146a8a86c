// The main window under scripted input: sizes, full screen, menu commands, painting.
#include <gtest/gtest.h>

#include <string>

#include "core/game_phase.h"
#include "core/input_state.h"
#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "core/window_state.h"
#include "flow/game_flow.h"
#include "platform/common/window_table.h"
#include "support/platform_fixture.h"

namespace {

class WindowTest : public hotaru_test::PlatformTest {
 protected:
  // Starts the program's window on a display of these properties with this input.
  void Start(const std::string& script = "", int screen_width = 1024, int screen_height = 768,
             int display_bits = 8) {
    platform::headless::Options options;
    options.screen_width = screen_width;
    options.screen_height = screen_height;
    options.display_bits = display_bits;
    RestartBackend(options, script);
    ASSERT_TRUE(OpenWindow());
    hwnd_ = core::Window.MainWindow;
  }

  void PumpUntil(DWORD ms) {
    while (GetTickCount() < ms) core::PumpMessage();
  }

  bool TraceHas(const std::string& line) const {
    for (const auto& l : const_cast<WindowTest*>(this)->backend().trace_lines()) {
      if (l == line) return true;
    }
    return false;
  }

  RECT Client() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r;
  }

  // Fills the shown picture with a pattern: colour (x / 8 + y / 8) mod 16.
  void PaintPattern() {
    auto* p = core::LockPicture(core::Screen.VmemDIB);
    ASSERT_NE(p, nullptr);
    for (int y = 0; y < 400; ++y) {
      for (int x = 0; x < 640; ++x)
        *core::PixelAt(p, x, y) = static_cast<std::uint8_t>((x / 8 + y / 8) % 16);
    }
    core::MemUnlock(core::Screen.VmemDIB);
  }

  // The colour the window shows at client pixel (x, y).
  PALETTEENTRY Shown(int x, int y) const {
    const platform::WindowRecord* w = platform::FindWindowRecord(hwnd_);
    const auto rgb = platform::ClientRgb(*w);
    const std::size_t at =
        (static_cast<std::size_t>(y) * static_cast<std::size_t>(w->client_width) +
         static_cast<std::size_t>(x)) *
        3;
    return PALETTEENTRY{rgb[at], rgb[at + 1], rgb[at + 2], 0};
  }

  static bool Same(PALETTEENTRY a, PALETTEENTRY b) {
    return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
  }

  // The one 画面サイズ item ticked (0 when none is, 1 when more than one is).
  UINT TickedSize() const {
    UINT ticked = 0;
    for (const auto& item : platform::FindWindowRecord(hwnd_)->menu) {
      if (item.id < 40000 || item.id > 40008 || (item.flags & MF_CHECKED) == 0) continue;
      ticked = ticked == 0 ? item.id : 1;
    }
    return ticked;
  }

  HWND hwnd_ = nullptr;
};

TEST_F(WindowTest, CreationBuildsPaletteScreenPicturesAndMenuState) {
  Start();
  EXPECT_EQ(core::Window.ScreenMode, 40003);
  EXPECT_EQ(TickedSize(), 40003u);
  EXPECT_EQ(core::Window.DisplayBits, 8);
  EXPECT_EQ(core::Screen.FadeSteps, 47);
  EXPECT_EQ(Client().right, 640);
  EXPECT_EQ(Client().bottom, 400);
  // Centred on 1024 × 768: the window is 646 × 444.
  RECT outer{};
  GetWindowRect(hwnd_, &outer);
  EXPECT_EQ(outer.left, (1024 - 646) / 2);
  EXPECT_EQ(outer.top, (768 - 444) / 2);
  ASSERT_EQ(core::Memory.MemBlockCount, 2);
  EXPECT_STREQ(core::Memory.MemBlockTable[0].name, "VmemDIB         ");
  EXPECT_STREQ(core::Memory.MemBlockTable[1].name, "VbufDIB         ");
  EXPECT_EQ(core::Memory.MemBlockTable[1].size, core::kPictureBlockSize);
  for (int i = 16; i < 32; ++i) EXPECT_EQ(core::Screen.ShownPalette[i].peRed, 0);
  EXPECT_EQ(core::Screen.ShownPalette[1].peGreen, core::BasePalette1[1].peGreen);
  // Sizes larger than the screen, and the skip command, start grayed; full screen is offered.
  EXPECT_TRUE(TraceHas("0 menu 40007 grayed"));
  EXPECT_TRUE(TraceHas("0 menu 40008 grayed"));
  EXPECT_TRUE(TraceHas("0 menu 40030 grayed"));
  EXPECT_FALSE(TraceHas("0 menu 40000 grayed"));
  EXPECT_FALSE(TraceHas("0 menu 40006 grayed"));
}

TEST_F(WindowTest, EverySizeCommandGivesItsClientSizeOrRefuses) {
  Start(
      "at 10 menu 40001\nat 20 menu 40002\nat 30 menu 40004\nat 40 menu 40005\n"
      "at 50 menu 40006\nat 60 menu 40003\nat 70 menu 40007\nat 80 msgbox ok\n");
  struct Step {
    DWORD at;
    int width, height;
    std::uint16_t mode;
  } steps[] = {{15, 320, 200, 40001}, {25, 480, 300, 40002},  {35, 800, 500, 40004},
               {45, 960, 600, 40005}, {55, 1024, 640, 40006}, {65, 640, 400, 40003}};
  for (const auto& s : steps) {
    PumpUntil(s.at);
    EXPECT_EQ(core::Window.ScreenMode, s.mode) << s.at;
    EXPECT_EQ(TickedSize(), s.mode) << s.at;
    EXPECT_EQ(core::Window.ClientWidth, s.width) << s.at;
    EXPECT_EQ(core::Window.ClientHeight, s.height) << s.at;
    EXPECT_EQ(Client().right, s.width) << s.at;
    EXPECT_EQ(Client().bottom, s.height) << s.at;
  }
  PumpUntil(75);
  // 1280 × 800 does not fit on 1024 × 768: refused, nothing changes.
  ASSERT_FALSE(backend().message_boxes().empty());
  EXPECT_EQ(backend().message_boxes().back().text, "このサイズには変更できません");
  EXPECT_EQ(core::Window.ScreenMode, 40003);
  EXPECT_EQ(TickedSize(), 40003u);
  EXPECT_EQ(Client().right, 640);
}

TEST_F(WindowTest, NarrowSizeIsCorrectedForTheWrappedMenuBar) {
  Start("at 10 menu 40001\n");
  PumpUntil(15);
  // At 320 pixels the menu bar takes two rows: the window grew to keep 320 × 200.
  RECT outer{};
  GetWindowRect(hwnd_, &outer);
  EXPECT_EQ(outer.bottom - outer.top, 200 + 3 + 19 + 2 * 19 + 3);
  EXPECT_EQ(Client().bottom, 200);
  EXPECT_EQ(core::Window.ScreenMode, 40001);
}

TEST_F(WindowTest, AnySizeNotInTheTableIsMode40009) {
  Start();
  MoveWindow(hwnd_, 0, 0, 700, 500, TRUE);
  EXPECT_EQ(core::Window.ScreenMode, 40009);
  EXPECT_EQ(TickedSize(), 0u);
  EXPECT_EQ(core::Window.ClientWidth, 694);
}

TEST_F(WindowTest, FullScreenAndBackToAWindowWhenDeactivated) {
  Start("at 10 menu 40004\nat 20 menu 40000\nat 30 deactivate\n");
  PumpUntil(25);
  EXPECT_EQ(core::Window.ScreenMode, 40000);
  EXPECT_EQ(TickedSize(), 40000u);
  EXPECT_EQ(core::Window.ClientWidth, 640);
  EXPECT_EQ(core::Window.ClientHeight, 400);
  EXPECT_EQ(core::Window.ScreenWidth, 640);  // the display switched to 640 × 480
  EXPECT_TRUE(TraceHas("20 display set width=640 height=480 -> 0"));
  EXPECT_TRUE(platform::FindWindowRecord(hwnd_)->topmost);
  RECT outer{};
  GetWindowRect(hwnd_, &outer);
  EXPECT_EQ(outer.left, -4);
  EXPECT_EQ(outer.top, -(19 + 4));
  PumpUntil(35);
  EXPECT_EQ(core::Window.ScreenMode, 40003);
  EXPECT_EQ(TickedSize(), 40003u);
  EXPECT_EQ(core::Window.ClientWidth, 640);
  EXPECT_EQ(core::Window.ScreenWidth, 1024);
  EXPECT_TRUE(TraceHas("30 display restore -> 0"));
  EXPECT_FALSE(platform::FindWindowRecord(hwnd_)->topmost);
}

TEST_F(WindowTest, FullScreenMenuBarShowsOnHoverAndIsBlackOtherwise) {
  Start("at 10 menu 40000\nat 20 move 100 -5\nat 30 move 100 100\n");
  PumpUntil(15);
  EXPECT_EQ(core::Window.MenuShown, 0);
  PumpUntil(25);
  EXPECT_EQ(core::Window.MenuShown, 1);
  EXPECT_FALSE(platform::FindWindowRecord(hwnd_)->menu_bar_black);
  PumpUntil(35);
  EXPECT_EQ(core::Window.MenuShown, 0);
  EXPECT_TRUE(platform::FindWindowRecord(hwnd_)->menu_bar_black);
  EXPECT_EQ(core::Input.MouseX, 100);
}

TEST_F(WindowTest, SkipCommandOnlyWhileTheStoryRunsInAReadScenario) {
  struct Case {
    std::uint16_t phase, allowed, expected;
  } cases[] = {{core::kPhasePlaying, 1, 1},
               {core::kPhasePlaying, 0, 0},
               {core::kPhaseTitle, 1, 0},
               {core::kPhaseEnding, 1, 0}};
  for (const auto& c : cases) {
    Start("at 10 menu 40030\n");
    core::Phase.GamePhase = c.phase;
    core::Scenario.SkipAllowed = c.allowed;
    PumpUntil(15);
    EXPECT_EQ(core::Input.SkipMode, c.expected) << c.phase << " " << c.allowed;
  }
}

TEST_F(WindowTest, QuitQuestionFromMenuAndCloseAnsweredBothWays) {
  const std::string question = "終了します。\nよろしいですか？";
  for (const char* how : {"menu 40050", "close"}) {
    Start(std::string("at 10 ") + how + "\n+0 msgbox cancel\nat 20 " + how + "\n+0 msgbox ok\n");
    PumpUntil(15);
    ASSERT_EQ(backend().message_boxes().size(), 1u) << how;
    EXPECT_EQ(backend().message_boxes()[0].text, question);
    EXPECT_EQ(backend().message_boxes()[0].type, static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION));
    ExpectFatal([this] { PumpUntil(25); });
    EXPECT_EQ(backend().trace_lines().back(), "20 exit 1");
  }
}

TEST_F(WindowTest, VersionCommandShowsTheVersion) {
  Start();
  SendMessageA(hwnd_, WM_COMMAND, 40040, 0);
  ASSERT_EQ(backend().message_boxes().size(), 1u);
  EXPECT_EQ(backend().message_boxes()[0].text, "Ｖｅｒｓｉｏｎ　１．０");
  EXPECT_EQ(backend().message_boxes()[0].type, static_cast<UINT>(MB_ICONINFORMATION));
}

TEST_F(WindowTest, RepaintShowsThePictureAtEveryModeAndDepth) {
  for (int bits : {8, 32}) {
    for (const char* command : {"", "at 10 menu 40005\n", "at 10 menu 40000\n"}) {
      Start(command, 1024, 768, bits);
      PaintPattern();
      PumpUntil(20);
      core::Present(nullptr);
      const RECT c = Client();
      SCOPED_TRACE(std::to_string(bits) + " bits, " + command);
      // Client pixel (x, y) shows picture pixel (x × 640 / width, y × 400 / height) at the
      // scaled sizes, and the picture unscaled at 640 × 400 and in full screen.
      const bool scaled = core::Window.ScreenMode == 40005;
      const int w = scaled ? c.right : 640;
      const int h = scaled ? c.bottom : 400;
      for (int y = 0; y < h; y += 37) {
        for (int x = 0; x < w; x += 29) {
          const int px = x * 640 / w;
          const int py = y * 400 / h;
          ASSERT_TRUE(Same(Shown(x, y), core::BasePalette1[(px / 8 + py / 8) % 16]))
              << x << "," << y;
        }
      }
      if (core::Window.ScreenMode == 40000) {
        // The band below the picture is black.
        EXPECT_TRUE(Same(Shown(100, 450), PALETTEENTRY{0, 0, 0, 0}));
        EXPECT_EQ(core::Screen.FadeSteps, bits > 8 ? 15 : 47);
      }
    }
  }
}

TEST_F(WindowTest, PresentScalesItsRectangleAndIgnoresAnEmptyOne) {
  Start("at 10 menu 40007\n", 1600, 1200);
  PumpUntil(20);
  ASSERT_EQ(core::Window.ClientWidth, 1280);
  PaintPattern();
  RECT empty = core::kEmptyUpdateRect;
  core::Present(&empty);
  EXPECT_TRUE(Same(Shown(25, 45), PALETTEENTRY{0, 0, 0, 0}));  // nothing repainted
  RECT r{10, 20, 30, 40};
  core::Present(&r);
  EXPECT_EQ(r.left, 640);
  EXPECT_EQ(r.right, 0);
  // Client rectangle 20, 40, 61, 81 was repainted, and nothing outside it.
  EXPECT_FALSE(Same(Shown(20, 40), PALETTEENTRY{0, 0, 0, 0}));
  EXPECT_FALSE(Same(Shown(60, 80), PALETTEENTRY{0, 0, 0, 0}));
  EXPECT_TRUE(Same(Shown(61, 80), PALETTEENTRY{0, 0, 0, 0}));
  EXPECT_TRUE(Same(Shown(20, 81), PALETTEENTRY{0, 0, 0, 0}));
  EXPECT_TRUE(Same(Shown(19, 40), PALETTEENTRY{0, 0, 0, 0}));
}

TEST_F(WindowTest, PaletteAnimationShowsAtOnceOnlyOnAPaletteDisplay) {
  for (int bits : {8, 32}) {
    Start("", 1024, 768, bits);
    PaintPattern();
    core::Present(nullptr);
    const PALETTEENTRY red{255, 0, 0, PC_RESERVED};
    core::Screen.ShownPalette[1] = red;
    AnimatePalette(core::Screen.WindowPalette, 1, 1, &core::Screen.ShownPalette[1]);
    // Picture pixel (8, 0) has colour 1.
    EXPECT_EQ(Same(Shown(8, 0), red), bits == 8) << bits;
    core::Present(nullptr);
    EXPECT_TRUE(Same(Shown(8, 0), red)) << bits;
  }
}

TEST_F(WindowTest, DisplayChangeWhileMinimisedWaitsForActivation) {
  Start("at 10 menu 40004\n");
  PumpUntil(15);
  EXPECT_EQ(core::Window.ScreenMode, 40004);
  ShowWindow(hwnd_, SW_MINIMIZE);
  SendMessageA(hwnd_, WM_DISPLAYCHANGE, 8, MAKELPARAM(1024, 768));
  EXPECT_EQ(core::Window.DisplayChangePending, 1u);
  ShowWindow(hwnd_, SW_RESTORE);
  SendMessageA(hwnd_, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(core::Window.DisplayChangePending, 0u);
  PumpUntil(20);  // the posted display change is handled
  EXPECT_EQ(core::Window.ScreenWidth, 1024);
}

TEST_F(WindowTest, MouseButtonsAndKeysBecomeInputEvents) {
  Start(
      "at 10 click 5 6\nat 20 rclick\nat 30 key escape\nat 200 key home\nat 400 key enter\n"
      "at 600 key space 1000\n");
  PumpUntil(15);
  EXPECT_EQ(core::Input.InputEvents, core::kInputDecide);
  EXPECT_EQ(core::Input.MouseX, 5);
  EXPECT_EQ(core::Input.MouseY, 6);
  core::ClearInput();
  PumpUntil(25);
  EXPECT_EQ(core::Input.InputEvents, core::kInputCancel);
  core::ClearInput();
  PumpUntil(150);
  EXPECT_EQ(core::Input.InputEvents, core::kInputCancel);
  core::ClearInput();
  PumpUntil(350);
  EXPECT_EQ(core::Input.InputEvents, core::kInputCancel);
  core::ClearInput();
  PumpUntil(550);
  EXPECT_EQ(core::Input.InputEvents, core::kInputDecide);
  core::ClearInput();
  // A key held for a second gives its bit once.
  PumpUntil(700);
  EXPECT_EQ(core::Input.InputEvents, core::kInputSpace);
  core::ClearInput();
  PumpUntil(1700);
  EXPECT_EQ(core::Input.InputEvents, 0);
}

TEST_F(WindowTest, KeysWhileAnotherWindowHasTheFocusAreNotSeen) {
  // Pressed and released while away: nothing.
  Start(
      "at 10 deactivate\nat 20 key enter 100\nat 150 activate\n"
      // Held across a focus change: its release while away is not seen either, so the next
      // press does not count; the one after that does.
      "at 200 key space 500\nat 300 deactivate\nat 800 activate\nat 900 key space 50\n"
      "at 1000 key space 50\n");
  PumpUntil(190);
  EXPECT_EQ(core::Input.InputEvents, 0);
  PumpUntil(250);
  EXPECT_EQ(core::Input.InputEvents, core::kInputSpace);
  core::ClearInput();
  PumpUntil(990);
  EXPECT_EQ(core::Input.InputEvents, 0);
  PumpUntil(1100);
  EXPECT_EQ(core::Input.InputEvents, core::kInputSpace);
}

}  // namespace
