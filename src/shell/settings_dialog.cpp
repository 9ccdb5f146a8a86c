#include "shell/settings_dialog.h"

#include "core/game_state.h"
#include "core/settings.h"
#include "core/window_state.h"
#include "shell/settings.h"
#include "sound/cd_audio.h"
#include "sound/pcm.h"
#include "sound/sound_state.h"

namespace shell {
namespace {

struct Box {
  int id;
  std::uint16_t* setting;
};
const Box kBoxes[] = {{kBoxMusic, &core::Settings.Music},
                      {kBoxPcm, &core::Settings.Pcm},
                      {kBoxSkip, &core::Settings.Skip},
                      {kBoxMmv, &core::Settings.Mmv}};

}  // namespace

INT_PTR SettingsDialogProc(HWND dialog, UINT msg, WPARAM wparam, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      for (const Box& b : kBoxes) {
        SendDlgItemMessageA(dialog, b.id, BM_SETCHECK,
                            *b.setting == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == kDialogOk) {
        for (const Box& b : kBoxes) {
          *b.setting = SendDlgItemMessageA(dialog, b.id, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
        }
        EndDialog(dialog, 0);
        return TRUE;
      }
      if (LOWORD(wparam) == kDialogCancel) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

void OpenSettings() {
  if (core::Window.DialogDepth != 0) return;
  core::Window.DialogDepth = 1;
  const std::uint16_t old_music = core::Settings.Music;
  const std::uint16_t old_pcm = core::Settings.Pcm;
  DialogBoxParamA(core::Window.Instance, "ZEN_DIALOG", core::Window.MainWindow, SettingsDialogProc,
                  0);
  WriteSettings();
  if (core::Settings.Music != old_music) {
    // The stop must reach the device while music is still on; the track stays the logical
    // one, so switching music on again starts it.
    const std::uint8_t track = core::GetU8(core::GameState, core::field::kCdTrack);
    const bool fade_pending = sound::Sound.CdPlaying == 2;
    const std::uint16_t new_music = core::Settings.Music;
    core::Settings.Music = old_music;
    sound::CdStop();
    core::Settings.Music = new_music;
    sound::CdPlay(track);
    // The restarted track is the one the story marked to fade at its next scene change; the
    // mark goes on, or the scene change would neither fade it nor play the queued music.
    if (fade_pending && sound::Sound.CdPlaying == 1) sound::Sound.CdPlaying = 2;
  }
  if (core::Settings.Pcm != old_pcm) {
    const std::uint16_t new_pcm = core::Settings.Pcm;
    core::Settings.Pcm = old_pcm;
    sound::PcmStop();
    core::Settings.Pcm = new_pcm;
    // A sound played once is not restarted; a repeating or endless one is.
    const std::uint16_t loops = core::GetU16(core::GameState, core::field::kPcmLoops);
    if (loops != 1) {
      sound::PcmPlay(loops, core::GetU16(core::GameState, core::field::kPcmParam));
    }
  }
  core::Window.DialogDepth = 0;
}

}  // namespace shell
