// Saving into and reading from the three slot files.
//
// A slot file that is missing reads as an empty slot, and saving creates it, so a fresh
// data folder needs no prepared files. A save that cannot be written tells the reader why
// and the game goes on; the platform replaces a file only once the new one is whole on
// disk, so the slot keeps its previous save.
#include <algorithm>
#include <array>
#include <cstring>

#include "core/exit_program.h"
#include "core/flags.h"
#include "core/format_text.h"
#include "core/scenario_state.h"
#include "core/window_state.h"
#include "platform/trace.h"
#include "resources/pack_archive.h"
#include "scenario/save_files.h"
#include "scenario/save_slots.h"
#include "visuals/background_table.h"
#include "visuals/scene_state.h"

namespace scenario {

namespace {

constexpr const char* kSaveFailedCaption = "セーブできません";
constexpr std::uint8_t kNone = 255;
constexpr std::uint8_t kFirstPersistentFlag = 20;
constexpr std::uint8_t kSeenScenarioLimit = 240;

bool ValidSlot(int slot) { return slot >= 0 && slot < kSlotCount; }

bool Exists(const std::string& name) { return resources::DataFileExists(name.c_str()); }

// Background n's picture file, if it has one.
bool BackgroundFileExists(std::uint8_t n) {
  const std::uint8_t checked = visuals::CheckedBackgroundNumber(n);
  if (checked == visuals::kWhiteBackground) return true;
  const std::uint8_t p = visuals::BackgroundRecord(checked)[0];
  return p == 0 || Exists(core::FormatString("S%02d.VGR", p));
}

bool EventPictureExists(const char* pattern, std::uint8_t n) {
  return n == kNone || n == 0 || Exists(core::FormatString(pattern, n));
}

// The runner's trace of a slot file written or read as a game: "write N scenario S",
// "read N scenario S", "read N empty" or "progress N scenario S" (N the file's slot 0 … 2).
// The progress write is one act in the trace, not the read and the write it is made of: it
// uses the untraced ReadIntoResume and WriteSaveImage below.
void TraceSlot(const char* act, int slot, const std::uint8_t* record) {
  std::string details = std::string(act) + " " + std::to_string(slot);
  details += record == nullptr
                 ? std::string(" empty")
                 : " scenario " + std::to_string(record[core::field::kCurrentScenario]);
  platform::Trace("slot", details);
}

}  // namespace

std::string SlotFileName(int slot) { return core::FormatString("ZEN2_%02d.SAV", slot); }

bool RecordFilesExist(const core::GameStateRecord& r) {
  const std::uint8_t scenario = core::GetU8(r, core::field::kCurrentScenario);
  if (scenario == kNone || !Exists(core::FormatString("%03d.SCN", scenario))) return false;
  if (core::GetU8(r, core::field::kBackgroundNumber) != kNone) {
    if (!BackgroundFileExists(core::GetU8(r, core::field::kStoredBackground))) return false;
  } else if (!EventPictureExists("V%02d.VGR", core::GetU8(r, core::field::kShownVPicture)) ||
             !EventPictureExists("H%02d.VGR", core::GetU8(r, core::field::kShownHPicture))) {
    return false;
  }
  for (int slot = 0; slot < visuals::kSlotCount; ++slot) {
    const std::uint8_t picture = core::GetU8(r, core::field::kSlotPicture + slot);
    if (picture != kNone && !Exists(core::FormatString("C%02x.VGR", picture))) return false;
  }
  const std::uint8_t pcm = core::GetU8(r, core::field::kPcmNumber);
  return pcm == kNone || Exists(core::FormatString("HT_VD%02d.P16", pcm));
}

bool ReadUnsealedSlot(int slot, SaveBytes record) {
  if (!ValidSlot(slot)) return false;
  const std::string name = SlotFileName(slot);
  return resources::FileReadExact(name.c_str(), record.data(), core::kGameStateSize) ==
             static_cast<std::int64_t>(core::kGameStateSize) &&
         UnsealSaveRecord(record);
}

bool ReadSlotRecord(int slot, SaveBytes record) {
  if (!ReadUnsealedSlot(slot, record) || record[save_field::kFinishedRequest] != 0) return false;
  core::GameStateRecord copy;
  std::memcpy(copy, record.data(), core::kGameStateSize);
  return RecordFilesExist(copy);
}

namespace {

bool WriteSaveImage(int slot) {
  if (!ValidSlot(slot)) return false;
  std::array<std::uint8_t, core::kGameStateSize> sealed;
  std::memcpy(sealed.data(), core::SaveImage, core::kGameStateSize);
  SYSTEMTIME now{};
  GetLocalTime(&now);
  SealSaveRecord(sealed, now);
  const std::string name = SlotFileName(slot);
  std::string failure;
  if (resources::FileTryWriteAll(name.c_str(), sealed.data(), core::kGameStateSize, &failure) ==
      0) {
    MessageBoxA(core::Window.MainWindow, failure.c_str(), kSaveFailedCaption, MB_OK | MB_ICONHAND);
    return false;
  }
  return true;
}

bool ReadIntoResume(int slot) {
  std::array<std::uint8_t, core::kGameStateSize> record;
  const bool good = ReadSlotRecord(slot, record);
  // Whatever the file holds, the play in progress gives up these.
  core::Scenario.ResumeValid = 0;
  std::fill_n(core::GameState + core::field::kFlags, core::field::kFlagCount, 0);
  core::SetU16(core::GameState, core::field::kHistoryCount, 0);
  core::SetU16(core::GameState, core::field::kHistoryBefore, 0);
  core::SetU8(core::GameState, core::field::kColourEffect, 0);
  core::SetU8(core::GameState, core::field::kCdTrack, kNone);
  if (!good) return false;
  std::memcpy(core::ResumeState, record.data(), core::kGameStateSize);
  std::memcpy(core::SaveImage, record.data(), core::kGameStateSize);
  return true;
}

}  // namespace

bool SaveSlot(int slot) {
  const bool written = WriteSaveImage(slot);
  if (written) TraceSlot("write", slot, core::SaveImage);
  return written;
}

bool LoadSlot(int slot) {
  const bool good = ReadIntoResume(slot);
  TraceSlot("read", slot, good ? core::ResumeState : nullptr);
  return good;
}

SlotInfo ReadSlotInfo(int slot) {
  std::array<std::uint8_t, core::kGameStateSize> r;
  if (!ReadSlotRecord(slot, r)) return {};
  using namespace save_field;
  SlotInfo info;
  info.year = static_cast<std::uint16_t>(r[kYear] | r[kYear + 1] << 8);
  info.month = r[kMonth];
  info.day = r[kDay];
  info.hour = r[kHour];
  info.minute = r[kMinute];
  info.second = r[kSecond];
  info.progress = r[kProgress];
  info.valid = true;
  return info;
}

void WriteProgress() {
  core::GameStateRecord play;
  std::memcpy(play, core::GameState, core::kGameStateSize);
  ReadIntoResume(core::Scenario.LastUsedSlot);
  std::memcpy(core::SaveImage + core::field::kFlags + kFirstPersistentFlag,
              play + core::field::kFlags + kFirstPersistentFlag,
              core::field::kFlagCount - kFirstPersistentFlag);
  std::uint8_t* flags = core::SaveImage + core::field::kFlags;
  if (play[core::field::kFlags + core::flag::kFinishedRequest] == 1) {
    flags[core::flag::kProgressCount] = 0;
    flags[core::flag::kFinishedGame] = 1;
  } else if (flags[core::flag::kProgressCount] != 255) {
    ++flags[core::flag::kProgressCount];
  }
  flags[core::flag::kFinishedRequest] = 0;
  const std::uint8_t scenario = core::GetU8(play, core::field::kCurrentScenario);
  if (scenario < kSeenScenarioLimit)
    core::SetFlagBit(core::SaveImage, core::flag::kSeenScenarios, scenario);
  if (WriteSaveImage(core::Scenario.LastUsedSlot))
    TraceSlot("progress", core::Scenario.LastUsedSlot, core::SaveImage);
  std::memcpy(core::GameState, play, core::kGameStateSize);
}

}  // namespace scenario
