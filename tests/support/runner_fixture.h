// End-to-end tests of hotaru-headless: a temporary data folder with its ini file, a pack
// built with hotaru-tool from files made in the test, runs with an input script, and
// readers for the trace, dumps and captures the run leaves.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace hotaru_test {

class RunnerTest : public ::testing::Test {
 public:
  struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
  };
  struct TraceLine {
    std::uint32_t ms;
    std::string details;
  };

 protected:
  void SetUp() override;
  void TearDown() override;

  const std::filesystem::path& dir() const { return dir_; }
  // A file to pack, written into the test folder's sources.
  void AddFile(const std::string& name, const std::vector<std::uint8_t>& bytes);
  // Packs the added files with the font (one blank glyph unless `font` is given) and
  // scenario 000 into ZEN2DATA.PAK.
  void Pack(const std::vector<std::uint8_t>& scenario, const std::vector<std::uint8_t>& font = {});
  // Runs --trace-ops with this input script (`{NAME}` in it names a file in the test folder)
  // and the extra options, starting as StartFrom chose; answers the exit status.
  int Run(std::string input, std::vector<std::string> extra = {});
  // Where the runs begin: "--new-game" (the default), "--title", or "" for the logo.
  void StartFrom(std::string option) { start_ = std::move(option); }
  // Trace lines of one kind, without the kind.
  std::vector<TraceLine> Trace(const std::string& kind) const;
  std::string ReadFile(const std::string& name) const;
  // Byte `at` of the game state record, and entry i of ShownPalette, in a dump's text.
  static int StateByte(const std::string& dump, std::size_t at);
  static Rgb Shown(const std::string& dump, int i);
  // A capture of the run as colours, top row first.
  std::vector<Rgb> Shot(const std::string& name) const;
  // What the runner wrote on its standard output and error.
  const std::string& output() const { return output_; }

 private:
  std::filesystem::path dir_;
  std::vector<std::string> packed_;
  std::string output_;
  std::string start_ = "--new-game";
};

}  // namespace hotaru_test
