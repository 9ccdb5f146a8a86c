#include "core/input_state.h"

namespace core {

InputState Input;

void ResetInputState() { Input = InputState{}; }

}  // namespace core
