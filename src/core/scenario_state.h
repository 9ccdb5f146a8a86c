// The scenario engine's state that other subsystems read. Process lifetime.
#pragma once

#include <cstdint>

#include "core/memory_blocks.h"

namespace core {

struct ScenarioState {
  // 0 running, 1 end play, 2 restart at the restored position.
  std::uint16_t ScriptStop = 0;
  // 1 when the loaded scenario had been read before it was entered (skip is offered).
  std::uint16_t SkipAllowed = 0;
  // 1 while ResumeState holds a resume point.
  std::uint16_t ResumeValid = 0;
  // The loaded scenario's unpacked blocks; 0 while none is loaded.
  MemHandle EventData = 0;
  MemHandle MessageData = 0;
  // The slot last picked on the slot screen: where loads, saves and progress writes go.
  // The title flow sets it to 0 before clearing a slot.
  std::uint8_t LastUsedSlot = 0;

  bool operator==(const ScenarioState&) const = default;
};

extern ScenarioState Scenario;

// A fresh ScenarioState; in GameState (core/game_state.h) an empty scene (no background,
// pictures, layers, colour effect or sound) and, there and in SaveImage, every flag 0. The
// records' other bytes are left as they are.
void ResetScenarioState();

}  // namespace core
