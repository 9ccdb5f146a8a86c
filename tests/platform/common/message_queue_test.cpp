// The message queue, window timers and the virtual clock of the headless backend.
#include <gtest/gtest.h>

#include <vector>

#include "platform/backend.h"
#include "support/platform_fixture.h"

namespace {

struct Seen {
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
  DWORD tick;
};
std::vector<Seen> g_seen;

LRESULT RecordingProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  g_seen.push_back({msg, wparam, lparam, GetTickCount()});
  if (msg == WM_CREATE) {
    // Sent before CreateWindowExA returns: the window already answers to messages.
    RECT r{};
    EXPECT_TRUE(GetClientRect(hwnd, &r));
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

class MessageQueueTest : public hotaru_test::PlatformTest {
 protected:
  void SetUp() override {
    PlatformTest::SetUp();
    g_seen.clear();
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = "TEST";
    ASSERT_NE(RegisterClassExA(&wc), 0);
    hwnd_ = CreateWindowExA(0, "test", "title", WS_POPUP | WS_CAPTION, 0, 0, 646, 425, nullptr,
                            nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd_, nullptr);
  }

  // Pumps as the game does until the clock reaches `until`.
  void PumpUntil(DWORD until) {
    MSG msg;
    while (GetTickCount() < until) {
      if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
        DispatchMessageA(&msg);
      }
    }
  }

  std::vector<Seen> SeenOf(UINT message) const {
    std::vector<Seen> out;
    for (const auto& s : g_seen) {
      if (s.message == message) out.push_back(s);
    }
    return out;
  }

  HWND hwnd_ = nullptr;
};

TEST_F(MessageQueueTest, CreationSendsCreateThenSizeSynchronously) {
  ASSERT_GE(g_seen.size(), 2u);
  EXPECT_EQ(g_seen[0].message, static_cast<UINT>(WM_CREATE));
  EXPECT_EQ(g_seen[1].message, static_cast<UINT>(WM_SIZE));
  // 646 × 425 outer with a 3-pixel frame and a 19-pixel caption, no menu.
  EXPECT_EQ(LOWORD(g_seen[1].lparam), 640);
  EXPECT_EQ(HIWORD(g_seen[1].lparam), 400);
}

TEST_F(MessageQueueTest, EmptyPeekAdvancesVirtualClockOneMillisecond) {
  MSG msg;
  EXPECT_EQ(GetTickCount(), 0u);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(GetTickCount(), 2u);
}

TEST_F(MessageQueueTest, PostedMessagesKeepOrderAndNoRemoveLeavesThem) {
  PostMessageA(hwnd_, WM_USER + 1, 1, 0);
  PostMessageA(hwnd_, WM_USER + 2, 2, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_USER + 1);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 1);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 2, WM_USER + 2, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 2u);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(GetTickCount(), 1u);  // only the last, empty peek took time
}

TEST_F(MessageQueueTest, QuitComesAfterPostedMessages) {
  PostQuitMessage(7);
  PostMessageA(hwnd_, WM_USER, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, TimerFiresAtItsVirtualTimesAndStopsWhenKilled) {
  SetTimer(hwnd_, 1, 60, nullptr);
  PumpUntil(200);
  auto ticks = SeenOf(WM_TIMER);
  ASSERT_EQ(ticks.size(), 3u);
  EXPECT_EQ(ticks[0].tick, 60u);
  EXPECT_EQ(ticks[1].tick, 120u);
  EXPECT_EQ(ticks[2].tick, 180u);
  KillTimer(hwnd_, 1);
  PumpUntil(400);
  EXPECT_EQ(SeenOf(WM_TIMER).size(), 3u);
}

TEST_F(MessageQueueTest, LateTimerFiresOnceNotOncePerMissedPeriod) {
  SetTimer(hwnd_, 1, 60, nullptr);
  backend().AdvanceClock(1000);
  PumpUntil(1100);
  auto ticks = SeenOf(WM_TIMER);
  // Once late at 1000, then back on the period: 1020, 1080.
  ASSERT_EQ(ticks.size(), 3u);
  EXPECT_EQ(ticks[0].tick, 1000u);
  EXPECT_EQ(ticks[1].tick, 1020u);
  EXPECT_EQ(ticks[2].tick, 1080u);
}

TEST_F(MessageQueueTest, MoveWindowSendsSizeBeforeReturningEvenWhenUnchanged) {
  g_seen.clear();
  MoveWindow(hwnd_, 10, 10, 646, 425, TRUE);
  ASSERT_EQ(SeenOf(WM_SIZE).size(), 1u);
  MoveWindow(hwnd_, 10, 10, 966, 625, TRUE);
  auto sizes = SeenOf(WM_SIZE);
  ASSERT_EQ(sizes.size(), 2u);
  EXPECT_EQ(LOWORD(sizes[1].lparam), 960);
  EXPECT_EQ(HIWORD(sizes[1].lparam), 600);
}

TEST_F(MessageQueueTest, AdjustWindowRectAddsFrameCaptionAndMenu) {
  RECT r{0, 0, 640, 400};
  AdjustWindowRect(&r, 0x90CB0000, TRUE);
  EXPECT_EQ(r.left, -3);
  EXPECT_EQ(r.top, -3 - 19 - 19);
  EXPECT_EQ(r.right, 643);
  EXPECT_EQ(r.bottom, 403);
}

TEST_F(MessageQueueTest, ScriptedKeyIsHeldThenReleasedAndOnlySeenWithFocus) {
  platform::headless::InputScript script;
  std::string error;
  ASSERT_TRUE(platform::headless::ParseInputScript(
      "at 10 key space 50\nat 100 deactivate\n+10 key enter\nat 300 activate\n", &script, &error))
      << error;
  platform::headless::Options options;
  options.exit_throws = true;
  platform::headless::HeadlessBackend scripted(options, script);
  platform::SetBackend(&scripted);
  PumpUntil(12);
  EXPECT_NE(GetAsyncKeyState(VK_SPACE) & 0x8000, 0);
  PumpUntil(70);
  EXPECT_EQ(GetAsyncKeyState(VK_SPACE), 0);
  EXPECT_EQ(SeenOf(WM_KEYDOWN).size(), 1u);
  PumpUntil(115);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_NE(GetAsyncKeyState(VK_RETURN) & 0x8000, 0);  // the key is down all the same
  EXPECT_EQ(SeenOf(WM_KEYDOWN).size(), 1u);            // but no message reaches us
  PumpUntil(310);
  EXPECT_EQ(GetFocus(), hwnd_);
  EXPECT_EQ(SeenOf(WM_ACTIVATEAPP).size(), 2u);
  platform::SetBackend(&backend());
}

TEST_F(MessageQueueTest, UntilEndsTheRunWithStatusThree) {
  platform::headless::Options options;
  options.exit_throws = true;
  options.until_ms = 50;
  platform::headless::HeadlessBackend limited(options);
  platform::SetBackend(&limited);
  try {
    PumpUntil(1000);
    ADD_FAILURE() << "the run went past --until";
  } catch (const platform::ProcessExit& e) {
    EXPECT_EQ(e.status, 3);
    EXPECT_EQ(GetTickCount(), 50u);
    EXPECT_EQ(limited.trace_lines().back(), "50 exit 3");
  }
  platform::SetBackend(&backend());
}

TEST_F(MessageQueueTest, MessageBoxTakesScriptedAnswersInOrderThenDefaultsToOk) {
  platform::headless::InputScript script;
  std::string error;
  ASSERT_TRUE(
      platform::headless::ParseInputScript("at 0 msgbox cancel\n+0 msgbox ok\n", &script, &error));
  platform::headless::Options options;
  options.exit_throws = true;
  platform::headless::HeadlessBackend scripted(options, script);
  platform::SetBackend(&scripted);
  EXPECT_EQ(MessageBoxA(hwnd_, "q1", "c", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(MessageBoxA(hwnd_, "q2", "c", MB_OKCANCEL), IDOK);
  EXPECT_EQ(MessageBoxA(hwnd_, "q3", "c", MB_OKCANCEL), IDOK);
  ASSERT_EQ(scripted.trace_lines().size(), 3u);
  EXPECT_EQ(scripted.trace_lines()[0], "0 msgbox \"c\" \"q1\" cancel");
  platform::SetBackend(&backend());
}

TEST(TraceQuoting, EscapesLikeC) {
  EXPECT_EQ(platform::Quoted("a\"b\\c\nd"), "\"a\\\"b\\\\c\\nd\"");
  EXPECT_EQ(platform::Quoted("終了します"), "\"終了します\"");
}

}  // namespace
