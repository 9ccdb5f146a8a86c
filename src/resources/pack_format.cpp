// Scrambling and index names of the pack archive.
#include "resources/pack_format.h"

#include <cstring>

namespace resources {
namespace {

// The key repeated over 176 bytes: a whole number of 11-byte key cycles and of 16-byte
// vectors, so the bulk of the data is done a vector at a time with no per-byte modulo.
constexpr std::size_t kVectorBytes = 16;
constexpr std::size_t kStride = sizeof kPackKey * kVectorBytes;
constexpr std::size_t kVectorsPerStride = kStride / kVectorBytes;

struct RepeatedKey {
  std::uint8_t bytes[kStride];
  constexpr RepeatedKey() : bytes{} {
    for (std::size_t i = 0; i < kStride; ++i) bytes[i] = kPackKey[i % sizeof kPackKey];
  }
};
constexpr RepeatedKey kRepeatedKey;

// Lane-wise wrapping byte arithmetic (GCC and Clang vector extension).
using Bytes16 = std::uint8_t __attribute__((vector_size(kVectorBytes)));

template <bool kAdd>
void ApplyKey(std::uint8_t* data, std::size_t size) {
  Bytes16 key[kVectorsPerStride];
  std::memcpy(key, kRepeatedKey.bytes, sizeof key);
  std::size_t pos = 0;
  for (; pos + kStride <= size; pos += kStride) {
    for (std::size_t v = 0; v < kVectorsPerStride; ++v) {
      Bytes16 chunk;
      std::memcpy(&chunk, data + pos + v * kVectorBytes, kVectorBytes);
      chunk = kAdd ? chunk + key[v] : chunk - key[v];
      std::memcpy(data + pos + v * kVectorBytes, &chunk, kVectorBytes);
    }
  }
  // `pos` is a multiple of the key length here, so the tail starts at key position 0.
  for (std::size_t i = 0; pos + i < size; ++i) {
    std::uint8_t k = kRepeatedKey.bytes[i];
    data[pos + i] = static_cast<std::uint8_t>(kAdd ? data[pos + i] + k : data[pos + i] - k);
  }
}

}  // namespace

void Unscramble(std::uint8_t* data, std::size_t size) { ApplyKey<false>(data, size); }

void Scramble(std::uint8_t* data, std::size_t size) { ApplyKey<true>(data, size); }

void PackIndexName(const char* name, char out[kPackNameLength]) {
  std::memset(out, ' ', kPackNameLength);
  if (name == nullptr) return;
  // A point moves on to the extension's places; a base name longer than 8 characters runs
  // into them and is then overwritten by the extension.
  std::size_t write = 0;
  for (const char* p = name; *p != '\0' && write < kPackNameLength; ++p) {
    if (*p == '.') {
      write = 8;
      continue;
    }
    char c = *p;
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
    out[write++] = c;
  }
}

std::string PackDisplayName(const char index_name[kPackNameLength]) {
  auto part = [&](std::size_t from, std::size_t length) {
    std::size_t n = 0;
    while (n < length && index_name[from + n] != '\0') ++n;
    while (n > 0 && index_name[from + n - 1] == ' ') --n;
    return std::string(index_name + from, n);
  };
  std::string base = part(0, 8);
  std::string extension = part(8, kPackNameLength - 8);
  return extension.empty() ? base : base + "." + extension;
}

}  // namespace resources
