#include "sound/cd_audio.h"

namespace sound {

void CdOpenAtStartup() {}         // placeholder; waits for the CD music player
void CdClose() {}                 // placeholder; waits for the CD music player
void CdPoll() {}                  // placeholder; waits for the CD music player
void CdPlay(std::uint8_t) {}      // placeholder; waits for the CD music player
void CdPlayOnce(std::uint8_t) {}  // placeholder; waits for the CD music player
void CdStop() {}                  // placeholder; waits for the CD music player
void CdMarkFade() {}              // placeholder; waits for the CD music player
void CdFadeOut() {}               // placeholder; waits for the CD music player
void CdWaitEnd() {}               // placeholder; waits for the CD music player

}  // namespace sound
