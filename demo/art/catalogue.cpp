#include "catalogue.h"

#include "backgrounds.h"
#include "characters.h"
#include "event_pictures.h"
#include "title_scene.h"

namespace demo_art {

const std::vector<CatalogueEntry>& Catalogue() {
  static const std::vector<CatalogueEntry> entries = {
      {"S01.VGR", PaintNightField},
      {"S02.VGR", PaintRiverside},
      {"S03.VGR", PaintRoom},
      {"S04.VGR", PaintSky},
      {"S05.VGR", PaintStreet},
      {"S06.VGR", PaintShrine},
      {"C01.VGR", PaintHotaru},
      {"C02.VGR", PaintSouta},
      {"C03.VGR", PaintNatsumi},
      {"C04.VGR", PaintHotaruSmiling},
      {"H01.VGR", PaintFirefliesByTheRiver},
      {"V01.VGR", PaintFireworks},
      {"V02.VGR", PaintSunsetHill},
      {"OP2_BACK.VGR", PaintTitleBack},
      {"TITLE.VGR", PaintTitleLogo},
      {"TITLE2.VGR", PaintTitleSubtitle},
  };
  return entries;
}

}  // namespace demo_art
