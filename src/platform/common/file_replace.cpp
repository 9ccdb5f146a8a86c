#include "platform/common/file_replace.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <set>
#include <system_error>
#include <utility>

#include "platform/common/platform_state.h"

namespace platform {

FileReplaceState FileReplace;

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTempPrefix = ".hotaru-";
constexpr std::string_view kTempSuffix = ".tmp";

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// ".hotaru-PID-RANDOM.tmp": the process number lets a later start tell a dead writer's file
// from a live one's; the random part makes the name unpredictable.
std::string TemporaryName(const std::string& folder) {
  char random[17];
  std::snprintf(random, sizeof random, "%016llx",
                static_cast<unsigned long long>(FileReplace.temporary_names()));
  return folder + "/" + std::string(kTempPrefix) + std::to_string(::getpid()) + "-" + random +
         std::string(kTempSuffix);
}

int SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  // Some file systems cannot sync a folder at all; that is no failure of ours.
  const int error = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
  ::close(fd);
  return error;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

PendingFile::PendingFile(PendingFile&& other) noexcept { *this = std::move(other); }

PendingFile& PendingFile::operator=(PendingFile&& other) noexcept {
  if (this != &other) {
    Abandon();
    fd_ = std::exchange(other.fd_, -1);
    target_ = std::move(other.target_);
    folder_ = std::move(other.folder_);
    named_ = std::move(other.named_);
  }
  return *this;
}

PendingFile::~PendingFile() { Abandon(); }

int PendingFile::Create(const std::string& target) {
  Abandon();
  target_ = target;
  folder_ = FolderOf(target);
  // The first write into a folder clears what killed writers left there before.
  if (FileReplace.swept_folders.insert(folder_).second) RemoveStaleTemporaries(folder_);
  struct stat target_stat {};
  const bool had_target = ::stat(target.c_str(), &target_stat) == 0;
  fd_ = ::open(folder_.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
  if (fd_ < 0) {
    // No anonymous files here (or an old kernel): a random name, created exclusively; with
    // O_EXCL a link planted under that name is refused rather than followed.
    for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
      named_ = TemporaryName(folder_);
      fd_ = ::open(named_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
      if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) {
      const int error = errno;
      named_.clear();
      return error;
    }
  }
  if (had_target) (void)::fchmod(fd_, target_stat.st_mode & 07777);
  return 0;
}

int PendingFile::Commit() {
  if (fd_ < 0) return EBADF;
  int error = ::fsync(fd_) == 0 ? 0 : errno;
  if (error == 0 && named_.empty()) {
    // An anonymous file gets a name of its own first; rename then replaces the target in one
    // step, which linkat cannot do.
    const std::string proc = "/proc/self/fd/" + std::to_string(fd_);
    for (int attempt = 0; attempt < 16; ++attempt) {
      named_ = TemporaryName(folder_);
      if (::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, named_.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        error = 0;
        break;
      }
      error = errno;
      named_.clear();
      if (error != EEXIST) break;
    }
  }
  if (::close(fd_) != 0 && error == 0) error = errno;
  fd_ = -1;
  if (error == 0 && ::rename(named_.c_str(), target_.c_str()) != 0) error = errno;
  if (error != 0) {
    if (!named_.empty()) ::unlink(named_.c_str());
    named_.clear();
    return error;
  }
  named_.clear();
  // The rename itself must survive a crash too.
  return SyncFolder(folder_);
}

void PendingFile::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!named_.empty()) ::unlink(named_.c_str());
  named_.clear();
}

std::string ReplacementTarget(const fs::path& path) {
  std::error_code error;
  if (fs::is_symlink(fs::symlink_status(path, error))) {
    const fs::path end = fs::canonical(path, error);
    if (!error) return end.string();
  }
  return path.string();
}

std::string ReplaceFileContents(const fs::path& path, std::string_view bytes, AtLink at_link) {
  struct stat st {};
  const bool link = ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
  std::string replaced = path.string();  // the name the new file takes; empty: write into
  if (link && at_link == AtLink::kFollow) {
    if (::stat(path.c_str(), &st) != 0) return std::strerror(errno);  // names nothing
    std::error_code error;
    const fs::path end = fs::canonical(path, error);
    // /dev/stdout names a pipe or a terminal through /proc/self/fd, which no name can
    // replace; a link whose end has no name is written into as well.
    replaced = S_ISREG(st.st_mode) && !error ? end.string() : "";
  } else if (!link && ::stat(path.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) replaced.clear();
  }
  if (!link || at_link == AtLink::kFollow) {
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return "is a folder";
  }
  if (replaced.empty()) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return std::strerror(errno);
    const bool written = WriteAll(fd, bytes);
    const int error = written ? 0 : errno;
    if (::close(fd) != 0 && written) return std::strerror(errno);
    return written ? "" : std::strerror(error);
  }
  PendingFile file;
  if (const int error = file.Create(replaced); error != 0) return std::strerror(error);
  if (!WriteAll(file.fd(), bytes)) return std::strerror(errno);
  if (const int error = file.Commit(); error != 0) return std::strerror(error);
  return "";
}

void RemoveStaleTemporaries(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (!name.starts_with(kTempPrefix) || !name.ends_with(kTempSuffix)) continue;
    const std::string_view middle =
        name.substr(kTempPrefix.size(), name.size() - kTempPrefix.size() - kTempSuffix.size());
    const auto dash = middle.find('-');
    if (dash == std::string_view::npos) continue;
    const std::string pid_text(middle.substr(0, dash));
    char* end = nullptr;
    const long pid = std::strtol(pid_text.c_str(), &end, 10);
    if (end == pid_text.c_str() || *end != '\0' || pid <= 0) continue;
    // A writer that still runs keeps its file.
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM) continue;
    ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

}  // namespace platform
