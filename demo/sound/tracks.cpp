#include "tracks.h"

#include <algorithm>

#include "piece.h"

namespace demo_sound {
namespace {

// Music 0: the maker's chime, played once: it rings out to its end, without a fade.
Samples LogoChime() {
  Samples s;
  AddVoice(s, kTrackRate, Instrument::kBell, "C5 E5 G5 C6 - - - - E6 - - - - - - -", 0.18, 0, 0.5f);
  AddVoice(s, kTrackRate, Instrument::kPad, "C4+E4+G4:16", 0.18, 0, 0.18f);
  Normalise(s, kMusicPeak);
  return s;
}

}  // namespace

const std::vector<Track>& Tracks() {
  static const std::vector<Track> tracks = [] {
    std::vector<Track> all = {{2, "Chime", LogoChime}};
    all.insert(all.end(), StoryTracks().begin(), StoryTracks().end());
    for (const auto* group : {&ThemePieces(), &CharacterPieces(), &ScenePieces()}) {
      for (const Piece& piece : *group) {
        all.push_back(
            {piece.music + 2, piece.title, [&piece] { return Render(piece, kTrackRate); }});
      }
    }
    std::sort(all.begin(), all.end(),
              [](const Track& a, const Track& b) { return a.number < b.number; });
    return all;
  }();
  return tracks;
}

}  // namespace demo_sound
