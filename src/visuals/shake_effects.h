// Effects over the scene: the shake, the claw marks and the blood.
#pragma once

namespace visuals {

void Quake();
void ClawEffect1();
void BloodEffect();
void ClawEffect2();

}  // namespace visuals
