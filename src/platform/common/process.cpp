// The backend in use, the trace, message boxes and the end of the process.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/backend.h"
#include "platform/common/platform_state.h"
#include "platform/common/window_table.h"

namespace platform {

namespace {
// Wiring, not state: the backend in use outlives a reset (the harness installs it first).
Backend* g_backend = nullptr;
}  // namespace

void SetBackend(Backend* backend) { g_backend = backend; }

Backend& CurrentBackend() {
  if (g_backend == nullptr) {
    std::fputs("hotaru: no platform backend installed\n", stderr);
    std::abort();
  }
  return *g_backend;
}

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\x%02x", static_cast<unsigned char>(c));
          out += buf;
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

void Trace(std::string_view kind, std::string_view details) {
  CurrentBackend().Trace(kind, details);
}

bool TraceEnabled(std::string_view kind) { return CurrentBackend().TraceEnabled(kind); }

// Each concern's state (platform_state.h) starts again, but for what is said there to
// survive: handle counters, so no handle is given twice in a process; the open files'
// slot generations; and the blocks of GlobalAlloc, which belong to their allocator.
void ResetPlatformState() {
  ResetWindows();
  ResetMessageQueue();
  ResetGdi();
  CloseAllFiles();
  ResetDialogs();
  ResetCdDevice();
  ResetWaveDevice();
  ResetPresentation();
  ResetProfileCache();
}

const char* AnswerName(int answer) {
  switch (answer) {
    case IDOK: return "ok";
    case IDCANCEL: return "cancel";
    case IDYES: return "yes";
    case IDNO: return "no";
    default: return "none";
  }
}

}  // namespace platform

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  std::string_view t = text ? text : "";
  std::string_view c = caption ? caption : "";
  int answer = platform::CurrentBackend().ShowMessageBox(owner, t, c, type);
  // A box with only an OK button can answer nothing else.
  if ((type & 0xF) == MB_OK) answer = IDOK;
  platform::Trace("msgbox", platform::Quoted(c) + " " + platform::Quoted(t) + " " +
                                platform::AnswerName(answer));
  return answer;
}

void ExitProcess(UINT exit_code) {
  platform::CurrentBackend().BeforeExit(static_cast<int>(exit_code));
  std::exit(static_cast<int>(exit_code));
}
