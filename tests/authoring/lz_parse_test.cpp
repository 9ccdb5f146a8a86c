#include "authoring/lz_parse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

namespace {

using authoring::LzItem;
using Bytes = std::vector<std::uint8_t>;

// Plays the items on a literal 4096-byte ring, one byte at a time, the way the game's
// decoders define it; independent of the flat model the parse uses.
Bytes PlayOnRing(const std::vector<LzItem>& items) {
  std::array<std::uint8_t, 4096> ring{};
  unsigned write = 4078;
  Bytes out;
  auto put = [&](std::uint8_t b) {
    ring[write] = b;
    write = (write + 1) & 4095;
    out.push_back(b);
  };
  for (const LzItem& item : items) {
    if (item.length == 1) {
      put(item.value);
      continue;
    }
    EXPECT_GE(item.length, 3);
    EXPECT_LE(item.length, 18);
    EXPECT_LT(item.position, 4096);
    for (unsigned k = 0; k < item.length; ++k) put(ring[(item.position + k) & 4095]);
  }
  return out;
}

int Bits(const std::vector<LzItem>& items) {
  int bits = 0;
  for (const LzItem& item : items) bits += item.length == 1 ? 9 : 17;
  return bits;
}

Bytes Random(std::size_t n, std::uint32_t seed, int alphabet = 256) {
  std::mt19937 rng(seed);
  Bytes out(n);
  for (auto& b : out) b = static_cast<std::uint8_t>(rng() % static_cast<unsigned>(alphabet));
  return out;
}

Bytes TextLike(std::size_t n, std::uint32_t seed) {
  static const char* const kWords[] = {"the ",     "night ", "river ", "light ", "of ",  "a ",
                                       "firefly ", "she ",   "said, ", "\"",     "and ", "\n"};
  std::mt19937 rng(seed);
  Bytes out;
  while (out.size() < n) {
    std::string w = kWords[rng() % std::size(kWords)];
    out.insert(out.end(), w.begin(), w.end());
  }
  out.resize(n);
  return out;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

struct Input {
  const char* name;
  Bytes data;
};

std::vector<Input> Inputs() {
  Bytes period_4096 = Random(4096, 7);
  Bytes period_4097 = Random(4097, 8);
  return {
      {"empty", {}},
      {"one byte", {0x42}},
      {"two zeros", {0, 0}},
      {"three zeros", {0, 0, 0}},
      {"zeros past the ring", Bytes(10000, 0)},
      {"zeros then data", Concat({Bytes(30, 0), Random(100, 1)})},
      {"data, zeros, data", Concat({Random(50, 2), Bytes(40, 0), Random(50, 3)})},
      {"one byte repeated", Bytes(300, 0xA5)},
      {"two-byte period",
       Concat({Bytes(1, 1), Bytes(1, 2), Bytes(1, 1), Bytes(1, 2), Bytes(100, 1)})},
      {"random", Random(20000, 4)},
      {"four symbols", Random(20000, 5, 4)},
      {"text", TextLike(30000, 6)},
      {"repeat 4096 back", Concat({period_4096, period_4096, period_4096})},
      {"repeat 4097 back", Concat({period_4097, period_4097})},
      {"runs of 18",
       [] {
         Bytes b;
         for (int i = 0; i < 200; ++i) b.insert(b.end(), 18, static_cast<std::uint8_t>(i * 37));
         return b;
       }()},
  };
}

TEST(LzParseTest, BothParsesPlayBackToTheInput) {
  for (const Input& input : Inputs()) {
    EXPECT_EQ(PlayOnRing(authoring::ParseOptimal(input.data)), input.data) << input.name;
    EXPECT_EQ(PlayOnRing(authoring::ParseGreedy(input.data)), input.data) << input.name;
  }
}

bool SameItems(const std::vector<LzItem>& a, const std::vector<LzItem>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const LzItem& x, const LzItem& y) {
    return x.length == y.length && x.position == y.position && x.value == y.value;
  });
}

// The binary trees must find exactly the matches the chains find (the same distance among
// equally long ones), so that a picture packs to the same bytes either way: flat areas,
// strings repeated at the window's edge, the ring's zeros, short ends.
TEST(LzParseTest, BinaryTreesGiveTheSameParseAsHashChains) {
  std::vector<Input> inputs = Inputs();
  for (std::uint32_t seed = 0; seed < 60; ++seed) {
    inputs.push_back({"small", Random(20 + seed * 31, seed, 2 + static_cast<int>(seed % 4))});
  }
  // Few-colour pixel pairs with flat stretches, as pictures have.
  Bytes flat_and_noise;
  for (std::uint32_t k = 0; k < 40; ++k) {
    flat_and_noise.insert(flat_and_noise.end(), 300 + k * 97, static_cast<std::uint8_t>(k % 3));
    Bytes noise = Random(200 + k * 13, k, 3);
    flat_and_noise.insert(flat_and_noise.end(), noise.begin(), noise.end());
  }
  inputs.push_back({"flat and noise", flat_and_noise});
  for (const Input& input : inputs) {
    using authoring::LzMatchFinder;
    EXPECT_TRUE(SameItems(authoring::ParseOptimal(input.data, LzMatchFinder::kBinaryTree),
                          authoring::ParseOptimal(input.data, LzMatchFinder::kHashChains)))
        << input.name;
    EXPECT_TRUE(SameItems(authoring::ParseGreedy(input.data, LzMatchFinder::kBinaryTree),
                          authoring::ParseGreedy(input.data, LzMatchFinder::kHashChains)))
        << input.name;
  }
}

TEST(LzParseTest, OptimalIsNeverLargerThanGreedy) {
  std::vector<Input> inputs = Inputs();
  for (std::uint32_t seed = 0; seed < 200; ++seed) {
    // Small alphabets and short lengths give many competing matches.
    inputs.push_back({"small", Random(50 + seed * 7, seed, 2 + static_cast<int>(seed % 5))});
  }
  for (const Input& input : inputs) {
    auto optimal = authoring::ParseOptimal(input.data);
    auto greedy = authoring::ParseGreedy(input.data);
    EXPECT_LE(Bits(optimal), Bits(greedy)) << input.name;
    EXPECT_LE(authoring::PackedStreamSize(optimal), authoring::PackedStreamSize(greedy))
        << input.name;
  }
}

// The fewest bits any parse can take, from every reference the ring allows, found by
// trying every distance at every position.
int BruteForceOptimalBits(const Bytes& data) {
  const std::size_t n = data.size();
  auto byte_at = [&](std::ptrdiff_t i) {
    return i < 0 ? std::uint8_t{0} : data[static_cast<std::size_t>(i)];
  };
  std::vector<int> longest(n, 0);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::ptrdiff_t d = 1; d <= 4096; ++d) {
      int length = 0;
      const auto at = static_cast<std::ptrdiff_t>(i);
      while (length < 18 && i + static_cast<std::size_t>(length) < n &&
             byte_at(at + length - d) == data[i + static_cast<std::size_t>(length)])
        ++length;
      longest[i] = std::max(longest[i], length);
    }
  }
  std::vector<int> cost(n + 1, 0);
  for (std::size_t i = n; i-- > 0;) {
    cost[i] = cost[i + 1] + 9;
    for (int length = 3; length <= longest[i]; ++length)
      cost[i] = std::min(cost[i], cost[i + static_cast<std::size_t>(length)] + 17);
  }
  return cost[0];
}

TEST(LzParseTest, OptimalFindsTheFewestBitsThatAnyParseTakes) {
  for (std::uint32_t seed = 0; seed < 8; ++seed) {
    Bytes data = Random(300 + seed * 50, seed + 100, 2 + static_cast<int>(seed % 3));
    if (seed % 4 == 0) data.insert(data.begin(), seed, 0);  // zeros at the start
    EXPECT_EQ(Bits(authoring::ParseOptimal(data)), BruteForceOptimalBits(data)) << seed;
  }
}

TEST(LzParseTest, OptimalBeatsGreedyWhenTheLongestMatchMisleads) {
  // At "abcdefgh" the longest match is "abc" then "defgh" (two references); a literal 'a'
  // and then "bcdefgh" takes fewer bits.
  const std::string text = "abcX.bcdefghY.abcdefgh";
  const Bytes data(text.begin(), text.end());
  auto optimal = authoring::ParseOptimal(data);
  auto greedy = authoring::ParseGreedy(data);
  EXPECT_EQ(PlayOnRing(optimal), data);
  EXPECT_EQ(Bits(greedy) - Bits(optimal), 8);
}

TEST(LzParseTest, LeadingZerosComeFromTheUnwrittenRing) {
  // 18 zeros need no literal at all: the ring holds zeros wherever nothing was written.
  auto items = authoring::ParseOptimal(Bytes(18, 0));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].length, 18);

  // Two literals, then one copy that starts in unwritten zeros and runs on into the two
  // bytes just written.
  const Bytes data = {7, 8, 0, 0, 7, 8};
  items = authoring::ParseOptimal(data);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[2].length, 4);
  EXPECT_EQ(items[2].position, 4076);
  EXPECT_EQ(PlayOnRing(items), data);

  // The longest such copy starts 16 bytes before the first: 16 zeros, then 7 and 8.
  Bytes far = {7, 8};
  far.insert(far.end(), 16, 0);
  far.insert(far.end(), {7, 8});
  items = authoring::ParseOptimal(far);
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[2].length, 18);
  EXPECT_EQ(items[2].position, 4078 - 16);
  EXPECT_EQ(PlayOnRing(items), far);
}

TEST(LzParseTest, CopiesOverlapWhatTheyProduce) {
  // "xy" then 36 bytes of the same pair: two copies reading 2 bytes behind themselves.
  Bytes data;
  for (int i = 0; i < 19; ++i) data.insert(data.end(), {'x', 'y'});
  auto items = authoring::ParseOptimal(data);
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[2].length, 18);
  EXPECT_EQ(items[2].position, 4078);  // the first 'x', 2 behind the write position 4080
  EXPECT_EQ(PlayOnRing(items), data);
}

TEST(LzParseTest, ACopyFromTheWritePositionReadsTheByteAboutToBeReplaced) {
  // 4096 random bytes then the same again: each copy of the second half names the ring
  // position it is itself writing, whose old byte is the one 4096 back.
  Bytes first = Random(4096, 11);
  Bytes data = Concat({first, first});
  auto items = authoring::ParseOptimal(data);
  EXPECT_EQ(PlayOnRing(items), data);
  std::size_t at = 0;
  bool seen = false;
  for (const LzItem& item : items) {
    if (at == 4096) {
      ASSERT_GE(item.length, 3);
      EXPECT_EQ(item.position, (4078 + 4096) & 4095);
      seen = true;
    }
    at += item.length;
  }
  EXPECT_TRUE(seen);
  // The second half costs references only.
  EXPECT_LE(Bits(items), 4096 * 9 + (4096 / 18 + 1) * 17);
}

TEST(LzParseTest, GroupsOfEightItemsShareAFlagByte) {
  const auto identity = [](std::uint8_t v) { return v; };
  const auto word = [](std::uint16_t w) { return w; };
  const authoring::LzStreamStyle style{true, +identity, +word};
  std::vector<LzItem> items(9);
  for (std::size_t i = 0; i < items.size(); ++i) items[i].value = static_cast<std::uint8_t>(i);
  items[1].length = 5;
  items[1].position = 0xABC;
  Bytes stream = authoring::WriteLzStream(items, style);
  const Bytes expected = {0xBF, 0, 0xC2, 0xAB, 2, 3, 4, 5, 6, 7, 0x80, 8};
  EXPECT_EQ(stream, expected);
  EXPECT_EQ(authoring::PackedStreamSize(items), expected.size());
}

}  // namespace
