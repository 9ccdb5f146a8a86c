// How the program shows the game's picture in a window or on a screen larger than it: the
// player's choice, kept by the shell in the ini file and carried out by the backend that
// draws (the headless runner's pictures are the client area itself and ignore it).
#pragma once

namespace platform {

enum class ScaleMode {
  kFit,      // the largest size with the picture's shape, black bands beside it
  kWhole,    // the largest whole multiple of the picture's size, centred, black around
  kStretch,  // the whole area, whatever its shape
};

enum class ScaleFilter {
  kNearest,  // each screen pixel shows the picture pixel under its centre
  kSmooth,   // blended between neighbours where the scale is not a whole number
};

struct Presentation {
  ScaleMode mode = ScaleMode::kFit;
  ScaleFilter filter = ScaleFilter::kNearest;
  bool operator==(const Presentation&) const = default;
};

// The choice in force; fit and nearest until the shell says otherwise.
Presentation CurrentPresentation();
// Takes the choice and tells the backend, which draws the window again.
void SetPresentation(Presentation presentation);

}  // namespace platform
