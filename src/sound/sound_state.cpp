#include "sound/sound_state.h"

namespace sound {

resources::MemHandle PcmBlock = 0;

void CdOpenAtStartup() {}
void CdClose() {}

}  // namespace sound
