#include "flow/game_flow.h"

#include "core/exit_program.h"
#include "core/game_phase.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "flow/maker_logo.h"
#include "flow/opening.h"
#include "flow/title_items.h"
#include "scenario/scenario_loader.h"
#include "sound/cd_audio.h"
#include "sound/pcm.h"
#include "visuals/background.h"
#include "visuals/display_effects.h"
#include "visuals/palette_fades.h"
#include "visuals/picture_files.h"
#include "visuals/screen_show.h"

namespace flow {

FlowState Flow;

void ResetFlowState() { Flow = FlowState{.StartPoint = Flow.StartPoint}; }

namespace {

// The title's centre area (x 160 … 479) dissolves into a new picture.
constexpr std::uint8_t kTitleArea = 2;
constexpr std::uint16_t kLeaveTitleClear = 5;

// Decodes a title picture into the work picture and dissolves the centre area into it.
void ShowTitlePicture(const char* name) {
  visuals::DrawPictureFile(core::Screen.VbufDIB, name, 0, 0);
  visuals::ShowAreaDither(kTitleArea);
}

// The title composed from its three layers, faded in, and after a click its menu
// background dissolved in and dimmed.
void DrawTitle() {
  visuals::ApplyBlack();
  core::ClearPicture(core::Screen.VbufDIB);
  for (const char* layer : {"OP2_BACK.VGR", "TITLE.VGR", "TITLE2.VGR"})
    visuals::DrawPictureFile(core::Screen.VbufDIB, layer, 0, 0);
  core::CopyPicture(core::Screen.VmemDIB, core::Screen.VbufDIB);
  core::Present(nullptr);
  visuals::FadeIn(2);
  core::WaitClick();
  ShowTitlePicture("TITLE2_.VGR");
  visuals::Dim();
}

void Quit() {
  visuals::ClearScene(kLeaveTitleClear);
  sound::CdStop();
  visuals::ClearPictureAndShow(core::Screen.VmemDIB);
  core::ExitProgram(nullptr);
}

// The start item. Answers whether the title is still on screen afterwards.
bool StartItem() {
  sound::CdFadeOut();
  ShowTitlePicture("TITLE_.VGR");
  core::Input.SkipMode = 0;
  core::Phase.GamePhase = core::kPhaseStartItem;
  core::Scenario.ScriptStop = 0;
  const int backed_out = StartStory();
  // Whatever happened, nothing of the story outlives it.
  core::Phase.GamePhase = core::kPhaseTitle;
  core::Input.SkipMode = 0;
  scenario::DropScenario(scenario::kNoScenario);
  visuals::ForgetBackground();
  sound::PcmStop();
  sound::PcmUnload();
  sound::CdMarkFade();
  sound::CdFadeOut();
  if (backed_out == 0) {
    visuals::ClearPictureAndShow(core::Screen.VmemDIB);
    core::ClearPicture(core::Screen.VbufDIB);
    return false;
  }
  visuals::ShowComposed();
  ShowTitlePicture("TITLE.VGR");
  return true;
}

[[noreturn]] void TitleLoop(bool title_shown) {
  std::int16_t last_choice = kTitleStart;
  for (;;) {
    if (!title_shown) DrawTitle();
    title_shown = true;
    const std::int16_t choice = TitleMenu(last_choice);
    last_choice = choice;
    switch (choice) {
      case kTitleQuit: Quit(); break;
      case kTitleStart: title_shown = StartItem(); break;
      case kTitleClearSlot:
        ShowTitlePicture("TITLE_.VGR");
        ClearSlot();
        ShowTitlePicture("TITLE.VGR");
        break;
      case kTitleGallery:
        title_shown = false;
        visuals::ClearScene(kLeaveTitleClear);
        sound::CdStop();
        Gallery();
        break;
      case kTitleMusic:
        title_shown = false;
        visuals::ClearScene(kLeaveTitleClear);
        MusicMode();
        break;
      default: break;
    }
  }
}

void StartClean() {
  core::Phase.GamePhase = core::kPhaseOpening;
  scenario::SetCurrentScenario(scenario::kNoScenario);
  core::Input.SkipMode = 0;
  core::ClearPicture(core::Screen.VmemDIB);
  core::ClearPicture(core::Screen.VbufDIB);
  visuals::ApplyBlack();
}

}  // namespace

void RunGame() {
  if (Flow.StartPoint == StartAt::kNothing) return;
  StartClean();
  if (Flow.StartPoint == StartAt::kNewGame) {
    core::Phase.GamePhase = core::kPhaseStartItem;
    core::Scenario.ScriptStop = 0;
    PlayNewGame();
    return;
  }
  bool title_shown = false;
  if (Flow.StartPoint == StartAt::kLogo) {
    MakerLogo();
    title_shown = RunOpening() == 1;
  }
  core::Phase.GamePhase = core::kPhaseTitle;
  core::Input.SkipMode = 0;
  TitleLoop(title_shown);
}

}  // namespace flow
