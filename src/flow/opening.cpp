#include "flow/opening.h"

#include <cstdint>

#include "core/message_pump.h"
#include "core/screen_state.h"
#include "flow/opening_parts.h"
#include "platform/win32.h"
#include "sound/cd_audio.h"
#include "visuals/palette_fades.h"
#include "visuals/screen_show.h"

namespace flow {
namespace {

constexpr std::uint8_t kOpeningMusic = 1;
constexpr std::uint16_t kSkipWindow = 30;  // a click within 300 ms skips the whole opening

}  // namespace

int RunOpening() {
  // Without the window's screen pictures there is nothing to play on.
  if (!core::Screen.VmemDIB || !core::Screen.VbufDIB) return 0;
  core::ClearInput();
  visuals::ApplyBlack();
  const std::uint32_t t = GetTickCount();
  sound::CdPlayOnce(kOpeningMusic);
  if (core::WaitInputSince(t, kSkipWindow)) {
    // Cut short before anything was drawn: the screen is cleared all the same, as after
    // every other cut.
    visuals::ClearPictureAndShow(core::Screen.VmemDIB);
    return 0;
  }
  core::ClearInput();
  int cut = OpeningClouds(false);
  if (!cut) cut = OpeningPass(1);
  if (!cut) cut = OpeningClouds(false);
  if (!cut) cut = OpeningPass(2);
  if (!cut) OpeningClouds(true);
  return cut ? 0 : 1;
}

}  // namespace flow
