#include "command_support.h"

#include <cstdio>
#include <cstring>

namespace tool {

int CommandText::UsageError(const std::string& what) const {
  std::fprintf(stderr, "hotaru-tool %s: %s\n%s", name_, what.c_str(), usage_);
  return 2;
}

int CommandText::Failure(const std::string& what) const {
  std::fprintf(stderr, "hotaru-tool %s: %s\n", name_, what.c_str());
  return 1;
}

bool CommandText::HelpAsked(int argc, char** argv) const {
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(usage_, stdout);
      return true;
    }
  }
  return false;
}

std::string Printable(const std::string& name) {
  std::string out;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace tool
