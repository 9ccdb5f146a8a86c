#include "resources/pack_archive.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "authoring/pack_writer.h"
#include "core/memory_blocks.h"
#include "core/settings.h"
#include "platform/common/file_steps.h"
#include "resources/pack_format.h"
#include "support/platform_fixture.h"

namespace {

using namespace resources;
using Bytes = std::vector<std::uint8_t>;

// The key written out here rather than taken from the header, so that a changed key in the
// program shows as a failure.
constexpr std::uint8_t kKey[11] = {0x5A, 0x21, 0x8C, 0x03, 0xE7, 0x44,
                                   0x19, 0xB2, 0x6D, 0x90, 0x2F};

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes Pattern(std::size_t size, unsigned seed) {
  Bytes out(size);
  for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<std::uint8_t>(seed * 31 + i * 7);
  return out;
}

void PlainScramble(std::uint8_t* data, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i)
    data[i] = static_cast<std::uint8_t>(data[i] + kKey[i % 11]);
}

void PutU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

class PackArchiveTest : public hotaru_test::PlatformTest {
 public:
  std::filesystem::path ArchivePath() const { return dir() / kPackFileName; }

  void WriteArchive(const std::vector<authoring::PackSource>& files, bool duplicates = false) {
    authoring::PackBuildOptions options;
    options.allow_duplicate_names = duplicates;
    ASSERT_EQ(authoring::WritePack(ArchivePath(), files, options), "");
  }

  // Changes the plain index of the archive on disk.
  void EditIndex(const std::function<void(std::uint8_t* index, std::size_t count)>& edit) {
    Bytes archive = ReadBytes(ArchivePath());
    std::size_t count = archive[8] | archive[9] << 8;
    std::uint8_t* index = archive.data() + archive.size() - count * kPackEntrySize;
    Unscramble(index, count * kPackEntrySize);
    edit(index, count);
    Scramble(index, count * kPackEntrySize);
    WriteBytes(ArchivePath(), archive);
  }

  static Bytes Contents(core::MemHandle handle) {
    auto* p = static_cast<const std::uint8_t*>(core::MemLock(handle));
    Bytes out(p, p + GlobalSize(handle));
    core::MemUnlock(handle);
    return out;
  }

  static bool Unlocked(core::MemHandle handle) {
    if (GlobalLock(handle) == nullptr) return false;
    return GlobalUnlock(handle) == FALSE;
  }

  static std::string BlockName(core::MemHandle handle) {
    for (int i = 0; i < core::Memory.MemBlockCount; ++i)
      if (core::Memory.MemBlockTable[i].handle == handle) return core::Memory.MemBlockTable[i].name;
    return "(not in the table)";
  }

  // Loads `name`, checks the block is handed back unlocked with the size given, and frees it.
  Bytes Load(const char* name, std::string* block_name = nullptr) {
    std::uint32_t size = 0xDEAD;
    core::MemHandle handle = LoadFile(name, &size);
    EXPECT_TRUE(Unlocked(handle)) << name;
    EXPECT_EQ(size, GlobalSize(handle)) << name;
    if (block_name != nullptr) *block_name = BlockName(handle);
    Bytes data = Contents(handle);
    core::MemFree(handle);
    return data;
  }
};

// Runs `fn` with writes limited to `bytes` per file, as on a nearly full disk.
void WithFileSizeLimit(rlim_t bytes, const std::function<void()>& fn) {
  rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  auto old_handler = signal(SIGXFSZ, SIG_IGN);
  rlimit limited = saved;
  limited.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &limited);
  try {
    fn();
  } catch (...) {
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, old_handler);
    throw;
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, old_handler);
}

TEST(PackFormat, IndexNames) {
  struct Case {
    const char* name;
    const char* index;
  };
  const Case cases[] = {
      {"S01.VGR", "S01     VGR"},
      {"s01.vgr", "S01     VGR"},
      {"A.B", "A       B  "},
      {"ab.cd", "AB      CD "},
      {"NOEXT", "NOEXT      "},
      {"ABCDEFGH.XYZ", "ABCDEFGHXYZ"},
      // A long base name runs into the extension's places and is overwritten by it.
      {"ABCDEFGHIJ.X", "ABCDEFGHXJ "},
      {"ABCDEFGHIJKLM", "ABCDEFGHIJK"},
      {"", "           "},
      {"x.y.z", "X       Z  "},
  };
  for (const Case& c : cases) {
    char index[kPackNameLength];
    PackIndexName(c.name, index);
    EXPECT_EQ(std::string(index, kPackNameLength), c.index) << c.name;
  }

  const Case shown[] = {{"S01.VGR", "S01     VGR"},
                        {"A.B", "A       B  "},
                        {"NOEXT", "NOEXT      "},
                        {"ABCDEFGH.XYZ", "ABCDEFGHXYZ"}};
  for (const Case& c : shown) EXPECT_EQ(PackDisplayName(c.index), c.name) << c.index;
}

TEST(PackFormat, ScrambleAddsTheKeyFromPositionZero) {
  // Sizes around the bulk loop's stride of 176 bytes.
  for (std::size_t size : {0, 1, 10, 11, 12, 175, 176, 177, 351, 352, 1000, 4099}) {
    const Bytes plain = Pattern(size, 3);
    Bytes expected = plain;
    PlainScramble(expected.data(), size);
    Bytes data = plain;
    Scramble(data.data(), size);
    EXPECT_EQ(data, expected) << size;
    Unscramble(data.data(), size);
    EXPECT_EQ(data, plain) << size;
  }
}

TEST_F(PackArchiveTest, ReadsAnArchiveLaidOutByHand) {
  // Two files and an index whose byte 11 and bytes 20-23 hold junk that must not matter.
  Bytes archive = Text("VELAPACK");
  archive.push_back(2);
  archive.push_back(0);
  Bytes first = Text("HELLO");
  Bytes second = Pattern(13, 9);
  const std::uint32_t first_offset = static_cast<std::uint32_t>(archive.size());
  archive.insert(archive.end(), first.begin(), first.end());
  PlainScramble(archive.data() + first_offset, first.size());
  const std::uint32_t second_offset = static_cast<std::uint32_t>(archive.size());
  archive.insert(archive.end(), second.begin(), second.end());
  PlainScramble(archive.data() + second_offset, second.size());
  Bytes index(48, 0xEE);
  std::memcpy(index.data(), "A       TXT", 11);
  PutU32(index.data() + 12, first_offset);
  PutU32(index.data() + 16, 5);
  std::memcpy(index.data() + 24, "B       DAT", 11);
  PutU32(index.data() + 36, second_offset);
  PutU32(index.data() + 40, 13);
  PlainScramble(index.data(), index.size());
  archive.insert(archive.end(), index.begin(), index.end());
  WriteBytes(ArchivePath(), archive);

  ASSERT_EQ(PackOpen(), 1);
  EXPECT_EQ(Pack.PackEntryCount, 2);
  EXPECT_EQ(BlockName(Pack.PackIndex), "PACK FILE INDEX ");
  EXPECT_EQ(GlobalSize(Pack.PackIndex), 48u);
  EXPECT_TRUE(Unlocked(Pack.PackIndex));
  const Bytes plain_index = Contents(Pack.PackIndex);
  EXPECT_EQ(std::string(plain_index.begin(), plain_index.begin() + 12),
            std::string("A       TXT\0", 12));

  std::string name;
  EXPECT_EQ(Load("a.txt", &name), first);
  EXPECT_EQ(name, "pk:a.txt        ");
  EXPECT_EQ(Load("B.DAT", &name), second);
  EXPECT_EQ(name, "pk:B.DAT        ");
}

TEST_F(PackArchiveTest, WriterScramblesEachFileFromItsFirstByte) {
  // Files of 1 to 12 bytes put the data's start at every position of the key cycle.
  std::vector<authoring::PackSource> files;
  for (unsigned i = 1; i <= 12; ++i)
    files.push_back({"F" + std::to_string(i) + ".BIN", Pattern(i, i)});
  WriteArchive(files);
  const Bytes archive = ReadBytes(ArchivePath());
  std::vector<authoring::PackEntry> entries;
  ASSERT_EQ(authoring::ReadPackIndex(archive, &entries), "");
  ASSERT_EQ(entries.size(), files.size());
  std::uint32_t offset = kPackHeaderSize;
  for (std::size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(entries[i].name, files[i].name);
    EXPECT_EQ(entries[i].offset, offset);
    Bytes expected = files[i].data;
    PlainScramble(expected.data(), expected.size());
    EXPECT_EQ(Bytes(archive.begin() + offset, archive.begin() + offset + expected.size()),
              expected);
    offset += static_cast<std::uint32_t>(expected.size());
  }

  ASSERT_EQ(PackOpen(), 1);
  for (const auto& file : files) EXPECT_EQ(Load(file.name.c_str()), file.data) << file.name;
}

TEST_F(PackArchiveTest, FindsPackedFilesByTheirIndexForm) {
  WriteArchive({{"S01.VGR", Pattern(100, 1)},
                {"A.B", Pattern(5, 2)},
                {"AB.CD", Pattern(6, 3)},
                {"NOEXT", Pattern(7, 4)},
                {"ABCDEFGH.XYZ", Pattern(8, 5)}});
  ASSERT_EQ(PackOpen(), 1);
  struct Case {
    const char* request;
    unsigned seed;
    std::size_t size;
    const char* block;
  };
  const Case cases[] = {
      {"s01.vgr", 1, 100, "pk:s01.vgr      "},
      {"S01.VGR", 1, 100, "pk:S01.VGR      "},
      {"a.b", 2, 5, "pk:a.b          "},
      {"Ab.Cd", 3, 6, "pk:Ab.Cd        "},
      {"noext", 4, 7, "pk:noext        "},
      {"abcdefgh.xyz", 5, 8, "pk:abcdefgh.xyz "},
      // Cut to 8 + 3 the way the index is: this is the same file.
      {"ABCDEFGHIJ.XYZ", 5, 8, "pk:ABCDEFGHIJ.XY"},
  };
  for (const Case& c : cases) {
    std::string block;
    EXPECT_EQ(Load(c.request, &block), Pattern(c.size, c.seed)) << c.request;
    EXPECT_EQ(block, c.block);
  }
  EXPECT_EQ(core::Memory.MemBlockCount, 1);  // only the index is left
}

TEST_F(PackArchiveTest, LooseFilesWinAndAreNeverUnscrambled) {
  WriteArchive({{"S01.VGR", Text("packed")}, {"KNJ_ALL.KNJ", Text("packed font")}});
  const Bytes loose = Pattern(300, 7);
  WriteBytes(dir() / "S01.VGR", loose);
  WriteBytes(dir() / "knj_all.knj", Text("loose font"));
  ASSERT_EQ(PackOpen(), 1);

  std::string block;
  EXPECT_EQ(Load("S01.VGR", &block), loose);
  EXPECT_EQ(block, "S01.VGR         ");
  // Loose files are found regardless of case, and named as asked for.
  EXPECT_EQ(Load("KNJ_ALL.KNJ", &block), Text("loose font"));
  EXPECT_EQ(block, "KNJ_ALL.KNJ     ");
}

TEST_F(PackArchiveTest, FirstOfTwoEntriesWithOneNameIsLoaded) {
  WriteArchive({{"DUP.DAT", Text("first")}, {"dup.dat", Text("second one")}}, true);
  ASSERT_EQ(PackOpen(), 1);
  EXPECT_EQ(Pack.PackEntryCount, 2);
  EXPECT_EQ(Load("Dup.Dat"), Text("first"));
}

TEST_F(PackArchiveTest, EmptyArchiveOpensAndFindsNothing) {
  WriteArchive({});
  ASSERT_EQ(PackOpen(), 1);
  EXPECT_EQ(Pack.PackEntryCount, 0);
  EXPECT_EQ(GlobalSize(Pack.PackIndex), 0u);
  EXPECT_EQ(ExpectFatal([] { LoadFile("x.vgr", nullptr); }),
            "ファイルが見つかりません[PACK] : x.vgr");
}

TEST_F(PackArchiveTest, LargestIndexOpens) {
  std::vector<authoring::PackSource> files;
  for (std::size_t i = 0; i < kPackMaxEntries; ++i) files.push_back({"F" + std::to_string(i), {}});
  files.back().data = Text("last");
  WriteArchive(files);
  ASSERT_EQ(PackOpen(), 1);
  EXPECT_EQ(Pack.PackEntryCount, kPackMaxEntries);
  EXPECT_EQ(Load("F1364"), Text("last"));
}

TEST_F(PackArchiveTest, ArchivesThatCannotBeOpenedEndTheProgram) {
  auto header = [](std::uint16_t count) {
    Bytes b = Text("VELAPACK");
    b.push_back(static_cast<std::uint8_t>(count));
    b.push_back(static_cast<std::uint8_t>(count >> 8));
    return b;
  };
  auto padded = [](Bytes b, std::size_t extra) {
    b.resize(b.size() + extra, 0);
    return b;
  };
  struct Case {
    const char* what;
    bool present;
    Bytes bytes;
    const char* message;
  };
  const Case cases[] = {
      {"no archive", false, {}, "ファイルが開けません : ZEN2DATA.PAK"},
      {"wrong magic", true, padded(Text("VELAPACX"), 2), "ファイルが違います : ZEN2DATA.PAK"},
      {"lower-case magic", true, padded(Text("velapack"), 2), "ファイルが違います : ZEN2DATA.PAK"},
      {"shorter than the magic", true, Text("VELAP"), "ファイルが違います : ZEN2DATA.PAK"},
      {"no entry count", true, Text("VELAPACK\x01"), "ファイルが違います : ZEN2DATA.PAK"},
      {"1366 entries", true, padded(header(1366), 1366 * 24), "ファイルが違います : ZEN2DATA.PAK"},
      {"65535 entries", true, padded(header(65535), 0), "ファイルが違います : ZEN2DATA.PAK"},
      {"index would start inside the header", true, padded(header(1), 23),
       "ファイルが違います : ZEN2DATA.PAK"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(ArchivePath());
    if (c.present) WriteBytes(ArchivePath(), c.bytes);
    EXPECT_EQ(ExpectFatal([] { PackOpen(); }), c.message);
    EXPECT_EQ(Pack.PackIndex, 0u);
    EXPECT_EQ(core::Memory.MemBlockCount, 0);
  }
}

TEST_F(PackArchiveTest, PackedFilesThatCannotBeLoadedEndTheProgram) {
  struct Case {
    const char* what;
    std::function<void(PackArchiveTest*)> damage;
    bool after_open;
    const char* request;
    const char* message;
  };
  auto set_entry = [](std::uint32_t offset, std::uint32_t size) {
    return [=](PackArchiveTest* t) {
      t->EditIndex([&](std::uint8_t* index, std::size_t) {
        PutU32(index + 12, offset);
        PutU32(index + 16, size);
      });
    };
  };
  const Case cases[] = {
      {"missing name", [](PackArchiveTest*) {}, false, "nothere.vgr",
       "ファイルが見つかりません[PACK] : nothere.vgr"},
      {"size past the end", set_entry(10, 1000), false, "s01.vgr",
       "ファイルが壊れています : s01.vgr"},
      {"offset past the end", set_entry(5000, 1), false, "S01.VGR",
       "ファイルが壊れています : S01.VGR"},
      {"offset and size overflow 32 bits", set_entry(0xFFFFFFF0u, 0x20), false, "s01.vgr",
       "ファイルが壊れています : s01.vgr"},
      {"archive gone since it was opened",
       [](PackArchiveTest* t) { std::filesystem::remove(t->ArchivePath()); }, true, "s01.vgr",
       "ファイルが開けません : ZEN2DATA.PAK"},
      {"archive closed", [](PackArchiveTest*) { PackClose(); }, true, "s01.vgr",
       "ファイルが見つかりません[PACK] : s01.vgr"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteArchive({{"S01.VGR", Pattern(40, 1)}, {"S02.VGR", Pattern(40, 2)}});
    if (!c.after_open) c.damage(this);
    ASSERT_EQ(PackOpen(), 1);
    if (c.after_open) c.damage(this);
    const char* request = c.request;
    EXPECT_EQ(ExpectFatal([request] { LoadFile(request, nullptr); }), c.message);
    // Nothing is left behind: the program's release took the index, the loader its block.
    EXPECT_EQ(core::Memory.MemBlockCount, 0);
  }
}

TEST_F(PackArchiveTest, SaveFilesAreWrittenAndReadWhole) {
  const Bytes save = Pattern(4206, 11);
  EXPECT_EQ(FileWriteAll("ZEN2_00.SAV", save.data(), static_cast<std::uint32_t>(save.size())), 1);
  EXPECT_EQ(ReadBytes(dir() / "ZEN2_00.SAV"), save);

  std::uint32_t size = 0;
  core::MemHandle handle = FileReadAll("zen2_00.sav", &size);
  EXPECT_EQ(size, 4206u);
  EXPECT_TRUE(Unlocked(handle));
  EXPECT_EQ(BlockName(handle), "zen2_00.sav     ");
  EXPECT_EQ(Contents(handle), save);
  core::MemFree(handle);

  // An existing file of another letter case is replaced under its own name.
  WriteText(dir() / "zen2_01.sav", "old");
  EXPECT_EQ(FileWriteAll("ZEN2_01.SAV", "new", 3), 1);
  EXPECT_EQ(ReadText(dir() / "zen2_01.sav"), "new");
  EXPECT_FALSE(std::filesystem::exists(dir() / "ZEN2_01.SAV"));
  EXPECT_EQ(FileWriteAll("EMPTY.SAV", nullptr, 0), 1);
  EXPECT_EQ(std::filesystem::file_size(dir() / "EMPTY.SAV"), 0u);
}

TEST_F(PackArchiveTest, WholeFileFailuresEndTheProgram) {
  WriteArchive({{"S01.VGR", Text("packed only")}});
  ASSERT_EQ(PackOpen(), 1);
  // The archive is never consulted for whole files.
  EXPECT_EQ(ExpectFatal([] { FileReadAll("S01.VGR", nullptr); }), "ファイルが開けません : S01.VGR");

  WriteText(dir() / "ZEN2_00.SAV", "old save");
  const Bytes save = Pattern(4206, 1);
  WithFileSizeLimit(1024, [&] {
    EXPECT_EQ(ExpectFatal([&] { FileWriteAll("ZEN2_00.SAV", save.data(), 4206); }),
              "ファイルが書き込めません : ZEN2_00.SAV\nディスクがいっぱいです");
  });
  EXPECT_EQ(ReadText(dir() / "ZEN2_00.SAV"), "old save");

  std::snprintf(core::Settings.DataDir, sizeof core::Settings.DataDir, "%s",
                (dir() / "gone").c_str());
  EXPECT_EQ(ExpectFatal([&] { FileWriteAll("ZEN2_00.SAV", save.data(), 4206); }),
            "ファイルが開けません : ZEN2_00.SAV\nフォルダが見つかりません");
  EXPECT_EQ(core::Memory.MemBlockCount, 0);
}

// Runs `write` as a user whom folder permissions bind: this process when it is not root,
// else a child that has given up root for the user nobody. Answers what `write` answered.
std::string AsUnprivileged(const std::function<std::string()>& write) {
  if (geteuid() != 0) return write();
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return "no pipe";
  const pid_t child = fork();
  if (child == 0) {
    close(pipe_ends[0]);
    constexpr id_t kNobody = 65534;
    const std::string answer =
        setgid(kNobody) == 0 && setuid(kNobody) == 0 ? write() : "still root";
    const ssize_t written = ::write(pipe_ends[1], answer.data(), answer.size());
    _exit(written == static_cast<ssize_t>(answer.size()) ? 0 : 1);
  }
  close(pipe_ends[1]);
  std::string answer;
  char buffer[256];
  for (ssize_t n; (n = read(pipe_ends[0], buffer, sizeof buffer)) > 0;) answer.append(buffer, n);
  close(pipe_ends[0]);
  waitpid(child, nullptr, 0);
  return answer;
}

TEST_F(PackArchiveTest, AWriteThatFailsSaysWhyAndKeepsTheOldFile) {
  namespace fs = std::filesystem;
  const Bytes save = Pattern(4206, 3);
  const auto try_write = [&save] {
    std::string failure;
    return FileTryWriteAll("ZEN2_01.SAV", save.data(), 4206, &failure) == 1 ? "written" : failure;
  };
  const auto use_folder = [this](const std::string& name, fs::perms mode) {
    const fs::path folder = dir() / name;
    fs::create_directories(folder);
    WriteText(folder / "ZEN2_01.SAV", "old save");
    fs::permissions(folder, mode);
    std::snprintf(core::Settings.DataDir, sizeof core::Settings.DataDir, "%s", folder.c_str());
    return folder;
  };
  constexpr fs::perms kReadOnly = fs::perms::owner_read | fs::perms::owner_exec |
                                  fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec;

  // A full disk (a file size limit fails the write the same way).
  fs::path folder = use_folder("full", fs::perms::all);
  WithFileSizeLimit(1024, [&] {
    EXPECT_EQ(try_write(), "ファイルが書き込めません : ZEN2_01.SAV\nディスクがいっぱいです");
  });
  EXPECT_EQ(ReadText(folder / "ZEN2_01.SAV"), "old save");

  // A folder that nobody may write to.
  folder = use_folder("read-only", kReadOnly);
  EXPECT_EQ(AsUnprivileged(try_write),
            "ファイルが開けません : ZEN2_01.SAV\n書き込みが禁止されています");
  fs::permissions(folder, fs::perms::all);
  EXPECT_EQ(ReadText(folder / "ZEN2_01.SAV"), "old save");

  // Another user's folder, which only its owner may write to: seen from a user other than
  // root, whom no folder refuses.
  if (geteuid() == 0) {
    folder = use_folder("theirs", kReadOnly | fs::perms::owner_write);
    EXPECT_EQ(AsUnprivileged(try_write),
              "ファイルが開けません : ZEN2_01.SAV\nアクセスが許可されていません");
    EXPECT_EQ(ReadText(folder / "ZEN2_01.SAV"), "old save");
  }

  // A failure the platform gives no reason for keeps the plain message.
  use_folder("plain", fs::perms::all);
  platform::FileStepHook = [](const char* call) { return std::strcmp(call, "rename") != 0; };
  EXPECT_EQ(try_write(), "ファイルが書き込めません : ZEN2_01.SAV");
  platform::FileStepHook = nullptr;
}

TEST_F(PackArchiveTest, EmptyDataFolderMeansTheCurrentFolder) {
  WriteArchive({{"S01.VGR", Text("packed")}});
  WriteText(dir() / "LOOSE.TXT", "loose");
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir());
  core::Settings.DataDir[0] = '\0';
  ASSERT_EQ(PackOpen(), 1);
  Bytes packed = Load("S01.VGR");
  Bytes loose = Load("loose.txt");
  std::filesystem::current_path(before);
  EXPECT_EQ(packed, Text("packed"));
  EXPECT_EQ(loose, Text("loose"));
}

TEST_F(PackArchiveTest, FileGetSizeKeepsThePosition) {
  WriteText(dir() / "ten", "0123456789");
  OFSTRUCT info;
  HFILE file = OpenFile((dir() / "ten").c_str(), &info, OF_READ);
  ASSERT_NE(file, HFILE_ERROR);
  _llseek(file, 3, FILE_BEGIN);
  EXPECT_EQ(FileGetSize(file), 10u);
  EXPECT_EQ(_llseek(file, 0, FILE_CURRENT), 3);
  _lclose(file);
}

}  // namespace
