// The SDL window and how a frame reaches it: pixels are written straight into the window
// surface (the client area converted from its surface, scaled in full screen), Dear ImGui
// draws the menu bar, dialogs and message boxes over them through a software renderer on
// that same surface, and only the changed rectangles are sent to the display. Presents
// never wait for vertical sync.
#pragma once

#include <SDL.h>
#include <imgui.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/common/window_table.h"
#include "platform/sdl/picture_placement.h"
#include "platform/sdl/pixel_convert.h"
#include "platform/sdl/ui_font.h"
#include "platform/sdl/view_geometry.h"

namespace platform::sdl {

class WindowView {
 public:
  WindowView() = default;
  WindowView(const WindowView&) = delete;
  WindowView& operator=(const WindowView&) = delete;
  ~WindowView();

  // Creates the (hidden) window, the ImGui context and the font at `font_pixels`.
  bool Open(int font_pixels, std::string* error);
  void Close();
  bool is_open() const { return window_ != nullptr; }

  SDL_Window* window() const { return window_; }
  // The X11 window, 0 when not on X11.
  std::uint64_t NativeId() const;
  void SetTitle(const std::string& title);
  void SetSize(int width, int height);
  void SetPosition(int x, int y);
  void Show();
  void Hide();
  bool shown() const { return shown_; }
  // Shown and not minimised: frames can be drawn.
  bool Drawable() const;
  void SetFullScreen(bool on);
  bool full_screen() const { return full_screen_; }
  // Size of the window in the desktop's points, as window positions and mouse events count,
  // and in drawable pixels (more on a high-density display).
  void Size(int* width, int* height) const;
  void PixelSize(int* width, int* height) const;

  // Every character of `text` can be drawn from now on (call outside a frame).
  void Cover(std::string_view text);
  float TextWidth(std::string_view text);
  float font_pixels() const { return font_.pixel_size(); }

  // Feeds an event to ImGui's input.
  void ImGuiEvent(const SDL_Event& event);

  // A frame: Begin makes the window surface ready (false when nothing can be drawn), the
  // drawing calls and ImGui calls between BeginUi and EndUi fill it, End sends `dirty` to
  // the display, EndAll the whole window.
  bool Begin(int* width, int* height);
  // True once after the window surface was made anew (its pixels are lost).
  bool TakeRenewed();
  void FillBlack(const PixelRect& r);
  // The picture of `w`'s client surface where `view` places it (window pixels), by nearest
  // pixels or, where the scale is not whole, `smooth`ly blended. Unless `whole`, only the
  // rows that changed since the last call are drawn. Returns the window pixels drawn.
  PixelRect DrawClient(const WindowRecord& w, const PictureView& view, bool smooth, bool whole);
  // `scale` enlarges ImGui's text and sizes (full screen).
  void BeginUi(float scale);
  void EndUi();
  void End(const std::vector<PixelRect>& dirty);
  void EndAll();

 private:
  bool AcquireSurface();
  void ReleaseRenderer();

  SDL_Window* window_ = nullptr;
  SDL_Surface* surface_ = nullptr;    // the window surface; SDL owns it
  SDL_Renderer* renderer_ = nullptr;  // software, drawing into surface_
  ImGuiContext* imgui_ = nullptr;
  bool sdl_input_backend_ = false;
  UiFont font_;
  Rgb32Format format_;
  bool shown_ = false;
  bool full_screen_ = false;
  bool in_frame_ = false;
  // The style at scale 1, and the scale the current style has.
  std::unique_ptr<ImGuiStyle> base_style_;
  float style_scale_ = 1.0f;
  bool renewed_ = true;
  std::vector<std::string> deferred_cover_;
  std::vector<int> columns_, rows_;
  std::vector<SurfaceBlend> blend_columns_, blend_rows_;
  // The lowest and highest client row each window row reads.
  std::vector<int> row_low_, row_high_;
  // What the last DrawClient showed, to find the rows that changed since.
  struct Shown {
    PixelRect target;
    int width = 0, height = 0;
    bool indexed = true;
    bool smooth = false;
    PaletteColours colours{};
    std::vector<std::uint8_t> pixels;
  } last_;
};

}  // namespace platform::sdl
