#include "scenario/message_text.h"

#include <cstddef>
#include <limits>

#include "core/flags.h"
#include "core/input_state.h"
#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "core/text_code_table.h"
#include "scenario/event_pictures.h"
#include "scenario/save_slots.h"
#include "scenario/scenario_loader.h"
#include "scenario/scene_operations.h"
#include "scenario/shake_and_attacks.h"
#include "sound/cd_audio.h"
#include "sound/sound_state.h"
#include "text/click_wait.h"
#include "text/font.h"
#include "text/page_drawing.h"
#include "text/text_layout.h"
#include "text/text_state.h"
#include "visuals/background.h"
#include "visuals/display_effects.h"
#include "visuals/effect_frames.h"
#include "visuals/palette_fades.h"
#include "visuals/screen_show.h"
#include "visuals/transition.h"

namespace scenario {
namespace {

constexpr std::uint8_t kSystemGlyphDelay = 3;
constexpr std::uint16_t kPressInputs = core::kInputDecide | core::kInputCancel;
constexpr std::uint8_t kNoTransition = 255;
constexpr std::uint8_t kNoCharacter = 255;
constexpr int kCharacterSlots = 3;
constexpr std::uint16_t kSceneSettle = 60;      // after a background or picture change
constexpr std::uint16_t kCharacterSettle = 30;  // after a character change
constexpr std::uint16_t kFlashHold = 30;

// One run of ShowText: the pen (mirrored into the game state after every item, where the
// page redraw and a save find it) and the state local to the run.
struct TextRun {
  const std::uint8_t* base = nullptr;  // the text's block (MESSAGE DATA) or the text itself
  std::size_t size = 0;                // bytes readable from base
  std::size_t pos = 0;
  bool present_each = false;
  bool scenario_message = false;

  text::TextPen pen;
  std::uint8_t glyph_delay = kSystemGlyphDelay;
  bool waits = true;
  bool hurry_lock = false;

  void StorePen() const { text::StorePen(core::GameState, pen); }
  // After a page redraw the pen is where the redraw ended; margin and wrap stay the run's.
  void ReloadPen() {
    const text::TextPen drawn = text::LoadPen(core::GameState);
    pen.x = drawn.x;
    pen.y = drawn.y;
    pen.colour = drawn.colour;
    pen.shadow = drawn.shadow;
  }
  void RedrawUpTo(std::size_t code_pos) {
    text::RedrawPage(base + code_pos);
    ReloadPen();
  }
};

bool SeenTextFast() { return core::Settings.Skip != 0 && core::Scenario.SkipAllowed == 1; }

void Glyph(TextRun& run, std::uint16_t glyph) {
  run.pen.PlaceGlyph();
  if (glyph != 0) {
    // 0x1FFF is a blank that still widens the update rectangle; 0 draws nothing at all.
    const auto drawn = static_cast<std::int16_t>(glyph == text::kBlankGlyphAlias ? 0 : glyph);
    text::DrawGlyph(static_cast<std::int16_t>(run.pen.x), static_cast<std::int16_t>(run.pen.y),
                    drawn, static_cast<std::uint8_t>(run.pen.colour),
                    static_cast<std::uint8_t>(run.pen.shadow));
  }
  run.pen.AdvanceGlyph();
  run.StorePen();
  if (!run.waits || core::Input.SkipMode == 1 || SeenTextFast()) return;
  if (run.present_each) core::Present(&core::Screen.UpdateRect);
  core::Wait(run.glyph_delay);
}

// A reader wait at the code at `code_pos`. False when ScriptStop cut it short.
bool ReaderWait(TextRun& run, std::size_t code_pos, std::int16_t cursor) {
  for (;;) {
    // Skipping shows the whole text once, at its end.
    if (core::Input.SkipMode == 0) core::Present(&core::Screen.UpdateRect);
    const int menu =
        text::ClickWait(static_cast<std::int16_t>(run.pen.x), static_cast<std::int16_t>(run.pen.y),
                        cursor, static_cast<std::uint8_t>(run.pen.colour),
                        static_cast<std::uint8_t>(run.pen.shadow), run.scenario_message);
    if (core::Scenario.ScriptStop != 0) return false;
    if (menu != 1) break;
    run.RedrawUpTo(code_pos);  // the menu covered the page: draw it again, then wait again
  }
  run.waits = true;
  return true;
}

// After a page wait the page starts after it, at the top-left.
void MovePageStart(TextRun& run, std::size_t next) {
  const auto offset = static_cast<std::uint16_t>(next);
  text::SetPageStart(core::GameState, offset);
  text::SetPageStart(core::ResumeState, offset);
  run.pen.x = text::kPageLeft;
  run.pen.y = text::kPageTop;
  run.StorePen();
  text::StorePen(core::ResumeState, run.pen);
}

// 0xBB: a white flash, after which the scene stays dimmed.
void WhiteFlash() {
  core::Present(&core::Screen.UpdateRect);
  PALETTEENTRY kept[16];
  core::PaletteCopy(kept, core::Screen.ScreenPalette);
  for (int i = 0; i < 15; ++i) {
    PALETTEENTRY& e = core::Screen.ScreenPalette[i];
    e.peRed = static_cast<BYTE>(e.peRed * 10 / 15);
    e.peGreen = static_cast<BYTE>(e.peGreen * 10 / 15);
    e.peBlue = static_cast<BYTE>(e.peBlue * 10 / 15);
  }
  visuals::FadeToWhite(1);
  core::Wait(kFlashHold);
  visuals::FadeFromWhite(1);
  core::PaletteCopy(core::Screen.ScreenPalette, kept);
  core::Screen.PaletteState = 3;
  core::ClearInput();
}

// A pending fade-out of the music happens at a scene change, which then starts the music
// the script queued for it.
void MusicChange() {
  if (sound::Sound.CdPlaying == 2) {
    sound::CdFadeOut();
    if (core::Flag(core::flag::kQueuedMusic) != 0)
      sound::CdPlay(core::Flag(core::flag::kQueuedMusic));
  }
  core::SetFlag(core::flag::kQueuedMusic, 0);
}

// The end of every scene change: the text comes back over the new, dimmed scene.
void BackToText(TextRun& run, std::size_t code_pos) {
  visuals::Dim();
  run.RedrawUpTo(code_pos);
  core::ClearInput();
}

void ClearForScene(std::uint8_t effect) {
  if (effect != 0 && effect != 11) visuals::Undim();
  if (effect != 255 && effect != 18) visuals::ClearScene(effect);
}

enum class Scene : std::uint8_t { kBackground, kPictureV, kPictureH };

// 0xBD … 0xC0: the text is wiped, the scene cleared with effect e, the new picture
// composed and brought in with transition t.
void SceneChange(TextRun& run, std::size_t code_pos, Scene scene, const std::uint8_t* op) {
  const std::uint8_t n = op[0];
  const std::uint8_t effect = op[1];
  const std::uint8_t transition = op[2];
  visuals::ShowComposed();
  ClearForScene(effect);
  switch (scene) {
    case Scene::kBackground: visuals::ShowBackground(n); break;
    case Scene::kPictureV: ShowEventPictureV(n); break;
    case Scene::kPictureH: ShowEventPictureH(n); break;
  }
  MusicChange();
  if (transition != kNoTransition) visuals::Transition(transition);
  if (n != 0) core::Wait(kSceneSettle);
  BackToText(run, code_pos);
}

std::uint8_t SlotPicture(std::uint8_t position) {
  return position < kCharacterSlots ? core::GameState[core::field::kSlotPicture + position]
                                    : kNoCharacter;
}

void ShowCharacterIn(std::uint8_t position, std::uint8_t mode) {
  if (mode == 0) {
    visuals::ShowAreaDither(position);
  } else {
    visuals::ShowDither();
  }
}

// 0xC1 … 0xC3: one character comes, goes or is replaced, dissolved in.
void CharacterChange(TextRun& run, std::size_t code_pos, core::TextCode code,
                     const std::uint8_t* op) {
  const std::uint8_t position = op[0] % 4;
  std::uint8_t mode = op[0] / 4;
  const std::uint8_t n = op[1];
  // There are three slots: position 3 names none and changes nothing.
  if (position >= kCharacterSlots) return;
  if (code != core::TextCode::CharacterOnly && SlotPicture(position) == n) return;
  visuals::ShowComposed();
  if (n != kNoCharacter) visuals::Undim();
  if (code == core::TextCode::CharacterOnly) {
    visuals::RestoreBackground(0);
    mode = 1;
  } else if (code == core::TextCode::CharacterChange) {
    visuals::RestoreBackground(static_cast<std::uint8_t>(position + 1));
  }
  visuals::ShowCharacter(position, n);
  ShowCharacterIn(position, mode);
  core::Wait(kCharacterSettle);
  if (n != kNoCharacter) visuals::Dim();
  run.RedrawUpTo(code_pos);
  core::ClearInput();
}

// 0xC4: a background and a character together.
void CombinedChange(TextRun& run, std::size_t code_pos, const std::uint8_t* op) {
  const std::uint8_t transition = op[4];
  visuals::ShowComposed();
  if (op[3] != 0 && op[3] != 11) visuals::Undim();
  if (op[3] != 255) visuals::ClearScene(op[3]);
  visuals::ShowBackground(op[2]);
  visuals::ShowCharacter(op[0] % 4, op[1]);
  MusicChange();
  if (transition != kNoTransition) visuals::Transition(transition);
  core::Wait(kSceneSettle);
  BackToText(run, code_pos);
}

// 0xC5, 0xC6: three characters on the bare background, each dissolved in on its own or
// all together.
void TripleChange(TextRun& run, std::size_t code_pos, bool together, const std::uint8_t* op) {
  visuals::ShowComposed();
  visuals::Undim();
  visuals::RestoreBackground(0);
  for (int i = 0; i < 3; ++i) {
    const std::uint8_t position = op[2 * i] % 4;
    visuals::ShowCharacter(position, op[2 * i + 1]);
    if (!together) ShowCharacterIn(position, op[2 * i] / 4);
  }
  if (together) visuals::ShowDither();
  core::Wait(kCharacterSettle);
  BackToText(run, code_pos);
}

// Carries out control code `item`. False when the run ends (ScriptStop at a reader wait).
bool ControlCode(TextRun& run, const core::TextItem& item) {
  const std::uint8_t* op = item.operands;
  const std::size_t at = item.pos;
  const auto code = static_cast<core::TextCode>(item.code->number);
  switch (code) {
    case core::TextCode::WaitLine:
      if (core::Settings.Low != 0) break;
      return ReaderWait(run, at, text::kLineCursorGlyph);
    case core::TextCode::WaitPage: {
      // Seen text shown fast still waits here: the page cursor ignores that setting.
      if (!ReaderWait(run, at, text::kPageCursorGlyph)) return false;
      if (run.scenario_message) MovePageStart(run, at + item.length);
      break;
    }
    case core::TextCode::Speed: run.glyph_delay = op[0]; break;
    case core::TextCode::Pause: core::Wait(op[0]); break;
    case core::TextCode::HurryLock: run.hurry_lock = true; break;
    case core::TextCode::Flash: WhiteFlash(); break;
    case core::TextCode::Quake: Quake(); break;
    case core::TextCode::BackgroundChange:
      if (core::GameState[core::field::kBackgroundNumber] == op[0]) break;
      SceneChange(run, at, Scene::kBackground, op);
      break;
    case core::TextCode::BackgroundAlways: SceneChange(run, at, Scene::kBackground, op); break;
    case core::TextCode::EventPictureVChange:
      if (core::GameState[core::field::kShownVPicture] == op[0]) break;
      SceneChange(run, at, Scene::kPictureV, op);
      break;
    case core::TextCode::EventPictureHChange:
      if (core::GameState[core::field::kShownHPicture] == op[0]) break;
      SceneChange(run, at, Scene::kPictureH, op);
      break;
    case core::TextCode::CharacterChange:
    case core::TextCode::CharacterAdd:
    case core::TextCode::CharacterOnly: CharacterChange(run, at, code, op); break;
    case core::TextCode::BackgroundAndCharacter: CombinedChange(run, at, op); break;
    case core::TextCode::ThreeCharacters: TripleChange(run, at, false, op); break;
    case core::TextCode::ThreeCharactersTogether: TripleChange(run, at, true, op); break;
    case core::TextCode::HurryUnlock: run.hurry_lock = false; break;
    case core::TextCode::WaveH:
    case core::TextCode::WaveV: {
      const std::uint8_t armed =
          code == core::TextCode::WaveH ? core::flag::kWaveHorizontal : core::flag::kWaveVertical;
      core::SetFlag(armed, 1);
      core::SetFlag(static_cast<std::uint8_t>(armed + 1), op[0]);
      core::SetFlag(static_cast<std::uint8_t>(armed + 2), op[1]);
      break;
    }
    case core::TextCode::Redraw: run.RedrawUpTo(at); break;
    case core::TextCode::Claw1: ClawEffect1(); break;
    case core::TextCode::Blood: visuals::BloodEffect(); break;
    case core::TextCode::Claw2: visuals::ClawEffect2(); break;
    default: text::ApplyPenCode(run.pen, item); break;  // the pen codes
  }
  run.StorePen();
  return true;
}

// Where the text lies: inside MESSAGE DATA it is read up to the block's end; the program's
// own texts are read as they stand.
void LocateText(TextRun& run, const std::uint8_t* text) {
  const auto* block =
      static_cast<const std::uint8_t*>(core::MemLockOnce(core::Scenario.MessageData));
  const std::size_t block_size = block == nullptr ? 0 : GlobalSize(core::Scenario.MessageData);
  if (block != nullptr && text >= block && text < block + block_size) {
    run.base = block;
    run.size = block_size;
    run.pos = static_cast<std::size_t>(text - block);
    return;
  }
  run.base = text;
  run.size = std::numeric_limits<std::size_t>::max() / 2;
  run.pos = 0;
}

}  // namespace

namespace {

const std::uint8_t* RunText(std::uint16_t x, std::uint16_t y, const std::uint8_t* text,
                            std::uint16_t colour, std::uint16_t shadow, bool present_each,
                            bool scenario_message, std::uint8_t glyph_delay) {
  core::ClearInput();
  TextRun run;
  run.glyph_delay = glyph_delay;
  LocateText(run, text);
  run.present_each = present_each;
  run.scenario_message = scenario_message && run.base != text;

  run.pen.x = x;
  run.pen.y = y;
  run.pen.colour = colour;
  run.pen.shadow = shadow;
  run.pen.left_margin = x;
  if (run.scenario_message) {
    const auto offset = static_cast<std::uint16_t>(run.pos);
    text::SetPageStart(core::GameState, offset);
    text::SetPageStart(core::ResumeState, offset);
    text::StorePen(core::ResumeState, run.pen);
  }
  run.StorePen();
  if (run.scenario_message) TakeSaveSnapshot();

  core::TextItem item;
  for (;;) {
    if (core::Input.SkipMode != 1) {
      if (!run.hurry_lock && run.glyph_delay != 0 && (core::Input.InputEvents & kPressInputs)) {
        run.waits = false;  // a press completes the line or page at once
        core::ClearInput();
      }
      if (core::Settings.Low != 0) run.waits = false;
    }
    if (!core::ScanTextItem(run.base, run.size, run.pos, &item)) ScenarioBroken(CurrentScenario());
    run.pos += item.length;
    switch (item.kind) {
      case core::TextItemKind::kEnd:
        if (core::Input.SkipMode != 0) core::Present(&core::Screen.UpdateRect);
        return run.base + run.pos;
      case core::TextItemKind::kGlyph: Glyph(run, item.glyph); break;
      case core::TextItemKind::kCode:
        if (!ControlCode(run, item)) return nullptr;
        break;
      case core::TextItemKind::kOperation: RunSceneOperation(item.operation, true); break;
      case core::TextItemKind::kIgnored: continue;
    }
    if (core::Input.SkipMode == 1 && (core::Input.InputEvents & kPressInputs)) {
      core::Input.SkipMode = 0;  // a press ends skipping
      core::ClearInput();
    }
    core::PumpMessage();
  }
}

}  // namespace

const std::uint8_t* ShowText(std::uint16_t x, std::uint16_t y, const std::uint8_t* text,
                             std::uint16_t colour, std::uint16_t shadow, bool present_each,
                             bool scenario_message) {
  return RunText(x, y, text, colour, shadow, present_each, scenario_message, kSystemGlyphDelay);
}

const std::uint8_t* ShowTextAtOnce(std::uint16_t x, std::uint16_t y, const std::uint8_t* text,
                                   std::uint16_t colour, std::uint16_t shadow) {
  return RunText(x, y, text, colour, shadow, false, false, 0);
}

}  // namespace scenario
