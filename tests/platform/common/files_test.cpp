#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "platform/file_services.h"
#include "platform/win32.h"
#include "support/platform_fixture.h"

namespace platform {
void CloseAllFiles();
}

namespace {

namespace fs = std::filesystem;

class FilesTest : public hotaru_test::PlatformTest {
 protected:
  // The game's own form of a path: the data folder, a backslash, the rest.
  std::string GamePath(const std::string& rest) const { return dir().string() + "\\" + rest; }

  std::string ReadAll(HFILE file) {
    std::string out;
    char buffer[256];
    UINT got;
    while ((got = _lread(file, buffer, sizeof buffer)) != 0 && got != UINT(HFILE_ERROR))
      out.append(buffer, got);
    return out;
  }

  std::set<std::string> Entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
    return names;
  }
};

TEST_F(FilesTest, FindsFoldersAndNamesExactlyFirstThenRegardlessOfCase) {
  WriteText(dir() / "Data/Sub/File.TXT", "file");
  WriteText(dir() / "Data/exact.bin", "lower");
  WriteText(dir() / "Data/EXACT.BIN", "upper");

  struct Case {
    const char* path;
    const char* contents;  // null: the open fails with `error`
    WORD error;
  };
  const Case cases[] = {
      {"Data\\Sub\\File.TXT", "file", 0},
      {"data\\SUB\\file.txt", "file", 0},
      {"DATA/sub/FILE.txt", "file", 0},
      {"Data\\exact.bin", "lower", 0},
      {"Data\\EXACT.BIN", "upper", 0},
      // Two names match regardless of case and neither exactly: the byte-wise smaller.
      {"Data\\Exact.Bin", "upper", 0},
      {"Data\\\\Sub\\\\File.TXT", "file", 0},
      {"Data\\Sub\\Missing.txt", nullptr, 2},
      {"Data\\Nope\\File.TXT", nullptr, 3},
      {"Data\\Sub\\File.TXT\\More", nullptr, 3},
      {"Data\\Sub", nullptr, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    OFSTRUCT info;
    HFILE file = OpenFile(GamePath(c.path).c_str(), &info, OF_READ);
    if (c.contents == nullptr) {
      EXPECT_EQ(file, HFILE_ERROR);
      EXPECT_EQ(info.nErrCode, c.error);
      continue;
    }
    ASSERT_NE(file, HFILE_ERROR);
    EXPECT_EQ(info.nErrCode, 0);
    EXPECT_EQ(ReadAll(file), c.contents);
    EXPECT_EQ(_lclose(file), 0);
  }

  OFSTRUCT info;
  HFILE file = OpenFile(GamePath("data\\sub\\file.txt").c_str(), &info, OF_READ);
  EXPECT_EQ(std::string(info.szPathName), (dir() / "Data/Sub/File.TXT").string().substr(0, 127));
  _lclose(file);
}

TEST_F(FilesTest, PathNameIsCutToTheStructure) {
  std::string longest = std::string(100, 'a') + "/" + std::string(100, 'b');
  WriteText(dir() / longest / "x.txt", "deep");
  OFSTRUCT info;
  HFILE file = OpenFile(GamePath(longest + "/X.TXT").c_str(), &info, OF_READ);
  ASSERT_NE(file, HFILE_ERROR);
  EXPECT_EQ(ReadAll(file), "deep");
  EXPECT_EQ(std::strlen(info.szPathName), 127u);
  EXPECT_EQ(std::string(info.szPathName), (dir() / longest / "x.txt").string().substr(0, 127));
  _lclose(file);
}

TEST_F(FilesTest, LeadingBackslashMeansTheCurrentFolder) {
  WriteText(dir() / "note.txt", "here");
  const fs::path before = fs::current_path();
  fs::current_path(dir());
  OFSTRUCT info;
  HFILE file = OpenFile("\\NOTE.TXT", &info, OF_READ);
  fs::current_path(before);
  ASSERT_NE(file, HFILE_ERROR);
  EXPECT_EQ(ReadAll(file), "here");
  _lclose(file);
}

TEST_F(FilesTest, ReadAndSeek) {
  WriteText(dir() / "digits", "0123456789");
  OFSTRUCT info;
  HFILE file = OpenFile(GamePath("DIGITS").c_str(), &info, OF_READ);
  ASSERT_NE(file, HFILE_ERROR);
  char buffer[16] = {};
  EXPECT_EQ(_lread(file, buffer, 4), 4u);
  EXPECT_EQ(std::string(buffer, 4), "0123");
  EXPECT_EQ(_llseek(file, 2, FILE_CURRENT), 6);
  EXPECT_EQ(_llseek(file, 0, FILE_END), 10);
  EXPECT_EQ(_llseek(file, 8, FILE_BEGIN), 8);
  // A read past the end gives what there is.
  EXPECT_EQ(_lread(file, buffer, 10), 2u);
  EXPECT_EQ(std::string(buffer, 2), "89");
  EXPECT_EQ(_lread(file, buffer, 10), 0u);
  EXPECT_EQ(_llseek(file, -1, FILE_BEGIN), HFILE_ERROR);
  EXPECT_EQ(_llseek(file, 0, 7), HFILE_ERROR);
  EXPECT_EQ(_llseek(file, 0, FILE_CURRENT), 10);
  // Opened for reading only.
  EXPECT_EQ(_lwrite(file, "x", 1), UINT(HFILE_ERROR));
  EXPECT_EQ(_lclose(file), 0);
}

TEST_F(FilesTest, BadHandlesAreRefused) {
  WriteText(dir() / "f", "f");
  OFSTRUCT info;
  HFILE closed = OpenFile(GamePath("f").c_str(), &info, OF_READ);
  ASSERT_NE(closed, HFILE_ERROR);
  ASSERT_EQ(_lclose(closed), 0);
  // A handle opened later must not answer to the closed one's value.
  HFILE reopened = OpenFile(GamePath("f").c_str(), &info, OF_READ);
  ASSERT_NE(reopened, closed);

  char buffer[4];
  for (HFILE bad : {HFILE_ERROR, 0, 1, 4096, 0x7FFFFFFF, closed}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(_lread(bad, buffer, 1), UINT(HFILE_ERROR));
    EXPECT_EQ(_lwrite(bad, "x", 1), UINT(HFILE_ERROR));
    EXPECT_EQ(_llseek(bad, 0, FILE_BEGIN), HFILE_ERROR);
    EXPECT_EQ(_lclose(bad), HFILE_ERROR);
  }
  EXPECT_EQ(_lread(reopened, buffer, 4), 1u);
  _lclose(reopened);
}

TEST_F(FilesTest, CreateReplacesTheFileOnlyWhenClosed) {
  WriteText(dir() / "save.dat", "old");
  // Left by a writer killed in an earlier run (no process has that number): the first file
  // created in the folder clears it.
  WriteText(dir() / ".hotaru-2147483646-7.tmp", "half a save");
  OFSTRUCT info;
  // A name that matches an existing file regardless of case replaces that file.
  HFILE file = OpenFile(GamePath("SAVE.DAT").c_str(), &info, OF_CREATE);
  ASSERT_NE(file, HFILE_ERROR);
  EXPECT_EQ(std::string(info.szPathName), (dir() / "save.dat").string().substr(0, 127));
  EXPECT_EQ(_lwrite(file, "new data", 8), 8u);
  EXPECT_EQ(ReadText(dir() / "save.dat"), "old");
  EXPECT_EQ(_lclose(file), 0);
  EXPECT_EQ(ReadText(dir() / "save.dat"), "new data");

  // A new file takes the name as given.
  file = OpenFile(GamePath("New.Dat").c_str(), &info, OF_CREATE);
  ASSERT_NE(file, HFILE_ERROR);
  EXPECT_EQ(_lwrite(file, "abcdef", 6), 6u);
  // Writing nothing cuts the file at the current position, as on Windows.
  EXPECT_EQ(_llseek(file, 3, FILE_BEGIN), 3);
  EXPECT_EQ(_lwrite(file, "", 0), 0u);
  EXPECT_EQ(_lclose(file), 0);
  EXPECT_EQ(ReadText(dir() / "New.Dat"), "abc");

  EXPECT_EQ(Entries(dir()), (std::set<std::string>{"save.dat", "New.Dat"}));
}

TEST_F(FilesTest, FailedWriteLeavesTheOldFileWhole) {
  struct Case {
    const char* what;
    bool use_size_limit;
  };
  for (const Case c : {Case{"a write refused by the platform", false},
                       Case{"a write that hits the file size limit", true}}) {
    SCOPED_TRACE(c.what);
    WriteText(dir() / "ZEN2_00.SAV", "old contents");
    OFSTRUCT info;
    HFILE file = OpenFile(GamePath("zen2_00.sav").c_str(), &info, OF_CREATE);
    ASSERT_NE(file, HFILE_ERROR);
    EXPECT_EQ(_lwrite(file, "first part", 10), 10u);
    if (c.use_size_limit) {
      rlimit saved;
      getrlimit(RLIMIT_FSIZE, &saved);
      auto old_handler = signal(SIGXFSZ, SIG_IGN);
      rlimit small = saved;
      small.rlim_cur = 1024;
      setrlimit(RLIMIT_FSIZE, &small);
      std::string big(4096, 'x');
      EXPECT_EQ(_lwrite(file, big.data(), UINT(big.size())), UINT(HFILE_ERROR));
      setrlimit(RLIMIT_FSIZE, &saved);
      signal(SIGXFSZ, old_handler);
    } else {
      EXPECT_EQ(_lwrite(file, nullptr, 5), UINT(HFILE_ERROR));
    }
    // Later writes succeed, but the close still refuses to put the file in place.
    EXPECT_EQ(_lwrite(file, "tail", 4), 4u);
    EXPECT_EQ(_lclose(file), HFILE_ERROR);
    EXPECT_EQ(ReadText(dir() / "ZEN2_00.SAV"), "old contents");
    EXPECT_EQ(Entries(dir()), std::set<std::string>{"ZEN2_00.SAV"});
  }
}

TEST_F(FilesTest, CreateNeedsItsFolderAndANonFolderTarget) {
  fs::create_directories(dir() / "sub");
  OFSTRUCT info;
  EXPECT_EQ(OpenFile(GamePath("missing\\x.dat").c_str(), &info, OF_CREATE), HFILE_ERROR);
  EXPECT_EQ(info.nErrCode, 3);
  EXPECT_EQ(platform::LastFileError(), platform::kPathNotFound);
  EXPECT_EQ(OpenFile(GamePath("SUB").c_str(), &info, OF_CREATE), HFILE_ERROR);
  EXPECT_EQ(info.nErrCode, 5);
  EXPECT_EQ(platform::LastFileError(), platform::kAccessDenied);
  // A call that succeeds leaves the last error as it was.
  const HFILE file = OpenFile(GamePath("sub\\x.dat").c_str(), &info, OF_CREATE);
  ASSERT_NE(file, HFILE_ERROR);
  EXPECT_EQ(_lclose(file), 0);
  EXPECT_EQ(platform::LastFileError(), platform::kAccessDenied);
}

TEST_F(FilesTest, ClosingEverythingDiscardsFilesBeingCreated) {
  WriteText(dir() / "keep.dat", "kept");
  OFSTRUCT info;
  HFILE created = OpenFile(GamePath("keep.dat").c_str(), &info, OF_CREATE);
  HFILE read = OpenFile(GamePath("keep.dat").c_str(), &info, OF_READ);
  ASSERT_NE(created, HFILE_ERROR);
  ASSERT_NE(read, HFILE_ERROR);
  EXPECT_EQ(_lwrite(created, "lost", 4), 4u);
  platform::CloseAllFiles();
  EXPECT_EQ(_lclose(created), HFILE_ERROR);
  EXPECT_EQ(_lclose(read), HFILE_ERROR);
  EXPECT_EQ(ReadText(dir() / "keep.dat"), "kept");
  EXPECT_EQ(Entries(dir()), std::set<std::string>{"keep.dat"});
}

}  // namespace
