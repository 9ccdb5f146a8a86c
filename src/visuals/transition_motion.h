// The transitions that are more than a pixel pattern: the vertical unfold drawn straight to
// the window, the iris, the slides and the palette cross-fade. Called by Transition only,
// with the skip and low-load choices already made.
#pragma once

namespace visuals::transitions {

void UnfoldVertically();      // 9
void OpenIris();              // 13
void SlideIn(int direction);  // 14 from the bottom, 15 left, 16 top, 17 right
void CrossFadeFourColours();  // 18

}  // namespace visuals::transitions
