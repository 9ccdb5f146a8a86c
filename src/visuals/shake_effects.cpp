#include "visuals/shake_effects.h"

namespace visuals {

void Quake() {}        // placeholder; waits for the special effects
void ClawEffect1() {}  // placeholder; waits for the special effects
void BloodEffect() {}  // placeholder; waits for the special effects
void ClawEffect2() {}  // placeholder; waits for the special effects

}  // namespace visuals
