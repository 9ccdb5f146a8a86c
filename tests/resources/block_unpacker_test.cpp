#include "resources/block_unpacker.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/memory_blocks.h"
#include "support/dictionary_stream.h"
#include "support/platform_fixture.h"

namespace {

using hotaru_test::RingUnpack;
using hotaru_test::StreamKind;
using hotaru_test::StreamWriter;
using Bytes = std::vector<std::uint8_t>;

// Unpacks with the output buffer pre-filled with junk, so that bytes the decoder forgot to
// write show.
Bytes Unpack(const Bytes& stream, std::size_t out_size, std::size_t* produced) {
  Bytes out(out_size, 0xCD);
  // An exact-size copy of the stream: reading past its end is caught under ASan.
  Bytes in(stream);
  *produced = resources::UnpackStream(in.data(), in.size(), out.data(), out.size());
  return out;
}

Bytes Repeat(std::uint8_t v, std::size_t n) { return Bytes(n, v); }

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(UnpackStream, ItemsAndStopsAsDescribed) {
  StreamWriter eighteen(StreamKind::kBlock);
  for (int i = 0; i < 18; ++i) eighteen.Literal(0x11);
  StreamWriter nineteen(StreamKind::kBlock);
  for (int i = 0; i < 18; ++i) nineteen.Literal(0x11);
  nineteen.Literal(0x77);

  struct Case {
    const char* what;
    Bytes stream;
    std::size_t out_size;
    std::size_t produced;
    Bytes expected;  // the first `produced` bytes; the rest must be 0
  } cases[] = {
      {"literals are stored complemented (flag bit 0)",
       {0x00, 0xFF, 0x00, 0x5A},
       3,
       3,
       {0x00, 0xFF, 0xA5}},
      {"reference word 0xFFFF copies 3 bytes from ring position 0: zeros",
       {0x80, 0xFF, 0xFF},
       3,
       3,
       {0, 0, 0}},
      {"position 0 is still untouched after 18 bytes",
       StreamWriter(eighteen).Reference(0, 3).bytes(), 21, 21, Concat(Repeat(0x11, 18), {0, 0, 0})},
      {"the 19th byte lands on position 0, after the 18th at 4095",
       StreamWriter(nineteen).Reference(4095, 3).bytes(), 22, 22,
       Concat(Repeat(0x11, 18), {0x77, 0x11, 0x77, 0x11})},
      {"one behind the write position, length 18, repeats the last byte",
       StreamWriter(StreamKind::kBlock).Literal(0x42).Back(1, 18).bytes(), 19, 19,
       Repeat(0x42, 19)},
      {"a copy overlapping what it produces repeats a pattern",
       StreamWriter(StreamKind::kBlock).Literal(1).Literal(2).Literal(3).Back(3, 7).bytes(),
       10,
       10,
       {1, 2, 3, 1, 2, 3, 1, 2, 3, 1}},
      {"the write position itself reads the untouched ring",
       StreamWriter(StreamKind::kBlock).Literal(9).Back(4096, 3).bytes(),
       4,
       4,
       {9, 0, 0, 0}},
      {"stops exactly at the size in the middle of a copy",
       StreamWriter(StreamKind::kBlock).Literal(5).Back(1, 18).bytes(),
       4,
       4,
       {5, 5, 5, 5}},
      {"stops at the size in the middle of a flag byte's items",
       StreamWriter(StreamKind::kBlock).Literal(1).Literal(2).Literal(3).Literal(4).bytes(),
       2,
       2,
       {1, 2}},
      {"size 0 produces nothing", {0x00, 0x00}, 0, 0, {}},
      {"an empty stream produces nothing", {}, 4, 0, {}},
      {"a stream ending after its flag byte", {0x00}, 4, 0, {}},
      {"a reference with one byte left is dropped",
       StreamWriter(StreamKind::kBlock).Literal(7).Literal(8).Raw(0x12).bytes(),
       6,
       2,
       {7, 8}},
      {"a stream shorter than the size leaves the rest 0",
       StreamWriter(StreamKind::kBlock).Literal(7).Back(1, 3).bytes(),
       16,
       4,
       {7, 7, 7, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::size_t produced = 0;
    const Bytes out = Unpack(c.stream, c.out_size, &produced);
    EXPECT_EQ(produced, c.produced);
    Bytes expected = c.expected;
    expected.resize(c.out_size, 0);
    EXPECT_EQ(out, expected);
    // The fast decoder and the plain ring agree on every case.
    EXPECT_EQ(RingUnpack(StreamKind::kBlock, c.stream.data(), c.stream.size(), c.out_size),
              Bytes(c.expected.begin(), c.expected.begin() + static_cast<long>(c.produced)));
  }
}

// Streams aimed at the decoder's paths: the zero ring before the output, short overlapping
// distances, wide copies, the ring's far end, and every way of running out.
Bytes RandomStream(std::mt19937& rng, std::size_t items) {
  StreamWriter w(StreamKind::kBlock);
  std::uniform_int_distribution<int> pick(0, 99);
  for (std::size_t i = 0; i < items; ++i) {
    const int kind = pick(rng);
    const unsigned length = 3 + static_cast<unsigned>(rng() % 16);
    if (kind < 35) {
      w.Literal(static_cast<std::uint8_t>(rng()));
    } else if (kind < 55) {
      w.Back(1 + rng() % 8, length);
    } else if (kind < 80) {
      w.Back(8 + rng() % 200, length);
    } else if (kind < 90) {
      w.Back(4000 + rng() % 97, length);
    } else {
      w.Reference(rng() % 4096, length);
    }
  }
  return w.bytes();
}

TEST(UnpackStream, AgreesWithTheRingOnLongAndTruncatedStreams) {
  std::mt19937 rng(20240611);
  for (int round = 0; round < 300; ++round) {
    Bytes stream = RandomStream(rng, 1 + rng() % 3000);
    if (round % 3 == 1) stream.resize(rng() % (stream.size() + 1));  // cut anywhere
    if (round % 5 == 2) {
      for (auto& b : stream) b = static_cast<std::uint8_t>(rng());  // any bytes are a stream
    }
    const std::size_t limit = round % 4 == 0 ? rng() % 20000 : 200000;
    const Bytes model = RingUnpack(StreamKind::kBlock, stream.data(), stream.size(), limit);
    std::size_t produced = 0;
    const Bytes out = Unpack(stream, limit, &produced);
    ASSERT_EQ(produced, model.size()) << "round " << round;
    ASSERT_TRUE(std::equal(model.begin(), model.end(), out.begin())) << "round " << round;
    ASSERT_TRUE(std::all_of(out.begin() + static_cast<long>(produced), out.end(),
                            [](std::uint8_t b) { return b == 0; }))
        << "round " << round;
  }
}

class UnpackBlockTest : public hotaru_test::PlatformTest {
 protected:
  static Bytes Packed(std::int32_t size, const Bytes& stream) {
    const auto u = static_cast<std::uint32_t>(size);
    Bytes packed = {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
                    static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)};
    return Concat(packed, stream);
  }
  static Bytes Contents(core::MemHandle block) {
    auto* p = static_cast<std::uint8_t*>(core::MemLock(block));
    Bytes bytes(p, p + GlobalSize(block));
    core::MemUnlock(block);
    return bytes;
  }
};

TEST_F(UnpackBlockTest, MakesANamedUnlockedBlockOfTheDeclaredSize) {
  const Bytes stream =
      StreamWriter(StreamKind::kBlock).Literal('A').Back(1, 4).Literal('B').bytes();
  const Bytes packed = Packed(6, stream);
  const core::MemHandle block = resources::UnpackBlock(packed.data(), packed.size(), "EVENT DATA");
  ASSERT_EQ(core::Memory.MemBlockCount, 1);
  EXPECT_EQ(core::Memory.MemBlockTable[0].handle, block);
  EXPECT_EQ(core::Memory.MemBlockTable[0].size, 6u);
  EXPECT_STREQ(core::Memory.MemBlockTable[0].name, "EVENT DATA      ");
  EXPECT_EQ(Contents(block), (Bytes{'A', 'A', 'A', 'A', 'A', 'B'}));
  EXPECT_EQ(GlobalUnlock(block), FALSE) << "handed back locked";
}

TEST_F(UnpackBlockTest, SizeFieldCases) {
  const Bytes stream = StreamWriter(StreamKind::kBlock).Literal(3).Back(1, 5).bytes();
  struct Case {
    const char* what;
    Bytes packed;
    Bytes contents;
  } cases[] = {
      {"size 0: an empty block; no stream needed", Packed(0, {}), {}},
      {"a negative size is an empty block", Packed(-5, stream), {}},
      {"the most negative size too", Packed(INT32_MIN, stream), {}},
      {"a block too short for its size field is empty", {0x05, 0x00}, {}},
      {"a stream that ends early leaves the rest 0",
       Packed(10, stream),
       {3, 3, 3, 3, 3, 3, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const core::MemHandle block = resources::UnpackBlock(
        c.packed.data(), static_cast<std::uint32_t>(c.packed.size()), "OP1A BUF");
    EXPECT_EQ(Contents(block), c.contents);
    EXPECT_EQ(core::Memory.MemBlockTable[core::Memory.MemBlockCount - 1].size, c.contents.size());
    core::MemFree(block);
  }
}

TEST_F(UnpackBlockTest, AnAbsurdSizeEndsTheProgramNamingTheBlock) {
  const Bytes too_big = Packed(resources::kMaxUnpackedBlockSize + 1, {0x00, 0x00});
  const std::string shown = ExpectFatal([&] {
    resources::UnpackBlock(too_big.data(), static_cast<std::uint32_t>(too_big.size()),
                           "MESSAGE DATA");
  });
  EXPECT_EQ(shown, "データが壊れています : MESSAGE DATA");
  EXPECT_EQ(core::Memory.MemBlockCount, 0);

  // The limit itself is still a block.
  const Bytes largest = Packed(resources::kMaxUnpackedBlockSize, {0x00, 0x00, 0x00});
  const core::MemHandle block = resources::UnpackBlock(
      largest.data(), static_cast<std::uint32_t>(largest.size()), "OP2 KUMO");
  EXPECT_EQ(GlobalSize(block), static_cast<std::size_t>(resources::kMaxUnpackedBlockSize));
  const Bytes contents = Contents(block);
  EXPECT_EQ(contents[0], 0xFF);
  EXPECT_EQ(contents[1], 0xFF);
  EXPECT_EQ(contents.back(), 0);
}

}  // namespace
