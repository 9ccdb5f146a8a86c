#include "authoring/lz_parse.h"

#include <algorithm>
#include <array>

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

// The input behind the ring's 4096 zero bytes, as the output sees its dictionary, and
// kMaxMatch zeros after it so that every position has whole kMaxMatch bytes to compare.
std::vector<std::uint8_t> BehindTheRing(std::span<const std::uint8_t> data) {
  std::vector<std::uint8_t> buffer(kRingSize + data.size() + kMaxMatch, 0);
  std::copy(data.begin(), data.end(), buffer.begin() + kRingSize);
  return buffer;
}

// Every position's longest match, for position i of the input at buf + kRingSize + i.
// The distance that served the position before is tried first: it usually serves this one
// too (runs of long copies). Then `search(p, max_length, &best, &best_distance)` looks
// for a longer match at buffer position p, and takes the position into its index.
template <class Search>
std::vector<Match> LongestMatches(const std::uint8_t* buf, std::size_t n, Search&& search) {
  std::vector<Match> matches(n);
  std::size_t last_distance = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t p = kRingSize + i;
    const int max_length = static_cast<int>(std::min<std::size_t>(kMaxMatch, n - i));
    int best = 0;
    std::size_t best_distance = 0;
    if (last_distance != 0 && max_length >= kMinMatch) {
      const std::uint8_t* here = buf + p;
      const std::uint8_t* there = here - last_distance;
      while (best < max_length && there[best] == here[best]) ++best;
      best_distance = last_distance;
    }
    search(p, max_length, &best, &best_distance);
    if (best >= kMinMatch) {
      matches[i].length = static_cast<std::uint16_t>(best);
      matches[i].distance = static_cast<std::uint16_t>(best_distance);
    }
    last_distance = best >= kMinMatch ? best_distance : 0;
  }
  return matches;
}

// Finds every position's longest match with hash chains over a flat copy of the input
// preceded by the ring's 4096 zero bytes. Distances are what the ring allows (1 to 4096),
// so the search is exhaustive within the window; it stops early once a match reaches the
// longest length a reference can have.
std::vector<Match> FindWithHashChains(std::span<const std::uint8_t> data) {
  const std::size_t n = data.size();
  if (n < static_cast<std::size_t>(kMinMatch)) return std::vector<Match>(n);
  const std::vector<std::uint8_t> buffer = BehindTheRing(data);
  const std::uint8_t* buf = buffer.data();
  const std::size_t end = kRingSize + n;

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
  for (std::size_t pos = kRingSize - kMaxMatch; pos < kRingSize; ++pos) insert(pos);

  return LongestMatches(
      buf, n, [&](std::size_t p, int max_length, int* best, std::size_t* best_distance) {
        // When the previous distance reached the longest length the chain need not be walked.
        const std::uint8_t* here = buf + p;
        if (max_length >= kMinMatch && *best < max_length) {
          for (std::ptrdiff_t c = head[Hash3(here, hash_bits)];
               c >= 0 && p - static_cast<std::size_t>(c) <= static_cast<std::size_t>(kRingSize);
               c = prev[static_cast<std::size_t>(c) & (kRingSize - 1)]) {
            const std::uint8_t* there = buf + c;
            // A candidate can only do better if it also agrees at the byte past the best.
            if (there[*best] != here[*best]) continue;
            int length = 0;
            while (length < max_length && there[length] == here[length]) ++length;
            if (length > *best) {
              *best = length;
              *best_distance = p - static_cast<std::size_t>(c);
              if (*best == max_length) break;
            }
          }
        }
        insert(p);
      });
}

// The same matches as FindWithHashChains, from binary trees of the strings in the window,
// one tree per first byte. A node's key is the kMaxMatch bytes from its position (the
// input is followed by zeros so that every key is whole); a tree is ordered by key and
// every node is newer than the nodes below it. Inserting a position walks from the root
// down, comparing it with each node on the way, and splits the tree around it, so the new
// position becomes the root. That walk passes the newest node of every run of keys that
// share a prefix with the new one, hence the nearest of the longest matches. A node whose
// key equals the new one is replaced by it (the newer string is as long a match and
// nearer); a node that has left the window is cut off with everything below it, which is
// older still.
std::vector<Match> FindWithBinaryTrees(std::span<const std::uint8_t> data) {
  const std::size_t n = data.size();
  if (n < static_cast<std::size_t>(kMinMatch)) return std::vector<Match>(n);
  const std::vector<std::uint8_t> buffer = BehindTheRing(data);
  const std::uint8_t* buf = buffer.data();

  // Children by position modulo twice the window: a node at the window's far end (4096
  // back) is still read while the new position's slot is written.
  constexpr std::size_t kSlots = 2 * kRingSize;
  constexpr std::ptrdiff_t kNone = -1;
  std::vector<std::ptrdiff_t> smaller(kSlots, kNone), larger(kSlots, kNone);
  std::array<std::ptrdiff_t, 256> root;
  root.fill(kNone);

  // Inserts position p; answers the longest match of at most max_length bytes (0 when
  // none) and the nearest position that has it.
  auto insert = [&](std::size_t p, int max_length, std::size_t* nearest) {
    const std::uint8_t* here = buf + p;
    std::ptrdiff_t node = root[here[0]];
    root[here[0]] = static_cast<std::ptrdiff_t>(p);
    // Where the next node with a smaller key, and with a larger one, hangs.
    std::ptrdiff_t* below = &smaller[p % kSlots];
    std::ptrdiff_t* above = &larger[p % kSlots];
    // Bytes known to agree with the nearest smaller and larger keys met so far: every node
    // further down lies between them in order, so it agrees at least that far.
    int agree_below = 0, agree_above = 0;
    int best = 0;
    for (;;) {
      if (node == kNone ||
          p - static_cast<std::size_t>(node) > static_cast<std::size_t>(kRingSize)) {
        *below = *above = kNone;
        return best;
      }
      const std::uint8_t* there = buf + node;
      int length = std::min(agree_below, agree_above);
      while (length < kMaxMatch && there[length] == here[length]) ++length;
      if (std::min(length, max_length) > best) {
        best = std::min(length, max_length);
        *nearest = static_cast<std::size_t>(node);
      }
      const std::size_t slot = static_cast<std::size_t>(node) % kSlots;
      if (length == kMaxMatch) {
        *below = smaller[slot];
        *above = larger[slot];
        return best;
      }
      if (there[length] < here[length]) {
        *below = node;
        below = &larger[slot];
        node = *below;
        agree_below = length;
      } else {
        *above = node;
        above = &smaller[slot];
        node = *above;
        agree_above = length;
      }
    }
  };

  // As for the chains: only the last kMaxMatch positions of the zero prefix are worth it.
  std::size_t unused = 0;
  for (std::size_t pos = kRingSize - kMaxMatch; pos < kRingSize; ++pos) insert(pos, 0, &unused);

  return LongestMatches(buf, n,
                        [&](std::size_t p, int max_length, int* best, std::size_t* best_distance) {
                          // A match of the tree replaces the previous distance only when longer, as
                          // in the chains.
                          std::size_t nearest = 0;
                          const int found = insert(p, max_length, &nearest);
                          if (max_length >= kMinMatch && found > *best) {
                            *best = found;
                            *best_distance = p - nearest;
                          }
                        });
}

std::vector<Match> FindLongestMatches(std::span<const std::uint8_t> data, LzMatchFinder finder) {
  return finder == LzMatchFinder::kBinaryTree ? FindWithBinaryTrees(data)
                                              : FindWithHashChains(data);
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

std::vector<LzItem> ParseOptimal(std::span<const std::uint8_t> data, LzMatchFinder finder) {
  const std::size_t n = data.size();
  const std::vector<Match> matches = FindLongestMatches(data, finder);

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

std::vector<LzItem> ParseGreedy(std::span<const std::uint8_t> data, LzMatchFinder finder) {
  const std::vector<Match> matches = FindLongestMatches(data, finder);
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
