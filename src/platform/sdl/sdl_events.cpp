// Desktop events into the window's messages: mouse, keys, focus, minimise and the close
// button; Alt+letter for the menu bar.
#include <algorithm>
#include <cstdint>

#include "platform/common/audio_devices.h"
#include "platform/common/input_state.h"
#include "platform/common/window_table.h"
#include "platform/sdl/key_map.h"
#include "platform/sdl/mixer.h"
#include "platform/sdl/sdl_backend.h"

namespace platform::sdl {
namespace {

constexpr WPARAM kLeftButton = 0x0001;   // MK_LBUTTON
constexpr WPARAM kRightButton = 0x0002;  // MK_RBUTTON
constexpr WORD kMenuPopup = 0x0010;      // MF_POPUP
constexpr WORD kMenuHilite = 0x0080;     // MF_HILITE

LPARAM Point(POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

}  // namespace

bool NeedsOwnFrame(const SDL_Event& e) {
  return e.type == SDL_KEYDOWN || e.type == SDL_KEYUP || e.type == SDL_MOUSEBUTTONDOWN ||
         e.type == SDL_MOUSEBUTTONUP;
}

void SdlBackend::PollEvents() {
  // A music stop that the same call of the program did not follow with a replay is heard.
  mixer::SettleTrack();
  // Inside the menu loop its own pass reads the events.
  if (!started_ || in_menu_loop_) return;
  // Each look into the display's queue reads its socket, and the program peeks at its
  // messages many times a millisecond: the queue is read again only once the tick has moved
  // on since it was last found empty, or an event has woken the program, so an event waits
  // at most a millisecond.
  const std::uint32_t now = Now();
  if (queue_read_tick_ != now) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
      HandleEvent(e);
      if (UiActive() && NeedsOwnFrame(e)) Render();
    }
    queue_read_tick_ = now;
  }
  FlushMouseMotion();
  RunMenuActions();
  SyncWindowState();
  EndTitleNoteWhenDue();
  if (NeedsRender() && Now() - last_render_ >= 8) Render();
  if (menu_bar_.active() && !message_box_.is_open() && !dialog_.active()) RunMenuLoop();
}

bool SdlBackend::EventPrologue(const SDL_Event& e) {
  if (e.type != 0 && e.type == mixer::WaveDoneEventType()) {
    if (mixer::WaveDone(e.user.code)) WaveBufferPlayed();
    return true;
  }
  switch (e.type) {
    case SDL_WINDOWEVENT:
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
    case SDL_TEXTINPUT:
    case SDL_KEYDOWN:
    case SDL_KEYUP: view_.ImGuiEvent(e); break;
    default: break;
  }
  return false;
}

void SdlBackend::HandleEvent(const SDL_Event& e) {
  if (EventPrologue(e)) return;
  switch (e.type) {
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          if (main_ != nullptr) {
            recorder_.Close(Now());
            PostMessageA(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
          }
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED: NoteDesktopState(e.window.event); break;
        case SDL_WINDOWEVENT_LEAVE:
          if (mouse_over_bar_) chrome_dirty_ = true;
          mouse_over_bar_ = false;
          break;
        case SDL_WINDOWEVENT_MOVED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          // As on the desktop, a window that moves under the mouse hears where it is now.
          MouseWhereItIs();
          repaint_all_ = true;
          break;
        default:
          // Exposed, shown: draw everything again.
          repaint_all_ = true;
          break;
      }
      break;
    case SDL_MOUSEMOTION: {
      motion_pending_ = true;
      motion_x_ = e.motion.x;
      motion_y_ = e.motion.y;
      ToPixels(&motion_x_, &motion_y_);
      // Hovering the bar highlights its items.
      const bool over =
          menu_bar_.Contains(static_cast<float>(motion_x_), static_cast<float>(motion_y_));
      if (over || mouse_over_bar_ || UiActive()) chrome_dirty_ = true;
      mouse_over_bar_ = over;
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: HandleMouseButton(e.button); break;
    case SDL_MOUSEWHEEL:
      if (UiActive()) {
        chrome_dirty_ = true;
      } else if (Main() != nullptr) {
        const int notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        if (notches != 0) {
          recorder_.Wheel(Now(), notches);
          PostInput(WM_MOUSEWHEEL,
                    static_cast<WPARAM>(static_cast<WORD>(notches * WHEEL_DELTA)) << 16, 0);
        }
      }
      break;
    case SDL_TEXTINPUT:
      if (UiActive()) chrome_dirty_ = true;
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: HandleKey(e.key); break;
    default: break;
  }
}

void SdlBackend::NoteDesktopState(Uint8 window_event) {
  switch (window_event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED: desktop_focus_ = true; break;
    case SDL_WINDOWEVENT_FOCUS_LOST: desktop_focus_ = false; break;
    case SDL_WINDOWEVENT_MINIMIZED: desktop_minimized_ = true; break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED: desktop_minimized_ = false; break;
    default: break;
  }
}

void SdlBackend::HandleModalEvent(const SDL_Event& e) {
  if (EventPrologue(e)) return;
  switch (e.type) {
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_RESTORED: NoteDesktopState(e.window.event); break;
        case SDL_WINDOWEVENT_CLOSE:
          // Our window is busy with its box; a box in a window of its own closes.
          if (box_own_window_) message_box_.CloseButton();
          break;
        default: repaint_all_ = true; break;
      }
      break;
    case SDL_KEYUP:
      // A key let go while the box is up is up for the program too.
      if (const int vk = VirtualKey(e.key.keysym.sym)) SetKeyState(vk, false);
      [[fallthrough]];
    case SDL_KEYDOWN:
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
    case SDL_TEXTINPUT:
      frames_pending_ = std::max(frames_pending_, 2);
      chrome_dirty_ = true;
      break;
    default: break;
  }
}

void SdlBackend::HandleMouseButton(const SDL_MouseButtonEvent& b) {
  const bool down = b.type == SDL_MOUSEBUTTONDOWN;
  int x = b.x, y = b.y;
  ToPixels(&x, &y);
  // Menus and boxes take the mouse while they are open, and the bar takes its own clicks.
  if (UiActive() || menu_bar_.Contains(static_cast<float>(x), static_cast<float>(y))) {
    chrome_dirty_ = true;
    frames_pending_ = std::max(frames_pending_, 2);
    return;
  }
  WindowRecord* w = Main();
  if (w == nullptr) return;
  UINT message = 0;
  WPARAM keys = 0;
  if (b.button == SDL_BUTTON_LEFT) {
    message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    keys = down ? kLeftButton : 0;
  } else if (b.button == SDL_BUTTON_RIGHT) {
    message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    keys = down ? kRightButton : 0;
  } else {
    return;
  }
  FlushMouseMotion();
  const POINT p = ClientPoint(x, y);
  if (p.x < 0 || p.y < 0 || p.x >= w->client_width || p.y >= w->client_height) return;
  if (down) recorder_.Click(Now(), b.button == SDL_BUTTON_LEFT);
  PostInput(message, keys, Point(p));
}

void SdlBackend::MouseWhereItIs() {
  int x = 0, y = 0, left = 0, top = 0, width = 0, height = 0;
  SDL_GetGlobalMouseState(&x, &y);
  SDL_GetWindowPosition(view_.window(), &left, &top);
  view_.Size(&width, &height);
  x -= left;
  y -= top;
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  ToPixels(&x, &y);
  motion_pending_ = true;
  motion_x_ = x;
  motion_y_ = y;
}

void SdlBackend::FlushMouseMotion() {
  if (!motion_pending_) return;
  motion_pending_ = false;
  if (Main() == nullptr || UiActive()) return;
  const POINT p = ClientPoint(motion_x_, motion_y_);
  // Only a point over the client area reaches the game as a move (MouseAt).
  if (const WindowRecord* w = Main();
      p.x >= 0 && p.y >= 0 && p.x < w->client_width && p.y < w->client_height) {
    recorder_.Move(Now(), p.x, p.y);
  }
  MouseAt(p.x, p.y);
}

void SdlBackend::HandleKey(const SDL_KeyboardEvent& key) {
  const int vk = VirtualKey(key.keysym.sym);
  const bool focused = main_ != nullptr && GetFocus() == main_;
  const SDL_Keycode sym = key.keysym.sym;
  const bool alt_key = sym == SDLK_LALT || sym == SDLK_RALT;
  if (key.type == SDL_KEYUP) {
    // Alt let go with no key pressed meanwhile puts the menu bar in use, as F10 does.
    if (alt_key && alt_alone_ && !UiActive()) OpenMenuByKeyboard();
    alt_alone_ = false;
    if (vk != 0 && (GetAsyncKeyState(vk) & 0x8000)) {
      recorder_.KeyUp(Now(), vk);
      SetKeyState(vk, false);
      if (focused) PostInput(WM_KEYUP, static_cast<WPARAM>(vk), static_cast<LPARAM>(0xC0000001u));
    }
    return;
  }
  alt_alone_ = alt_key && !key.repeat;
  // Open menus and boxes have the keyboard.
  if (UiActive()) {
    chrome_dirty_ = true;
    frames_pending_ = std::max(frames_pending_, 2);
    return;
  }
  // F12 is the screenshot key: the game never hears it.
  if (sym == SDLK_F12) {
    if (!key.repeat) TakeScreenshot();
    return;
  }
  if (sym == SDLK_F10 && !key.repeat) {
    OpenMenuByKeyboard();
    return;
  }
  if ((key.keysym.mod & KMOD_ALT) && !key.repeat && sym >= SDLK_a && sym <= SDLK_z) {
    if (WindowRecord* w = Main();
        w != nullptr &&
        menu_bar_.Mnemonic(*w, static_cast<char>('a' + (sym - SDLK_a)), &menu_actions_)) {
      chrome_dirty_ = true;
      frames_pending_ = std::max(frames_pending_, 2);
      return;
    }
  }
  if (vk == 0) return;
  // The game reads keys by their state, and a press it can see is one of a focused window.
  if (focused && !key.repeat) recorder_.KeyDown(Now(), vk);
  SetKeyState(vk, true);
  if (focused) PostInput(WM_KEYDOWN, static_cast<WPARAM>(vk), key.repeat ? 0x40000001 : 1);
}

void SdlBackend::ToPixels(int* x, int* y) const {
  int points_w = 0, points_h = 0, pixels_w = 0, pixels_h = 0;
  view_.Size(&points_w, &points_h);
  view_.PixelSize(&pixels_w, &pixels_h);
  if (points_w <= 0 || points_h <= 0 || (points_w == pixels_w && points_h == pixels_h)) return;
  *x = static_cast<int>(static_cast<std::int64_t>(*x) * pixels_w / points_w);
  *y = static_cast<int>(static_cast<std::int64_t>(*y) * pixels_h / points_h);
}

POINT SdlBackend::ClientPoint(int window_x, int window_y) {
  WindowRecord* w = Main();
  if (w == nullptr) return POINT{-1, -1};
  int width = 0, height = 0;
  view_.PixelSize(&width, &height);
  const PixelPoint p = ClientPointAt(Layout(*w, width, height), window_x, window_y);
  return POINT{p.x, p.y};
}

void SdlBackend::OpenMenuByKeyboard() {
  WindowRecord* w = Main();
  if (w == nullptr || !menu_bar_.OpenFirst(*w, &menu_actions_)) return;
  chrome_dirty_ = true;
  frames_pending_ = std::max(frames_pending_, 2);
}

void SdlBackend::RunMenuLoop() {
  // As a desktop menu does, an open drop-down holds the program in its own loop: the game's
  // waits stand still until the menu closes; the window's timer goes on.
  in_menu_loop_ = true;
  while (started_ && menu_bar_.active()) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
      HandleEvent(e);
      // Each key must reach the menu in a frame of its own, or quick keys run together.
      if (NeedsOwnFrame(e)) Render();
    }
    FlushMouseMotion();
    RunMenuActions();
    SyncWindowState();
    if (NeedsRender()) Render();
    // Waits in Idle until the next event, frame or timer.
    MSG timer;
    while (PeekMessageA(&timer, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) DispatchMessageA(&timer);
  }
  in_menu_loop_ = false;
}

void SdlBackend::RunMenuActions() {
  std::vector<MenuAction> actions;
  actions.swap(menu_actions_);
  if (main_ == nullptr || actions.empty()) return;
  // The bar looks different after any of these (open item, closed drop-down).
  chrome_dirty_ = true;
  for (const MenuAction& a : actions) {
    switch (a.kind) {
      case MenuAction::kSelect: {
        const WORD flags = static_cast<WORD>(kMenuHilite | (a.popup ? kMenuPopup : 0));
        SendMessageA(main_, WM_MENUSELECT,
                     static_cast<WPARAM>(MAKELPARAM(static_cast<WORD>(a.value), flags)),
                     reinterpret_cast<LPARAM>(GetMenu(main_)));
        break;
      }
      case MenuAction::kClosed:
        SendMessageA(main_, WM_MENUSELECT, static_cast<WPARAM>(MAKELPARAM(0, 0xFFFF)), 0);
        break;
      case MenuAction::kCommand:
        recorder_.Menu(Now(), static_cast<int>(a.value));
        PostMessageA(main_, WM_COMMAND, static_cast<WPARAM>(a.value), 0);
        break;
    }
  }
}

void SdlBackend::SyncWindowState() {
  if (Main() == nullptr) return;
  if (desktop_focus_ != reported_focus_) {
    reported_focus_ = desktop_focus_;
    recorder_.Focus(Now(), desktop_focus_);
    SetFocusWindow(desktop_focus_ ? main_ : nullptr);
    // Keys let go while another program has the focus are never seen.
    if (!desktop_focus_) ResetKeyState();
    for (HWND hwnd : OwnTopLevelWindows()) {
      SendMessageA(hwnd, WM_ACTIVATEAPP, desktop_focus_ ? TRUE : FALSE, 0);
      SendMessageA(hwnd, WM_ACTIVATE, desktop_focus_ ? WA_ACTIVE : WA_INACTIVE, 0);
    }
  }
  if (WindowRecord* w = Main(); w != nullptr && desktop_minimized_ != w->iconic) {
    ShowWindow(main_, desktop_minimized_ ? SW_MINIMIZE : SW_RESTORE);
  }
  if (WindowRecord* w = Main(); w != nullptr && w->visible != view_.shown()) FollowWindow(*w);
}

}  // namespace platform::sdl
