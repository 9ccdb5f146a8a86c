#include "platform/sdl/dialog_view.h"

#include <SDL.h>
#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/sdl/window_view.h"

namespace platform::sdl {
namespace {

constexpr const char* kDialogId = "###dialog";

// The font's dialog base units: the average width of the Latin letters and the line height.
ImVec2 BaseUnits() {
  const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  const ImVec2 size = ImGui::CalcTextSize(letters);
  return ImVec2(std::round(size.x / 52.0f), ImGui::GetFontSize());
}

}  // namespace

std::vector<int> DialogView::Step(HWND dialog) {
  if (dialog != dialog_) {
    dialog_ = dialog;
    popup_opened_ = false;
    pressed_.clear();
    if (const DialogSpec* layout = DialogTemplate(dialog)) {
      view_.Cover(layout->caption);
      for (const auto& c : layout->controls) view_.Cover(c.text);
    }
  }
  std::vector<int> pressed;
  pressed.swap(pressed_);
  for (int id : pressed) PressDialogButton(dialog, id);
  return pressed;
}

void DialogView::Draw(const ViewGeometry& geometry, int owner_x, int owner_y) {
  if (dialog_ == nullptr) return;
  const DialogSpec* layout = DialogTemplate(dialog_);
  const std::string title = (layout ? layout->caption : std::string()) + kDialogId;
  if (layout == nullptr) {
    // The dialog procedure ended the dialog.
    if (ImGui::IsPopupOpen(title.c_str())) {
      if (ImGui::BeginPopupModal(title.c_str())) {
        ImGui::CloseCurrentPopup();
        ImGui::EndPopup();
      }
    }
    dialog_ = nullptr;
    return;
  }
  if (!popup_opened_) {
    ImGui::OpenPopup(title.c_str());
    popup_opened_ = true;
  }
  const ImVec2 units = BaseUnits();
  auto px = [&](int du) { return std::round(static_cast<float>(du) * units.x / 4.0f); };
  auto py = [&](int du) { return std::round(static_cast<float>(du) * units.y / 8.0f); };
  const float scale = ImGui::GetIO().FontGlobalScale;
  const float title_height = ImGui::GetFontSize() + 2 * ImGui::GetStyle().FramePadding.y;
  // The template's position is from the owner's client origin, in unscaled pixels.
  const ImVec2 size(px(layout->width), py(layout->height) + title_height);
  // Kept inside our window, which a desktop dialog could leave.
  const ImVec2 display = ImGui::GetIO().DisplaySize;
  const auto x =
      static_cast<float>(geometry.WindowX(owner_x + static_cast<int>(px(layout->x) / scale)));
  const auto y =
      static_cast<float>(geometry.WindowY(owner_y + static_cast<int>(py(layout->y) / scale)));
  const float left = std::max(0.0f, std::min(x, display.x - size.x));
  const float top = std::max(0.0f, std::min(y, display.y - size.y));
  ImGui::SetNextWindowPos(ImVec2(left, top));
  ImGui::SetNextWindowSize(size);
  ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0, 0));
  const bool open =
      ImGui::BeginPopupModal(title.c_str(), nullptr,
                             ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
                                 ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoScrollbar);
  ImGui::PopStyleVar();
  if (!open) return;
  int default_button = IDOK;
  for (const auto& c : layout->controls) {
    const std::string label = c.text + "###" + std::to_string(c.id);
    ImGui::SetCursorPos(ImVec2(px(c.x), title_height + py(c.y)));
    if (c.kind == ControlKind::kCheckBox) {
      bool checked = DialogCheck(dialog_, c.id);
      ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(2 * scale, 1 * scale));
      if (ImGui::Checkbox(label.c_str(), &checked)) SetDialogCheck(dialog_, c.id, checked);
      ImGui::PopStyleVar();
    } else {
      const bool is_default = c.kind == ControlKind::kDefaultButton;
      if (is_default) default_button = c.id;
      ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, is_default ? 2.0f : 1.0f);
      if (ImGui::Button(label.c_str(), ImVec2(px(c.width), py(c.height)))) pressed_.push_back(c.id);
      ImGui::PopStyleVar();
      if (is_default) ImGui::SetItemDefaultFocus();
    }
  }
  // Enter presses the default button, Escape cancels.
  if (ImGui::IsKeyPressed(SDL_SCANCODE_RETURN, false) ||
      ImGui::IsKeyPressed(SDL_SCANCODE_KP_ENTER, false)) {
    pressed_.push_back(default_button);
  } else if (ImGui::IsKeyPressed(SDL_SCANCODE_ESCAPE, false)) {
    pressed_.push_back(IDCANCEL);
  }
  ImGui::EndPopup();
}

}  // namespace platform::sdl
