// The one way out of the process.
#pragma once

namespace core {

// On a normal end (message null) as on a fatal error: optional message box captioned
// "終了します", display restore, the screen pictures and the window palette freed, the
// resources released, exit status 1.
[[noreturn]] void ExitProgram(const char* message);

// Frees the resources held for the whole run; set by the shell at start-up
// (shell::ConnectLayers) to ReleaseResources.
extern void (*ReleaseResourcesHook)();

}  // namespace core
