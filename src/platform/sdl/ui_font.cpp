#include "platform/sdl/ui_font.h"

#include <imgui_internal.h>

#include <cstdint>
#include <cstdio>

#include "platform/file_services.h"

namespace platform::sdl {

void UiFont::Load(const FontFile& file, float pixel_size) {
  size_ = pixel_size;
  face_index_ = file.index;
  data_.clear();
  if (!file.path.empty()) {
    // A font collection with every CJK face is some tens of megabytes.
    constexpr std::uint64_t kMaxFontBytes = std::uint64_t{256} << 20;
    const ReadOutcome read = ReadRegularFile(file.path, &data_, kMaxFontBytes);
    if (!read.ok())
      std::fprintf(stderr, "hotaru: cannot read the font %s: %s\n", file.path.c_str(),
                   read.reason.c_str());
  }
  if (data_.empty()) {
    std::fputs("hotaru: no font with Japanese characters found (fontconfig :lang=ja)\n", stderr);
  }
  for (ImWchar c = 0x20; c < 0x7F; ++c) chars_.insert(c);
  // The replacement character, shown for anything the font lacks.
  chars_.insert(0xFFFD);
  Build();
}

bool UiFont::Cover(std::string_view text) {
  if (data_.empty()) return false;
  bool added = false;
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    unsigned int c = 0;
    const int n = ImTextCharFromUtf8(&c, p, end);
    if (n <= 0) break;
    p += n;
    if (c < 0x20 || c > 0xFFFF) continue;
    added |= chars_.insert(static_cast<ImWchar>(c)).second;
  }
  if (added) Build();
  return added;
}

float UiFont::TextWidth(std::string_view text) {
  Cover(text);
  ImFont* font = ImGui::GetIO().Fonts->Fonts[0];
  return font->CalcTextSizeA(size_, 1e9f, 0.0f, text.data(), text.data() + text.size()).x;
}

void UiFont::Build() {
  ImFontAtlas* atlas = ImGui::GetIO().Fonts;
  atlas->Clear();
  if (data_.empty()) {
    ImFontConfig config;
    config.SizePixels = size_;
    atlas->AddFontDefault(&config);
  } else {
    ImFontGlyphRangesBuilder builder;
    for (ImWchar c : chars_) builder.AddChar(c);
    ranges_.clear();
    builder.BuildRanges(&ranges_);
    ImFontConfig config;
    config.FontDataOwnedByAtlas = false;
    config.FontNo = face_index_;
    config.OversampleH = 1;
    config.OversampleV = 1;
    config.PixelSnapH = true;
    atlas->AddFontFromMemoryTTF(data_.data(), static_cast<int>(data_.size()), size_, &config,
                                ranges_.Data);
  }
  atlas->Build();
}

}  // namespace platform::sdl
