#include "catalogue.h"

#include "backgrounds.h"
#include "characters.h"
#include "ending_backgrounds.h"
#include "event_pictures.h"
#include "summer_memories.h"
#include "title_menu_art.h"
#include "title_scene.h"

namespace demo_art {

const std::vector<CatalogueEntry>& Catalogue() {
  static const std::vector<CatalogueEntry> entries = [] {
    std::vector<CatalogueEntry> all = {
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
        {"V03.VGR", PaintFestivalLanterns},
        {"V04.VGR", PaintWatermelonVeranda},
        {"H02.VGR", PaintRiverProfile},
        {"H03.VGR", PaintRiceFieldRoad},
        {"H04.VGR", PaintHotaruTurning},
        {"OP2_BACK.VGR", PaintTitleBack},
        {"TITLE.VGR", PaintTitleLogo},
        {"TITLE2.VGR", PaintTitleSubtitle},
        {"VELA.VGR", PaintMakerLogo},
        {"TITLE_.VGR", PaintTitleDimmed},
        {"TITLE2_.VGR", PaintTitleMenuPlates},
    };
    const auto& ending = EndingBackgrounds();
    all.insert(all.end(), ending.begin(), ending.end());
    return all;
  }();
  return entries;
}

}  // namespace demo_art
