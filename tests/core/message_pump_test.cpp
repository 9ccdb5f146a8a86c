// The waits, the random numbers and the timer countdown.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "core/input_state.h"
#include "core/message_pump.h"
#include "core/window_state.h"
#include "platform/wait_deadline.h"
#include "sound/sound_state.h"
#include "support/platform_fixture.h"

namespace {

class PumpTest : public hotaru_test::PlatformTest {
 protected:
  void Start(const std::string& script) {
    RestartBackend(platform::headless::Options{}, script);
    ASSERT_TRUE(OpenWindow());
    // Drain what creation queued (the first paint) so that waits start from an empty queue.
    while (GetTickCount() < 5) core::PumpMessage();
  }
};

TEST(Random, ModeTwoStepsTheFeedbackRegister) {
  struct Case {
    std::uint16_t before, after;
    std::uint8_t answer;
  } cases[] = {{0x0001, 0x0082, 0x82}, {0x8000, 0x0001, 0x01}};
  for (const auto& c : cases) {
    core::Input.RandomState = c.before;
    EXPECT_EQ(core::Random(2), c.answer);
    EXPECT_EQ(core::Input.RandomState, c.after);
  }
}

TEST_F(PumpTest, RandomModesZeroAndOneTakeTheTick) {
  Start("");
  backend().AdvanceClock(0x12340 - GetTickCount());
  EXPECT_EQ(core::Random(0), 0x23 ^ 0x40);  // state = low 16 bits of the tick, 0x2340
  core::Input.RandomState = 0x00FF;
  core::Random(1);
  EXPECT_EQ(core::Input.RandomState, 0x00FF ^ 0x2340);
}

TEST_F(PumpTest, WaitZeroPumpsNothingAndWaitOneLastsMoreThanTenMilliseconds) {
  Start("");
  PostMessageA(core::Window.MainWindow, WM_USER + 5, 0, 0);
  core::Wait(0);
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 5, WM_USER + 5, PM_NOREMOVE));
  const DWORD start = GetTickCount();
  core::Wait(1);
  EXPECT_GT(GetTickCount() - start, 10u);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER + 5, WM_USER + 5, PM_NOREMOVE));
}

TEST_F(PumpTest, WaitSinceCountsFromTheGivenStart) {
  Start("");
  const DWORD start = GetTickCount();
  backend().AdvanceClock(300);  // drawing took 300 ms already
  core::WaitSince(start, 50);
  EXPECT_EQ(GetTickCount(), start + 501);
  backend().AdvanceClock(1000);  // already late: one pump, then the test
  core::WaitSince(start, 50);
  EXPECT_EQ(GetTickCount(), start + 1502);
}

// A timed wait tells the platform the first tick at which it ends, so that a real backend
// can sleep until then: the tick it does end at. A wait run from inside its pump (a
// dialog's) tells its own and gives the outer one back; none is left once the wait is over.
TEST_F(PumpTest, TimedWaitsTellThePlatformTheTickTheyEndAt) {
  Start("");
  static std::vector<std::optional<std::uint32_t>> seen;
  static bool nested_done;
  seen.clear();
  nested_done = false;
  core::PollCdHook = [] {
    seen.push_back(platform::WaitDeadline());
    if (!nested_done && seen.size() == 3) {
      nested_done = true;
      core::Wait(2);
    }
  };
  const DWORD start = GetTickCount();
  core::WaitSince(start, 3);
  const DWORD end = GetTickCount();
  core::PollCdHook = nullptr;
  EXPECT_EQ(end, start + 31);
  ASSERT_GE(seen.size(), 4u);
  EXPECT_EQ(seen.front(), start + 31);
  EXPECT_EQ(seen.back(), start + 31);
  bool inner = false;
  for (const auto& d : seen) inner = inner || (d && *d != start + 31);
  EXPECT_TRUE(inner) << "the nested wait's own deadline";
  EXPECT_EQ(platform::WaitDeadline(), std::nullopt);

  const DWORD from = GetTickCount();
  std::optional<std::uint32_t> during;
  static std::optional<std::uint32_t>* during_at;
  during_at = &during;
  core::PollCdHook = [] { *during_at = platform::WaitDeadline(); };
  EXPECT_EQ(core::WaitInputSince(from, 1), 0);
  core::PollCdHook = nullptr;
  EXPECT_EQ(during, from + 11);
  EXPECT_EQ(GetTickCount(), from + 11);
  EXPECT_EQ(platform::WaitDeadline(), std::nullopt);
}

TEST_F(PumpTest, SkipModeEndsTimedWaitsAfterOnePump) {
  Start("");
  core::Input.SkipMode = 1;
  const DWORD start = GetTickCount();
  core::Wait(100);
  core::WaitSince(start, 100);
  EXPECT_EQ(core::WaitInputSince(start, 100), 0);
  EXPECT_LE(GetTickCount() - start, 3u);
  core::Input.SkipMode = 0;
}

TEST_F(PumpTest, WaitInputSinceAnswersOneForDecideOrCancelAndClearsThem) {
  Start("at 50 rclick\n");
  EXPECT_EQ(core::WaitInputSince(GetTickCount(), 100), 1);
  EXPECT_EQ(GetTickCount(), 50u);
  EXPECT_EQ(core::Input.InputEvents, 0);
  const DWORD start = GetTickCount();
  EXPECT_EQ(core::WaitInputSince(start, 10), 0);
  EXPECT_EQ(GetTickCount() - start, 101u);
}

TEST_F(PumpTest, WaitClickEndsOnlyOnLeftButtonEnterOrSpace) {
  for (const char* ender : {"click", "key enter", "key space"}) {
    Start(std::string("at 10 rclick\nat 20 key escape\nat 300 key home\nat 500 ") + ender + "\n");
    core::Input.SkipMode = 1;
    core::WaitClick();
    core::Input.SkipMode = 0;
    EXPECT_GE(GetTickCount(), 500u) << ender;
    EXPECT_LT(GetTickCount(), 520u) << ender;
    EXPECT_EQ(core::Input.InputEvents & (core::kInputDecide | core::kInputSpace), 0) << ender;
    EXPECT_NE(core::Input.InputEvents & core::kInputCancel, 0) << ender;  // left as it was
  }
}

TEST_F(PumpTest, WaitAnyButtonLeavesTheBitThatEndedIt) {
  Start("at 30 key escape\n");
  core::WaitAnyButton();
  EXPECT_EQ(core::Input.InputEvents, core::kInputCancel);
}

TEST_F(PumpTest, TimerCountsDownTheCdPollEvery60Milliseconds) {
  Start("");
  SetTimer(core::Window.MainWindow, 1, 60, nullptr);
  sound::Sound.CdPollCountdown = 2;
  core::Wait(7);  // one tick at 65
  EXPECT_EQ(sound::Sound.CdPollCountdown, 1);
  core::Wait(20);  // and more: never below 0
  EXPECT_EQ(sound::Sound.CdPollCountdown, 0);
}

TEST_F(PumpTest, PlaceCursorMovesTheCursorOntoTheClientPoint) {
  Start("");
  core::PlaceCursor(100, 50);
  EXPECT_EQ(core::Input.MouseX, 100);
  EXPECT_EQ(core::Input.MouseY, 50);
  RECT outer{};
  GetWindowRect(core::Window.MainWindow, &outer);
  const std::string expected = std::to_string(GetTickCount()) + " cursor " +
                               std::to_string(outer.left + 3 + 100) + " " +
                               std::to_string(outer.top + 3 + 19 + 19 + 50);
  EXPECT_EQ(backend().trace_lines().back(), expected);
}

TEST_F(PumpTest, QuitMessageEndsTheProgram) {
  Start("");
  PostQuitMessage(0);
  EXPECT_EQ(ExpectFatal([] { core::PumpMessage(); }), "");
}

}  // namespace
