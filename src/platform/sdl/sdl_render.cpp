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
  int points_w = 0, points_h = 0;
  view_.Size(&points_w, &points_h);
  return ViewGeometry::Window(w.outer.left, w.outer.top, points_w, points_h, window_w, window_h);
}

WindowLayout SdlBackend::Layout(const WindowRecord& w, int window_w, int window_h) {
  POINT origin{0, 0};
  ClientToScreen(w.handle, &origin);
  return LayOutWindow(Geometry(w, window_w, window_h),
                      PixelRect{origin.x, origin.y, w.client_width, w.client_height}, ScreenWidth(),
                      ScreenHeight(), view_.full_screen(), w.surface.width, w.surface.height,
                      CurrentPresentation().mode, window_w, window_h);
}

void SdlBackend::PresentationChanged() { repaint_all_ = true; }

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
  const WindowLayout layout = Layout(*w, width, height);
  const ViewGeometry& g = layout.screen;
  const PictureView& picture = layout.picture;
  const PixelRect shown = Intersect(picture.placed, PixelRect{0, 0, width, height});
  POINT origin{0, 0};
  ClientToScreen(main_, &origin);
  // In full screen the bar lies over the picture: the picture shows where it is painted over
  // (black), and whenever that changes the picture is drawn again under it.
  const bool bar_over_picture = view_.full_screen();
  const bool bar_black = w->menu_bar_black && !menu_bar_.active();
  // Menus and boxes cover part of the picture, now or in the last frame: the window is drawn
  // and sent whole.
  const bool overlay = UiActive() || overlay_shown_;
  const bool all = repaint_all_ || overlay || (bar_over_picture && bar_black != bar_black_shown_);
  const bool chrome = all || chrome_dirty_ || frames_pending_ > 0 ||
                      (bar_over_picture && !bar_black && content_dirty_);
  std::vector<PixelRect> dirty;
  if (all) {
    // What the picture does not cover: the bands beside it, the bar's place in a window.
    view_.FillBlack(PixelRect{0, 0, width, shown.y});
    view_.FillBlack(PixelRect{0, shown.bottom(), width, height - shown.bottom()});
    view_.FillBlack(PixelRect{0, shown.y, shown.x, shown.h});
    view_.FillBlack(PixelRect{shown.right(), shown.y, width - shown.right(), shown.h});
  }
  if (all || content_dirty_) {
    const PixelRect drawn =
        view_.DrawClient(*w, picture, CurrentPresentation().filter == ScaleFilter::kSmooth, all);
    if (!drawn.empty()) dirty.push_back(drawn);
  }
  content_dirty_ = false;
  repaint_all_ = false;
  if (chrome) {
    chrome_dirty_ = false;
    view_.BeginUi(g.scale());
    // In full screen the bar stays painted over until the window draws it (mouse at the top
    // or a menu opening).
    menu_bar_.Draw(*w, g, bar_black, &menu_actions_);
    dialog_.Draw(g, origin.x, origin.y);
    message_box_.Draw(width, height, false);
    view_.EndUi();
    dirty.push_back(menu_bar_.drawn());
    bar_black_shown_ = bar_black;
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
