#include "platform/sdl/window_view.h"

#include <SDL_syswm.h>
#include <imgui.h>
#include <imgui_impl_sdl.h>
#include <imgui_impl_sdlrenderer.h>

#include <algorithm>
#include <cstring>

namespace platform::sdl {
namespace {

// A light, square look close to the classic desktop's menus and dialogs.
void ApplyStyle() {
  ImGui::StyleColorsLight();
  ImGuiStyle& s = ImGui::GetStyle();
  s.WindowRounding = s.ChildRounding = s.PopupRounding = s.FrameRounding = 0.0f;
  s.ScrollbarRounding = s.GrabRounding = s.TabRounding = 0.0f;
  s.WindowBorderSize = s.PopupBorderSize = s.FrameBorderSize = 1.0f;
  s.WindowTitleAlign = ImVec2(0.0f, 0.5f);
  ImVec4* c = s.Colors;
  c[ImGuiCol_WindowBg] = ImVec4(0.94f, 0.94f, 0.94f, 1.0f);
  c[ImGuiCol_PopupBg] = ImVec4(0.97f, 0.97f, 0.97f, 1.0f);
  c[ImGuiCol_MenuBarBg] = ImVec4(0.94f, 0.94f, 0.94f, 1.0f);
  c[ImGuiCol_TitleBg] = c[ImGuiCol_TitleBgActive] = ImVec4(0.78f, 0.85f, 0.95f, 1.0f);
  c[ImGuiCol_Text] = ImVec4(0.0f, 0.0f, 0.0f, 1.0f);
  c[ImGuiCol_TextDisabled] = ImVec4(0.55f, 0.55f, 0.55f, 1.0f);
  c[ImGuiCol_Border] = ImVec4(0.5f, 0.5f, 0.5f, 1.0f);
  c[ImGuiCol_Button] = ImVec4(0.88f, 0.88f, 0.88f, 1.0f);
  c[ImGuiCol_ButtonHovered] = ImVec4(0.80f, 0.88f, 0.97f, 1.0f);
  c[ImGuiCol_ButtonActive] = ImVec4(0.70f, 0.82f, 0.95f, 1.0f);
  c[ImGuiCol_FrameBg] = ImVec4(1.0f, 1.0f, 1.0f, 1.0f);
  c[ImGuiCol_CheckMark] = ImVec4(0.0f, 0.0f, 0.0f, 1.0f);
  // Modal boxes do not dim what lies behind them.
  c[ImGuiCol_ModalWindowDimBg] = ImVec4(0.0f, 0.0f, 0.0f, 0.0f);
}

Rgb32Format FormatOf(const SDL_PixelFormat* f) {
  return Rgb32Format{f->Rshift, f->Gshift, f->Bshift};
}

}  // namespace

WindowView::~WindowView() { Close(); }

bool WindowView::Open(int font_pixels, std::string* error) {
  // High-density aware: the window's surface has the display's own pixels, so that the
  // picture is drawn sharp at the display's scale rather than enlarged by the desktop.
  window_ = SDL_CreateWindow("hotaru", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640, 422,
                             SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
  if (window_ == nullptr) {
    *error = std::string("cannot create a window: ") + SDL_GetError();
    return false;
  }
  IMGUI_CHECKVERSION();
  imgui_ = ImGui::CreateContext();
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;
  io.LogFilename = nullptr;
  // The program's own cursor stays; keyboard use of menus, dialogs and boxes.
  io.ConfigFlags |= ImGuiConfigFlags_NoMouseCursorChange | ImGuiConfigFlags_NavEnableKeyboard;
  ApplyStyle();
  base_style_ = std::make_unique<ImGuiStyle>(ImGui::GetStyle());
  font_.Load(FindJapaneseFont(), static_cast<float>(font_pixels));
  sdl_input_backend_ = ImGui_ImplSDL2_InitForSDLRenderer(window_);
  return true;
}

void WindowView::Close() {
  if (imgui_ != nullptr) {
    ReleaseRenderer();
    if (sdl_input_backend_) ImGui_ImplSDL2_Shutdown();
    sdl_input_backend_ = false;
    ImGui::DestroyContext(imgui_);
    imgui_ = nullptr;
  }
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  window_ = nullptr;
  surface_ = nullptr;
}

std::uint64_t WindowView::NativeId() const {
  if (window_ == nullptr) return 0;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window_, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
  return static_cast<std::uint64_t>(info.info.x11.window);
}

void WindowView::SetTitle(const std::string& title) { SDL_SetWindowTitle(window_, title.c_str()); }

void WindowView::SetSize(int width, int height) {
  // Always asked of the display: after a full screen without a window manager SDL's idea
  // of the size may not be what the window has.
  SDL_SetWindowSize(window_, std::max(1, width), std::max(1, height));
}

void WindowView::SetPosition(int x, int y) { SDL_SetWindowPosition(window_, x, y); }

void WindowView::Show() {
  if (shown_) return;
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
  shown_ = true;
}

void WindowView::Hide() {
  if (!shown_) return;
  SDL_HideWindow(window_);
  shown_ = false;
}

void WindowView::SetFullScreen(bool on) {
  if (on == full_screen_) return;
  full_screen_ = on;
  SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void WindowView::Size(int* width, int* height) const { SDL_GetWindowSize(window_, width, height); }

void WindowView::PixelSize(int* width, int* height) const {
  SDL_GetWindowSizeInPixels(window_, width, height);
}

void WindowView::Cover(std::string_view text) {
  if (in_frame_) {
    deferred_cover_.emplace_back(text);
    return;
  }
  ImGui::SetCurrentContext(imgui_);
  if (font_.Cover(text) && renderer_ != nullptr) ImGui_ImplSDLRenderer_DestroyFontsTexture();
}

float WindowView::TextWidth(std::string_view text) {
  Cover(text);
  return font_.TextWidth(text);
}

void WindowView::ImGuiEvent(const SDL_Event& event) {
  ImGui::SetCurrentContext(imgui_);
  ImGui_ImplSDL2_ProcessEvent(&event);
}

void WindowView::ReleaseRenderer() {
  if (renderer_ == nullptr) return;
  ImGui::SetCurrentContext(imgui_);
  ImGui_ImplSDLRenderer_Shutdown();
  SDL_DestroyRenderer(renderer_);
  renderer_ = nullptr;
}

bool WindowView::AcquireSurface() {
  // The window surface is made anew whenever the window's size changes.
  SDL_Surface* s = SDL_GetWindowSurface(window_);
  if (s == nullptr || s->format->BytesPerPixel != 4) return false;
  if (s == surface_ && renderer_ != nullptr) return true;
  ReleaseRenderer();
  surface_ = s;
  renewed_ = true;
  last_.pixels.clear();
  format_ = FormatOf(s->format);
  renderer_ = SDL_CreateSoftwareRenderer(s);
  if (renderer_ == nullptr) return false;
  ImGui::SetCurrentContext(imgui_);
  ImGui_ImplSDLRenderer_Init(renderer_);
  return true;
}

bool WindowView::Drawable() const {
  return window_ != nullptr && shown_ && !(SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED);
}

bool WindowView::Begin(int* width, int* height) {
  if (!Drawable() || !AcquireSurface()) return false;
  *width = surface_->w;
  *height = surface_->h;
  return true;
}

bool WindowView::TakeRenewed() {
  const bool renewed = renewed_;
  renewed_ = false;
  return renewed;
}

void WindowView::FillBlack(const PixelRect& r) {
  SDL_Rect rect{r.x, r.y, r.w, r.h};
  if (!r.empty()) SDL_FillRect(surface_, &rect, 0);
}

PixelRect WindowView::DrawClient(const WindowRecord& w, const PictureView& view, bool smooth,
                                 bool whole) {
  const ClientSurface& s = w.surface;
  const PixelRect t = Intersect(view.placed, PixelRect{0, 0, surface_->w, surface_->h});
  if (t.empty() || s.width <= 0 || s.height <= 0) return PixelRect{};
  const auto columns = static_cast<std::size_t>(t.w), rows = static_cast<std::size_t>(t.h);
  row_low_.resize(rows);
  row_high_.resize(rows);
  auto client = [](const PlacedAxis& axis, int picture, int size) {
    return std::clamp(axis.ClientOf(picture), 0, size - 1);
  };
  if (smooth) {
    blend_columns_.resize(columns);
    blend_rows_.resize(rows);
    for (std::size_t i = 0; i < columns; ++i) {
      const PlacedAxis::Blend b = view.x.BlendAt(t.x + static_cast<int>(i));
      blend_columns_[i] = SurfaceBlend{client(view.x, b.first, s.width),
                                       client(view.x, b.second, s.width), b.weight};
    }
    for (std::size_t j = 0; j < rows; ++j) {
      const PlacedAxis::Blend b = view.y.BlendAt(t.y + static_cast<int>(j));
      blend_rows_[j] = SurfaceBlend{client(view.y, b.first, s.height),
                                    client(view.y, b.second, s.height), b.weight};
      row_low_[j] = std::min(blend_rows_[j].first, blend_rows_[j].second);
      row_high_[j] = std::max(blend_rows_[j].first, blend_rows_[j].second);
    }
  } else {
    columns_.resize(columns);
    rows_.resize(rows);
    for (std::size_t i = 0; i < columns; ++i) {
      columns_[i] = client(view.x, view.x.PictureAt(t.x + static_cast<int>(i)), s.width);
    }
    for (std::size_t j = 0; j < rows; ++j) {
      rows_[j] = client(view.y, view.y.PictureAt(t.y + static_cast<int>(j)), s.height);
      row_low_[j] = row_high_[j] = rows_[j];
    }
  }
  const PaletteColours colours =
      s.indexed ? MapPalette(SystemPalette(), format_) : PaletteColours{};

  // The surface rows that differ from what was shown (all of them after any other change).
  int first = 0, last = s.height - 1;
  const bool same_frame =
      !whole && last_.target.x == t.x && last_.target.y == t.y && last_.target.w == t.w &&
      last_.target.h == t.h && last_.width == s.width && last_.height == s.height &&
      last_.indexed == s.indexed && last_.smooth == smooth &&
      last_.pixels.size() == s.pixels.size() && (!s.indexed || last_.colours == colours);
  const std::size_t row_bytes = s.pixels.size() / static_cast<std::size_t>(s.height);
  if (same_frame) {
    auto row_same = [&](int r) {
      const std::size_t at = static_cast<std::size_t>(r) * row_bytes;
      return std::memcmp(&s.pixels[at], &last_.pixels[at], row_bytes) == 0;
    };
    while (first <= last && row_same(first)) ++first;
    while (last >= first && row_same(last)) --last;
    if (first > last) return PixelRect{};
    const std::size_t from = static_cast<std::size_t>(first) * row_bytes;
    const std::size_t to = static_cast<std::size_t>(last + 1) * row_bytes;
    std::memcpy(&last_.pixels[from], &s.pixels[from], to - from);
  } else {
    last_.target = t;
    last_.width = s.width;
    last_.height = s.height;
    last_.indexed = s.indexed;
    last_.smooth = smooth;
    last_.colours = colours;
    last_.pixels = s.pixels;
  }
  // The window rows that read any of those surface rows (both bounds never decrease).
  const auto begin_at = static_cast<std::size_t>(
      std::lower_bound(row_high_.begin(), row_high_.end(), first) - row_high_.begin());
  const auto end_at = static_cast<std::size_t>(
      std::upper_bound(row_low_.begin() + static_cast<std::ptrdiff_t>(begin_at), row_low_.end(),
                       last) -
      row_low_.begin());
  if (begin_at >= end_at) return PixelRect{};
  const int top = t.y + static_cast<int>(begin_at);
  auto* out = static_cast<std::uint8_t*>(surface_->pixels) +
              static_cast<std::ptrdiff_t>(top) * surface_->pitch +
              static_cast<std::ptrdiff_t>(t.x) * 4;
  const std::size_t count = end_at - begin_at;
  if (smooth) {
    DrawSurfaceSmooth(s, colours, format_, blend_columns_,
                      std::span<const SurfaceBlend>(&blend_rows_[begin_at], count), out,
                      surface_->pitch);
  } else {
    DrawSurface(s, colours, format_, columns_, std::span<const int>(&rows_[begin_at], count), out,
                surface_->pitch);
  }
  return PixelRect{t.x, top, t.w, static_cast<int>(count)};
}

void WindowView::BeginUi(float scale) {
  ImGui::SetCurrentContext(imgui_);
  ImGui::GetIO().FontGlobalScale = scale;
  if (scale != style_scale_) {
    // Full screen enlarges everything alike: the emulated screen is scaled as a whole.
    ImGui::GetStyle() = *base_style_;
    ImGui::GetStyle().ScaleAllSizes(scale);
    style_scale_ = scale;
  }
  ImGui_ImplSDLRenderer_NewFrame();
  ImGui_ImplSDL2_NewFrame();
  // The bar, dialogs and boxes are laid out in drawable pixels like the picture: on a
  // high-density display ImGui is told the surface's size and the mouse in those pixels.
  int points_w = 0, points_h = 0;
  Size(&points_w, &points_h);
  ImGuiIO& io = ImGui::GetIO();
  if (surface_ != nullptr && points_w > 0 && points_h > 0 &&
      (surface_->w != points_w || surface_->h != points_h)) {
    const float rx = static_cast<float>(surface_->w) / static_cast<float>(points_w);
    const float ry = static_cast<float>(surface_->h) / static_cast<float>(points_h);
    io.DisplaySize = ImVec2(static_cast<float>(surface_->w), static_cast<float>(surface_->h));
    io.DisplayFramebufferScale = ImVec2(1.0f, 1.0f);
    if (ImGui::IsMousePosValid(&io.MousePos))
      io.MousePos = ImVec2(io.MousePos.x * rx, io.MousePos.y * ry);
  }
  ImGui::NewFrame();
  in_frame_ = true;
}

void WindowView::EndUi() {
  ImGui::Render();
  ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
  SDL_RenderFlush(renderer_);
  in_frame_ = false;
  for (const std::string& text : deferred_cover_) Cover(text);
  deferred_cover_.clear();
}

void WindowView::End(const std::vector<PixelRect>& dirty) {
  std::vector<SDL_Rect> rects;
  const PixelRect all{0, 0, surface_->w, surface_->h};
  for (const PixelRect& r : dirty) {
    const PixelRect c = Intersect(r, all);
    if (!c.empty()) rects.push_back(SDL_Rect{c.x, c.y, c.w, c.h});
  }
  if (!rects.empty()) {
    SDL_UpdateWindowSurfaceRects(window_, rects.data(), static_cast<int>(rects.size()));
  }
}

void WindowView::EndAll() { SDL_UpdateWindowSurface(window_); }

}  // namespace platform::sdl
