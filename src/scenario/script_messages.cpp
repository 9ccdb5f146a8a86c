#include "scenario/script_messages.h"

#include "core/flags.h"
#include "core/memory_blocks.h"
#include "core/scenario_state.h"
#include "core/screen_state.h"
#include "core/text_code_table.h"
#include "scenario/message_text.h"
#include "scenario/scenario_loader.h"
#include "text/backlog.h"
#include "text/font.h"

namespace scenario {

const std::uint8_t* MessageAt(const std::uint8_t* base, std::uint8_t m) {
  const std::size_t size = GlobalSize(core::Scenario.MessageData);
  if (base == nullptr || size < kBlockTableEnd) ScenarioBroken(CurrentScenario());
  const std::size_t at = base[2 + 2 * m] | base[3 + 2 * m] << 8;
  if (!core::MessageEnd(base, size, at)) ScenarioBroken(CurrentScenario());
  return base + at;
}

TextPictureWire::TextPictureWire() : screen_(core::Screen.VmemDIB), font_(text::Text.FontData) {
  core::MemWire(screen_);
  core::MemWire(font_);
}
TextPictureWire::~TextPictureWire() {
  core::MemUnwire(font_);
  core::MemUnwire(screen_);
}

void CheckMessage(std::uint8_t m) {
  MessageAt(static_cast<const std::uint8_t*>(core::MemLock(core::Scenario.MessageData)), m);
  core::MemUnlock(core::Scenario.MessageData);
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
  for (const Wave wave : {Wave{core::flag::kWaveHorizontal, text::WaveDirection::kHorizontal},
                          Wave{core::flag::kWaveVertical, text::WaveDirection::kVertical}}) {
    if (core::Flag(wave.armed) == 0) continue;
    core::SetFlag(wave.armed, 0);
    PlayWaveScene(m, core::Flag(wave.armed + 1), core::Flag(wave.armed + 2), wave.direction);
    return true;
  }

  text::RecordMessage(m);
  const core::MemHandle messages = core::Scenario.MessageData;
  const std::uint8_t* text =
      MessageAt(static_cast<const std::uint8_t*>(core::MemWire(messages)), m);
  {
    TextPictureWire wired;
    ShowText(16, 10, text, 15, 0, true, true);
  }
  core::MemUnwire(messages);
  return false;
}

}  // namespace scenario
