// Speed of the scenario assembler (source bytes and lines per second) on a large generated
// scenario through the demo charset table: 240 scenes of code with named jumps and calls,
// each showing a six-line text written inline (about 60 KB of texts, near the 64 KB that the
// message table can reach), and the disassembler on the blocks it makes.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "authoring/charset.h"
#include "authoring/scn_assembler.h"
#include "authoring/scn_disassembler.h"

namespace {

constexpr int kScenes = 240;
constexpr int kTextLines = 6;
constexpr int kGlyphsPerLine = 20;

const authoring::Charset& DemoCharset() {
  static const authoring::Charset charset = [] {
    authoring::Charset table;
    const auto path =
        std::filesystem::path(__FILE__).parent_path().parent_path() / "demo" / "charset.tbl";
    if (!authoring::Charset::Read(path, &table).empty()) std::abort();
    return table;
  }();
  return charset;
}

struct Source {
  std::string text;
  std::size_t lines = 0;
};

const Source& LargeScenario() {
  static const Source source = [] {
    const auto& entries = DemoCharset().entries();
    std::mt19937 rng(7);
    Source out;
    auto line = [&](const std::string& text) {
      out.text += text + "\n";
      ++out.lines;
    };
    line(".event");
    line("L0:");
    line("    end");
    for (int scene = 0; scene < kScenes; ++scene) {
      const std::string name = "scene" + std::to_string(scene);
      line(scene == 0 ? "L1:" : name + ":");
      line("    bg " + std::to_string(scene % 40) + "  ; the scene's background");
      line("    transition " + std::to_string(scene % 12));
      line("    chara 1, " + std::to_string(scene % 30));
      for (int i = 0; i < kTextLines; ++i) {
        std::string text;
        for (int g = 0; g < kGlyphsPerLine; ++g) {
          std::string character;
          const auto& entry = entries[rng() % entries.size()];
          DemoCharset().AppendGlyph(entry.glyph, &character);
          text += character == "\"" ? "<g" + std::to_string(entry.glyph) + ">" : character;
        }
        text += i % 3 == 2 ? "{wait_line}{nl}" : "{nl}";
        line(i == 0 ? "    msg \"{colour:15}" + text + "\"" : "        \"" + text + "\"");
      }
      line("    jeq " + std::to_string(scene % 20) + " 1 " + name + "_skip");
      line("    set " + std::to_string(scene % 20) + ", 1");
      line("    call L0");
      line(name + "_skip:");
      line("    cd_play " + std::to_string(scene % 8));
      line("    fade_out 2");
    }
    line("    end");
    return out;
  }();
  return source;
}

void BM_AssembleScenario(benchmark::State& state) {
  const Source& source = LargeScenario();
  for (auto _ : state) {
    authoring::ScenarioBlocks blocks;
    const std::string problems =
        authoring::AssembleScenario(source.text, "bench.scn", DemoCharset(), &blocks);
    if (!problems.empty()) {
      state.SkipWithError(problems.substr(0, 200).c_str());
      break;
    }
    benchmark::DoNotOptimize(blocks);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.text.size()));
  state.counters["lines"] = benchmark::Counter(
      static_cast<double>(state.iterations() * source.lines), benchmark::Counter::kIsRate);
  state.counters["source_KB"] = static_cast<double>(source.text.size()) / 1024;
}
BENCHMARK(BM_AssembleScenario)->Unit(benchmark::kMillisecond);

void BM_DisassembleScenario(benchmark::State& state) {
  authoring::ScenarioBlocks blocks;
  if (!authoring::AssembleScenario(LargeScenario().text, "bench.scn", DemoCharset(), &blocks)
           .empty()) {
    state.SkipWithError("the generated scenario does not assemble");
    return;
  }
  std::size_t written = 0;
  for (auto _ : state) {
    const std::string source = authoring::DisassembleScenario(blocks, DemoCharset(), "bench");
    written = source.size();
    benchmark::DoNotOptimize(source);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(
      state.iterations() * (blocks.event.size() + blocks.messages.size())));
  state.counters["source_KB"] = static_cast<double>(written) / 1024;
}
BENCHMARK(BM_DisassembleScenario)->Unit(benchmark::kMillisecond);

}  // namespace
