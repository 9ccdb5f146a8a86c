// Speed of the encoders (input bytes per second) on 256 KB of picture-like and of
// text-like data, and how much smaller the optimal parse packs than a greedy longest-match
// one on the same matches (counters: stream bytes of each, and the saving in percent).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "authoring/block_encoder.h"
#include "authoring/lz_parse.h"
#include "authoring/picture_file.h"
#include "resources/picture_decoder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::size_t kInputSize = 256 * 1024;

// Unpacked picture bytes (two pixels each, in columns) of a 1024 × 512 scene: an
// ordered-dither gradient sky, flat buildings with windows, outlined discs and a noisy
// ground, the mix a story's backgrounds have.
const Bytes& PictureLike() {
  static const Bytes bytes = [] {
    constexpr int w = 1024, h = 512;
    static constexpr int kBayer[4][4] = {
        {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    std::mt19937 rng(5);
    authoring::PictureImage image;
    image.width = w;
    image.height = h;
    image.pixels.resize(static_cast<std::size_t>(w) * h);
    auto at = [&](int x, int y) -> std::uint8_t& {
      return image.pixels[static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)];
    };
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        if (y < 300) {
          const int level = (y + x / 8) * 64 / 428;
          at(x, y) = static_cast<std::uint8_t>(1 + level / 16 +
                                               ((level % 16) > kBayer[y % 4][x % 4] ? 1 : 0));
        } else {
          const unsigned r = rng() % 16;
          at(x, y) = static_cast<std::uint8_t>(r < 10 ? 8 : r < 14 ? 9 : 10);
        }
      }
    }
    for (int b = 0; b < 8; ++b) {
      const int left = 30 + b * 125, top = 140 + (b * 37) % 80;
      for (int y = top; y < 300; ++y)
        for (int x = left; x < left + 96; ++x)
          at(x, y) = ((x - left) % 16 >= 6 && (x - left) % 16 < 12 && (y - top) % 20 >= 6 &&
                      (y - top) % 20 < 14)
                         ? 13
                         : 6;
    }
    for (int c = 0; c < 9; ++c) {
      const int cx = 60 + c * 110, cy = 380 + (c % 3) * 40, radius = 20 + c * 3;
      for (int y = cy - radius; y <= cy + radius; ++y)
        for (int x = cx - radius; x <= cx + radius; ++x) {
          const int d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
          if (x >= 0 && x < w && y >= 0 && y < h && d <= radius * radius)
            at(x, y) =
                static_cast<std::uint8_t>(d >= (radius - 2) * (radius - 2) ? 15 : 11 + c % 3);
        }
    }
    return authoring::PictureBytes(image, authoring::PixelOrder::kColumns);
  }();
  return bytes;
}

// Story text as message data holds it: two-byte glyph numbers from a vocabulary of 400
// words of uneven frequency, with short control codes between sentences.
const Bytes& TextLike() {
  static const Bytes bytes = [] {
    std::mt19937 rng(11);
    std::vector<Bytes> words(400);
    for (auto& word : words) {
      const int glyphs = 1 + static_cast<int>(rng() % 5);
      for (int g = 0; g < glyphs; ++g) {
        const unsigned glyph = 40 + rng() % 2400;
        word.push_back(static_cast<std::uint8_t>(glyph >> 8));
        word.push_back(static_cast<std::uint8_t>(glyph));
      }
    }
    Bytes out;
    while (out.size() < kInputSize) {
      const double u = std::uniform_real_distribution<double>(0, 1)(rng);
      const Bytes& word =
          words[static_cast<std::size_t>(u * u * static_cast<double>(words.size()))];
      out.insert(out.end(), word.begin(), word.end());
      if (rng() % 9 == 0)
        out.insert(out.end(), {0xB1, 0x02, static_cast<std::uint8_t>(rng() % 60)});
    }
    out.resize(kInputSize);
    return out;
  }();
  return bytes;
}

void Report(benchmark::State& state, const Bytes& input, std::size_t output_size) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
  const std::size_t optimal = authoring::PackedStreamSize(authoring::ParseOptimal(input));
  const std::size_t greedy = authoring::PackedStreamSize(authoring::ParseGreedy(input));
  state.counters["out_bytes"] = static_cast<double>(output_size);
  state.counters["optimal_bytes"] = static_cast<double>(optimal);
  state.counters["greedy_bytes"] = static_cast<double>(greedy);
  state.counters["saving_pct"] = 100.0 *
                                 (static_cast<double>(greedy) - static_cast<double>(optimal)) /
                                 static_cast<double>(greedy);
}

void BM_PackPictureStream(benchmark::State& state) {
  const Bytes& input = PictureLike();
  std::size_t size = 0;
  for (auto _ : state) {
    Bytes out = authoring::PackPictureStream(input);
    size = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  Report(state, input, size);
}
BENCHMARK(BM_PackPictureStream)->Unit(benchmark::kMillisecond);

void BM_PackBlockText(benchmark::State& state) {
  const Bytes& input = TextLike();
  std::size_t size = 0;
  for (auto _ : state) {
    Bytes out = authoring::PackBlock(input);
    size = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  Report(state, input, size);
}
BENCHMARK(BM_PackBlockText)->Unit(benchmark::kMillisecond);

// The greedy parse alone, for its speed beside the optimal one.
void BM_ParseGreedy(benchmark::State& state) {
  const Bytes& input = state.range(0) == 0 ? PictureLike() : TextLike();
  for (auto _ : state) {
    auto items = authoring::ParseGreedy(input);
    benchmark::DoNotOptimize(items.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
  state.SetLabel(state.range(0) == 0 ? "picture" : "text");
}
BENCHMARK(BM_ParseGreedy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Hard cases of the match search: all zeros, random bytes, and few-colour noise.
void BM_PackBlockExtremes(benchmark::State& state) {
  Bytes input(kInputSize, 0);
  std::mt19937 rng(3);
  if (state.range(0) == 1) {
    for (auto& b : input) b = static_cast<std::uint8_t>(rng());
  } else if (state.range(0) == 2) {
    // Pixels of three colours at random, as an error-diffused texture has.
    for (auto& b : input) b = static_cast<std::uint8_t>((8 + rng() % 3) << 4 | (8 + rng() % 3));
  }
  for (auto _ : state) {
    Bytes out = authoring::PackBlock(input);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
  state.SetLabel(state.range(0) == 0 ? "zeros" : state.range(0) == 1 ? "random" : "3-colour noise");
}
BENCHMARK(BM_PackBlockExtremes)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The picture encoder on each of the demo's pictures (built into the demo folder by the
// build), the pixels as the pictures hold them. Each picture is first checked to parse the
// same with the binary trees as with the hash chains, so the speed is that of the same
// optimal output.
Bytes UnpackedPicture(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  resources::PictureHeader header{};
  if (!resources::ParsePictureHeader(file.data(), file.size(), &header) ||
      header.unpacked_size <= 0) {
    return {};
  }
  Bytes unpacked(static_cast<std::size_t>(header.unpacked_size));
  const std::size_t stream = resources::kPictureFileHeaderSize;
  unpacked.resize(resources::UnpackPictureStream(file.data() + stream, file.size() - stream,
                                                 unpacked.data(), unpacked.size()));
  return unpacked;
}

bool SameParse(const std::vector<authoring::LzItem>& a, const std::vector<authoring::LzItem>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
    return x.length == y.length && x.position == y.position && x.value == y.value;
  });
}

void BM_PackDemoPicture(benchmark::State& state, const std::filesystem::path& path) {
  const Bytes input = UnpackedPicture(path);
  if (input.empty()) {
    state.SkipWithError("cannot read the picture");
    return;
  }
  if (!SameParse(authoring::ParseOptimal(input, authoring::LzMatchFinder::kBinaryTree),
                 authoring::ParseOptimal(input, authoring::LzMatchFinder::kHashChains))) {
    state.SkipWithError("the binary trees parse otherwise than the hash chains");
    return;
  }
  for (auto _ : state) {
    Bytes out = authoring::PackPictureStream(input);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}

// One benchmark a picture of the demo folder, when it has been built.
const bool kDemoPicturesRegistered = [] {
  const std::filesystem::path art = HOTARU_DEMO_ART_DIR;
  std::error_code error;
  std::vector<std::filesystem::path> pictures;
  for (const auto& entry : std::filesystem::directory_iterator(art, error)) {
    if (entry.path().extension() == ".VGR") pictures.push_back(entry.path());
  }
  std::sort(pictures.begin(), pictures.end());
  for (const auto& path : pictures) {
    benchmark::RegisterBenchmark(("BM_PackDemoPicture/" + path.stem().string()).c_str(),
                                 BM_PackDemoPicture, path)
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
