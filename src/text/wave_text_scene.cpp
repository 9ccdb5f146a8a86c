#include "text/wave_text_scene.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "core/input_state.h"
#include "core/memory_blocks.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "core/settings.h"
#include "core/sine_table.h"
#include "core/window_state.h"
#include "text/text_layer.h"
#include "text/text_layout.h"
#include "text/typewriter.h"
#include "visuals/background.h"
#include "visuals/palette_fades.h"
#include "visuals/screen_show.h"

namespace text {

namespace {

constexpr std::uint8_t kTextBits = 0x0C;
constexpr std::uint64_t kTextBitsWord = 0x0C0C0C0C0C0C0C0CULL;
constexpr int kRowBytes = core::kPictureWidth;

constexpr int kHorizontalPhaseStep = 2;  // degrees per frame
constexpr int kVerticalPhaseStep = 3;
constexpr int kHorizontalScale = 15;  // amplitude × sine >> 15: up to 128 pixels
constexpr int kVerticalScale = 18;    // amplitude × sine / 2^18: up to 15 rows

// Per frame: brightness steps of the black opening and closing, amplitude steps of the
// still opening and closing (finer when smooth).
constexpr int kBrightnessStep = 3;
constexpr int kBrightnessStepDeep = 1;
constexpr int kGrowStep = 8;
constexpr int kGrowStepSmooth = 1;
constexpr int kShrinkStep = 16;
constexpr int kShrinkStepSmooth = 2;
constexpr std::uint16_t kFrameTime = 1;  // 10 ms from the frame's start

enum : std::uint8_t { kFromBlack = 1, kFromStill = 2 };  // start modes; others open at once
enum : std::uint8_t { kToBlack = 1, kToStill = 2 };      // end modes; others end at once

// Screen row r of a pixel area (rows are stored bottom-up).
std::uint8_t* Row(std::uint8_t* pixels, int r) {
  return pixels + static_cast<std::size_t>(core::kPictureHeight - 1 - r) * kRowBytes;
}
const std::uint8_t* Row(const std::uint8_t* pixels, int r) {
  return pixels + static_cast<std::size_t>(core::kPictureHeight - 1 - r) * kRowBytes;
}

// dst keeps its text bits only; eight pixels at a time.
void KeepText(std::uint8_t* dst, std::size_t n) {
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t d;
    std::memcpy(&d, dst + i, 8);
    d &= kTextBitsWord;
    std::memcpy(dst + i, &d, 8);
  }
  for (; i < n; ++i) dst[i] &= kTextBits;
}

// dst keeps its text bits and takes src's pixels under them; eight pixels at a time.
void MergeRow(std::uint8_t* dst, const std::uint8_t* src, std::size_t n) {
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t d;
    std::uint64_t s;
    std::memcpy(&d, dst + i, 8);
    std::memcpy(&s, src + i, 8);
    d = (d & kTextBitsWord) | s;
    std::memcpy(dst + i, &d, 8);
  }
  for (; i < n; ++i) dst[i] = static_cast<std::uint8_t>((dst[i] & kTextBits) | src[i]);
}

void ComposeHorizontal(std::uint8_t* screen, const std::uint8_t* background, int amplitude,
                       int phase) {
  for (int r = 0; r < core::kPictureHeight; ++r) {
    const int shift =
        (amplitude * core::SineDegrees(static_cast<std::uint32_t>(phase + r))) >> kHorizontalScale;
    // Screen pixel x shows background pixel x + shift where that lies in the row.
    const int first = std::clamp(-shift, 0, kRowBytes);
    const int last = std::clamp(kRowBytes - shift, first, kRowBytes);
    std::uint8_t* dst = Row(screen, r);
    KeepText(dst, static_cast<std::size_t>(first));
    MergeRow(dst + first, Row(background, r) + first + shift,
             static_cast<std::size_t>(last - first));
    KeepText(dst + last, static_cast<std::size_t>(kRowBytes - last));
  }
}

void ComposeVertical(std::uint8_t* screen, const std::uint8_t* background, int amplitude,
                     int phase) {
  for (int r = 0; r < core::kPictureHeight; ++r) {
    const int sine = core::SineDegrees(static_cast<std::uint32_t>(2 * r + phase));
    const int q = r + sine * amplitude / (1 << kVerticalScale);  // rounded toward zero
    std::uint8_t* dst = Row(screen, r);
    if (q >= 0 && q < core::kPictureHeight) {
      MergeRow(dst, Row(background, q), kRowBytes);
    } else {
      KeepText(dst, kRowBytes);
    }
  }
}

// The scene palette of the text layer: the background's colours 0–3 dimmed, the shadow
// colours 4–7 black and the ink colours 8–15 white, whatever the background.
void SetWavePalette() {
  for (int i = 0; i < 4; ++i) {
    PALETTEENTRY& e = core::Screen.ScreenPalette[i];
    e.peRed = static_cast<BYTE>(e.peRed * 10 / 15);
    e.peGreen = static_cast<BYTE>(e.peGreen * 10 / 15);
    e.peBlue = static_cast<BYTE>(e.peBlue * 10 / 15);
  }
  for (int i = 4; i < 16; ++i) {
    const BYTE v = i < 8 ? 0 : 255;
    core::Screen.ScreenPalette[i] = PALETTEENTRY{v, v, v, PC_RESERVED};
  }
}

// Message m of MESSAGE DATA at `block` of `size` bytes, or null when its table entry or
// its first byte lies outside the block.
const std::uint8_t* MessageText(const std::uint8_t* block, std::size_t size, std::uint8_t m) {
  const std::size_t entry = 2 + 2 * static_cast<std::size_t>(m);
  if (block == nullptr || entry + 2 > size) return nullptr;
  const std::size_t at = block[entry] | block[entry + 1] << 8;
  return at < size ? block + at : nullptr;
}

// The progress of one scene.
struct WaveRun {
  std::uint8_t start_mode;
  std::uint8_t end_mode;
  WaveDirection direction;
  bool deep;    // above 8 bits per pixel: coarser fades, and they repaint themselves
  bool smooth;  // a palette display without simplified effects: the finest amplitude steps
  int amplitude;
  int phase;
  int brightness;
  bool opened;

  int BrightnessStep() const { return deep ? kBrightnessStepDeep : kBrightnessStep; }
};

// One frame of the opening. True when it changed the brightness.
bool OpenStep(WaveRun& run) {
  if (run.start_mode == kFromBlack) {
    run.brightness = std::min<int>(run.brightness + run.BrightnessStep(), core::Screen.FadeSteps);
    visuals::SetPaletteLevel15(static_cast<std::int16_t>(run.brightness), 0);
    run.opened = run.brightness >= core::Screen.FadeSteps;
    return true;
  }
  run.amplitude =
      std::min(run.amplitude + (run.smooth ? kGrowStepSmooth : kGrowStep), kWaveFullAmplitude);
  run.opened = run.amplitude >= kWaveFullAmplitude;
  return false;
}

// One frame of the closing; `ends` is set when it is over. True when it changed the
// brightness.
bool CloseStep(WaveRun& run, bool* ends) {
  switch (run.end_mode) {
    case kToBlack:
      run.brightness = std::max(run.brightness - run.BrightnessStep(), 0);
      visuals::SetPaletteLevel(static_cast<std::int16_t>(run.brightness), 0);
      *ends = run.brightness == 0;
      return true;
    case kToStill:
      run.amplitude = std::max(run.amplitude - (run.smooth ? kShrinkStepSmooth : kShrinkStep), 0);
      *ends = run.amplitude == 0;
      return false;
    default: *ends = true; return false;
  }
}

// The frames, each paced to 10 ms from its start, until the scene has closed.
void RunFrames(WaveRun& run, std::uint8_t* screen, const std::uint8_t* background) {
  const int phase_step =
      run.direction == WaveDirection::kHorizontal ? kHorizontalPhaseStep : kVerticalPhaseStep;
  for (;;) {
    const DWORD start = GetTickCount();
    if (screen != nullptr && background != nullptr) {
      ComposeWaveFrame(screen, background, run.direction, run.amplitude, run.phase);
    }
    run.phase = (run.phase + phase_step) % 360;

    bool brightness_changed = false;
    bool ends = false;
    if (!run.opened) {
      brightness_changed = OpenStep(run);
    } else if (!Text.Typewriter.active) {
      brightness_changed = CloseStep(run, &ends);
    }
    if (Text.Typewriter.active) {
      TypeStep();
    } else if (core::Input.SkipMode != 0) {
      // Skipping ends the scene as soon as its text is typed; an opening from black that
      // was cut short shows its end state, as every fade does when skipped.
      if (!run.opened && run.start_mode == kFromBlack) {
        visuals::SetPaletteLevel15(static_cast<std::int16_t>(core::Screen.FadeSteps), 0);
        brightness_changed = true;
      }
      ends = true;
    }
    // Above 8 bits the palette change has repainted the window already.
    if (!(brightness_changed && run.deep)) core::Present(nullptr);
    core::WaitSince(start, kFrameTime);
    if (ends) return;
  }
}

// End mode 1: the current background shown again from black.
void ShowBackgroundAgain() {
  visuals::ApplyBlack();
  const std::uint8_t n = visuals::BackgroundNumber();
  // Without a background (an event picture) the composed picture is shown as it is.
  if (n != visuals::kNoBackground) visuals::ShowBackground(n);
  visuals::ShowComposed();
  visuals::FadeIn(1);
}

}  // namespace

void ComposeWaveFrame(std::uint8_t* screen, const std::uint8_t* background, WaveDirection direction,
                      int amplitude, int phase) {
  if (direction == WaveDirection::kHorizontal) {
    ComposeHorizontal(screen, background, amplitude, phase);
  } else {
    ComposeVertical(screen, background, amplitude, phase);
  }
}

void WaveTextScene(std::uint8_t message, std::uint8_t start_mode, std::uint8_t end_mode,
                   WaveDirection direction) {
  PALETTEENTRY kept[16];
  core::PaletteCopy(kept, core::Screen.ScreenPalette);
  SetWavePalette();
  if (start_mode == kFromBlack) {
    visuals::ApplyBlack();
  } else {
    visuals::ApplyScreenPalette();
  }

  WaveRun run{};
  run.start_mode = start_mode;
  run.end_mode = end_mode;
  run.direction = direction;
  run.deep = core::Window.DisplayBits > 8;
  run.smooth = core::Settings.Low == 0 && !run.deep;
  WaveMotion& motion = Text.WaveMotions[static_cast<int>(direction)];
  run.amplitude = start_mode == kFromStill ? 0 : kWaveFullAmplitude;
  run.phase = start_mode == kFromStill ? 0 : motion.phase % 360;
  run.brightness = start_mode == kFromBlack ? 0 : core::Screen.FadeSteps;
  run.opened = start_mode != kFromBlack && start_mode != kFromStill;

  // The shown picture and the clean background stay locked, MESSAGE DATA in place, for
  // the whole scene.
  const core::MemHandle shown = core::Screen.VmemDIB;
  const core::MemHandle clean = core::Screen.VbufDIB;
  const core::MemHandle messages = core::Scenario.MessageData;
  std::uint8_t* screen = core::LockPicture(shown);
  std::uint8_t* background = core::LockPicture(clean);
  const auto* block = static_cast<const std::uint8_t*>(core::MemWire(messages));
  const std::size_t block_size = block == nullptr ? 0 : GlobalSize(messages);
  TypeStart(kPageLeft, kPageTop, MessageText(block, block_size, message), kTextColour, kTextShadow);

  RunFrames(run, screen == nullptr ? nullptr : screen + core::kPixelOffset,
            background == nullptr ? nullptr : background + core::kPixelOffset);
  motion.phase = static_cast<std::uint16_t>(run.phase);
  motion.amplitude = static_cast<std::uint16_t>(run.amplitude);

  if (block != nullptr) core::MemUnwire(messages);
  if (background != nullptr) core::MemUnlock(clean);
  if (screen != nullptr) core::MemUnlock(shown);

  switch (end_mode) {
    case kToBlack:
      core::PaletteCopy(core::Screen.ScreenPalette, kept);
      ShowBackgroundAgain();
      break;
    case kToStill:
      core::CopyPicture(core::Screen.VmemDIB, core::Screen.VbufDIB);
      core::PaletteCopy(core::Screen.ScreenPalette, kept);
      visuals::SetPaletteLevel15(static_cast<std::int16_t>(core::Screen.FadeSteps * 10 / 15), 0);
      core::Present(nullptr);
      break;
    default:
      core::PaletteCopy(core::Screen.ScreenPalette, kept);
      ClearTextLayer(core::Screen.VmemDIB);
      core::Present(nullptr);
      break;
  }
  // Both still endings leave the scene dimmed for the text that follows; the palette state
  // says so, or the next Undim or FadeOutDim would take the screen for something else.
  if (end_mode != kToBlack) core::Screen.PaletteState = visuals::kPaletteDim;
}

}  // namespace text
