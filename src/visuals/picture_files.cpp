#include "visuals/picture_files.h"

#include "resources/pack_archive.h"
#include "resources/picture_decoder.h"

namespace visuals {

int DrawPictureFile(core::MemHandle picture, const char* name, std::int16_t x, std::int16_t y) {
  std::uint32_t size = 0;
  core::MemHandle file = resources::LoadFile(name, &size);
  const int drawn = resources::DecodePicture(picture, file, x, y);
  core::MemRelease(&file);
  return drawn;
}

}  // namespace visuals
