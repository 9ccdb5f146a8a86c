#include "visuals/background.h"

#include <cstring>

#include "core/format_text.h"
#include "core/game_state.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "visuals/picture_files.h"

namespace visuals {
namespace {

constexpr PALETTEENTRY kWhite{255, 255, 255, PC_RESERVED};
constexpr std::uint8_t kNoPictureFile = 255;

// Picture file number of background n for the same-picture test; the white screen and "none"
// have no file and match nothing.
std::uint8_t PictureOf(std::uint8_t n) {
  if (n == kWhiteBackground || n == kNoBackground) return kNoPictureFile;
  return BackgroundRecord(n)[0];
}

// Keeps the pixels of VbufDIB as the background copy.
void StoreBackgroundCopy() {
  BackgroundCopy = core::MemAlloc(core::kPixelBytes, "BACK GRP");
  auto* copy = static_cast<std::uint8_t*>(core::MemLock(BackgroundCopy));
  std::uint8_t* picture = core::LockPicture(core::Screen.VbufDIB);
  if (copy != nullptr && picture != nullptr) {
    std::memcpy(copy, picture + core::kPixelOffset, core::kPixelBytes);
  }
  if (picture != nullptr) core::MemUnlock(core::Screen.VbufDIB);
  if (copy != nullptr) core::MemUnlock(BackgroundCopy);
}

// Copies columns [left, left + width) of every row from the background copy into VbufDIB.
void CopyColumns(int left, int width) {
  const auto* copy = static_cast<const std::uint8_t*>(core::MemLock(BackgroundCopy));
  std::uint8_t* picture = core::LockPicture(core::Screen.VbufDIB);
  if (copy != nullptr && picture != nullptr && GlobalSize(BackgroundCopy) >= core::kPixelBytes) {
    for (int row = 0; row < core::kPictureHeight; ++row) {
      const std::size_t at = static_cast<std::size_t>(row) * core::kRowStride + left;
      std::memcpy(picture + core::kPixelOffset + at, copy + at, static_cast<std::size_t>(width));
    }
  }
  if (picture != nullptr) core::MemUnlock(core::Screen.VbufDIB);
  if (copy != nullptr) core::MemUnlock(BackgroundCopy);
}

// Loads the background picture p into VbufDIB, or composes the screens without a file.
void ComposeNewBackground(std::uint8_t n, std::uint8_t p) {
  core::MemRelease(&BackgroundCopy);
  if (n == kWhiteBackground) {
    std::fill(core::Screen.ScreenPalette, core::Screen.ScreenPalette + 16, kWhite);
    core::ClearPicture(core::Screen.VbufDIB);
  } else if (p == 0) {
    BuildBackgroundPalette(n, core::Screen.ScreenPalette);
    core::ClearPicture(core::Screen.VbufDIB);
  } else {
    char name[16];
    core::FormatText(name, "S%02d.VGR", p);
    core::ClearPicture(core::Screen.VbufDIB);
    DrawPictureFile(core::Screen.VbufDIB, name, 0, 0);
    // Colours 0–3 come from the table, not from the file.
    BuildBackgroundPalette(n, core::Screen.ScreenPalette);
  }
  StoreBackgroundCopy();
}

}  // namespace

void ShowBackground(std::uint8_t n) {
  n = CheckedBackgroundNumber(n);
  core::PaletteCopy(core::Screen.PreviousPalette, core::Screen.ScreenPalette);
  EmptyAllSlots();
  core::SetU8(core::GameState, core::field::kShownHPicture, core::kNoEventPicture);
  core::SetU8(core::GameState, core::field::kShownVPicture, core::kNoEventPicture);
  SetColourEffect(0);

  const std::uint8_t p = PictureOf(n);
  const bool same_picture = p != kNoPictureFile && p == PictureOf(StoredBackground());
  SetStoredBackground(n);
  if (same_picture) {
    // Another colouring of the kept picture (or the same background again): no reload.
    RestoreBackground(0);
    BuildBackgroundPalette(n, core::Screen.ScreenPalette);
  } else {
    ComposeNewBackground(n, p);
  }

  SetBackgroundNumber(n);
  core::Screen.ScreenPalette[15] = kWhite;
  core::PaletteCopy(core::Screen.BackgroundPalette, core::Screen.ScreenPalette);
  core::PaletteCopy(core::Screen.PlainPalette, core::Screen.ScreenPalette);
  if (PendingColourEffect() != 0) {
    ApplyColourEffect(PendingColourEffect(), false);
    SetPendingColourEffect(0);
  }
}

void RestoreBackground(std::uint8_t mode) {
  core::PaletteCopy(core::Screen.ScreenPalette, core::Screen.BackgroundPalette);
  if (BackgroundCopy == 0) {
    core::ClearPicture(core::Screen.VbufDIB);
    return;
  }
  switch (mode) {
    case 0:
      CopyColumns(0, core::kPictureWidth);
      SetBackgroundNumber(StoredBackground());
      EmptyAllSlots();
      break;
    case 1:
      CopyColumns(0, 320);
      EmptySlot(0);
      break;
    case 2:
      CopyColumns(320, 320);
      EmptySlot(1);
      break;
    case 3:
      // The centre half overlaps both side slots' characters: all are gone.
      CopyColumns(160, 320);
      EmptyAllSlots();
      break;
    default: break;
  }
  core::PaletteCopy(core::Screen.ScreenPalette, core::Screen.BackgroundPalette);
}

void ForgetBackground() {
  core::MemRelease(&BackgroundCopy);
  SetStoredBackground(kNoBackground);
}

void FillBackground(std::uint8_t colour) {
  EmptyAllSlots();
  core::FillPictureRect(core::Screen.VbufDIB, 0, 0, core::kPictureWidth - 1,
                        core::kPictureHeight - 1, static_cast<std::uint8_t>(colour % 16));
}

}  // namespace visuals
