// Which part of the game runs now, read across subsystems.
#pragma once

#include <cstdint>

namespace core {

// The values of GamePhase. It stays a plain number: the state dump prints it as one.
constexpr std::uint16_t kPhaseTitle = 0;
constexpr std::uint16_t kPhaseStartItem = 1;  // the title's start item begins a game
constexpr std::uint16_t kPhaseOpening = 3;    // the logo and the opening
constexpr std::uint16_t kPhasePlaying = 4;    // the story runs
constexpr std::uint16_t kPhaseEnding = 6;

struct PhaseState {
  // One of the kPhase values.
  std::uint16_t GamePhase = kPhaseTitle;

  bool operator==(const PhaseState&) const = default;
};

// Process lifetime.
extern PhaseState Phase;
void ResetPhaseState();

}  // namespace core
