// What the program's own code needs of profile (ini) files beyond the Win32 functions:
// telling a reader why a file cannot be read, and writing several keys in one replacement.
#pragma once

#include <span>
#include <string>

#include "platform/win32.h"

namespace platform {

struct ProfileEntry {
  LPCSTR key;    // null: the whole section is removed
  LPCSTR value;  // null: the key is removed
};

// "PATH: why" when the profile file cannot be read (a folder, unreadable, far too large); empty
// when it can be read or does not exist yet. The Win32 functions read such a file as empty.
std::string ProfileReadProblem(LPCSTR file);

// The keys of one section written in one replacement of the file, so that a crash never
// leaves some of them old and some new. Empty on success, else why it could not be written.
std::string WriteProfileStrings(LPCSTR section, std::span<const ProfileEntry> entries, LPCSTR file);

}  // namespace platform
