// Speed of the two dictionary decoders on realistic data: a full-screen 16-colour scene
// (dithered sky, textured ground, shapes) and a block of story text, both packed by a
// small greedy longest-match encoder here. Throughput is counted in output bytes: pixels
// written for DecodePicture, unpacked bytes for the stream decoders and UnpackBlock.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "../tests/support/dictionary_stream.h"
#include "core/memory_blocks.h"
#include "core/picture.h"
#include "harness/game_harness.h"
#include "resources/block_unpacker.h"
#include "resources/picture_decoder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using hotaru_test::StreamKind;

constexpr int W = 640;
constexpr int H = 400;

// Greedy longest match over hash chains of 3-byte prefixes, distances 1–4095, lengths
// 3–18 (a copy may overlap what it produces).
Bytes GreedyEncode(const Bytes& data, StreamKind kind) {
  constexpr int kHashBits = 15;
  constexpr int kChainSteps = 64;
  std::vector<int> head(1 << kHashBits, -1);
  std::vector<int> prev(data.size(), -1);
  const int n = static_cast<int>(data.size());
  auto hash = [&](int i) {
    return ((data[i] << 10) ^ (data[i + 1] << 5) ^ data[i + 2]) & ((1 << kHashBits) - 1);
  };
  auto insert = [&](int i) {
    if (i + 2 >= n) return;
    const int h = hash(i);
    prev[i] = head[h];
    head[h] = i;
  };
  hotaru_test::StreamWriter out(kind);
  int i = 0;
  while (i < n) {
    int best_length = 0, best_distance = 0;
    if (i + 2 < n) {
      const int limit = std::min(18, n - i);
      int steps = 0;
      for (int cand = head[hash(i)]; cand >= 0 && i - cand <= 4095 && steps < kChainSteps;
           cand = prev[cand], ++steps) {
        int length = 0;
        while (length < limit && data[cand + length] == data[i + length]) ++length;
        if (length > best_length) {
          best_length = length;
          best_distance = i - cand;
          if (length == limit) break;
        }
      }
    }
    if (best_length >= 3) {
      out.Back(static_cast<std::size_t>(best_distance), static_cast<unsigned>(best_length));
      for (int k = 0; k < best_length; ++k) insert(i + k);
      i += best_length;
    } else {
      out.Literal(data[i]);
      insert(i);
      ++i;
    }
  }
  return out.bytes();
}

// A background as the story has them: an ordered-dither sky gradient, buildings with
// windows, round shapes with outlines, and a noisy ground texture.
std::vector<std::uint8_t> ScenePixels() {
  static constexpr int kBayer[4][4] = {
      {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  std::mt19937 rng(7);
  std::vector<std::uint8_t> px(W * H);
  for (int y = 0; y < H; ++y) {
    for (int x = 0; x < W; ++x) {
      std::uint8_t v;
      if (y < 240) {
        const int level = y * 4 * 16 / 240;  // 4 bands of 16 dither steps
        v = static_cast<std::uint8_t>(1 + level / 16 +
                                      ((level % 16) > kBayer[y % 4][x % 4] ? 1 : 0));
      } else {
        const unsigned r = rng() % 16;
        v = static_cast<std::uint8_t>(r < 10 ? 8 : r < 14 ? 9 : 10);
      }
      px[static_cast<std::size_t>(y * W + x)] = v;
    }
  }
  for (int b = 0; b < 5; ++b) {  // buildings
    const int left = 40 + b * 120, top = 120 + (b * 37) % 60, right = left + 90;
    for (int y = top; y < 240; ++y) {
      for (int x = left; x < right; ++x) {
        const bool window = (x - left) % 16 >= 6 && (x - left) % 16 < 12 && (y - top) % 20 >= 6 &&
                            (y - top) % 20 < 14;
        px[static_cast<std::size_t>(y * W + x)] = window ? 13 : 6;
      }
    }
  }
  for (int c = 0; c < 6; ++c) {  // round shapes
    const int cx = 60 + c * 100, cy = 300 + (c % 2) * 40, radius = 20 + c * 4;
    for (int y = cy - radius - 1; y <= cy + radius + 1; ++y) {
      for (int x = cx - radius - 1; x <= cx + radius + 1; ++x) {
        if (x < 0 || x >= W || y < 0 || y >= H) continue;
        const int d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        if (d <= radius * radius) {
          px[static_cast<std::size_t>(y * W + x)] =
              static_cast<std::uint8_t>(d >= (radius - 2) * (radius - 2) ? 15 : 11 + c % 3);
        }
      }
    }
  }
  return px;
}

// Two pixels a byte, in the file's pixel order.
Bytes PictureBytes(const std::vector<std::uint8_t>& px, int order) {
  Bytes out(W * H / 2);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const std::size_t c = order == resources::kPictureRows ? i % (W / 2) : i / H;
    const std::size_t r = order == resources::kPictureRows ? i / (W / 2) : i % H;
    out[i] = static_cast<std::uint8_t>(px[r * W + 2 * c] << 4 | px[r * W + 2 * c + 1]);
  }
  return out;
}

Bytes PictureFile(int order, std::uint8_t transparent) {
  const Bytes stream = GreedyEncode(PictureBytes(ScenePixels(), order), StreamKind::kPicture);
  Bytes file = {'V', 'E', 'L', 'A', 'C', 'O', 'D', 'E'};
  file.resize(48, 0x5A);                                         // palette
  const std::uint8_t rect[8] = {0, 0, 0, 0, 79, 0, 0x8F, 0x01};  // 0, 0, 79, 399
  std::memcpy(&file[32], rect, 8);
  file[40] = static_cast<std::uint8_t>(order);
  file[41] = transparent;
  file[42] = file[43] = 0;
  const std::uint32_t size = W * H / 2;
  for (int i = 0; i < 4; ++i)
    file[static_cast<std::size_t>(44 + i)] = static_cast<std::uint8_t>(size >> (8 * i));
  file.insert(file.end(), stream.begin(), stream.end());
  return file;
}

// Story text: glyph pairs (high byte below 0x20) drawn from a vocabulary of words of
// uneven frequency, with control codes for waits and line ends between sentences.
Bytes StoryText(std::size_t size, unsigned seed = 11) {
  std::mt19937 rng(seed);
  std::vector<Bytes> words(400);
  for (auto& w : words) {
    const int glyphs = 1 + static_cast<int>(rng() % 5);
    for (int g = 0; g < glyphs; ++g) {
      const unsigned glyph = 40 + rng() % 2400;
      w.push_back(static_cast<std::uint8_t>(glyph >> 8));
      w.push_back(static_cast<std::uint8_t>(glyph));
    }
  }
  Bytes out;
  while (out.size() < size) {
    // Squared uniform: frequent words are much more frequent.
    const double u = std::uniform_real_distribution<double>(0, 1)(rng);
    const Bytes& w = words[static_cast<std::size_t>(u * u * static_cast<double>(words.size()))];
    out.insert(out.end(), w.begin(), w.end());
    if (rng() % 9 == 0) {
      const std::uint8_t codes[] = {0xB1, 0xB3, 0x02, 0xAF};
      out.insert(out.end(), codes, codes + 2 + rng() % 3);
    }
  }
  out.resize(size);
  return out;
}

Bytes PackedBlock(const Bytes& data) {
  const Bytes stream = GreedyEncode(data, StreamKind::kBlock);
  Bytes packed(4);
  const auto size = static_cast<std::uint32_t>(data.size());
  for (int i = 0; i < 4; ++i)
    packed[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(size >> (8 * i));
  packed.insert(packed.end(), stream.begin(), stream.end());
  return packed;
}

void BM_DecodePicture(benchmark::State& state) {
  const int order = static_cast<int>(state.range(0));
  const auto transparent = static_cast<std::uint8_t>(state.range(1));
  const harness::GameHarness game(harness::InProcessOptions(), harness::Start::kPlatform);
  const Bytes bytes = PictureFile(order, transparent);
  const core::MemHandle picture = core::AllocPicture("VbufDIB");
  const core::MemHandle file = core::MemAlloc(static_cast<std::uint32_t>(bytes.size()), "S01.VGR");
  std::memcpy(core::MemLock(file), bytes.data(), bytes.size());
  core::MemUnlock(file);
  for (auto _ : state) {
    if (resources::DecodePicture(picture, file, 0, 0) != 1) {
      state.SkipWithError("decode failed");
      break;
    }
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * W * H);
  state.counters["ratio"] = static_cast<double>(W * H / 2) / static_cast<double>(bytes.size() - 48);
}
BENCHMARK(BM_DecodePicture)
    ->ArgNames({"order", "transparent"})
    ->Args({resources::kPictureRows, 255})
    ->Args({resources::kPictureColumns, 255})
    ->Args({resources::kPictureRows, 0});

void BM_UnpackPictureStream(benchmark::State& state) {
  const Bytes file = PictureFile(resources::kPictureRows, 255);
  Bytes out(W * H / 2);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        resources::UnpackPictureStream(file.data() + 48, file.size() - 48, out.data(), out.size()));
    benchmark::ClobberMemory();
  }
  if (out != PictureBytes(ScenePixels(), resources::kPictureRows)) {
    state.SkipWithError("the stream does not give the picture back");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(out.size()));
}
BENCHMARK(BM_UnpackPictureStream);

void BM_UnpackBlock(benchmark::State& state) {
  const harness::GameHarness game(harness::InProcessOptions(), harness::Start::kPlatform);
  const Bytes text = StoryText(static_cast<std::size_t>(state.range(0)));
  const Bytes packed = PackedBlock(text);
  for (auto _ : state) {
    core::MemHandle block = resources::UnpackBlock(
        packed.data(), static_cast<std::uint32_t>(packed.size()), "MESSAGE DATA");
    benchmark::DoNotOptimize(block);
    core::MemFree(block);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
  state.counters["ratio"] = static_cast<double>(text.size()) / static_cast<double>(packed.size());
}
BENCHMARK(BM_UnpackBlock)->Arg(64 * 1024);

void BM_UnpackBlockStream(benchmark::State& state) {
  const Bytes text = StoryText(static_cast<std::size_t>(state.range(0)));
  const Bytes packed = PackedBlock(text);
  Bytes out(text.size());
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        resources::UnpackStream(packed.data() + 4, packed.size() - 4, out.data(), out.size()));
    benchmark::ClobberMemory();
  }
  if (out != text) state.SkipWithError("the stream does not give the text back");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_UnpackBlockStream)->Arg(64 * 1024);

// Several scenes' message data, each its own text, unpacked in turn: one block repeated
// lets the branch predictor learn its items, which a story's many scenes do not allow.
struct StoryBlocks {
  std::vector<Bytes> texts;
  std::vector<Bytes> packed;
  std::size_t total = 0;
};

const StoryBlocks& ManyStoryBlocks() {
  static const StoryBlocks blocks = [] {
    StoryBlocks b;
    for (unsigned scene = 0; scene < 24; ++scene) {
      // Scenes of 6 to 40 KB, as message data runs.
      const std::size_t size = 6 * 1024 + (scene * 7919 % 35) * 1024;
      b.texts.push_back(StoryText(size, 100 + scene));
      b.packed.push_back(PackedBlock(b.texts.back()));
      b.total += size;
    }
    return b;
  }();
  return blocks;
}

// The classic decoder, as a plain reading of the format: every byte goes through the
// 4096-byte ring and is copied out of it. The anchor the unpacker is measured against.
std::size_t RingUnpackBlock(const std::uint8_t* in, std::size_t in_size, std::uint8_t* out,
                            std::size_t out_size) {
  std::uint8_t ring[4096] = {};
  unsigned write = 4078;
  const std::uint8_t* const end = in + in_size;
  std::size_t o = 0;
  while (o < out_size && in < end) {
    const unsigned flags = *in++;
    for (int bit = 7; bit >= 0 && o < out_size; --bit) {
      if (!((flags >> bit) & 1)) {
        if (in >= end) return o;
        const auto v = static_cast<std::uint8_t>(~*in++);
        ring[write] = v;
        write = (write + 1) & 4095;
        out[o++] = v;
        continue;
      }
      if (end - in < 2) return o;
      const unsigned word = ~(in[0] | unsigned{in[1]} << 8) & 0xFFFF;
      in += 2;
      const unsigned position = word >> 4;
      const unsigned length = (word & 15) + 3;
      for (unsigned k = 0; k < length && o < out_size; ++k) {
        const std::uint8_t v = ring[(position + k) & 4095];
        ring[write] = v;
        write = (write + 1) & 4095;
        out[o++] = v;
      }
    }
  }
  return o;
}

// Arg 0: the unpacker; 1: the classic ring decoder. Bytes are those of every scene.
void BM_UnpackStoryBlocks(benchmark::State& state) {
  const StoryBlocks& blocks = ManyStoryBlocks();
  const bool ring = state.range(0) == 1;
  std::vector<Bytes> outs;
  for (const Bytes& t : blocks.texts) outs.emplace_back(t.size());
  for (auto _ : state) {
    for (std::size_t i = 0; i < blocks.packed.size(); ++i) {
      const Bytes& p = blocks.packed[i];
      Bytes& out = outs[i];
      const std::size_t n =
          ring ? RingUnpackBlock(p.data() + 4, p.size() - 4, out.data(), out.size())
               : resources::UnpackStream(p.data() + 4, p.size() - 4, out.data(), out.size());
      benchmark::DoNotOptimize(n);
    }
    benchmark::ClobberMemory();
  }
  for (std::size_t i = 0; i < outs.size(); ++i) {
    if (outs[i] != blocks.texts[i]) state.SkipWithError("a block does not give its text back");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(blocks.total));
  state.SetLabel(ring ? "ring decoder" : "unpacker");
}
BENCHMARK(BM_UnpackStoryBlocks)->Arg(0)->Arg(1);

}  // namespace
