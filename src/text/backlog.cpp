#include "text/backlog.h"

#include <algorithm>
#include <array>
#include <string>

#include "core/format_text.h"
#include "core/game_state.h"
#include "core/input_state.h"
#include "core/message_pump.h"
#include "core/picture.h"
#include "core/screen_state.h"
#include "core/window_state.h"
#include "resources/block_unpacker.h"
#include "resources/pack_archive.h"
#include "text/font.h"
#include "text/page_drawing.h"
#include "text/text_layout.h"
#include "visuals/screen_show.h"

namespace text {

namespace {

using core::GameState;
namespace field = core::field;

constexpr std::uint8_t kNoScenario = 255;
constexpr std::uint16_t kViewStep = 2;  // 20 ms between looks at the reader
constexpr std::uint8_t kMarkLit = 15;
constexpr std::uint8_t kMarkUnlit = 4;
constexpr std::uint8_t kMarkShadow = 0;
constexpr std::int16_t kNoGlyph = 0;  // draws nothing; its cell is still presented
constexpr std::int16_t kOlderMark = 224;
constexpr std::int16_t kNewerMark = 225;
constexpr std::int16_t kMarkX = 608;
constexpr std::int16_t kOlderMarkY = 4;
constexpr std::int16_t kNewerMarkY = 372;
// Where the keys put the pointer, in picture coordinates: on the mark of their direction.
constexpr int kPointerX = 620;
constexpr int kOlderPointerY = 16;
constexpr int kNewerPointerY = 384;

enum class Direction { kOlder, kNewer, kNone };

std::size_t EntryAt(int i) { return field::kHistory + 2 * static_cast<std::size_t>(i); }

bool BacklogScenarioExists(std::uint8_t scenario) {
  return resources::DataFileExists(core::FormatString("%03d.SCN", scenario).c_str());
}

void ReleaseView() {
  if (Text.ViewMessages != 0) {
    core::MemUnwire(Text.ViewMessages);
    core::MemFree(Text.ViewMessages);
  }
  Text.ViewMessages = 0;
  Text.ViewScenario = kNoScenario;
}

// The offset of message m's text in the view block, or the block's size when the entry
// does not fit the block (a history saved with other story data): nothing is drawn then.
std::size_t MessageOffset(std::uint8_t m) {
  const auto* base = static_cast<const std::uint8_t*>(core::MemLockOnce(Text.ViewMessages));
  const std::size_t size = base == nullptr ? 0 : GlobalSize(Text.ViewMessages);
  const std::size_t entry = 2 + 2 * static_cast<std::size_t>(m);
  if (entry + 2 > size) return size;
  return std::min<std::size_t>(base[entry] | base[entry + 1] << 8, size);
}

// Which history entries the viewer can show: those whose scenario file exists. A history
// saved with other story data may name scenarios this data lacks; those entries are passed
// over, not shown and not removed.
class ReadableEntries {
 public:
  bool Readable(int i) {
    const std::uint8_t scenario = GameState[EntryAt(i)];
    if (known_[scenario] == kUnknown)
      known_[scenario] = BacklogScenarioExists(scenario) ? kYes : kNo;
    return known_[scenario] == kYes;
  }
  // The first readable entry from `from` in direction `step` (−1 older, +1 newer) up to the
  // entry before the current message, or −1.
  int Next(int from, int step) {
    const int newest = HistoryCount() - 2;
    for (int i = from + step; i >= 0 && i <= newest; i += step) {
      if (Readable(i)) return i;
    }
    return -1;
  }

 private:
  enum : std::uint8_t { kUnknown, kYes, kNo };
  std::array<std::uint8_t, 256> known_{};
};

void PlacePointer(int y) {
  core::PlaceCursor(static_cast<std::uint16_t>(kPointerX * core::Window.ClientWidth / 640),
                    static_cast<std::uint16_t>(y * core::Window.ClientHeight / 400));
}

}  // namespace

void RecordMessage(std::uint8_t message) {
  const std::uint8_t scenario = GameState[field::kCurrentScenario];
  const std::uint16_t count = HistoryCount();
  if (count > 0 && GameState[EntryAt(count - 1)] == scenario &&
      GameState[EntryAt(count - 1) + 1] == message) {
    return;
  }
  if (count >= kHistoryCapacity) return;
  GameState[EntryAt(count)] = scenario;
  GameState[EntryAt(count) + 1] = message;
  core::SetU16(GameState, field::kHistoryCount, static_cast<std::uint16_t>(count + 1));
}

std::uint16_t HistoryCount() {
  return std::min(core::GetU16(GameState, field::kHistoryCount), kHistoryCapacity);
}

void LoadBacklogMessages(std::uint8_t scenario) {
  if (scenario == Text.ViewScenario && Text.ViewMessages != 0) return;
  ReleaseView();
  Text.ViewScenario = scenario;
  if (!BacklogScenarioExists(scenario)) return;
  const std::string name = core::FormatString("%03d.SCN", scenario);
  std::uint32_t size = 0;
  core::MemHandle file = resources::LoadFile(name.c_str(), &size);
  const auto* bytes = static_cast<const std::uint8_t*>(core::MemLock(file));
  // The packed texts start at the u16 at byte 2, in units of 16 bytes. A file too short
  // for its header or its block, or whose block declares a size no block has, leaves the
  // view empty: its entries draw nothing.
  const std::uint32_t at = bytes != nullptr && size >= 4 ? (bytes[2] | bytes[3] << 8) * 16u : size;
  if (at + 4 <= size &&
      resources::PackedBlockSize(bytes + at, size - at) <= resources::kMaxUnpackedBlockSize)
    Text.ViewMessages = resources::UnpackBlock(bytes + at, size - at, "VIEW MES DATA");
  core::MemRelease(&file);
}

void ShowBacklog() {
  visuals::ShowComposed();
  const int count = HistoryCount();
  if (count < 2) return;
  const int newest = count - 2;  // the current message itself is not shown
  ReadableEntries readable;
  int i = readable.Readable(newest) ? newest : readable.Next(newest, -1);
  if (i < 0) return;
  int shown = -1;
  int older = -1;  // the readable entries next to the shown one, −1 none
  int newer = -1;
  Direction selected = Direction::kOlder;
  Direction marked = Direction::kNone;

  for (;;) {
    const bool new_message = i != shown;
    if (new_message) {
      visuals::ShowComposed();
      if (Text.ViewMessages != 0) core::MemUnwire(Text.ViewMessages);
      LoadBacklogMessages(GameState[EntryAt(i)]);
      if (Text.ViewMessages != 0) core::MemWire(Text.ViewMessages);
      DrawMessageBlock(Text.ViewMessages, kPageLeft, kPageTop,
                       MessageOffset(GameState[EntryAt(i) + 1]), kTextColour, kTextShadow);
      shown = i;
      older = readable.Next(i, -1);
      newer = readable.Next(i, +1);
    }
    if (new_message || selected != marked) {
      // A direction without a further message has no mark: its cell keeps the scene, which
      // the new message's clearing put back. (Drawn in colour 0, the scene's black, the mark
      // would stand out on any lighter scene as if it offered more.)
      const auto mark = [&](std::int16_t y, std::int16_t glyph, Direction d, bool exists) {
        DrawGlyph(kMarkX, y, exists ? glyph : kNoGlyph, d == selected ? kMarkLit : kMarkUnlit,
                  kMarkShadow);
      };
      mark(kOlderMarkY, kOlderMark, Direction::kOlder, older >= 0);
      mark(kNewerMarkY, kNewerMark, Direction::kNewer, newer >= 0);
      core::Present(&core::Screen.UpdateRect);
      marked = selected;
    }
    core::Wait(kViewStep);

    selected =
        core::Input.MouseY >= core::Window.ClientHeight / 2 ? Direction::kNewer : Direction::kOlder;
    if (core::Input.InputEvents & (core::kInputCancel | core::kInputSpace)) break;
    if (core::Input.InputEvents & core::kInputUp) {
      if (older >= 0) {
        selected = Direction::kOlder;
        PlacePointer(kOlderPointerY);
        core::Input.InputEvents |= core::kInputDecide;
      }
      core::Input.InputEvents &= static_cast<std::uint16_t>(~core::kInputUp);
    }
    if (core::Input.InputEvents & core::kInputDown) {
      if (newer >= 0) {
        selected = Direction::kNewer;
        PlacePointer(kNewerPointerY);
        core::Input.InputEvents |= core::kInputDecide;
      }
      core::Input.InputEvents &= static_cast<std::uint16_t>(~core::kInputDown);
    }
    // The wheel steps at once: away from the reader older, towards newer.
    if (core::Input.InputEvents & core::kInputWheelUp && older >= 0) i = older;
    if (core::Input.InputEvents & core::kInputWheelDown && newer >= 0) i = newer;
    core::Input.InputEvents &=
        static_cast<std::uint16_t>(~(core::kInputWheelUp | core::kInputWheelDown));
    if (core::Input.InputEvents & core::kInputDecide) {
      if (selected == Direction::kNewer && newer >= 0) i = newer;
      if (selected == Direction::kOlder && older >= 0) i = older;
      core::ClearInput();
    }
  }

  ReleaseView();
  visuals::ShowComposed();
}

}  // namespace text
