// The run's trace, as far as game code may use it: the test runner records one line per
// event ("MS KIND DETAILS"); the real program records nothing.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Whether lines of this kind are wanted (some kinds, like one line per executed script
// instruction, are recorded only on request).
bool TraceEnabled(std::string_view kind);
void Trace(std::string_view kind, std::string_view details);
// A text in double quotes with C-style escapes.
std::string Quoted(std::string_view text);

}  // namespace platform
