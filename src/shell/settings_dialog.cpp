#include "shell/settings_dialog.h"

#include "core/game_state.h"
#include "core/shell_state.h"
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
const Box kBoxes[] = {{kBoxMusic, &Music}, {kBoxPcm, &Pcm}, {kBoxSkip, &Skip}, {kBoxMmv, &Mmv}};

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
  if (DialogDepth != 0) return;
  DialogDepth = 1;
  const std::uint16_t old_music = Music;
  const std::uint16_t old_pcm = Pcm;
  DialogBoxParamA(Instance, "ZEN_DIALOG", MainWindow, SettingsDialogProc, 0);
  WriteSettings();
  if (Music != old_music) {
    // The stop must reach the device while music is still on; the track stays the logical
    // one, so switching music on again starts it.
    const std::uint8_t track = scenario::GetU8(scenario::GameState, scenario::field::kCdTrack);
    const bool fade_pending = sound::CdPlaying == 2;
    const std::uint16_t new_music = Music;
    Music = old_music;
    sound::CdStop();
    Music = new_music;
    sound::CdPlay(track);
    // The restarted track is the one the story marked to fade at its next scene change; the
    // mark goes on, or the scene change would neither fade it nor play the queued music.
    if (fade_pending && sound::CdPlaying == 1) sound::CdPlaying = 2;
  }
  if (Pcm != old_pcm) {
    const std::uint16_t new_pcm = Pcm;
    Pcm = old_pcm;
    sound::PcmStop();
    Pcm = new_pcm;
    // A sound played once is not restarted; a repeating or endless one is.
    const std::uint16_t loops = scenario::GetU16(scenario::GameState, scenario::field::kPcmLoops);
    if (loops != 1) {
      sound::PcmPlay(loops, scenario::GetU16(scenario::GameState, scenario::field::kPcmParam));
    }
  }
  DialogDepth = 0;
}

}  // namespace shell
