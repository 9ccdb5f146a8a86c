#include "core/window_state.h"

namespace core {

WindowState Window;

void ResetWindowState() { Window = WindowState{}; }

}  // namespace core
