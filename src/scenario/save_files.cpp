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
#include "scenario/scenario_loader.h"
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

// Background n's picture file when it has one that does not exist, else "".
std::string MissingBackgroundFile(std::uint8_t n) {
  const std::uint8_t checked = visuals::CheckedBackgroundNumber(n);
  if (checked == visuals::kWhiteBackground) return "";
  const std::uint8_t p = visuals::BackgroundRecord(checked)[0];
  const std::string name = core::FormatString("S%02d.VGR", p);
  return p == 0 || Exists(name) ? "" : name;
}

std::string MissingEventPicture(const char* pattern, std::uint8_t n) {
  if (n == kNone || n == 0) return "";
  const std::string name = core::FormatString(pattern, n);
  return Exists(name) ? "" : name;
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

// The first file of the saved scene that does not exist, or "" when all do.
std::string MissingSceneFile(const core::GameStateRecord& r) {
  const auto missing = [](const std::string& name) { return Exists(name) ? "" : name; };
  std::string file;
  if (core::GetU8(r, core::field::kBackgroundNumber) != kNone) {
    file = MissingBackgroundFile(core::GetU8(r, core::field::kStoredBackground));
  } else {
    file = MissingEventPicture("V%02d.VGR", core::GetU8(r, core::field::kShownVPicture));
    if (file.empty())
      file = MissingEventPicture("H%02d.VGR", core::GetU8(r, core::field::kShownHPicture));
  }
  for (int slot = 0; slot < visuals::kSlotCount && file.empty(); ++slot) {
    const std::uint8_t picture = core::GetU8(r, core::field::kSlotPicture + slot);
    if (picture != kNone) file = missing(core::FormatString("C%02x.VGR", picture));
  }
  const std::uint8_t pcm = core::GetU8(r, core::field::kPcmNumber);
  if (file.empty() && pcm != kNone) file = missing(core::FormatString("HT_VD%02d.P16", pcm));
  return file;
}

}  // namespace

std::string SlotFileName(int slot) { return core::FormatString("ZEN2_%02d.SAV", slot); }

SaveCheck CheckSavedRecord(const core::GameStateRecord& r) {
  SaveCheck check;
  const std::uint8_t scenario = core::GetU8(r, core::field::kCurrentScenario);
  check.file = core::FormatString("%03d.SCN", scenario);
  const ScenarioCode code = CheckScenarioCode(scenario, core::GetU16(r, core::field::kEventPC));
  check.event_size = code.event_size;
  switch (code.place) {
    case CodePlace::kNoFile: check.damage = SaveDamage::kNoScenario; return check;
    case CodePlace::kDamagedFile: check.damage = SaveDamage::kScenarioDamaged; return check;
    case CodePlace::kOutside: check.damage = SaveDamage::kEventPCOutside; return check;
    case CodePlace::kInstruction: break;
  }
  check.file = MissingSceneFile(r);
  check.damage = check.file.empty() ? SaveDamage::kNone : SaveDamage::kSceneFileMissing;
  return check;
}

bool ReadUnsealedSlot(int slot, SaveBytes record) {
  if (!ValidSlot(slot)) return false;
  const std::string name = SlotFileName(slot);
  return resources::FileReadExact(name.c_str(), record.data(), core::kGameStateSize) ==
             static_cast<std::int64_t>(core::kGameStateSize) &&
         UnsealSaveRecord(record);
}

SlotState ReadSlotRecord(int slot, SaveBytes record) {
  if (!ReadUnsealedSlot(slot, record) || record[save_field::kFinishedRequest] != 0)
    return SlotState::kEmpty;
  core::GameStateRecord copy;
  std::memcpy(copy, record.data(), core::kGameStateSize);
  return CheckSavedRecord(copy).damage == SaveDamage::kNone ? SlotState::kGood
                                                            : SlotState::kDamaged;
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

// A damaged save is read only where it is kept, not played: by the progress write, which
// writes it back with the progress added.
bool ReadIntoResume(int slot, bool take_damaged) {
  std::array<std::uint8_t, core::kGameStateSize> record;
  const SlotState state = ReadSlotRecord(slot, record);
  const bool good = state == SlotState::kGood || (take_damaged && state == SlotState::kDamaged);
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
  const bool good = ReadIntoResume(slot, false);
  TraceSlot("read", slot, good ? core::ResumeState : nullptr);
  return good;
}

SlotInfo ReadSlotInfo(int slot) {
  std::array<std::uint8_t, core::kGameStateSize> r;
  const SlotState state = ReadSlotRecord(slot, r);
  SlotInfo info;
  info.damaged = state == SlotState::kDamaged;
  if (state != SlotState::kGood) return info;
  using namespace save_field;
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
  ReadIntoResume(core::Scenario.LastUsedSlot, true);
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
