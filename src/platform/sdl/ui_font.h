// The user-interface font in Dear ImGui's atlas. The atlas holds only the characters of the
// texts shown so far (menu labels, dialog and message-box texts): each new text adds its
// characters, rebuilding the atlas when some were missing.
#pragma once

#include <imgui.h>

#include <set>
#include <string_view>
#include <vector>

#include "platform/sdl/font_lookup.h"

namespace platform::sdl {

class UiFont {
 public:
  // Reads the font file and builds the atlas of the current ImGui context at this pixel
  // size. Without a file (or when it cannot be read) ImGui's own font stands in.
  void Load(const FontFile& file, float pixel_size);
  // Makes sure every character of `text` is in the atlas. True when the atlas was rebuilt:
  // the renderer must then make its font texture again.
  bool Cover(std::string_view text);
  // Width of `text` in pixels at the font's own size.
  float TextWidth(std::string_view text);
  float pixel_size() const { return size_; }

 private:
  void Build();

  std::vector<unsigned char> data_;  // the font file, kept for rebuilds
  int face_index_ = 0;
  float size_ = 16.0f;
  std::set<ImWchar> chars_;
  ImVector<ImWchar> ranges_;  // must outlive the atlas build
};

}  // namespace platform::sdl
