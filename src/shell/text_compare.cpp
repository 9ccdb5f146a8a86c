// Byte-wise text comparison and Shift-JIS length.
#include "shell/startup.h"

namespace shell {

int StrEqual(const char* a, const char* b, int case_sensitive) {
  auto fold = [case_sensitive](unsigned char c) {
    return (!case_sensitive && c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
  };
  for (std::size_t i = 0;; ++i) {
    const unsigned char x = fold(static_cast<unsigned char>(a[i]));
    const unsigned char y = fold(static_cast<unsigned char>(b[i]));
    if (x != y) return 0;
    if (x == 0) return 1;
  }
}

std::uint16_t StrLenSjis(const char* text) {
  std::uint16_t length = 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0;) {
    // A lead byte right before the end counts alone: the length never reaches past the
    // terminator.
    if (*p >= 0x80 && p[1] != 0) {
      length = static_cast<std::uint16_t>(length + 2);
      p += 2;
    } else {
      length = static_cast<std::uint16_t>(length + 1);
      p += 1;
    }
  }
  return length;
}

}  // namespace shell
