#include "platform/sdl/message_box.h"

#include <SDL.h>
#include <imgui.h>

#include <algorithm>
#include <cmath>

#include "platform/sdl/window_view.h"

namespace platform::sdl {
namespace {

constexpr float kPadding = 14.0f;
constexpr float kIconSize = 32.0f;
constexpr float kGap = 12.0f;
constexpr float kMaxTextWidth = 480.0f;
constexpr float kButtonWidth = 88.0f;
constexpr const char* kBoxId = "###msgbox";

}  // namespace

void MessageBoxView::Open(std::string_view text, std::string_view caption, UINT type) {
  text_ = text;
  caption_ = caption;
  type_ = type;
  answer_ = 0;
  open_ = true;
  popup_opened_ = false;
  view_.Cover(text_);
  view_.Cover(caption_);
  for (const Button& b : Buttons()) view_.Cover(b.label);
}

std::vector<MessageBoxView::Button> MessageBoxView::Buttons() const {
  switch (type_ & 0xF) {
    case MB_OKCANCEL: return {{"OK", IDOK}, {"キャンセル", IDCANCEL}};
    case 3: return {{"はい(Y)", IDYES}, {"いいえ(N)", IDNO}, {"キャンセル", IDCANCEL}};
    case MB_YESNO: return {{"はい(Y)", IDYES}, {"いいえ(N)", IDNO}};
    default: return {{"OK", IDOK}};
  }
}

void MessageBoxView::CloseButton() {
  const std::vector<Button> buttons = Buttons();
  for (const Button& b : buttons) {
    if (b.id == IDCANCEL) answer_ = IDCANCEL;
  }
  if (buttons.size() == 1) answer_ = buttons.front().id;
  if (answer_ != 0) open_ = false;
}

void MessageBoxView::ContentSize(int* width, int* height) {
  ImFont* font = ImGui::GetIO().Fonts->Fonts[0];
  const float size = view_.font_pixels();
  const ImVec2 text =
      font->CalcTextSizeA(size, 1e9f, kMaxTextWidth, text_.data(), text_.data() + text_.size());
  const bool icon = (type_ & 0xF0) != 0;
  const float buttons = static_cast<float>(Buttons().size()) * (kButtonWidth + kGap) - kGap;
  const float inner = std::max((icon ? kIconSize + kGap : 0.0f) + text.x, buttons);
  *width = static_cast<int>(std::ceil(inner + 2 * kPadding));
  *height = static_cast<int>(
      std::ceil(2 * kPadding + std::max(icon ? kIconSize : 0.0f, text.y) + kGap + size + 10.0f));
}

void MessageBoxView::DrawIcon() {
  const float scale = ImGui::GetIO().FontGlobalScale;
  const float s = kIconSize * scale;
  const ImVec2 at = ImGui::GetCursorScreenPos();
  ImGui::Dummy(ImVec2(s, s));
  ImDrawList* d = ImGui::GetWindowDrawList();
  const ImVec2 c(at.x + s / 2, at.y + s / 2);
  const float r = s / 2 - 1;
  const ImU32 white = IM_COL32(255, 255, 255, 255);
  auto centred = [&](const char* glyph, ImU32 colour) {
    const float size = ImGui::GetFontSize() * 1.5f;
    const ImVec2 t = ImGui::GetFont()->CalcTextSizeA(size, 1e9f, 0.0f, glyph);
    d->AddText(ImGui::GetFont(), size, ImVec2(std::floor(c.x - t.x / 2), std::floor(c.y - t.y / 2)),
               colour, glyph);
  };
  switch (type_ & 0xF0) {
    case MB_ICONHAND: {
      d->AddCircleFilled(c, r, IM_COL32(200, 30, 30, 255));
      const float k = r * 0.45f;
      d->AddLine(ImVec2(c.x - k, c.y - k), ImVec2(c.x + k, c.y + k), white, 3.0f * scale);
      d->AddLine(ImVec2(c.x - k, c.y + k), ImVec2(c.x + k, c.y - k), white, 3.0f * scale);
      break;
    }
    case MB_ICONQUESTION:
      d->AddCircleFilled(c, r, IM_COL32(30, 80, 190, 255));
      centred("?", white);
      break;
    case MB_ICONEXCLAMATION:
      d->AddTriangleFilled(ImVec2(c.x, at.y + 1), ImVec2(at.x + 1, at.y + s - 2),
                           ImVec2(at.x + s - 1, at.y + s - 2), IM_COL32(240, 200, 20, 255));
      centred("!", IM_COL32(0, 0, 0, 255));
      break;
    default:
      d->AddCircleFilled(c, r, IM_COL32(30, 80, 190, 255));
      centred("i", white);
      break;
  }
}

void MessageBoxView::DrawContents(float wrap_width) {
  const float scale = ImGui::GetIO().FontGlobalScale;
  if ((type_ & 0xF0) != 0) {
    DrawIcon();
    ImGui::SameLine(0.0f, kGap * scale);
  }
  ImGui::PushTextWrapPos(ImGui::GetCursorPosX() + wrap_width);
  ImGui::TextUnformatted(text_.data(), text_.data() + text_.size());
  ImGui::PopTextWrapPos();
  ImGui::Dummy(ImVec2(0, kGap * scale - ImGui::GetStyle().ItemSpacing.y));

  const std::vector<Button> buttons = Buttons();
  const float bw = kButtonWidth * scale;
  const float total = static_cast<float>(buttons.size()) * (bw + kGap * scale) - kGap * scale;
  const float avail = ImGui::GetContentRegionAvail().x;
  const float start = ImGui::GetCursorPosX() + std::max(0.0f, (avail - total) / 2);
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    if (i == 0) {
      ImGui::SetCursorPosX(start);
    } else {
      ImGui::SameLine(0.0f, kGap * scale);
    }
    if (ImGui::Button(buttons[i].label, ImVec2(bw, 0))) answer_ = buttons[i].id;
    if (i == 0) ImGui::SetItemDefaultFocus();
  }
  Keys();
}

void MessageBoxView::Keys() {
  const std::vector<Button> buttons = Buttons();
  auto has = [&](int id) {
    return std::any_of(buttons.begin(), buttons.end(),
                       [id](const Button& b) { return b.id == id; });
  };
  if (ImGui::IsKeyPressed(SDL_SCANCODE_RETURN, false) ||
      ImGui::IsKeyPressed(SDL_SCANCODE_KP_ENTER, false)) {
    answer_ = buttons.front().id;
  } else if (ImGui::IsKeyPressed(SDL_SCANCODE_ESCAPE, false)) {
    if (has(IDCANCEL)) answer_ = IDCANCEL;
    if (buttons.size() == 1) answer_ = buttons.front().id;
  } else if (has(IDYES) && ImGui::IsKeyPressed(SDL_SCANCODE_Y, false)) {
    answer_ = IDYES;
  } else if (has(IDNO) && ImGui::IsKeyPressed(SDL_SCANCODE_N, false)) {
    answer_ = IDNO;
  }
}

void MessageBoxView::Draw(int window_w, int window_h, bool own_window) {
  if (!open_) return;
  const float scale = ImGui::GetIO().FontGlobalScale;
  ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(kPadding * scale, kPadding * scale));
  if (own_window) {
    // The box's own window carries the caption in its title bar.
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(ImVec2(static_cast<float>(window_w), static_cast<float>(window_h)));
    ImGui::Begin(
        "##standalone-box", nullptr,
        ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings);
    ImGui::SetWindowFocus();
    DrawContents(kMaxTextWidth * scale);
    ImGui::End();
  } else {
    const std::string title = caption_ + kBoxId;
    if (!popup_opened_) {
      ImGui::OpenPopup(title.c_str());
      popup_opened_ = true;
    }
    ImGui::SetNextWindowPos(
        ImVec2(static_cast<float>(window_w) / 2, static_cast<float>(window_h) / 2),
        ImGuiCond_Always, ImVec2(0.5f, 0.5f));
    const float wrap =
        std::min(kMaxTextWidth * scale, std::max(120.0f, static_cast<float>(window_w) - 120.0f));
    if (ImGui::BeginPopupModal(title.c_str(), nullptr,
                               ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoMove |
                                   ImGuiWindowFlags_NoSavedSettings)) {
      DrawContents(wrap);
      if (answer_ != 0) ImGui::CloseCurrentPopup();
      ImGui::EndPopup();
    }
  }
  ImGui::PopStyleVar();
  if (answer_ != 0) open_ = false;
}

}  // namespace platform::sdl
