#include "catalogue.h"

#include "backgrounds.h"
#include "characters.h"
#include "effect_frames.h"
#include "ending_backgrounds.h"
#include "event_pictures.h"
#include "opening_art.h"
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
        {"S40.VGR", PaintRedOut},
        {"CLAW01W.VGR", [] { return PaintClawFrame(1); }},
        {"CLAW02W.VGR", [] { return PaintClawFrame(2); }},
        {"CLAW03W.VGR", [] { return PaintClawFrame(3); }},
        {"CLAW04W.VGR", [] { return PaintClawFrame(4); }},
        {"CLAW05W.VGR", [] { return PaintClawFrame(5); }},
        {"CLAW06W.VGR", [] { return PaintClawFrame(6); }},
        {"CLAW07W.VGR", [] { return PaintClawFrame(7); }},
        {"CLAW08W.VGR", [] { return PaintClawFrame(8); }},
        {"CLAW09W.VGR", [] { return PaintClawFrame(9); }},
        {"CLAW10W.VGR", [] { return PaintClawFrame(10); }},
        {"CLAW11W.VGR", [] { return PaintClawFrame(11); }},
        {"BLDW0.VGR", [] { return PaintBloodFrame(0); }},
        {"BLDW1.VGR", [] { return PaintBloodFrame(1); }},
        {"BLDW2.VGR", [] { return PaintBloodFrame(2); }},
        {"BLDW3.VGR", [] { return PaintBloodFrame(3); }},
        {"OP2_BACK.VGR", PaintTitleBack},
        {"TITLE.VGR", PaintTitleWithMenu},
        {"TITLE2.VGR", PaintTitleBeforeMenu},
        {"VELA.VGR", PaintMakerLogo},
        {"TITLE_.VGR", PaintTitleNight},
        {"TITLE2_.VGR", PaintTitleMenuPlates},
        {"OP2_MN_W.VGR", PaintOpeningNight},
        {"OP2_KM_W.SDT", PaintOpeningClouds},
        {"OP1W.SDT", PaintHotaruProfile},
        {"OP2W.SDT", PaintLanterns},
        {"OP3W.SDT", PaintSparks},
        {"OP4W.SDT", PaintSunsetTree},
    };
    const auto& ending = EndingBackgrounds();
    all.insert(all.end(), ending.begin(), ending.end());
    return all;
  }();
  return entries;
}

}  // namespace demo_art
