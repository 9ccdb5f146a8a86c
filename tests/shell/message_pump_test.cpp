// The waits, the random numbers and the timer countdown.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "core/message_pump.h"
#include "core/shell_state.h"
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
    while (GetTickCount() < 5) shell::PumpMessage();
  }
};

TEST(Random, ModeTwoStepsTheFeedbackRegister) {
  struct Case {
    std::uint16_t before, after;
    std::uint8_t answer;
  } cases[] = {{0x0001, 0x0082, 0x82}, {0x8000, 0x0001, 0x01}};
  for (const auto& c : cases) {
    shell::RandomState = c.before;
    EXPECT_EQ(shell::Random(2), c.answer);
    EXPECT_EQ(shell::RandomState, c.after);
  }
}

TEST_F(PumpTest, RandomModesZeroAndOneTakeTheTick) {
  Start("");
  backend().AdvanceClock(0x12340 - GetTickCount());
  EXPECT_EQ(shell::Random(0), 0x23 ^ 0x40);  // state = low 16 bits of the tick, 0x2340
  shell::RandomState = 0x00FF;
  shell::Random(1);
  EXPECT_EQ(shell::RandomState, 0x00FF ^ 0x2340);
}

TEST_F(PumpTest, WaitZeroPumpsNothingAndWaitOneLastsMoreThanTenMilliseconds) {
  Start("");
  PostMessageA(shell::MainWindow, WM_USER + 5, 0, 0);
  shell::Wait(0);
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 5, WM_USER + 5, PM_NOREMOVE));
  const DWORD start = GetTickCount();
  shell::Wait(1);
  EXPECT_GT(GetTickCount() - start, 10u);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER + 5, WM_USER + 5, PM_NOREMOVE));
}

TEST_F(PumpTest, WaitSinceCountsFromTheGivenStart) {
  Start("");
  const DWORD start = GetTickCount();
  backend().AdvanceClock(300);  // drawing took 300 ms already
  shell::WaitSince(start, 50);
  EXPECT_EQ(GetTickCount(), start + 501);
  backend().AdvanceClock(1000);  // already late: one pump, then the test
  shell::WaitSince(start, 50);
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
  shell::PollCdHook = [] {
    seen.push_back(platform::WaitDeadline());
    if (!nested_done && seen.size() == 3) {
      nested_done = true;
      shell::Wait(2);
    }
  };
  const DWORD start = GetTickCount();
  shell::WaitSince(start, 3);
  const DWORD end = GetTickCount();
  shell::PollCdHook = nullptr;
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
  shell::PollCdHook = [] { *during_at = platform::WaitDeadline(); };
  EXPECT_EQ(shell::WaitInputSince(from, 1), 0);
  shell::PollCdHook = nullptr;
  EXPECT_EQ(during, from + 11);
  EXPECT_EQ(GetTickCount(), from + 11);
  EXPECT_EQ(platform::WaitDeadline(), std::nullopt);
}

TEST_F(PumpTest, SkipModeEndsTimedWaitsAfterOnePump) {
  Start("");
  shell::SkipMode = 1;
  const DWORD start = GetTickCount();
  shell::Wait(100);
  shell::WaitSince(start, 100);
  EXPECT_EQ(shell::WaitInputSince(start, 100), 0);
  EXPECT_LE(GetTickCount() - start, 3u);
  shell::SkipMode = 0;
}

TEST_F(PumpTest, WaitInputSinceAnswersOneForDecideOrCancelAndClearsThem) {
  Start("at 50 rclick\n");
  EXPECT_EQ(shell::WaitInputSince(GetTickCount(), 100), 1);
  EXPECT_EQ(GetTickCount(), 50u);
  EXPECT_EQ(shell::InputEvents, 0);
  const DWORD start = GetTickCount();
  EXPECT_EQ(shell::WaitInputSince(start, 10), 0);
  EXPECT_EQ(GetTickCount() - start, 101u);
}

TEST_F(PumpTest, WaitClickEndsOnlyOnLeftButtonEnterOrSpace) {
  for (const char* ender : {"click", "key enter", "key space"}) {
    Start(std::string("at 10 rclick\nat 20 key escape\nat 300 key home\nat 500 ") + ender + "\n");
    shell::SkipMode = 1;
    shell::WaitClick();
    shell::SkipMode = 0;
    EXPECT_GE(GetTickCount(), 500u) << ender;
    EXPECT_LT(GetTickCount(), 520u) << ender;
    EXPECT_EQ(shell::InputEvents & (shell::kInputDecide | shell::kInputSpace), 0) << ender;
    EXPECT_NE(shell::InputEvents & shell::kInputCancel, 0) << ender;  // left as it was
  }
}

TEST_F(PumpTest, WaitAnyButtonLeavesTheBitThatEndedIt) {
  Start("at 30 key escape\n");
  shell::WaitAnyButton();
  EXPECT_EQ(shell::InputEvents, shell::kInputCancel);
}

TEST_F(PumpTest, TimerCountsDownTheCdPollEvery60Milliseconds) {
  Start("");
  SetTimer(shell::MainWindow, 1, 60, nullptr);
  sound::CdPollCountdown = 2;
  shell::Wait(7);  // one tick at 65
  EXPECT_EQ(sound::CdPollCountdown, 1);
  shell::Wait(20);  // and more: never below 0
  EXPECT_EQ(sound::CdPollCountdown, 0);
}

TEST_F(PumpTest, PlaceCursorMovesTheCursorOntoTheClientPoint) {
  Start("");
  shell::PlaceCursor(100, 50);
  EXPECT_EQ(shell::MouseX, 100);
  EXPECT_EQ(shell::MouseY, 50);
  RECT outer{};
  GetWindowRect(shell::MainWindow, &outer);
  const std::string expected = std::to_string(GetTickCount()) + " cursor " +
                               std::to_string(outer.left + 3 + 100) + " " +
                               std::to_string(outer.top + 3 + 19 + 19 + 50);
  EXPECT_EQ(backend().trace_lines().back(), expected);
}

TEST_F(PumpTest, QuitMessageEndsTheProgram) {
  Start("");
  PostQuitMessage(0);
  EXPECT_EQ(ExpectFatal([] { shell::PumpMessage(); }), "");
}

}  // namespace
