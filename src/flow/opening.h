// The animated opening between the maker logo and the title screen.
#pragma once

namespace flow {

// Plays the opening. Answers 1 when it played to its end, leaving the title picture on
// screen, and 0 when the reader cut it short (the screen is then clean and black).
int RunOpening();

}  // namespace flow
