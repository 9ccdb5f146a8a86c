// Finding a font with Japanese glyphs on this machine.
#pragma once

#include <string>

namespace platform::sdl {

struct FontFile {
  std::string path;  // empty: none was found
  int index = 0;     // the face inside a font collection (.ttc)
};

// The font fontconfig picks for Japanese text (as `fc-match :lang=ja` does), provided it
// really covers kana; otherwise none.
FontFile FindJapaneseFont();

}  // namespace platform::sdl
