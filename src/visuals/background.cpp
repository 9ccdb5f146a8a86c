#include "visuals/background.h"

namespace visuals {

void ShowBackground(std::uint8_t) {}  // placeholder; waits for backgrounds and characters
void RestoreBackground(std::uint8_t) {}  // placeholder; waits for backgrounds and characters
void ForgetBackground() {}  // placeholder; waits for backgrounds and characters
void FillBackground(std::uint8_t) {}  // placeholder; waits for backgrounds and characters
void ShowCharacter(std::uint8_t, std::uint8_t) {}  // placeholder; waits for characters
void ApplyColourEffect(std::uint8_t, bool) {}  // placeholder; waits for backgrounds and characters

}  // namespace visuals
