#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "authoring/pack_writer.h"
#include "resources/pack_format.h"
#include "support/platform_fixture.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes Pattern(std::size_t size, unsigned seed) {
  Bytes out(size);
  for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<std::uint8_t>(seed * 13 + i * 5);
  return out;
}

std::string ShellQuoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

struct RunResult {
  int status;
  std::string out;
  std::string err;
};

class PackToolTest : public hotaru_test::PlatformTest {
 protected:
  RunResult Tool(const std::vector<std::string>& args) {
    std::string command = ShellQuoted(HOTARU_TOOL_PATH) + " pack";
    for (const auto& a : args) command += " " + ShellQuoted(a);
    const fs::path out = dir() / "tool.out", err = dir() / "tool.err";
    command += " >" + ShellQuoted(out) + " 2>" + ShellQuoted(err);
    int raw = std::system(command.c_str());
    RunResult r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(out), ReadText(err)};
    fs::remove(out);
    fs::remove(err);
    return r;
  }

  std::set<std::string> Entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename());
    return names;
  }
};

TEST_F(PackToolTest, BuildListAndExtract) {
  const Bytes picture = Pattern(100, 1), font = Pattern(1000, 2), tiny = Pattern(2, 3);
  WriteBytes(dir() / "in/s01.vgr", picture);
  WriteBytes(dir() / "in/Knj_All.knj", font);
  WriteBytes(dir() / "in/x.b", tiny);
  const std::string archive = (dir() / "ZEN2DATA.PAK").string();
  ASSERT_EQ(Tool({"build", archive, (dir() / "in/s01.vgr").string(),
                  (dir() / "in/Knj_All.knj").string(), (dir() / "in/x.b").string()})
                .status,
            0);

  // The same bytes as the library builds from the upper-cased names.
  Bytes expected;
  ASSERT_EQ(
      authoring::BuildPack({{"S01.VGR", picture}, {"KNJ_ALL.KNJ", font}, {"X.B", tiny}}, &expected),
      "");
  EXPECT_EQ(ReadBytes(archive), expected);

  RunResult list = Tool({"list", archive});
  EXPECT_EQ(list.status, 0);
  EXPECT_EQ(list.out, "S01.VGR 10 100\nKNJ_ALL.KNJ 110 1000\nX.B 1110 2\n");

  ASSERT_EQ(Tool({"extract", archive, (dir() / "all").string()}).status, 0);
  EXPECT_EQ(Entries(dir() / "all"), (std::set<std::string>{"S01.VGR", "KNJ_ALL.KNJ", "X.B"}));
  EXPECT_EQ(ReadBytes(dir() / "all/S01.VGR"), picture);
  EXPECT_EQ(ReadBytes(dir() / "all/KNJ_ALL.KNJ"), font);
  EXPECT_EQ(ReadBytes(dir() / "all/X.B"), tiny);

  ASSERT_EQ(Tool({"extract", archive, (dir() / "one").string(), "knj_all.knj"}).status, 0);
  EXPECT_EQ(Entries(dir() / "one"), std::set<std::string>{"KNJ_ALL.KNJ"});
}

TEST_F(PackToolTest, ExtractTakesTheFirstOfDuplicates) {
  Bytes archive;
  ASSERT_EQ(authoring::BuildPack({{"DUP.DAT", {1, 2, 3}}, {"dup.dat", {4}}}, &archive, {true}), "");
  WriteBytes(dir() / "dup.pak", archive);
  ASSERT_EQ(Tool({"extract", (dir() / "dup.pak").string(), (dir() / "out").string()}).status, 0);
  EXPECT_EQ(ReadBytes(dir() / "out/DUP.DAT"), (Bytes{1, 2, 3}));
}

TEST_F(PackToolTest, ExtractNeverWritesOutsideItsFolder) {
  Bytes archive;
  ASSERT_EQ(authoring::BuildPack({{"EVIL.TXT", {'x'}}}, &archive), "");
  // Rename the entry to "../EVIL.TXT" inside the scrambled index.
  std::uint8_t* index = archive.data() + archive.size() - resources::kPackEntrySize;
  resources::Unscramble(index, resources::kPackEntrySize);
  std::memcpy(index, "../EVIL TXT", resources::kPackNameLength);
  resources::Scramble(index, resources::kPackEntrySize);
  WriteBytes(dir() / "evil.pak", archive);

  RunResult r = Tool({"extract", (dir() / "evil.pak").string(), (dir() / "out").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("../EVIL.TXT"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(dir() / "EVIL.TXT"));
}

TEST_F(PackToolTest, ExtractFollowsNoPlantedLinkAndNamesArePrintedSafely) {
  Bytes archive;
  ASSERT_EQ(authoring::BuildPack({{"S01.VGR", {1, 2}}, {"S02.VGR", {3}}}, &archive), "");
  // Control bytes in a name ("S0\x1B.VGR") reach the terminal escaped. The index is
  // scrambled as one run, so the first entry is changed.
  std::uint8_t* index = archive.data() + archive.size() - 2 * resources::kPackEntrySize;
  resources::Unscramble(index, resources::kPackEntrySize);
  index[2] = 0x1B;
  resources::Scramble(index, resources::kPackEntrySize);
  WriteBytes(dir() / "a.pak", archive);
  EXPECT_EQ(Tool({"list", (dir() / "a.pak").string()}).out, "S0\\x1B.VGR 10 2\nS02.VGR 12 1\n");

  // A prepared folder: links at the entry's name and at the name of the old temporary.
  WriteBytes(dir() / "victim", {9, 9, 9});
  fs::create_directory(dir() / "out");
  fs::create_symlink(dir() / "victim", dir() / "out/S02.VGR");
  fs::create_symlink(dir() / "victim", dir() / "out/S02.VGR.part");
  ASSERT_EQ(
      Tool({"extract", (dir() / "a.pak").string(), (dir() / "out").string(), "S02.VGR"}).status, 0);
  EXPECT_EQ(ReadBytes(dir() / "victim"), (Bytes{9, 9, 9}));
  EXPECT_FALSE(fs::is_symlink(dir() / "out/S02.VGR"));
  EXPECT_EQ(ReadBytes(dir() / "out/S02.VGR"), (Bytes{3}));
}

TEST_F(PackToolTest, OutputsThatAreNotFilesAreWrittenIntoNotReplaced) {
  WriteBytes(dir() / "in.bin", Pattern(3000, 4));
  const std::string tool = ShellQuoted(HOTARU_TOOL_PATH);
  const std::string in = ShellQuoted((dir() / "in.bin").string());
  ASSERT_EQ(
      std::system((tool + " block pack " + in + " " + ShellQuoted(dir() / "file.blk")).c_str()), 0);
  // Through a pipe: /dev/stdout is the pipe, not a name to put a file at.
  ASSERT_EQ(std::system((tool + " block pack " + in + " /dev/stdout | cat >" +
                         ShellQuoted(dir() / "piped.blk"))
                            .c_str()),
            0);
  EXPECT_EQ(ReadBytes(dir() / "piped.blk"), ReadBytes(dir() / "file.blk"));
  struct stat st {};
  ASSERT_EQ(::stat("/dev/null", &st), 0);
  ASSERT_EQ(std::system((tool + " block pack " + in + " /dev/null").c_str()), 0);
  struct stat after {};
  ASSERT_EQ(::stat("/dev/null", &after), 0);
  EXPECT_TRUE(S_ISCHR(after.st_mode));
  EXPECT_EQ(after.st_rdev, st.st_rdev);
}

TEST_F(PackToolTest, RefusesWrongUseAndBadInput) {
  Bytes good;
  ASSERT_EQ(authoring::BuildPack({{"S01.VGR", {1}}}, &good), "");
  WriteBytes(dir() / "good.pak", good);
  WriteBytes(dir() / "bad.pak", Pattern(50, 0));
  WriteBytes(dir() / "s01.vgr", {1});
  WriteBytes(dir() / "sub/S01.VGR", {2});
  WriteBytes(dir() / "toolongname.txt", {3});
  WriteBytes(dir() / "a.b.c", {4});
  const std::string d = dir().string() + "/";
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* says;  // in the output (stdout for --help, else stderr)
  };
  const Case cases[] = {
      {{}, 2, "usage"},
      {{"frobnicate"}, 2, "unknown"},
      {{"list"}, 2, "usage"},
      {{"list", d + "good.pak", "extra"}, 2, "usage"},
      {{"extract", d + "good.pak"}, 2, "usage"},
      {{"build", d + "new.pak"}, 2, "usage"},
      {{"--help"}, 0, "usage"},
      {{"build", "--help"}, 0, "8.3"},
      {{"list", d + "missing.pak"}, 1, "missing.pak"},
      {{"list", d + "bad.pak"}, 1, "VELAPACK"},
      {{"extract", d + "good.pak", d + "out", "NOPE.VGR"}, 1, "NOPE.VGR"},
      {{"build", d + "new.pak", d + "toolongname.txt"}, 1, "8.3"},
      {{"build", d + "new.pak", d + "a.b.c"}, 1, "8.3"},
      {{"build", d + "new.pak", d + "s01.vgr", d + "sub/S01.VGR"}, 1, "S01.VGR"},
      {{"build", d + "new.pak", d + "absent.bin"}, 1, "absent.bin"},
      {{"list", d + "sub"}, 1, "is a folder"},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const auto& a : c.args) shown += a + " ";
    SCOPED_TRACE(shown);
    RunResult r = Tool(c.args);
    EXPECT_EQ(r.status, c.status);
    const std::string& text = c.status == 0 ? r.out : r.err;
    EXPECT_NE(text.find(c.says), std::string::npos) << text;
  }
  // Nothing half-made is left by the refused builds or extraction.
  EXPECT_FALSE(fs::exists(dir() / "new.pak"));
  EXPECT_FALSE(fs::exists(dir() / "out/S01.VGR"));
}

TEST(PackWriter, RefusesNamesThatAreNot83) {
  const char* bad[] = {"",          ".VGR",       "TOOLONGNM.VGR", "S01.VGRX", "A.B.C",
                       "SUB/S.VGR", "SUB\\S.VGR", "S 1.VGR",       "S01.V\tR", "S*.VGR"};
  for (const char* name : bad) {
    char index[resources::kPackNameLength];
    EXPECT_NE(authoring::IndexNameOf(name, index), "") << name;
  }
  const char* good[][2] = {{"s01.vgr", "S01     VGR"},
                           {"ABCDEFGH.XYZ", "ABCDEFGHXYZ"},
                           {"A", "A          "},
                           {"a.b", "A       B  "}};
  for (const auto& g : good) {
    char index[resources::kPackNameLength];
    EXPECT_EQ(authoring::IndexNameOf(g[0], index), "") << g[0];
    EXPECT_EQ(std::string(index, resources::kPackNameLength), g[1]);
  }
}

TEST(PackWriter, RefusesMoreEntriesThanTheIndexHoldsAndDuplicates) {
  std::vector<authoring::PackSource> files;
  for (int i = 0; i < 1366; ++i) files.push_back({"F" + std::to_string(i), {}});
  Bytes archive;
  EXPECT_NE(authoring::BuildPack(files, &archive).find("1365"), std::string::npos);
  files.pop_back();
  EXPECT_EQ(authoring::BuildPack(files, &archive), "");

  EXPECT_NE(authoring::BuildPack({{"A.B", {}}, {"a.b", {}}}, &archive), "");
}

TEST(PackReader, RejectsDamagedArchives) {
  Bytes good;
  ASSERT_EQ(authoring::BuildPack({{"ONE.BIN", Pattern(30, 1)}, {"TWO.BIN", Pattern(3, 2)}}, &good),
            "");
  auto with_entry = [&](std::uint32_t offset, std::uint32_t size) {
    Bytes b = good;
    std::uint8_t* index = b.data() + b.size() - 2 * resources::kPackEntrySize;
    resources::Unscramble(index, 2 * resources::kPackEntrySize);
    for (int i = 0; i < 4; ++i) {
      index[24 + 12 + i] = static_cast<std::uint8_t>(offset >> (8 * i));
      index[24 + 16 + i] = static_cast<std::uint8_t>(size >> (8 * i));
    }
    resources::Scramble(index, 2 * resources::kPackEntrySize);
    return b;
  };
  auto with_count = [&](std::uint16_t count) {
    Bytes b = good;
    b[8] = static_cast<std::uint8_t>(count);
    b[9] = static_cast<std::uint8_t>(count >> 8);
    return b;
  };
  struct Case {
    const char* what;
    Bytes bytes;
    const char* says;
  };
  Bytes wrong_magic = good;
  wrong_magic[7] = 'X';
  const Case cases[] = {
      {"too short", Bytes(good.begin(), good.begin() + 9), "header"},
      {"wrong magic", wrong_magic, "VELAPACK"},
      {"count above the limit", with_count(1366), "1365"},
      {"index does not fit", with_count(100), "does not fit"},
      {"entry past the end", with_entry(50, 100), "past the end"},
      {"entry overflowing 32 bits", with_entry(0xFFFFFFFFu, 2), "past the end"},
  };
  for (const Case& c : cases) {
    std::vector<authoring::PackEntry> entries;
    std::string error = authoring::ReadPackIndex(c.bytes, &entries);
    EXPECT_NE(error.find(c.says), std::string::npos) << c.what << ": " << error;
    EXPECT_TRUE(entries.empty()) << c.what;
  }

  std::vector<authoring::PackEntry> entries;
  ASSERT_EQ(authoring::ReadPackIndex(good, &entries), "");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1].name, "TWO.BIN");
  EXPECT_EQ(entries[1].offset, 40u);
  EXPECT_EQ(authoring::PackEntryData(good, entries[1]), Pattern(3, 2));
}

}  // namespace
