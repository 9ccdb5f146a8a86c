// The wave output device: one device open at a time, one buffer written at a time, looped
// by the device. The end of the buffer's last loop reaches the window as MM_WOM_DONE.
//
// Unlike the system this stands in for, a reset does not post MM_WOM_DONE, and closing the
// device withdraws a notification still queued: a stale end must not reach a sound started
// after it (the window procedure stops whatever plays when it sees one).
#include <string>

#include "platform/backend.h"
#include "platform/common/audio_devices.h"
#include "platform/common/platform_state.h"

namespace platform {

void WithdrawPosted(UINT message, WPARAM wparam);

WaveState Wave;

namespace {

void TraceWave(const std::string& details) { platform::Trace("wave", details); }

HWAVEOUT Handle() { return reinterpret_cast<HWAVEOUT>(Wave.device.serial); }

bool Valid(HWAVEOUT device) { return Wave.device.open && device != nullptr && device == Handle(); }

}  // namespace

void WaveBufferPlayed() {
  if (!Wave.device.open || Wave.device.playing == nullptr) return;
  WAVEHDR* header = Wave.device.playing;
  Wave.device.playing = nullptr;
  header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
  TraceWave("done");
  if (Wave.device.notify != nullptr) {
    PostMessageA(Wave.device.notify, MM_WOM_DONE, reinterpret_cast<WPARAM>(Handle()),
                 reinterpret_cast<LPARAM>(header));
  }
}

void ResetWaveDevice() {
  if (Wave.device.playing != nullptr) CurrentBackend().StopWave();
  const std::uintptr_t last_serial = Wave.last_serial;
  Wave = WaveState{};
  Wave.last_serial = last_serial;
}

}  // namespace platform

MMRESULT waveOutOpen(HWAVEOUT* device, UINT device_id, const WAVEFORMATEX* format,
                     DWORD_PTR callback, DWORD_PTR, DWORD flags) {
  using namespace platform;
  if (device_id != 0 && device_id != WAVE_MAPPER) return MMSYSERR_BADDEVICEID;
  if (device == nullptr || format == nullptr) return MMSYSERR_INVALPARAM;
  if (format->wFormatTag != WAVE_FORMAT_PCM || format->wBitsPerSample != 16 ||
      (format->nChannels != 1 && format->nChannels != 2) || format->nSamplesPerSec == 0 ||
      format->nBlockAlign != format->nChannels * 2 ||
      format->nAvgBytesPerSec != format->nSamplesPerSec * format->nBlockAlign) {
    return WAVERR_BADFORMAT;
  }
  if (Wave.device.open) return MMSYSERR_ALLOCATED;
  Wave.device = WaveDevice{};
  Wave.device.open = true;
  Wave.device.serial = ++Wave.last_serial;
  Wave.device.format = *format;
  if ((flags & CALLBACK_WINDOW) != 0) Wave.device.notify = reinterpret_cast<HWND>(callback);
  *device = Handle();
  TraceWave("open " + std::to_string(format->nSamplesPerSec) + " " +
            std::to_string(format->nChannels) + " " + std::to_string(format->wBitsPerSample));
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutPrepareHeader(HWAVEOUT device, WAVEHDR* header, UINT size) {
  using namespace platform;
  if (!Valid(device)) return MMSYSERR_INVALHANDLE;
  if (header == nullptr || size < sizeof(WAVEHDR) || header->lpData == nullptr) {
    return MMSYSERR_INVALPARAM;
  }
  header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutUnprepareHeader(HWAVEOUT device, WAVEHDR* header, UINT size) {
  using namespace platform;
  if (!Valid(device)) return MMSYSERR_INVALHANDLE;
  if (header == nullptr || size < sizeof(WAVEHDR)) return MMSYSERR_INVALPARAM;
  if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  header->dwFlags &= ~WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutWrite(HWAVEOUT device, WAVEHDR* header, UINT size) {
  using namespace platform;
  if (!Valid(device)) return MMSYSERR_INVALHANDLE;
  if (header == nullptr || size < sizeof(WAVEHDR)) return MMSYSERR_INVALPARAM;
  if (!(header->dwFlags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
  // One buffer at a time is all the subset keeps.
  if (Wave.device.playing != nullptr) return WAVERR_STILLPLAYING;
  const bool looped =
      (header->dwFlags & (WHDR_BEGINLOOP | WHDR_ENDLOOP)) == (WHDR_BEGINLOOP | WHDR_ENDLOOP);
  std::uint32_t plays = 1;
  if (looped) plays = header->dwLoops == 0xFFFFFFFF ? 0 : std::max<DWORD>(header->dwLoops, 1);
  const std::size_t bytes =
      header->dwBufferLength - header->dwBufferLength % Wave.device.format.nBlockAlign;
  const std::string what = "write " + std::to_string(bytes) + " loops " +
                           (plays == 0 ? std::string("endless") : std::to_string(plays));
  if (!CurrentBackend().PlayWave(Wave.device.format, header->lpData, bytes, plays)) {
    TraceWave(what + " refused");
    return MMSYSERR_NODRIVER;
  }
  header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
  Wave.device.playing = header;
  TraceWave(what);
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutReset(HWAVEOUT device) {
  using namespace platform;
  if (!Valid(device)) return MMSYSERR_INVALHANDLE;
  if (Wave.device.playing != nullptr) {
    CurrentBackend().StopWave();
    Wave.device.playing->dwFlags = (Wave.device.playing->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
    Wave.device.playing = nullptr;
  }
  TraceWave("reset");
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutClose(HWAVEOUT device) {
  using namespace platform;
  if (!Valid(device)) return MMSYSERR_INVALHANDLE;
  if (Wave.device.playing != nullptr) return WAVERR_STILLPLAYING;
  WithdrawPosted(MM_WOM_DONE, reinterpret_cast<WPARAM>(device));
  Wave.device.open = false;
  Wave.device.notify = nullptr;
  TraceWave("close");
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutGetVolume(HWAVEOUT device, DWORD* volume) {
  using namespace platform;
  if (device != nullptr && !Valid(device)) return MMSYSERR_INVALHANDLE;
  if (volume == nullptr) return MMSYSERR_INVALPARAM;
  *volume = Wave.volume;
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutSetVolume(HWAVEOUT device, DWORD volume) {
  using namespace platform;
  if (device != nullptr && !Valid(device)) return MMSYSERR_INVALHANDLE;
  Wave.volume = volume;
  CurrentBackend().SetWaveVolume(static_cast<WORD>(volume & 0xFFFF),
                                 static_cast<WORD>(volume >> 16));
  TraceWave("volume " + std::to_string(volume & 0xFFFF) + " " + std::to_string(volume >> 16));
  return MMSYSERR_NOERROR;
}
