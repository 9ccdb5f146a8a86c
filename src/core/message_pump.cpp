#include "core/message_pump.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "platform/trace.h"
#include "platform/wait_deadline.h"

#include "core/exit_program.h"
#include "core/input_state.h"
#include "core/window_state.h"

namespace core {

void (*PollCdHook)() = nullptr;

namespace {

// Milliseconds since `start`, as the absolute signed difference of the ticks.
std::uint32_t Elapsed(std::uint32_t start) {
  const auto diff = static_cast<std::int32_t>(GetTickCount() - start);
  return static_cast<std::uint32_t>(std::abs(static_cast<std::int64_t>(diff)));
}

bool TimeUp(std::uint32_t start, std::uint16_t count) {
  return Elapsed(start) > static_cast<std::uint32_t>(count) * 10;
}

// Tells the platform, for the span of one timed wait, the first tick at which it ends (the
// elapsed time must be more than count × 10 ms), so that the backend sleeps until then
// rather than waking every millisecond; a wait nested inside (a dialog opened from the
// pump) tells its own and gives the outer one back.
class WaitDeadlineScope {
 public:
  WaitDeadlineScope(std::uint32_t start, std::uint16_t count) : outer_(platform::WaitDeadline()) {
    platform::SetWaitDeadline(start + static_cast<std::uint32_t>(count) * 10 + 1);
  }
  ~WaitDeadlineScope() { platform::SetWaitDeadline(outer_); }
  WaitDeadlineScope(const WaitDeadlineScope&) = delete;
  WaitDeadlineScope& operator=(const WaitDeadlineScope&) = delete;

 private:
  std::optional<std::uint32_t> outer_;
};

// "all", or the picture rectangle; an empty rectangle presents nothing.
void TracePresent(const RECT* rect) {
  if (rect == nullptr) {
    platform::Trace("present", "all");
    return;
  }
  if (rect->right <= rect->left || rect->bottom <= rect->top) return;
  platform::Trace("present", std::to_string(rect->left) + ' ' + std::to_string(rect->top) + ' ' +
                                 std::to_string(rect->right) + ' ' + std::to_string(rect->bottom));
}

}  // namespace

int PumpMessage() {
  MSG msg;
  if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (msg.message == WM_QUIT) ExitProgram(nullptr);
    PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    PollKeys();
  }
  if (PollCdHook != nullptr) PollCdHook();
  return 0;
}

void PollKeys() {
  if (GetFocus() != Window.MainWindow) return;
  static constexpr std::pair<int, std::uint8_t> kKeys[] = {
      {VK_UP, kInputUp},         {VK_RIGHT, kInputRight}, {VK_DOWN, kInputDown},
      {VK_LEFT, kInputLeft},     {VK_SPACE, kInputSpace}, {VK_RETURN, kInputDecide},
      {VK_ESCAPE, kInputCancel}, {VK_HOME, kInputCancel},
  };
  std::uint8_t held = 0;
  for (const auto& [key, bit] : kKeys) {
    if (GetAsyncKeyState(key) & 0x8000) held |= bit;
  }
  const std::uint8_t pressed = held & static_cast<std::uint8_t>(~Input.KeysPrevious);
  Input.KeysPrevious = held;
  Input.InputEvents |= pressed;
}

void Wait(std::uint16_t count) {
  if (count == 0) return;
  WaitSince(GetTickCount(), count);
}

void WaitSince(std::uint32_t start, std::uint16_t count) {
  const WaitDeadlineScope deadline(start, count);
  do {
    PumpMessage();
  } while (!TimeUp(start, count) && Input.SkipMode != 1);
}

int WaitInputSince(std::uint32_t start, std::uint16_t count) {
  const WaitDeadlineScope deadline(start, count);
  for (;;) {
    PumpMessage();
    if (Input.InputEvents & (kInputDecide | kInputCancel)) {
      ClearInput();
      return 1;
    }
    if (TimeUp(start, count)) return 0;
    if (Input.SkipMode == 1) return 0;
  }
}

void WaitClick() {
  Input.InputEvents &= static_cast<std::uint16_t>(~(kInputDecide | kInputSpace));
  while (!(Input.InputEvents & (kInputDecide | kInputSpace))) PumpMessage();
  Input.InputEvents &= static_cast<std::uint16_t>(~(kInputDecide | kInputSpace));
}

void WaitAnyButton() {
  constexpr std::uint16_t kButtons = kInputCancel | kInputDecide | kInputSpace;
  Input.InputEvents &= static_cast<std::uint16_t>(~kButtons);
  while (!(Input.InputEvents & kButtons)) PumpMessage();
}

void ClearInput() { Input.InputEvents = 0; }

void PlaceCursor(std::uint16_t x, std::uint16_t y) {
  POINT p{x, y};
  ClientToScreen(Window.MainWindow, &p);
  SetCursorPos(p.x, p.y);
  Input.MouseX = x;
  Input.MouseY = y;
}

void Present(RECT* rect) {
  if (platform::TraceEnabled("present")) TracePresent(rect);
  if (rect == nullptr) {
    InvalidateRect(Window.MainWindow, nullptr, FALSE);
    UpdateWindow(Window.MainWindow);
    return;
  }
  if (rect->right <= rect->left || rect->bottom <= rect->top) return;
  const std::int64_t w = Window.ClientWidth;
  const std::int64_t h = Window.ClientHeight;
  RECT client{static_cast<LONG>(w * rect->left / 640), static_cast<LONG>(h * rect->top / 400),
              static_cast<LONG>(w * rect->right / 640 + 1),
              static_cast<LONG>(h * rect->bottom / 400 + 1)};
  InvalidateRect(Window.MainWindow, &client, FALSE);
  *rect = RECT{640, 400, 0, 0};
  UpdateWindow(Window.MainWindow);
}

std::uint8_t Random(std::uint16_t mode) {
  switch (mode) {
    case 0: Input.RandomState = static_cast<std::uint16_t>(GetTickCount() & 0xFFFF); break;
    case 1: Input.RandomState ^= static_cast<std::uint16_t>(GetTickCount() & 0xFFFF); break;
    case 2: {
      const unsigned f = ((Input.RandomState >> 15) ^ (Input.RandomState >> 4)) & 1;
      Input.RandomState = static_cast<std::uint16_t>((Input.RandomState << 1) + f);
      if (f == 0) {
        Input.RandomState |= 0x80;
      } else {
        Input.RandomState &= static_cast<std::uint16_t>(~0x80);
      }
      break;
    }
    default: break;
  }
  return static_cast<std::uint8_t>((Input.RandomState >> 8) ^ (Input.RandomState & 0xFF));
}

}  // namespace core
