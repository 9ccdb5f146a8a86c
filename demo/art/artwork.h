// One picture of the demo story as the generator makes it: the pixels and everything the
// picture file's header says, and what kind of picture it is.
#pragma once

#include <string>

#include "authoring/picture_file.h"

namespace demo_art {

enum class ArtKind {
  kBackground,    // S%02d.VGR: colours 0–3 over the whole screen
  kCharacter,     // C%02x.VGR: colours 4–14, the rest transparent, drawn into a slot
  kEventPicture,  // H%02d.VGR, V%02d.VGR: a whole screen with a palette of its own
  // CLAW%02dW.VGR, BLDW%1d.VGR: a whole screen with a palette of its own, drawn over the
  // frame before it; its transparent colour keeps what was there.
  kEffectFrame,
  kScreenPicture,  // title and opening pictures: the screen or a part of it, own palette
  kOpeningLayer,   // the opening's .SDT data: 8-bit values in a packed data block
};

struct Artwork {
  ArtKind kind = ArtKind::kBackground;
  std::string file_name;  // as the game asks for it, e.g. "S01.VGR"
  authoring::PictureImage image;
  authoring::PictureOptions options;
};

}  // namespace demo_art
