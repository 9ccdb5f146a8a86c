#include "scenario/script_messages.h"

#include "core/flags.h"
#include "core/memory_blocks.h"
#include "core/palette_state.h"
#include "core/scenario_state.h"
#include "core/text_code_table.h"
#include "scenario/message_text.h"
#include "scenario/scenario_loader.h"
#include "text/backlog.h"
#include "text/font.h"

namespace scenario {

const std::uint8_t* MessageAt(const std::uint8_t* base, std::uint8_t m) {
  const std::size_t size = GlobalSize(MessageData);
  if (base == nullptr || size < kBlockTableEnd) ScenarioBroken(CurrentScenario());
  const std::size_t at = base[2 + 2 * m] | base[3 + 2 * m] << 8;
  if (!MessageEnd(base, size, at)) ScenarioBroken(CurrentScenario());
  return base + at;
}

TextPictureWire::TextPictureWire() : screen_(visuals::VmemDIB), font_(text::FontData) {
  resources::MemWire(screen_);
  resources::MemWire(font_);
}
TextPictureWire::~TextPictureWire() {
  resources::MemUnwire(font_);
  resources::MemUnwire(screen_);
}

void CheckMessage(std::uint8_t m) {
  MessageAt(static_cast<const std::uint8_t*>(resources::MemLock(MessageData)), m);
  resources::MemUnlock(MessageData);
}

void PlayWaveScene(std::uint8_t m, std::uint8_t start_mode, std::uint8_t end_mode,
                   text::WaveDirection direction) {
  CheckMessage(m);
  text::RecordMessage(m);
  TextPictureWire wired;
  text::WaveTextScene(m, start_mode, end_mode, direction);
}

bool ShowScriptMessage(std::uint8_t m) {
  struct Wave {
    std::uint8_t armed;
    text::WaveDirection direction;
  };
  for (const Wave wave : {Wave{flag::kWaveHorizontal, text::WaveDirection::kHorizontal},
                          Wave{flag::kWaveVertical, text::WaveDirection::kVertical}}) {
    if (Flag(wave.armed) == 0) continue;
    SetFlag(wave.armed, 0);
    PlayWaveScene(m, Flag(wave.armed + 1), Flag(wave.armed + 2), wave.direction);
    return true;
  }

  text::RecordMessage(m);
  const resources::MemHandle messages = MessageData;
  const std::uint8_t* text =
      MessageAt(static_cast<const std::uint8_t*>(resources::MemWire(messages)), m);
  {
    TextPictureWire wired;
    ShowText(16, 10, text, 15, 0, true, true);
  }
  resources::MemUnwire(messages);
  return false;
}

}  // namespace scenario
