#include "platform/sdl/font_lookup.h"

#include <fontconfig/fontconfig.h>

namespace platform::sdl {

FontFile FindJapaneseFont() {
  FontFile found;
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return found;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(":lang=ja"));
  if (pattern != nullptr) {
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    if (match != nullptr) {
      FcChar8* file = nullptr;
      FcCharSet* chars = nullptr;
      int index = 0;
      // fontconfig always answers with some font: keep it only if it has hiragana.
      const bool has_kana = FcPatternGetCharSet(match, FC_CHARSET, 0, &chars) == FcResultMatch &&
                            FcCharSetHasChar(chars, 0x3042);
      if (has_kana && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        found.path = reinterpret_cast<const char*>(file);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) found.index = index;
      }
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
  }
  FcConfigDestroy(config);
  return found;
}

}  // namespace platform::sdl
