// The "cdaudio" MCI device and the auxiliary device that holds its volume, emulated from one
// audio file per disc track. The disc is a folder; track 1 is taken to be the data track,
// so a track that has no file is out of range for play, as a data track is on a real drive.
// The device opens whether or not any track file exists.
#include <string>

#include "platform/backend.h"
#include "platform/common/audio_devices.h"
#include "platform/common/platform_state.h"

namespace platform {

CdState Cd;

namespace {

constexpr MCIDEVICEID kCdDeviceId = 1;

void TraceCd(const std::string& details) { platform::Trace("cd", details); }

std::string VolumeText(DWORD volume) {
  return std::to_string(volume & 0xFFFF) + " " + std::to_string(volume >> 16);
}

MCIERROR Open(DWORD flags, MCI_OPEN_PARMSA* p) {
  if (p == nullptr || !(flags & MCI_OPEN_TYPE) || p->lpstrDeviceType == nullptr) {
    return MCIERR_INVALID_DEVICE_NAME;
  }
  const std::string type = p->lpstrDeviceType;
  if (type != "cdaudio") {
    TraceCd("open " + Quoted(type) + " error " + std::to_string(MCIERR_INVALID_DEVICE_NAME));
    return MCIERR_INVALID_DEVICE_NAME;
  }
  if (const MCIERROR error = CurrentBackend().CdOpenError(); error != 0) {
    TraceCd("open " + Quoted(type) + " error " + std::to_string(error));
    return error;
  }
  Cd.device = CdDevice{};
  Cd.device.open = true;
  if ((flags & MCI_OPEN_ELEMENT) && p->lpstrElementName != nullptr) {
    Cd.device.disc_folder = p->lpstrElementName;
  }
  p->wDeviceID = kCdDeviceId;
  TraceCd("open " + Quoted(type) + " device " + std::to_string(kCdDeviceId));
  return 0;
}

MCIERROR Play(DWORD flags, const MCI_PLAY_PARMS* p) {
  if (Cd.device.time_format != MCI_FORMAT_TMSF || p == nullptr || !(flags & MCI_FROM)) {
    return MCIERR_OUTOFRANGE;
  }
  const int from = MCI_TMSF_TRACK(p->dwFrom);
  // Only whole tracks are played: from the start of one track to the start of the next.
  const int to = (flags & MCI_TO) ? MCI_TMSF_TRACK(p->dwTo) : from + 1;
  const std::string range = std::to_string(from) + " " + std::to_string(to);
  const auto file = FindTrackFile(Cd.device.disc_folder, from);
  if (to != from + 1 || !file || !CurrentBackend().PlayTrackFile(*file)) {
    TraceCd("play " + range + " refused");
    return MCIERR_OUTOFRANGE;
  }
  Cd.device.started = true;
  TraceCd("play " + range);
  return 0;
}

void Stop() {
  if (Cd.device.started) CurrentBackend().StopTrack();
  Cd.device.started = false;
}

}  // namespace

void ResetCdDevice() {
  if (Cd.device.open) Stop();
  Cd = CdState{};
}

}  // namespace platform

MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR param) {
  using namespace platform;
  const auto f = static_cast<DWORD>(flags);
  if (message == MCI_OPEN) return Open(f, reinterpret_cast<MCI_OPEN_PARMSA*>(param));
  if (!Cd.device.open || device != kCdDeviceId) return MCIERR_INVALID_DEVICE_ID;
  switch (message) {
    case MCI_SET: {
      const auto* p = reinterpret_cast<const MCI_SET_PARMS*>(param);
      if ((f & MCI_SET_TIME_FORMAT) && p != nullptr) {
        Cd.device.time_format = p->dwTimeFormat;
        TraceCd(p->dwTimeFormat == MCI_FORMAT_TMSF
                    ? "set tmsf"
                    : "set format " + std::to_string(p->dwTimeFormat));
      }
      return 0;
    }
    case MCI_PLAY: return Play(f, reinterpret_cast<const MCI_PLAY_PARMS*>(param));
    case MCI_STOP:
      Stop();
      TraceCd("stop");
      return 0;
    case MCI_STATUS: {
      auto* p = reinterpret_cast<MCI_STATUS_PARMS*>(param);
      if (p == nullptr || !(f & MCI_STATUS_ITEM) || p->dwItem != MCI_STATUS_MODE) {
        return MCIERR_UNRECOGNIZED_COMMAND;
      }
      const bool playing = Cd.device.started && CurrentBackend().TrackPlaying();
      p->dwReturn = playing ? MCI_MODE_PLAY : MCI_MODE_STOP;
      TraceCd(playing ? "status mode play" : "status mode stop");
      return 0;
    }
    case MCI_CLOSE:
      Stop();
      Cd.device.open = false;
      TraceCd("close");
      return 0;
    default: return MCIERR_UNRECOGNIZED_COMMAND;
  }
}

UINT auxGetNumDevs() { return 1; }

MMRESULT auxGetDevCapsA(UINT_PTR device, AUXCAPSA* caps, UINT size) {
  if (device != 0) return MMSYSERR_BADDEVICEID;
  if (caps == nullptr || size < sizeof(AUXCAPSA)) return MMSYSERR_INVALPARAM;
  *caps = AUXCAPSA{};
  caps->wTechnology = AUXCAPS_CDAUDIO;
  caps->dwSupport = AUXCAPS_VOLUME | AUXCAPS_LRVOLUME;
  const char name[] = "CD Audio";
  for (std::size_t i = 0; i < sizeof name; ++i) caps->szPname[i] = name[i];
  return MMSYSERR_NOERROR;
}

MMRESULT auxGetVolume(UINT device, DWORD* volume) {
  if (device != 0) return MMSYSERR_BADDEVICEID;
  if (volume == nullptr) return MMSYSERR_INVALPARAM;
  *volume = platform::Cd.aux_volume;
  return MMSYSERR_NOERROR;
}

MMRESULT auxSetVolume(UINT device, DWORD volume) {
  using namespace platform;
  if (device != 0) return MMSYSERR_BADDEVICEID;
  Cd.aux_volume = volume;
  CurrentBackend().SetTrackVolume(static_cast<WORD>(volume & 0xFFFF),
                                  static_cast<WORD>(volume >> 16));
  TraceCd("volume " + VolumeText(volume));
  return MMSYSERR_NOERROR;
}
