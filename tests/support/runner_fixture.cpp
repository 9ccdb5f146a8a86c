#include "support/runner_fixture.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>

#include "authoring/png_io.h"
#include "support/run_program.h"

namespace hotaru_test {

namespace fs = std::filesystem;

namespace {

void WriteAll(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

void RunnerTest::SetUp() {
  std::random_device rd;
  dir_ = fs::temp_directory_path() / ("hotaru-runner-" + std::to_string(rd()));
  fs::create_directories(dir_ / "src");
  std::ofstream(dir_ / "hotaru.ini") << "[蛍]\nHotaruDir=" << dir_.string() << "\n";
}

void RunnerTest::TearDown() { fs::remove_all(dir_); }

void RunnerTest::AddFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  WriteAll(dir_ / "src" / name, bytes);
  packed_.push_back((dir_ / "src" / name).string());
}

void RunnerTest::Pack(const std::vector<std::uint8_t>& scenario,
                      const std::vector<std::uint8_t>& font) {
  const fs::path font_path = dir_ / "src" / "KNJ_ALL.KNJ";
  const fs::path scn_path = dir_ / "src" / "000.SCN";
  WriteAll(font_path, font.empty() ? std::vector<std::uint8_t>(72, 0) : font);
  WriteAll(scn_path, scenario);
  std::vector<std::string> args = {"pack", "build", (dir_ / "ZEN2DATA.PAK").string(),
                                   font_path.string(), scn_path.string()};
  args.insert(args.end(), packed_.begin(), packed_.end());
  std::string out;
  ASSERT_EQ(RunProgram(HOTARU_TOOL_PATH, args, {}, &out), 0) << out;
}

int RunnerTest::Run(std::string input, std::vector<std::string> extra) {
  for (std::size_t at; (at = input.find('{')) != std::string::npos;) {
    const std::size_t end = input.find('}', at);
    input.replace(at, end - at + 1, (dir_ / input.substr(at + 1, end - at - 1)).string());
  }
  std::ofstream(dir_ / "input.txt") << input;
  std::vector<std::string> args = {
      "--ini",   (dir_ / "hotaru.ini").string(), "--trace",    (dir_ / "trace.txt").string(),
      "--input", (dir_ / "input.txt").string(),  "--trace-ops"};
  if (!start_.empty()) args.push_back(start_);
  args.insert(args.end(), extra.begin(), extra.end());
  return RunProgram(HOTARU_HEADLESS_PATH, args, {}, &output_);
}

std::vector<RunnerTest::TraceLine> RunnerTest::Trace(const std::string& kind) const {
  std::vector<TraceLine> out;
  for (const std::string& line : ReadLines(dir_ / "trace.txt")) {
    const std::string rest = line.substr(line.find(' ') + 1);
    if (rest == kind) out.push_back({static_cast<std::uint32_t>(std::stoul(line)), ""});
    if (rest.rfind(kind + " ", 0) == 0) {
      out.push_back({static_cast<std::uint32_t>(std::stoul(line)), rest.substr(kind.size() + 1)});
    }
  }
  return out;
}

std::string RunnerTest::ReadFile(const std::string& name) const {
  std::ifstream in(dir_ / name, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

int RunnerTest::StateByte(const std::string& dump, std::size_t at) {
  const std::size_t start = dump.find("\"state\":\"") + 9;
  return std::stoi(dump.substr(start + 2 * at, 2), nullptr, 16);
}

RunnerTest::Rgb RunnerTest::Shown(const std::string& dump, int i) {
  std::size_t at = dump.find("\"shown\":[") + 9;
  for (int k = 0; k < i; ++k) at = dump.find(']', at) + 2;
  Rgb c{};
  std::sscanf(dump.c_str() + at, "[%d,%d,%d]", &c.r, &c.g, &c.b);
  return c;
}

std::vector<RunnerTest::Rgb> RunnerTest::Shot(const std::string& name) const {
  authoring::IndexedImage image;
  std::vector<std::string> warnings;
  const std::string error = authoring::ReadPng(dir_ / name, &image, &warnings);
  if (!error.empty()) {
    ADD_FAILURE() << name << ": " << error;
    return {};
  }
  std::vector<Rgb> out;
  out.reserve(image.pixels.size());
  for (std::uint8_t p : image.pixels)
    out.push_back({image.palette[p].r, image.palette[p].g, image.palette[p].b});
  return out;
}

}  // namespace hotaru_test
