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

}  // namespace tool
