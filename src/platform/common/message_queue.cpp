// The message queue of the one thread: posted and input messages, the quit flag, window
// timers, and the keyboard state.
#include <algorithm>
#include <array>
#include <deque>
#include <optional>
#include <vector>

#include "platform/backend.h"
#include "platform/common/input_state.h"
#include "platform/common/platform_state.h"
#include "platform/common/window_table.h"
#include "platform/wait_deadline.h"

namespace platform {

MessageQueueState MessageQueue;

namespace {

bool Matches(const MSG& m, HWND hwnd, UINT min, UINT max) {
  if (hwnd != nullptr && m.hwnd != hwnd) return false;
  if (min == 0 && max == 0) return true;
  return m.message >= min && m.message <= max;
}

// Ticks wrap after 49 days: compare by signed difference.
bool Reached(std::uint32_t now, std::uint32_t due) {
  return static_cast<std::int32_t>(now - due) >= 0;
}

MSG Make(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  MSG m{};
  m.hwnd = hwnd;
  m.message = message;
  m.wParam = wparam;
  m.lParam = lparam;
  m.time = CurrentBackend().Now();
  return m;
}

std::optional<std::uint32_t> NextTimerDue() {
  std::optional<std::uint32_t> next;
  for (const auto& t : MessageQueue.timers) {
    if (!next || static_cast<std::int32_t>(t.due - *next) < 0) next = t.due;
  }
  return next;
}

}  // namespace

void SetKeyState(int virtual_key, bool down) {
  if (virtual_key >= 0 && virtual_key < 256)
    MessageQueue.keys[static_cast<std::size_t>(virtual_key)] = down;
}

void ResetKeyState() { MessageQueue.keys.fill(false); }

void SetWaitDeadline(std::optional<std::uint32_t> tick) { MessageQueue.wait_deadline = tick; }
std::optional<std::uint32_t> WaitDeadline() { return MessageQueue.wait_deadline; }

void PostInput(UINT message, WPARAM wparam, LPARAM lparam) {
  MessageQueue.posted.push_back(Make(InputWindow(), message, wparam, lparam));
}

void MouseAt(int client_x, int client_y) {
  HWND hwnd = InputWindow();
  POINT screen{client_x, client_y};
  if (hwnd == nullptr || !ClientToScreen(hwnd, &screen)) return;
  const LPARAM at = MAKELPARAM(static_cast<WORD>(client_x), static_cast<WORD>(client_y));
  // As with a real mouse, the window is asked what the point is over first; only a point
  // over the client area gives a mouse move.
  const LRESULT hit = SendMessageA(
      hwnd, WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
  if (hit == HTCLIENT) PostInput(WM_MOUSEMOVE, 0, at);
}

// Drops posted messages of this kind and first parameter (a device that closed withdraws its
// notifications).
void WithdrawPosted(UINT message, WPARAM wparam) {
  std::erase_if(MessageQueue.posted,
                [&](const MSG& m) { return m.message == message && m.wParam == wparam; });
}

void ResetMessageQueue() { MessageQueue = MessageQueueState{}; }

}  // namespace platform

BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filter_min, UINT filter_max, UINT remove) {
  using namespace platform;
  Backend& backend = CurrentBackend();
  backend.PollEvents();
  const bool take = (remove & PM_REMOVE) != 0;

  for (auto it = MessageQueue.posted.begin(); it != MessageQueue.posted.end(); ++it) {
    if (!Matches(*it, hwnd, filter_min, filter_max)) continue;
    *msg = *it;
    if (take) MessageQueue.posted.erase(it);
    return TRUE;
  }
  if (MessageQueue.quit_posted &&
      Matches(Make(nullptr, WM_QUIT, 0, 0), nullptr, filter_min, filter_max)) {
    *msg = Make(nullptr, WM_QUIT, static_cast<WPARAM>(MessageQueue.quit_code), 0);
    if (take) MessageQueue.quit_posted = false;
    return TRUE;
  }
  if (HWND paint = WindowNeedingPaint()) {
    MSG m = Make(paint, WM_PAINT, 0, 0);
    if (Matches(m, hwnd, filter_min, filter_max)) {
      // The message stays until the window's update region is validated.
      *msg = m;
      return TRUE;
    }
  }
  const std::uint32_t now = backend.Now();
  for (auto& t : MessageQueue.timers) {
    if (!Reached(now, t.due)) continue;
    MSG m = Make(t.hwnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc));
    if (!Matches(m, hwnd, filter_min, filter_max)) continue;
    *msg = m;
    // A late timer fires once, not once per missed period.
    if (take) {
      while (Reached(now, t.due)) t.due += t.period;
    }
    return TRUE;
  }
  // A deadline counts only while the program paces itself by the clock: a wait that reads
  // no tick (a nested dialog's loop, say) must not be put to sleep by an outer one.
  backend.Idle(NextTimerDue(), MessageQueue.tick_read,
               MessageQueue.tick_read ? MessageQueue.wait_deadline : std::nullopt);
  MessageQueue.tick_read = false;
  return FALSE;
}

BOOL TranslateMessage(const MSG* msg) { return msg != nullptr && msg->message == WM_KEYDOWN; }

LRESULT DispatchMessageA(const MSG* msg) {
  if (msg == nullptr) return 0;
  if (msg->message == WM_TIMER && msg->lParam != 0) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    proc(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
    return 0;
  }
  platform::WindowRecord* w = platform::FindWindowRecord(msg->hwnd);
  if (w == nullptr || w->foreign) return 0;
  return w->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  platform::WindowRecord* w = platform::FindWindowRecord(hwnd);
  if (w == nullptr || w->foreign) return 0;
  return w->proc(hwnd, msg, wparam, lparam);
}

BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (hwnd != nullptr && platform::FindWindowRecord(hwnd) == nullptr) return FALSE;
  platform::MessageQueue.posted.push_back(platform::Make(hwnd, msg, wparam, lparam));
  return TRUE;
}

void PostQuitMessage(int exit_code) {
  platform::MessageQueue.quit_posted = true;
  platform::MessageQueue.quit_code = exit_code;
}

std::uintptr_t SetTimer(HWND hwnd, std::uintptr_t id, UINT elapse_ms, TIMERPROC proc) {
  auto& timers = platform::MessageQueue.timers;
  if (hwnd != nullptr && platform::FindWindowRecord(hwnd) == nullptr) return 0;
  elapse_ms = std::max<UINT>(elapse_ms, 1);
  const std::uint32_t due = platform::CurrentBackend().Now() + elapse_ms;
  for (auto& t : timers) {
    if (t.hwnd == hwnd && t.id == id) {
      t = platform::WindowTimer{hwnd, id, elapse_ms, due, proc};
      return id == 0 ? 1 : id;
    }
  }
  timers.push_back(platform::WindowTimer{hwnd, id, elapse_ms, due, proc});
  return id == 0 ? 1 : id;
}

BOOL KillTimer(HWND hwnd, std::uintptr_t id) {
  auto& timers = platform::MessageQueue.timers;
  auto it = std::find_if(timers.begin(), timers.end(), [&](const platform::WindowTimer& t) {
    return t.hwnd == hwnd && t.id == id;
  });
  if (it == timers.end()) return FALSE;
  timers.erase(it);
  return TRUE;
}

DWORD GetTickCount() {
  platform::MessageQueue.tick_read = true;
  return platform::CurrentBackend().Now();
}

std::int16_t GetAsyncKeyState(int virtual_key) {
  if (virtual_key < 0 || virtual_key >= 256) return 0;
  return platform::MessageQueue.keys[static_cast<std::size_t>(virtual_key)]
             ? static_cast<std::int16_t>(0x8000)
             : 0;
}
