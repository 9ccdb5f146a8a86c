#include "visuals/background.h"

#include <cstring>

#include "core/format_text.h"
#include "core/game_state.h"
#include "core/palette_state.h"
#include "core/picture.h"
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
  BackgroundCopy = resources::MemAlloc(kPixelBytes, "BACK GRP");
  auto* copy = static_cast<std::uint8_t*>(resources::MemLock(BackgroundCopy));
  std::uint8_t* picture = LockPicture(VbufDIB);
  if (copy != nullptr && picture != nullptr) {
    std::memcpy(copy, picture + kPixelOffset, kPixelBytes);
  }
  if (picture != nullptr) resources::MemUnlock(VbufDIB);
  if (copy != nullptr) resources::MemUnlock(BackgroundCopy);
}

// Copies columns [left, left + width) of every row from the background copy into VbufDIB.
void CopyColumns(int left, int width) {
  const auto* copy = static_cast<const std::uint8_t*>(resources::MemLock(BackgroundCopy));
  std::uint8_t* picture = LockPicture(VbufDIB);
  if (copy != nullptr && picture != nullptr && GlobalSize(BackgroundCopy) >= kPixelBytes) {
    for (int row = 0; row < kPictureHeight; ++row) {
      const std::size_t at = static_cast<std::size_t>(row) * kRowStride + left;
      std::memcpy(picture + kPixelOffset + at, copy + at, static_cast<std::size_t>(width));
    }
  }
  if (picture != nullptr) resources::MemUnlock(VbufDIB);
  if (copy != nullptr) resources::MemUnlock(BackgroundCopy);
}

// Loads the background picture p into VbufDIB, or composes the screens without a file.
void ComposeNewBackground(std::uint8_t n, std::uint8_t p) {
  resources::MemRelease(&BackgroundCopy);
  if (n == kWhiteBackground) {
    std::fill(ScreenPalette, ScreenPalette + 16, kWhite);
    ClearPicture(VbufDIB);
  } else if (p == 0) {
    BuildBackgroundPalette(n, ScreenPalette);
    ClearPicture(VbufDIB);
  } else {
    char name[16];
    resources::FormatText(name, "S%02d.VGR", p);
    ClearPicture(VbufDIB);
    DrawPictureFile(VbufDIB, name, 0, 0);
    // Colours 0–3 come from the table, not from the file.
    BuildBackgroundPalette(n, ScreenPalette);
  }
  StoreBackgroundCopy();
}

}  // namespace

void ShowBackground(std::uint8_t n) {
  n = CheckedBackgroundNumber(n);
  PaletteCopy(PreviousPalette, ScreenPalette);
  EmptyAllSlots();
  scenario::SetU8(scenario::GameState, scenario::field::kShownHPicture, scenario::kNoEventPicture);
  scenario::SetU8(scenario::GameState, scenario::field::kShownVPicture, scenario::kNoEventPicture);
  SetColourEffect(0);

  const std::uint8_t p = PictureOf(n);
  const bool same_picture = p != kNoPictureFile && p == PictureOf(StoredBackground());
  SetStoredBackground(n);
  if (same_picture) {
    // Another colouring of the kept picture (or the same background again): no reload.
    RestoreBackground(0);
    BuildBackgroundPalette(n, ScreenPalette);
  } else {
    ComposeNewBackground(n, p);
  }

  SetBackgroundNumber(n);
  ScreenPalette[15] = kWhite;
  PaletteCopy(BackgroundPalette, ScreenPalette);
  PaletteCopy(PlainPalette, ScreenPalette);
  if (PendingColourEffect() != 0) {
    ApplyColourEffect(PendingColourEffect(), false);
    SetPendingColourEffect(0);
  }
}

void RestoreBackground(std::uint8_t mode) {
  PaletteCopy(ScreenPalette, BackgroundPalette);
  if (BackgroundCopy == 0) {
    ClearPicture(VbufDIB);
    return;
  }
  switch (mode) {
    case 0:
      CopyColumns(0, kPictureWidth);
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
  PaletteCopy(ScreenPalette, BackgroundPalette);
}

void ForgetBackground() {
  resources::MemRelease(&BackgroundCopy);
  SetStoredBackground(kNoBackground);
}

void FillBackground(std::uint8_t colour) {
  EmptyAllSlots();
  FillPictureRect(VbufDIB, 0, 0, kPictureWidth - 1, kPictureHeight - 1,
                  static_cast<std::uint8_t>(colour % 16));
}

}  // namespace visuals
