// The message queue of the one thread: posted and input messages, the quit flag, window
// timers, and the keyboard state.
#include <algorithm>
#include <array>
#include <deque>
#include <optional>
#include <vector>

#include "platform/backend.h"
#include "platform/common/input_state.h"
#include "platform/common/window_table.h"
#include "platform/wait_deadline.h"

namespace platform {
namespace {

struct Timer {
  HWND hwnd;
  std::uintptr_t id;
  UINT period;
  std::uint32_t due;
  TIMERPROC proc;
};

std::deque<MSG> g_posted;
std::vector<Timer> g_timers;
bool g_quit_posted = false;
int g_quit_code = 0;
std::array<bool, 256> g_keys{};
// The tick count was read since the last idle: the program is pacing itself by the clock.
bool g_tick_read = false;
// The tick the running wait of the game ends at, when it has told.
std::optional<std::uint32_t> g_wait_deadline;

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
  for (const auto& t : g_timers) {
    if (!next || static_cast<std::int32_t>(t.due - *next) < 0) next = t.due;
  }
  return next;
}

}  // namespace

void SetKeyState(int virtual_key, bool down) {
  if (virtual_key >= 0 && virtual_key < 256) g_keys[static_cast<std::size_t>(virtual_key)] = down;
}

void ResetKeyState() { g_keys.fill(false); }

void SetWaitDeadline(std::optional<std::uint32_t> tick) { g_wait_deadline = tick; }
std::optional<std::uint32_t> WaitDeadline() { return g_wait_deadline; }

void PostInput(UINT message, WPARAM wparam, LPARAM lparam) {
  g_posted.push_back(Make(InputWindow(), message, wparam, lparam));
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
  std::erase_if(g_posted, [&](const MSG& m) { return m.message == message && m.wParam == wparam; });
}

void ResetMessageQueue() {
  g_posted.clear();
  g_timers.clear();
  g_quit_posted = false;
  g_quit_code = 0;
  g_wait_deadline.reset();
  ResetKeyState();
}

}  // namespace platform

BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT filter_min, UINT filter_max, UINT remove) {
  using namespace platform;
  Backend& backend = CurrentBackend();
  backend.PollEvents();
  const bool take = (remove & PM_REMOVE) != 0;

  for (auto it = g_posted.begin(); it != g_posted.end(); ++it) {
    if (!Matches(*it, hwnd, filter_min, filter_max)) continue;
    *msg = *it;
    if (take) g_posted.erase(it);
    return TRUE;
  }
  if (g_quit_posted && Matches(Make(nullptr, WM_QUIT, 0, 0), nullptr, filter_min, filter_max)) {
    *msg = Make(nullptr, WM_QUIT, static_cast<WPARAM>(g_quit_code), 0);
    if (take) g_quit_posted = false;
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
  for (auto& t : g_timers) {
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
  backend.Idle(NextTimerDue(), g_tick_read, g_tick_read ? g_wait_deadline : std::nullopt);
  g_tick_read = false;
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
  platform::g_posted.push_back(platform::Make(hwnd, msg, wparam, lparam));
  return TRUE;
}

void PostQuitMessage(int exit_code) {
  platform::g_quit_posted = true;
  platform::g_quit_code = exit_code;
}

std::uintptr_t SetTimer(HWND hwnd, std::uintptr_t id, UINT elapse_ms, TIMERPROC proc) {
  using platform::g_timers;
  if (hwnd != nullptr && platform::FindWindowRecord(hwnd) == nullptr) return 0;
  elapse_ms = std::max<UINT>(elapse_ms, 1);
  const std::uint32_t due = platform::CurrentBackend().Now() + elapse_ms;
  for (auto& t : g_timers) {
    if (t.hwnd == hwnd && t.id == id) {
      t = platform::Timer{hwnd, id, elapse_ms, due, proc};
      return id == 0 ? 1 : id;
    }
  }
  g_timers.push_back(platform::Timer{hwnd, id, elapse_ms, due, proc});
  return id == 0 ? 1 : id;
}

BOOL KillTimer(HWND hwnd, std::uintptr_t id) {
  using platform::g_timers;
  auto it = std::find_if(g_timers.begin(), g_timers.end(),
                         [&](const platform::Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == g_timers.end()) return FALSE;
  g_timers.erase(it);
  return TRUE;
}

DWORD GetTickCount() {
  platform::g_tick_read = true;
  return platform::CurrentBackend().Now();
}

std::int16_t GetAsyncKeyState(int virtual_key) {
  if (virtual_key < 0 || virtual_key >= 256) return 0;
  return platform::g_keys[static_cast<std::size_t>(virtual_key)] ? static_cast<std::int16_t>(0x8000)
                                                                 : 0;
}
