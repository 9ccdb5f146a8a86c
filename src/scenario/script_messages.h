// Messages shown by the event script (opcodes 0x50, 0x51, 0x21 and the choice's texts):
// each message is checked to end inside MESSAGE DATA before anything reads it.
#pragma once

#include <cstdint>

#include "core/memory_blocks.h"
#include "text/wave_text_scene.h"

namespace scenario {

// Message m's address in MESSAGE DATA at `base` (the block locked or wired by the caller);
// ends the program unless the message ends inside the block.
const std::uint8_t* MessageAt(const std::uint8_t* base, std::uint8_t m);

// Holds the screen picture and the font in place for the span of one text display. A
// handle kept here that a nested load has released is refused by the platform on unwire.
class TextPictureWire {
 public:
  TextPictureWire();
  ~TextPictureWire();
  TextPictureWire(const TextPictureWire&) = delete;
  TextPictureWire& operator=(const TextPictureWire&) = delete;

 private:
  core::MemHandle screen_;
  core::MemHandle font_;
};

// Ends the program unless message m of the loaded MESSAGE DATA ends (0xAF) inside the block.
void CheckMessage(std::uint8_t m);

// Shows message m for 0x50 and 0x51. Answers true when an armed wave scene took it: the
// instruction then ends there, without looking at ScriptStop or wiping the text.
bool ShowScriptMessage(std::uint8_t m);

// Records message m and plays it as a wave scene, VmemDIB and FontData held in place.
void PlayWaveScene(std::uint8_t m, std::uint8_t start_mode, std::uint8_t end_mode,
                   text::WaveDirection direction);

}  // namespace scenario
