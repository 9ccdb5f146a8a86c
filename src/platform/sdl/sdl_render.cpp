// Frames: the client area from its surface, then the menu bar, dialogs and boxes over it.
// Frames are drawn when something changed, at most every few milliseconds from the pump,
// and before the program sleeps; only what changed is converted and sent to the display.
#include "platform/common/window_table.h"
#include "platform/sdl/sdl_backend.h"

namespace platform::sdl {

bool SdlBackend::UiActive() const {
  return menu_bar_.active() || dialog_.active() || message_box_.is_open();
}

bool SdlBackend::NeedsRender() {
  // Nothing is drawn while the window is hidden or minimised; it is drawn whole when shown.
  if (!view_.Drawable()) return false;
  // An open drop-down is drawn continuously; dialogs and boxes change only with input.
  return content_dirty_ || chrome_dirty_ || repaint_all_ || frames_pending_ > 0 ||
         (menu_bar_.active() && Now() - last_render_ >= 33);
}

ViewGeometry SdlBackend::Geometry(const WindowRecord& w, int window_w, int window_h) {
  if (view_.full_screen())
    return ViewGeometry::Scaled(ScreenWidth(), ScreenHeight(), window_w, window_h);
  return ViewGeometry::Window(w.outer.left, w.outer.top, window_w, window_h);
}

void SdlBackend::Render() {
  last_render_ = Now();
  int width = 0, height = 0;
  if (!view_.Begin(&width, &height)) return;
  if (view_.TakeRenewed()) repaint_all_ = true;
  if (frames_pending_ > 0) --frames_pending_;
  if (box_own_window_) {
    view_.BeginUi(1.0f);
    message_box_.Draw(width, height, true);
    view_.EndUi();
    view_.EndAll();
    repaint_all_ = true;
    return;
  }
  WindowRecord* w = Main();
  if (w == nullptr) return;
  const ViewGeometry g = Geometry(*w, width, height);
  POINT origin{0, 0};
  ClientToScreen(main_, &origin);
  const PixelRect client = g.ToWindow(origin.x, origin.y, w->client_width, w->client_height);
  // Menus and boxes cover part of the client area, now or in the last frame: the window is
  // drawn and sent whole.
  const bool overlay = UiActive() || overlay_shown_;
  const bool all = repaint_all_ || overlay;
  const bool chrome = all || chrome_dirty_ || frames_pending_ > 0;
  std::vector<PixelRect> dirty;
  if (repaint_all_) {
    // What neither the bar nor the client area covers (the sides of a scaled full screen).
    view_.FillBlack(PixelRect{0, 0, width, client.y});
    view_.FillBlack(PixelRect{0, client.bottom(), width, height - client.bottom()});
    view_.FillBlack(PixelRect{0, client.y, client.x, client.h});
    view_.FillBlack(PixelRect{client.right(), client.y, width - client.right(), client.h});
  }
  if (all || content_dirty_) {
    const PixelRect drawn = view_.DrawClient(*w, g, origin.x, origin.y, client, all);
    if (!drawn.empty()) dirty.push_back(drawn);
  }
  content_dirty_ = false;
  repaint_all_ = false;
  if (chrome) {
    chrome_dirty_ = false;
    view_.BeginUi(g.scale());
    // In full screen the bar stays black until the window draws it (mouse at the top or a
    // menu opening).
    menu_bar_.Draw(*w, g, w->menu_bar_black && !menu_bar_.active(), &menu_actions_);
    dialog_.Draw(g, origin.x, origin.y);
    message_box_.Draw(width, height, false);
    view_.EndUi();
    dirty.push_back(menu_bar_.drawn());
  }
  overlay_shown_ = UiActive();
  if (all) {
    view_.EndAll();
  } else {
    view_.End(dirty);
  }
  // Menu choices reach the window once the frame is done (not while ImGui draws).
  if (!message_box_.is_open()) RunMenuActions();
}

}  // namespace platform::sdl
