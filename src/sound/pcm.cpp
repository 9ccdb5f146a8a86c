// PCM sound and voice: one sound loaded at a time, played straight from its block through
// the wave device, which loops it. The end of a counted sound arrives as MM_WOM_DONE at the
// window procedure, which calls PcmStop.
#include "sound/pcm.h"

#include "core/format_text.h"
#include "core/game_state.h"
#include "core/message_pump.h"
#include "core/settings.h"
#include "core/window_state.h"
#include "resources/pack_archive.h"
#include "sound/sound_state.h"

namespace sound {
namespace {

namespace field = core::field;
using core::GameState;

constexpr std::uint8_t kNone = 255;

std::uint8_t Number() { return core::GetU8(GameState, field::kPcmNumber); }
bool Playing() { return core::GetU8(GameState, field::kPcmPlaying) != 0; }
void SetPlaying(bool on) { core::SetU8(GameState, field::kPcmPlaying, on ? 1 : 0); }

// 22050 Hz mono 16-bit: the format of every sound file.
constexpr WAVEFORMATEX kFormat = {WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};

// Opens the device and hands it the one looping buffer; false when the device refuses.
bool StartDevice(void* data, std::uint16_t loops) {
  Sound.WaveHeader = WAVEHDR{};
  Sound.WaveHeader.lpData = static_cast<LPSTR>(data);
  Sound.WaveHeader.dwBufferLength = Sound.PcmSize;
  Sound.WaveHeader.dwBytesRecorded = Sound.PcmSize;
  Sound.WaveHeader.dwFlags = WHDR_BEGINLOOP | WHDR_ENDLOOP;
  Sound.WaveHeader.dwLoops = loops == 0 ? 0xFFFFFFFF : loops;
  if (waveOutOpen(&Sound.WaveOut, 0, &kFormat, reinterpret_cast<DWORD_PTR>(core::Window.MainWindow),
                  0, CALLBACK_WINDOW) != MMSYSERR_NOERROR) {
    Sound.WaveOut = nullptr;
    return false;
  }
  waveOutPrepareHeader(Sound.WaveOut, &Sound.WaveHeader, sizeof Sound.WaveHeader);
  if (waveOutWrite(Sound.WaveOut, &Sound.WaveHeader, sizeof Sound.WaveHeader) != MMSYSERR_NOERROR) {
    waveOutUnprepareHeader(Sound.WaveOut, &Sound.WaveHeader, sizeof Sound.WaveHeader);
    waveOutClose(Sound.WaveOut);
    Sound.WaveOut = nullptr;
    return false;
  }
  return true;
}

}  // namespace

void PcmLoad(std::uint8_t n) {
  if (Playing()) PcmStop();
  if (Number() != kNone) PcmUnload();
  core::SetU8(GameState, field::kPcmNumber, n);
  const std::string name = core::FormatString("HT_VD%02d.P16", n);
  std::uint32_t size = 0;
  Sound.PcmBlock = resources::LoadFile(name.c_str(), &size);
  Sound.PcmSize = size & ~1u;
}

void PcmPlay(std::uint16_t loops, std::uint16_t param) {
  if (Number() == kNone) return;
  if (Playing()) PcmStop();
  if (core::Settings.Pcm != 0) {
    void* data = core::MemWire(Sound.PcmBlock);
    if (data == nullptr || !StartDevice(data, loops)) {
      // Nothing plays: the block is not held in place for it.
      if (data != nullptr) core::MemUnwire(Sound.PcmBlock);
      return;
    }
  }
  SetPlaying(true);
  core::SetU16(GameState, field::kPcmLoops, loops);
  core::SetU16(GameState, field::kPcmParam, param);
}

void PcmStop() {
  if (!Playing()) return;
  if (core::Settings.Pcm != 0) {
    waveOutReset(Sound.WaveOut);
    waveOutUnprepareHeader(Sound.WaveOut, &Sound.WaveHeader, sizeof Sound.WaveHeader);
    waveOutClose(Sound.WaveOut);
    Sound.WaveOut = nullptr;
    core::MemUnwire(Sound.PcmBlock);
  }
  SetPlaying(false);
}

void PcmUnload() {
  if (Playing()) PcmStop();
  if (Sound.PcmBlock != 0) {
    core::MemRelease(&Sound.PcmBlock);
    Sound.PcmSize = 0;
  }
  SetPlaying(false);
  core::SetU8(GameState, field::kPcmNumber, kNone);
}

void PcmFinish() {
  if (core::Settings.Pcm == 0 || !Playing()) return;
  if (core::GetU16(GameState, field::kPcmLoops) != 0) {
    // The end comes as MM_WOM_DONE. The settings dialog may switch PCM off meanwhile; then
    // no end will come, and the sound that is no longer heard is over.
    while (Playing() && core::Settings.Pcm != 0) core::PumpMessage();
    if (Playing()) PcmStop();
    return;
  }
  const HWAVEOUT device = Sound.WaveOut;
  DWORD volume = 0;
  waveOutGetVolume(device, &volume);
  if (volume != 0) {
    const DWORD left = volume & 0xFFFF;
    const DWORD right = volume >> 16;
    for (int i = 31; i >= 0; --i) {
      // The settings dialog, opened in a wait, may have stopped or replaced this sound.
      if (core::Settings.Pcm == 0 || !Playing() || Sound.WaveOut != device) break;
      const DWORD l = (left * static_cast<DWORD>(i)) >> 5;
      const DWORD r = (right * static_cast<DWORD>(i)) >> 5;
      waveOutSetVolume(device, l | (r << 16));
      core::Wait(3);
    }
  }
  if (core::Settings.Pcm != 0 && Playing() && Sound.WaveOut == device) waveOutReset(device);
  // The device's volume is restored whether or not this sound still plays.
  waveOutSetVolume(nullptr, volume);
  PcmStop();
}

}  // namespace sound
