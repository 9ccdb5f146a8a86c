#include "authoring/lz_parse.h"

#include <algorithm>

namespace authoring {
namespace {

// A position's longest reference: 0 length when none of at least kMinMatch bytes exists.
struct Match {
  std::uint16_t length = 0;
  std::uint16_t distance = 0;  // 1 to 4096 bytes back
};

// Chain heads: about twice as many as positions the window holds, fewer for short inputs
// (many small blocks are packed, and clearing the table would cost more than the search).
constexpr int kMaxHashBits = 13;

int HashBitsFor(std::size_t positions) {
  int bits = 6;
  while (bits < kMaxHashBits && (std::size_t{1} << bits) < 2 * positions) ++bits;
  return bits;
}

std::uint32_t Hash3(const std::uint8_t* p, int bits) {
  std::uint32_t key =
      static_cast<std::uint32_t>(p[0]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[2];
  return (key * 2654435761u) >> (32 - bits);
}

// Finds every position's longest match with hash chains over a flat copy of the input
// preceded by the ring's 4096 zero bytes. Distances are what the ring allows (1 to 4096),
// so the search is exhaustive within the window; it stops early once a match reaches the
// longest length a reference can have.
std::vector<Match> FindLongestMatches(std::span<const std::uint8_t> data) {
  const std::size_t n = data.size();
  std::vector<Match> matches(n);
  if (n < static_cast<std::size_t>(kMinMatch)) return matches;

  const std::size_t prefix = kRingSize;
  std::vector<std::uint8_t> buffer(prefix + n, 0);
  std::copy(data.begin(), data.end(), buffer.begin() + static_cast<std::ptrdiff_t>(prefix));
  const std::uint8_t* buf = buffer.data();
  const std::size_t end = buffer.size();

  const int hash_bits = HashBitsFor(std::min<std::size_t>(n + kMaxMatch, kRingSize));
  std::vector<std::ptrdiff_t> head(std::size_t{1} << hash_bits, -1);
  std::vector<std::ptrdiff_t> prev(kRingSize, -1);
  auto insert = [&](std::size_t pos) {
    if (pos + kMinMatch > end) return;
    std::uint32_t h = Hash3(buf + pos, hash_bits);
    prev[pos & (kRingSize - 1)] = head[h];
    head[h] = static_cast<std::ptrdiff_t>(pos);
  };
  // A copy that reads the zero bytes need start no more than kMaxMatch bytes before the
  // input: one that reads zeros only can start exactly its length before it instead, at a
  // distance no larger. So only those positions of the zero prefix go into the chains (all
  // of them would make one chain 4096 long).
  for (std::size_t pos = prefix - kMaxMatch; pos < prefix; ++pos) insert(pos);

  std::size_t last_distance = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t p = prefix + i;
    const int max_length = static_cast<int>(std::min<std::size_t>(kMaxMatch, n - i));
    int best = 0;
    std::size_t best_distance = 0;

    // The distance that served the position before usually serves this one too (runs of
    // long copies), and when it reaches the longest length the chain need not be walked.
    const std::uint8_t* here = buf + p;
    if (last_distance != 0 && max_length >= kMinMatch) {
      const std::uint8_t* there = here - last_distance;
      int length = 0;
      while (length < max_length && there[length] == here[length]) ++length;
      if (length > best) {
        best = length;
        best_distance = last_distance;
      }
    }
    if (max_length >= kMinMatch && best < max_length) {
      for (std::ptrdiff_t c = head[Hash3(here, hash_bits)];
           c >= 0 && p - static_cast<std::size_t>(c) <= static_cast<std::size_t>(kRingSize);
           c = prev[static_cast<std::size_t>(c) & (kRingSize - 1)]) {
        const std::uint8_t* there = buf + c;
        // A candidate can only do better if it also agrees at the byte past the best.
        if (there[best] != here[best]) continue;
        int length = 0;
        while (length < max_length && there[length] == here[length]) ++length;
        if (length > best) {
          best = length;
          best_distance = p - static_cast<std::size_t>(c);
          if (best == max_length) break;
        }
      }
    }
    if (best >= kMinMatch) {
      matches[i].length = static_cast<std::uint16_t>(best);
      matches[i].distance = static_cast<std::uint16_t>(best_distance);
    }
    last_distance = best >= kMinMatch ? best_distance : 0;
    insert(p);
  }
  return matches;
}

LzItem Literal(std::uint8_t value) {
  LzItem item;
  item.length = 1;
  item.value = value;
  return item;
}

LzItem Reference(std::size_t at, int length, std::size_t distance) {
  LzItem item;
  item.length = static_cast<std::uint16_t>(length);
  // The ring position holding the byte `distance` back from output byte `at`.
  item.position =
      static_cast<std::uint16_t>((kRingStart + at + kRingSize - distance) & (kRingSize - 1));
  return item;
}

}  // namespace

std::vector<LzItem> ParseOptimal(std::span<const std::uint8_t> data) {
  const std::size_t n = data.size();
  const std::vector<Match> matches = FindLongestMatches(data);

  // cost[i]: the cheapest encoding of data[i..], in bits (high half) and items (low half),
  // so that of two parses with equal bits the one with fewer items wins.
  constexpr std::uint64_t kLiteralCost = (std::uint64_t{kLiteralBits} << 32) + 1;
  constexpr std::uint64_t kReferenceCost = (std::uint64_t{kReferenceBits} << 32) + 1;
  std::vector<std::uint64_t> cost(n + 1, 0);
  std::vector<std::uint8_t> step(n, 1);
  for (std::size_t i = n; i-- > 0;) {
    std::uint64_t best = cost[i + 1] + kLiteralCost;
    std::uint8_t best_step = 1;
    // Every length up to the longest is a prefix of the same copy.
    for (int length = kMinMatch; length <= matches[i].length; ++length) {
      std::uint64_t c = cost[i + static_cast<std::size_t>(length)] + kReferenceCost;
      if (c <= best) {
        best = c;
        best_step = static_cast<std::uint8_t>(length);
      }
    }
    cost[i] = best;
    step[i] = best_step;
  }

  std::vector<LzItem> items;
  for (std::size_t i = 0; i < n;) {
    if (step[i] == 1) {
      items.push_back(Literal(data[i]));
      ++i;
    } else {
      items.push_back(Reference(i, step[i], matches[i].distance));
      i += step[i];
    }
  }
  return items;
}

std::vector<LzItem> ParseGreedy(std::span<const std::uint8_t> data) {
  const std::vector<Match> matches = FindLongestMatches(data);
  std::vector<LzItem> items;
  for (std::size_t i = 0; i < data.size();) {
    if (matches[i].length >= kMinMatch) {
      items.push_back(Reference(i, matches[i].length, matches[i].distance));
      i += matches[i].length;
    } else {
      items.push_back(Literal(data[i]));
      ++i;
    }
  }
  return items;
}

std::size_t PackedStreamSize(std::span<const LzItem> items) {
  std::size_t bytes = (items.size() + 7) / 8;
  for (const LzItem& item : items) bytes += item.length == 1 ? 1 : 2;
  return bytes;
}

std::vector<std::uint8_t> WriteLzStream(std::span<const LzItem> items, const LzStreamStyle& style) {
  std::vector<std::uint8_t> out;
  out.reserve(PackedStreamSize(items));
  std::size_t flag_at = 0;
  for (std::size_t k = 0; k < items.size(); ++k) {
    const int bit = static_cast<int>(k % 8);
    if (bit == 0) {
      flag_at = out.size();
      out.push_back(0);
    }
    const LzItem& item = items[k];
    const bool literal = item.length == 1;
    if (literal == style.literal_flag) out[flag_at] |= static_cast<std::uint8_t>(0x80 >> bit);
    if (literal) {
      out.push_back(style.literal(item.value));
    } else {
      std::uint16_t word = style.reference(
          static_cast<std::uint16_t>(item.position << 4 | (item.length - kMinMatch)));
      out.push_back(static_cast<std::uint8_t>(word));
      out.push_back(static_cast<std::uint8_t>(word >> 8));
    }
  }
  return out;
}

}  // namespace authoring
