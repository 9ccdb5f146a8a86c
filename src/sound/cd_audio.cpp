// The CD player over the MCI "cdaudio" device. The device is polled, never listened to: the
// notifications its calls ask for go to the main window, which leaves them unhandled.
#include "sound/cd_audio.h"

#include "core/format_text.h"
#include "core/game_state.h"
#include "core/message_pump.h"
#include "core/settings.h"
#include "core/window_state.h"
#include "platform/win32.h"
#include "sound/sound_state.h"

namespace sound {
namespace {

constexpr const char* kNoCdText = "ＣＤオーディオが使用できないため、音楽は演奏されません。\n";
constexpr const char* kCdInUseText =
    "音楽を演奏する場合は、他のＣＤを使用しているプログラムを終了して\n再起動してください。\n";
constexpr const char* kNoCdCaption = "デバイスがオープンできません。";

constexpr std::uint8_t kNone = 255;

std::uint8_t Track() { return core::GetU8(core::GameState, core::field::kCdTrack); }
void SetTrack(std::uint8_t n) { core::SetU8(core::GameState, core::field::kCdTrack, n); }

DWORD_PTR Callback() { return reinterpret_cast<DWORD_PTR>(core::Window.MainWindow); }

DWORD CdMode() {
  MCI_STATUS_PARMS status{};
  status.dwCallback = Callback();
  status.dwItem = MCI_STATUS_MODE;
  mciSendCommandA(Sound.CdDevice, MCI_STATUS, MCI_STATUS_ITEM,
                  reinterpret_cast<DWORD_PTR>(&status));
  return static_cast<DWORD>(status.dwReturn);
}

// Plays logically only: the state says the music plays, the device is not asked.
void PlayLogically(std::uint8_t n) {
  SetTrack(n);
  Sound.CdLoop = 1;
  Sound.CdPlaying = 1;
}

}  // namespace

void CdOpen(int quiet) {
  auxGetNumDevs();
  if (quiet == 0) SetTrack(kNone);
  Sound.CdState = 4;
  Sound.CdPlaying = 0;
  Sound.CdLoop = 1;
  // The disc of this platform is a folder: the data folder holds the track files.
  MCI_OPEN_PARMSA open{};
  open.dwCallback = Callback();
  open.lpstrDeviceType = "cdaudio";
  open.lpstrElementName = core::Settings.DataDir;
  const MCIERROR error = mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT | MCI_NOTIFY,
                                         reinterpret_cast<DWORD_PTR>(&open));
  if (error == 0) {
    Sound.CdDevice = open.wDeviceID;
    MCI_SET_PARMS set{};
    set.dwCallback = Callback();
    set.dwTimeFormat = MCI_FORMAT_TMSF;
    mciSendCommandA(Sound.CdDevice, MCI_SET, MCI_SET_TIME_FORMAT,
                    reinterpret_cast<DWORD_PTR>(&set));
    return;
  }
  Sound.CdDevice = 0;
  Sound.CdState = 0;
  if (quiet != 0) return;
  std::string text = error == MCIERR_DEVICE_OPEN || error == MCIERR_MUST_USE_SHAREABLE
                         ? core::FormatString("%s%s", kNoCdText, kCdInUseText)
                         : core::FormatString("%s", kNoCdText);
  MessageBoxA(core::Window.MainWindow, text.c_str(), kNoCdCaption, MB_ICONHAND);
}

void CdClose() {
  if (Sound.CdState != 4) return;
  MCI_GENERIC_PARMS generic{};
  generic.dwCallback = Callback();
  mciSendCommandA(Sound.CdDevice, MCI_STOP, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&generic));
  mciSendCommandA(Sound.CdDevice, MCI_CLOSE, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&generic));
}

void CdPlay(std::uint8_t n) {
  if (n == kNone) return;
  if (n == Track() && Sound.CdPlaying == 1) return;
  if (core::Settings.Music == 0) return PlayLogically(n);
  if (Sound.CdState == 0) CdOpen(1);
  if (Sound.CdState != 4) return PlayLogically(n);
  if (Sound.CdPlaying == 1) CdStop();
  SetTrack(n);
  // Music numbers past the map are not used by the story; they play their own track.
  const int index = n < TrackMap.size() ? TrackMap[n] : n;
  MCI_PLAY_PARMS play{};
  play.dwCallback = Callback();
  play.dwFrom = MCI_MAKE_TMSF(static_cast<BYTE>(index + 2), 0, 0, 0);
  play.dwTo = MCI_MAKE_TMSF(static_cast<BYTE>(index + 3), 0, 0, 0);
  if (mciSendCommandA(Sound.CdDevice, MCI_PLAY, MCI_NOTIFY | MCI_FROM | MCI_TO,
                      reinterpret_cast<DWORD_PTR>(&play)) == 0) {
    Sound.CdPlaying = 1;
  }
  Sound.CdPollCountdown = 10;
  Sound.CdLoop = n == 0 ? 0 : 1;
}

void CdPlayOnce(std::uint8_t n) {
  CdPlay(n);
  Sound.CdLoop = 0;
}

void CdStop() {
  if (Sound.CdPlaying == 0) return;
  if (Sound.CdState == 4 && core::Settings.Music != 0) {
    MCI_GENERIC_PARMS generic{};
    generic.dwCallback = Callback();
    mciSendCommandA(Sound.CdDevice, MCI_STOP, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&generic));
  }
  Sound.CdPlaying = 0;
  SetTrack(kNone);
}

void CdMarkFade() { Sound.CdPlaying = 2; }

void CdFadeOut() {
  if (Sound.CdPlaying == 0) return;
  if (Sound.CdState != 4 || core::Settings.Music == 0 || Track() == kNone) return CdStop();
  AUXCAPSA caps{};
  if (auxGetDevCapsA(0, &caps, sizeof caps) != MMSYSERR_NOERROR ||
      (caps.dwSupport & (AUXCAPS_VOLUME | AUXCAPS_LRVOLUME)) !=
          (AUXCAPS_VOLUME | AUXCAPS_LRVOLUME)) {
    return CdStop();
  }
  DWORD volume = 0;
  auxGetVolume(0, &volume);
  const DWORD left = volume & 0xFFFF;
  const DWORD right = volume >> 16;
  for (int i = 31; i >= 0; --i) {
    const DWORD l = (left * static_cast<DWORD>(i)) >> 5;
    const DWORD r = (right * static_cast<DWORD>(i)) >> 5;
    auxSetVolume(0, l | (r << 16));
    core::Wait(3);
  }
  CdStop();
  auxSetVolume(0, volume);
}

void CdWaitEnd() {
  if (Sound.CdPlaying != 1) return;
  if (Sound.CdState == 4 && core::Settings.Music == 1 && Track() != kNone && Sound.CdLoop == 0) {
    while (CdMode() != MCI_MODE_STOP) core::Wait(60);
  }
  CdStop();
}

void CdPoll() {
  if (core::Settings.Music == 0 || Sound.CdState != 4 || Track() == kNone || Sound.CdLoop != 1 ||
      Sound.CdPlaying != 1 || Sound.CdPollCountdown != 0) {
    return;
  }
  if (CdMode() == MCI_MODE_STOP) {
    const std::uint8_t n = Track();
    CdStop();
    CdPlay(n);
  }
  Sound.CdPollCountdown = 10;
}

}  // namespace sound
