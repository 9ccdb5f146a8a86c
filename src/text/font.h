// The kanji font: 24 × 24 glyphs of 72 bytes, loaded at start-up and held to the end.
#pragma once

#include "resources/memory_blocks.h"

namespace text {

constexpr const char* kFontFileName = "KNJ_ALL.KNJ";

// The font file's block; 0 until InitResources has loaded it.
extern resources::MemHandle FontData;

}  // namespace text
