#include "core/fatal_error.h"

#include "platform/win32.h"

namespace core {

void (*FatalErrorHook)(const char* message) = nullptr;

void FatalError(const char* message) {
  if (FatalErrorHook != nullptr) FatalErrorHook(message);
  // The hook does not return; without one there is no exit path to take.
  ExitProcess(1);
}

}  // namespace core
