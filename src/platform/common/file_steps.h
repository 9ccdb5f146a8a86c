// The seam through which the tests interrupt a file being replaced (OF_CREATE) at each of
// its system calls, to show that a crash or a failing disk at any moment leaves either the
// old file or the new one, whole.
#pragma once

namespace platform {

// Called after each system call that creates, writes, syncs, closes, renames or removes a
// file being replaced (and after every _lwrite), with the call's name. Answering false makes
// that call report failure (EIO), as a failing disk would; a test that kills the writer
// stops it here. Null (the program's setting): nothing is called.
using FileStepCheck = bool (*)(const char* call);
extern FileStepCheck FileStepHook;

}  // namespace platform
