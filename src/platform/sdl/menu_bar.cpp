#include "platform/sdl/menu_bar.h"

#include <SDL.h>
#include <imgui.h>
#include <imgui_internal.h>

#include <cmath>

#include "platform/sdl/window_view.h"

namespace platform::sdl {
namespace {

bool Enabled(const MenuItemState& item) { return (item.flags & (MF_GRAYED | MF_DISABLED)) == 0; }

constexpr ImGuiWindowFlags kBarFlags =
    ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings |
    ImGuiWindowFlags_NoFocusOnAppearing | ImGuiWindowFlags_NoBringToFrontOnFocus |
    ImGuiWindowFlags_NoNav | ImGuiWindowFlags_NoScrollWithMouse;
constexpr ImGuiWindowFlags kDropDownFlags =
    ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoTitleBar |
    ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoMove;

}  // namespace

MenuLabel ParseMenuLabel(std::string_view label) {
  MenuLabel out;
  for (std::size_t i = 0; i < label.size(); ++i) {
    if (label[i] != '&') {
      out.text += label[i];
      continue;
    }
    if (i + 1 >= label.size()) break;
    const char next = label[++i];
    if (next == '&') {
      out.text += '&';
      continue;
    }
    if (out.mnemonic == 0 && static_cast<unsigned char>(next) < 0x80) {
      out.mnemonic = (next >= 'a' && next <= 'z') ? static_cast<char>(next - 32) : next;
    }
    out.text += next;
  }
  return out;
}

int MenuBar::ItemWidth(std::string_view label) {
  if (auto it = widths_.find(label); it != widths_.end()) return it->second;
  const int padding = static_cast<int>(view_.font_pixels()) / 2;
  const int width =
      static_cast<int>(std::ceil(view_.TextWidth(ParseMenuLabel(label).text))) + 2 * padding;
  widths_.emplace(std::string(label), width);
  return width;
}

int MenuBar::RowHeight() const { return static_cast<int>(view_.font_pixels()) + 6; }

void MenuBar::CoverLabels(const WindowRecord& w) {
  for (const auto& item : w.menu) view_.Cover(ParseMenuLabel(item.text).text);
}

std::vector<BarItemPlace> MenuBar::Layout(const WindowRecord& w, int width) {
  std::vector<BarItemPlace> out;
  const int available = std::max(1, width);
  int x = 0, y = 0;
  for (std::size_t i = 0; i < w.menu.size(); ++i) {
    if (w.menu[i].depth != 0) continue;
    const int item_width = ItemWidth(w.menu[i].text);
    if (x > 0 && x + item_width > available) {
      x = 0;
      y += RowHeight();
    }
    out.push_back(BarItemPlace{i, x, y, item_width});
    x += item_width;
  }
  return out;
}

bool MenuBar::Contains(float x, float y) const {
  return x >= static_cast<float>(drawn_.x) && x < static_cast<float>(drawn_.right()) &&
         y >= static_cast<float>(drawn_.y) && y < static_cast<float>(drawn_.bottom());
}

void MenuBar::Draw(const WindowRecord& w, const ViewGeometry& g, bool black,
                   std::vector<MenuAction>* actions) {
  // The bar lies right above the client area, as wide as it.
  POINT client{0, 0};
  ClientToScreen(w.handle, &client);
  const int row = RowHeight();
  const int bar_x = client.x;
  const int bar_y = client.y - w.menu_lines * row;
  const std::vector<BarItemPlace> places = Layout(w, w.client_width);
  drawn_ = g.ToWindow(bar_x, bar_y, w.client_width, w.menu_lines * row);
  if (drawn_.empty() && open_ < 0) return;

  ImGui::SetNextWindowPos(ImVec2(static_cast<float>(drawn_.x), static_cast<float>(drawn_.y)));
  ImGui::SetNextWindowSize(ImVec2(static_cast<float>(drawn_.w), static_cast<float>(drawn_.h)));
  ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0, 0));
  ImGui::PushStyleVar(ImGuiStyleVar_WindowBorderSize, 0.0f);
  ImGui::PushStyleVar(ImGuiStyleVar_WindowMinSize, ImVec2(1, 1));
  ImGui::PushStyleColor(ImGuiCol_WindowBg,
                        black ? ImVec4(0, 0, 0, 0) : ImGui::GetStyleColorVec4(ImGuiCol_MenuBarBg));
  ImGui::Begin("##menubar", nullptr, kBarFlags);
  ImGui::PopStyleColor();
  ImGui::PopStyleVar(3);
  const ImGuiID drop_down = ImGui::GetID("##dropdown");
  ImDrawList* draw = ImGui::GetWindowDrawList();

  PixelRect open_rect;
  for (std::size_t p = 0; p < places.size(); ++p) {
    const BarItemPlace& place = places[p];
    const MenuItemState& item = w.menu[place.item];
    const PixelRect r = g.ToWindow(bar_x + place.x, bar_y + place.y, place.width, row);
    if (static_cast<int>(place.item) == open_) open_rect = r;
    if (black || r.empty()) continue;
    const ImVec2 a(static_cast<float>(r.x), static_cast<float>(r.y));
    const ImVec2 size(static_cast<float>(r.w), static_cast<float>(r.h));
    ImGui::SetCursorScreenPos(a);
    ImGui::PushID(static_cast<int>(place.item));
    const bool pressed = ImGui::InvisibleButton("##item", size, ImGuiButtonFlags_PressedOnClick);
    const bool hovered = ImGui::IsItemHovered();
    ImGui::PopID();
    const bool enabled = Enabled(item);
    const bool is_open = static_cast<int>(place.item) == open_;
    if (enabled && (hovered || is_open)) {
      draw->AddRectFilled(
          a, ImVec2(a.x + size.x, a.y + size.y),
          ImGui::GetColorU32(is_open ? ImGuiCol_HeaderActive : ImGuiCol_HeaderHovered));
    }
    const std::string text = ParseMenuLabel(item.text).text;
    const ImVec2 text_size = ImGui::CalcTextSize(text.c_str());
    draw->AddText(ImVec2(std::floor(a.x + (size.x - text_size.x) / 2),
                         std::floor(a.y + (size.y - text_size.y) / 2)),
                  ImGui::GetColorU32(enabled ? ImGuiCol_Text : ImGuiCol_TextDisabled),
                  text.c_str());
    if (!pressed || !enabled) continue;
    if (item.id == 0) {
      if (is_open) {
        ImGui::ClosePopupToLevel(0, false);
      } else {
        requested_ = static_cast<int>(place.item);
        actions->push_back(MenuAction{MenuAction::kSelect, static_cast<UINT>(p), true});
      }
    } else {
      actions->push_back(MenuAction{MenuAction::kSelect, static_cast<UINT>(p)});
      actions->push_back(MenuAction{MenuAction::kCommand, item.id});
    }
  }

  if (requested_ >= 0) {
    ImGui::OpenPopupEx(drop_down);
    open_ = requested_;
    requested_ = -1;
    for (const auto& place : places) {
      if (static_cast<int>(place.item) == open_) {
        open_rect = g.ToWindow(bar_x + place.x, bar_y + place.y, place.width, row);
      }
    }
  }
  if (open_ >= 0) {
    ImGui::SetNextWindowPos(
        ImVec2(static_cast<float>(open_rect.x), static_cast<float>(open_rect.bottom())));
    if (ImGui::BeginPopupEx(drop_down, kDropDownFlags)) {
      for (std::size_t i = static_cast<std::size_t>(open_) + 1;
           i < w.menu.size() && w.menu[i].depth == 1; ++i) {
        const MenuItemState& sub = w.menu[i];
        if ((sub.flags & MF_SEPARATOR) != 0) {
          ImGui::Separator();
          continue;
        }
        ImGui::PushID(static_cast<int>(i));
        const bool first = i == static_cast<std::size_t>(open_) + 1;
        bool chosen = ImGui::MenuItem(ParseMenuLabel(sub.text).text.c_str(), nullptr,
                                      (sub.flags & MF_CHECKED) != 0, Enabled(sub));
        // Enter chooses the item the keyboard is on, as in a desktop menu.
        if (!chosen && Enabled(sub) && ImGui::IsItemFocused() &&
            (ImGui::IsKeyPressed(SDL_SCANCODE_RETURN, false) ||
             ImGui::IsKeyPressed(SDL_SCANCODE_KP_ENTER, false))) {
          chosen = true;
          ImGui::CloseCurrentPopup();
        }
        // The keyboard starts on the first item, as in a desktop menu.
        if (first) ImGui::SetItemDefaultFocus();
        if (chosen) actions->push_back(MenuAction{MenuAction::kCommand, sub.id});
        ImGui::PopID();
      }
      ImGui::EndPopup();
    } else {
      open_ = -1;
      actions->push_back(MenuAction{MenuAction::kClosed, 0});
    }
  }
  ImGui::End();
}

bool MenuBar::Mnemonic(const WindowRecord& w, char letter, std::vector<MenuAction>* actions) {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 32);
  UINT position = 0;
  for (std::size_t i = 0; i < w.menu.size(); ++i) {
    const MenuItemState& item = w.menu[i];
    if (item.depth != 0) continue;
    if (ParseMenuLabel(item.text).mnemonic == letter) {
      if (Enabled(item)) Open(w, i, position, actions);
      return true;
    }
    ++position;
  }
  return false;
}

bool MenuBar::OpenFirst(const WindowRecord& w, std::vector<MenuAction>* actions) {
  UINT position = 0;
  for (std::size_t i = 0; i < w.menu.size(); ++i) {
    const MenuItemState& item = w.menu[i];
    if (item.depth != 0) continue;
    if (Enabled(item)) {
      Open(w, i, position, actions);
      return true;
    }
    ++position;
  }
  return false;
}

void MenuBar::Open(const WindowRecord& w, std::size_t i, UINT position,
                   std::vector<MenuAction>* actions) {
  const MenuItemState& item = w.menu[i];
  actions->push_back(MenuAction{MenuAction::kSelect, position, item.id == 0});
  if (item.id == 0) {
    requested_ = static_cast<int>(i);
  } else {
    actions->push_back(MenuAction{MenuAction::kCommand, item.id});
  }
}

}  // namespace platform::sdl
