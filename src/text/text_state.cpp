#include "text/text_state.h"

namespace text {

TextState Text;

void ResetTextState() { Text = TextState{}; }

}  // namespace text
