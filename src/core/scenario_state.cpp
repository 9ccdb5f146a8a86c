#include "core/scenario_state.h"
#include "core/game_state.h"

#include <cstring>

namespace core {
namespace {

void ClearFlags(GameStateRecord& record) {
  std::memset(record + field::kFlags, 0, field::kFlagCount);
}

}  // namespace

GameStateRecord GameState;
GameStateRecord ResumeState;
GameStateRecord SaveImage;

ScenarioState Scenario;

void ResetScenarioState() {
  Scenario = ScenarioState{};

  using namespace field;
  SetU8(GameState, kBackgroundNumber, 255);
  SetU8(GameState, kStoredBackground, 255);
  for (std::size_t slot = 0; slot < 3; ++slot) SetU8(GameState, kSlotPicture + slot, 255);
  // The scene's other bytes: no character layers, no event picture, no colour effect.
  for (std::size_t slot = 0; slot < 3; ++slot) SetU8(GameState, kSlotLayer + slot, 255);
  SetU8(GameState, kShownHPicture, 255);
  SetU8(GameState, kShownVPicture, 255);
  SetU8(GameState, kColourEffect, 0);
  SetU8(GameState, kPcmNumber, 255);
  SetU8(GameState, kCurrentScenario, 255);
  ClearFlags(GameState);
  ClearFlags(SaveImage);
}

}  // namespace core
