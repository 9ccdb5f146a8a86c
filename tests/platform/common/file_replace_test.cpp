// Whole-file reads that report every failure, and file replacement that survives crashes,
// planted links and outputs that are not regular files.

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/common/file_replace.h"
#include "platform/file_services.h"
#include "support/platform_fixture.h"

namespace hotaru_test {
namespace {

namespace fs = std::filesystem;
using platform::ReadStatus;

class FileReplaceTest : public PlatformTest {
 protected:
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(FileReplaceTest, ReadReportsEveryKindOfFailureAsAValue) {
  WriteText(dir() / "small", "12345");
  fs::create_directory(dir() / "folder");
  ASSERT_EQ(::mkfifo((dir() / "fifo").c_str(), 0600), 0);
  struct Case {
    fs::path path;
    std::uint64_t limit;
    ReadStatus status;
    std::string reason_part;
  };
  const Case cases[] = {
      {dir() / "small", 5, ReadStatus::kOk, ""},
      {dir() / "small", 4, ReadStatus::kTooLarge, "larger than 4 bytes"},
      {dir() / "folder", 100, ReadStatus::kNotAFile, "folder"},
      {dir() / "fifo", 100, ReadStatus::kNotAFile, "not a regular file"},
      {dir() / "missing", 100, ReadStatus::kMissing, ""},
      {dir() / "small" / "below a file", 100, ReadStatus::kMissing, ""},
  };
  for (const Case& c : cases) {
    std::string bytes = "old";
    const platform::ReadOutcome read = platform::ReadRegularFile(c.path, &bytes, c.limit);
    EXPECT_EQ(read.status, c.status) << c.path;
    EXPECT_NE(read.reason.find(c.reason_part), std::string::npos) << read.reason;
    EXPECT_EQ(bytes, c.status == ReadStatus::kOk ? "12345" : "") << c.path;
  }
}

TEST_F(FileReplaceTest, ReplacingKeepsPermissionsAndLeavesNothingBeside) {
  WriteText(dir() / "out", "old content");
  ::chmod((dir() / "out").c_str(), 0640);
  EXPECT_EQ(platform::ReplaceFileContents(dir() / "out", "new"), "");
  EXPECT_EQ(ReadText(dir() / "out"), "new");
  struct stat st {};
  ASSERT_EQ(::stat((dir() / "out").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Names(), std::vector<std::string>{"out"});
}

TEST_F(FileReplaceTest, ALinkKeepsPointingAtTheReplacedFile) {
  fs::create_directory(dir() / "real");
  WriteText(dir() / "real" / "target", "old");
  fs::create_symlink("real/target", dir() / "link");
  EXPECT_EQ(platform::ReplaceFileContents(dir() / "link", "new"), "");
  EXPECT_TRUE(fs::is_symlink(dir() / "link"));
  EXPECT_EQ(ReadText(dir() / "real" / "target"), "new");
}

TEST_F(FileReplaceTest, OutputsThatAreNotFilesAreWrittenStraightIntoAndKept) {
  // A device: /dev/null takes anything and must stay the device.
  EXPECT_EQ(platform::ReplaceFileContents("/dev/null", "discarded"), "");
  struct stat st {};
  ASSERT_EQ(::stat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  // A full device reports its error instead of a success.
  EXPECT_NE(platform::ReplaceFileContents("/dev/full", "bytes"), "");
  // A FIFO delivers the bytes to its reader and stays a FIFO.
  const fs::path fifo = dir() / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = ReadText(fifo); });
  EXPECT_EQ(platform::ReplaceFileContents(fifo, "through the pipe"), "");
  reader.join();
  EXPECT_EQ(received, "through the pipe");
  ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_NE(platform::ReplaceFileContents(dir(), "x"), "");  // a folder is refused
}

TEST_F(FileReplaceTest, AWriterKilledBeforeItsCommitLeavesTheOldFileAndNoTemporary) {
  WriteText(dir() / "save", "old save");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    platform::PendingFile file;
    if (file.Create((dir() / "save").string()) != 0) ::_exit(2);
    if (::write(file.fd(), "half", 4) != 4) ::_exit(3);
    ::_exit(0);  // as a kill would: no destructor, no clean-up
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
  // A file system without anonymous files leaves a named temporary of the dead writer,
  // which the next start removes.
  platform::RemoveStaleTemporaries(dir().string());
  EXPECT_EQ(Names(), std::vector<std::string>{"save"});
  EXPECT_EQ(ReadText(dir() / "save"), "old save");
}

TEST_F(FileReplaceTest, StaleTemporariesOfDeadWritersGoAndLiveOnesStay) {
  // A process number far above any in use stands for a dead writer.
  const std::string dead = ".hotaru-2147483646-0123456789abcdef.tmp";
  const std::string live = ".hotaru-" + std::to_string(::getpid()) + "-00.tmp";
  for (const std::string& name : {dead, live, std::string(".hotaru-x.tmp"), std::string("keep")})
    WriteText(dir() / name, "x");
  platform::RemoveStaleTemporaries(dir().string());
  EXPECT_EQ(Names(), (std::vector<std::string>{".hotaru-" + std::to_string(::getpid()) + "-00.tmp",
                                               ".hotaru-x.tmp", "keep"}));
}

}  // namespace
}  // namespace hotaru_test
