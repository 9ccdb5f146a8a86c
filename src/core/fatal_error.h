// How a helper below the exit path reports an error the game cannot go on from.
#pragma once

namespace core {

// Ends the program with `message`; set by the shell at start-up (shell::ConnectLayers) to
// ExitProgram. Unset (a helper tested alone), FatalError ends the process with status 1.
extern void (*FatalErrorHook)(const char* message);

[[noreturn]] void FatalError(const char* message);

}  // namespace core
