// Global state of the scenario engine, read across subsystems. Process lifetime; start
// values set by ResetScenarioState.
#pragma once

#include <cstdint>

#include "core/memory_blocks.h"

namespace scenario {

// 0 running, 1 end play, 2 restart at the restored position.
extern std::uint16_t ScriptStop;
// 1 when the loaded scenario had been read before it was entered (skip is offered).
extern std::uint16_t SkipAllowed;
// 1 while ResumeState holds a resume point.
extern std::uint16_t ResumeValid;
// The loaded scenario's unpacked blocks; 0 while none is loaded.
extern resources::MemHandle EventData;
extern resources::MemHandle MessageData;

// Play running, no skip offered, no resume point, no scenario loaded; in GameState (core/
// game_state.h) an empty scene (no background, pictures, layers, colour effect or sound)
// and, there and in SaveImage, every flag 0. The record's other bytes are left as they are.
void ResetScenarioState();

}  // namespace scenario
