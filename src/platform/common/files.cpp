// The _lopen family of file functions on POSIX.
//
// Paths come in Windows form: `\` separates folders, and every folder and file name is
// looked up exactly first, then among the folder's entries regardless of ASCII case (the
// data was made on a system that ignores case). A path that starts with `\` is relative to
// the current folder, as "\NAME" is what the game forms from an empty data folder; a path
// that starts with `/` is an absolute POSIX path.
//
// OF_CREATE never writes the target in place: the bytes go to a temporary file beside it,
// which replaces the target on _lclose only when every write succeeded and the data is on
// disk. A crash or a full disk leaves the old file as it was.
//
// All operating-system calls of the file functions live here.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/common/file_replace.h"
#include "platform/common/file_steps.h"
#include "platform/common/platform_state.h"
#include "platform/file_services.h"
#include "platform/win32.h"

namespace platform {

// Wiring, not state: the tests install it, a reset leaves it.
FileStepCheck FileStepHook = nullptr;

FilesState Files;

// Finds a file by a Windows-style path, ignoring ASCII case; the POSIX path of the file found.
bool FindExistingFile(const std::string& path, std::string* found);

namespace {

// Windows error codes, as OFSTRUCT::nErrCode and LastFileError report them.
constexpr WORD kErrorFileNotFound = kFileNotFound;
constexpr WORD kErrorPathNotFound = kPathNotFound;
constexpr WORD kErrorTooManyOpenFiles = kTooManyOpenFiles;
constexpr WORD kErrorAccessDenied = kAccessDenied;

WORD ErrorCodeOf(int error) {
  switch (error) {
    case ENOENT: return kFileNotFound;
    case ENOTDIR: return kPathNotFound;
    case EROFS: return kWriteProtected;
    case EACCES:
    case EPERM:
    case EISDIR:
    case ETXTBSY: return kAccessDenied;
    case EMFILE:
    case ENFILE: return kTooManyOpenFiles;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return kDiskFull;
    case ENAMETOOLONG:
    case EINVAL: return kInvalidParameter;
    default: return kDeviceFailed;
  }
}

// A file that cannot be created in `folder`: a folder that nobody may write to is
// write-protected (a read-only folder), not merely closed to this user.
WORD CreateErrorCodeOf(int error, const std::string& folder) {
  struct stat st;
  if (error == EACCES && ::stat(folder.empty() ? "." : folder.c_str(), &st) == 0 &&
      (st.st_mode & 0222) == 0) {
    return kWriteProtected;
  }
  return ErrorCodeOf(error);
}

// Records errno of the call that just failed as the last error.
void KeepError() { Files.last_error = ErrorCodeOf(errno); }

// ---------------------------------------------------------------------------------------
// Path resolution
// ---------------------------------------------------------------------------------------

// The outcome of one system call as the seam lets it stand.
bool Stepped(const char* call, bool ok) {
  if (FileStepHook != nullptr && !FileStepHook(call)) {
    errno = EIO;
    return false;
  }
  return ok;
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 0x20) : c; }

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

std::string Join(const std::string& folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  if (folder == "/") return "/" + std::string(name);
  return folder + "/" + std::string(name);
}

bool Exists(const std::string& path, bool* is_folder = nullptr) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  if (is_folder != nullptr) *is_folder = S_ISDIR(st.st_mode);
  return true;
}

// The entry of `folder` whose name equals `name` regardless of ASCII case. When several do,
// the byte-wise smallest is taken, so the answer does not depend on directory order.
bool FindIgnoringCase(const std::string& folder, std::string_view name, bool folders_only,
                      std::string* found) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return false;
  bool any = false;
  while (const dirent* entry = ::readdir(dir)) {
    std::string_view candidate = entry->d_name;
    if (!EqualIgnoringAsciiCase(candidate, name)) continue;
    if (folders_only) {
      bool is_folder = false;
      if (!Exists(Join(folder, candidate), &is_folder) || !is_folder) continue;
    }
    if (!any || candidate < *found) *found = std::string(candidate);
    any = true;
  }
  ::closedir(dir);
  return any;
}

struct ResolvedPath {
  std::string folder;  // "" for the current folder
  std::string leaf;    // the file name as found (or as given, for a file still to create)
  bool leaf_exists = false;
  std::string Full() const { return Join(folder, leaf); }
};

// Resolves a Windows-style path. With `may_be_new`, a missing last component is kept as
// given (the folders above it must exist). Sets `error` to a Windows code on failure.
bool Resolve(const char* path, bool may_be_new, ResolvedPath* out, WORD* error) {
  std::string_view text = path;
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '\\' || text[i] == '/') {
      if (i > start) parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  if (parts.empty()) {
    *error = kErrorPathNotFound;
    return false;
  }

  std::string folder = (text.front() == '/') ? "/" : "";
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    std::string_view part = parts[i];
    std::string exact = Join(folder, part);
    bool is_folder = false;
    if (part == "." || part == ".." || (Exists(exact, &is_folder) && is_folder)) {
      folder = exact;
      continue;
    }
    std::string found;
    if (!FindIgnoringCase(folder, part, /*folders_only=*/true, &found)) {
      *error = kErrorPathNotFound;
      return false;
    }
    folder = Join(folder, found);
  }

  std::string_view leaf = parts.back();
  out->folder = folder;
  if (Exists(Join(folder, leaf))) {
    out->leaf = std::string(leaf);
    out->leaf_exists = true;
    return true;
  }
  std::string found;
  if (FindIgnoringCase(folder, leaf, /*folders_only=*/false, &found)) {
    out->leaf = found;
    out->leaf_exists = true;
    return true;
  }
  if (!may_be_new) {
    *error = kErrorFileNotFound;
    return false;
  }
  out->leaf = std::string(leaf);
  out->leaf_exists = false;
  return true;
}

// ---------------------------------------------------------------------------------------
// Handle table
// ---------------------------------------------------------------------------------------

// handle = generation << 12 | slot; generations start at 1, so a handle is at least 4096
// and never HFILE_ERROR or 0.
constexpr int kSlotBits = 12;
constexpr std::size_t kMaxOpenFiles = std::size_t{1} << kSlotBits;
constexpr std::uint32_t kMaxGeneration = (1u << (31 - kSlotBits)) - 1;

OpenedFile* FindFile(HFILE file) {
  if (file <= 0) return nullptr;
  auto value = static_cast<std::uint32_t>(file);
  std::size_t index = value & (kMaxOpenFiles - 1);
  std::uint32_t generation = value >> kSlotBits;
  auto& files = Files.files;
  if (index >= files.size()) return nullptr;
  OpenedFile& f = files[index];
  if (!f.in_use || f.generation != generation) return nullptr;
  return &f;
}

// Takes a free slot; HFILE_ERROR when all are in use.
HFILE AddFile(OpenedFile opened) {
  auto& files = Files.files;
  std::size_t index = 0;
  while (index < files.size() && files[index].in_use) ++index;
  if (index == kMaxOpenFiles) return HFILE_ERROR;
  if (index == files.size()) files.emplace_back();
  opened.generation = files[index].generation;
  opened.in_use = true;
  files[index] = std::move(opened);
  return static_cast<HFILE>((files[index].generation << kSlotBits) | index);
}

// The slot becomes a fresh one but for its generation, which moves on.
void Retire(OpenedFile* f) {
  const std::uint32_t generation = f->generation == kMaxGeneration ? 1 : f->generation + 1;
  *f = OpenedFile{};
  f->generation = generation;
}

bool SyncFolder(const std::string& folder) {
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (!Stepped("open folder", fd >= 0)) {
    if (fd >= 0) ::close(fd);
    return false;
  }
  // Some file systems cannot sync a folder at all; that is no failure of ours.
  bool ok = Stepped("fsync folder", ::fsync(fd) == 0 || errno == EINVAL);
  Stepped("close folder", ::close(fd) == 0);
  return ok;
}

// Creates a fresh temporary file in `folder`, readable and writable as a new file would be.
int CreateTemporary(const std::string& folder, std::string* path) {
  // A process killed while it wrote left its temporary; the first write of a run into a
  // folder clears those of writers that are gone.
  if (Files.swept_folders.insert(folder).second)
    RemoveStaleTemporaries(folder.empty() ? "." : folder);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = ".hotaru-" + std::to_string(::getpid()) + "-" +
                       std::to_string(Files.temporary_counter++) + ".tmp";
    *path = Join(folder, name);
    int fd = ::open(path->c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 && !Stepped("open temporary", true)) {
      ::close(fd);
      ::unlink(path->c_str());
      errno = EIO;
      return -1;
    }
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

HFILE OpenForCreate(const ResolvedPath& where, OFSTRUCT* info) {
  std::string target = where.Full();
  struct stat target_stat;
  bool had_target = ::stat(target.c_str(), &target_stat) == 0;
  if (had_target && S_ISDIR(target_stat.st_mode)) {
    info->nErrCode = kErrorAccessDenied;
    return HFILE_ERROR;
  }
  OpenedFile opened;
  opened.fd = CreateTemporary(where.folder, &opened.temp_path);
  if (opened.fd < 0) {
    info->nErrCode = CreateErrorCodeOf(errno, where.folder);
    return HFILE_ERROR;
  }
  // The replacement keeps the permissions of the file it replaces.
  if (had_target) (void)Stepped("fchmod", ::fchmod(opened.fd, target_stat.st_mode & 07777) == 0);
  opened.replace_on_close = true;
  opened.target_path = target;
  opened.folder = where.folder;
  std::string temp = opened.temp_path;
  int fd = opened.fd;
  HFILE handle = AddFile(std::move(opened));
  if (handle == HFILE_ERROR) {
    ::close(fd);
    ::unlink(temp.c_str());
    info->nErrCode = kErrorTooManyOpenFiles;
  }
  return handle;
}

HFILE OpenExisting(const ResolvedPath& where, UINT access, OFSTRUCT* info) {
  int flags = access == OF_WRITE ? O_WRONLY : access == OF_READWRITE ? O_RDWR : O_RDONLY;
  // O_NONBLOCK so that a FIFO in the data folder cannot hang the open; it is cleared below.
  int fd = ::open(where.Full().c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    info->nErrCode = ErrorCodeOf(errno);
    return HFILE_ERROR;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    info->nErrCode = kErrorAccessDenied;
    return HFILE_ERROR;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  OpenedFile opened;
  opened.fd = fd;
  HFILE handle = AddFile(std::move(opened));
  if (handle == HFILE_ERROR) {
    ::close(fd);
    info->nErrCode = kErrorTooManyOpenFiles;
  }
  return handle;
}

}  // namespace

// Closes every open file; files being created are discarded, their targets untouched.
// Handles issued before stay invalid.
bool FindExistingFile(const std::string& path, std::string* found) {
  ResolvedPath where;
  WORD error = 0;
  if (!Resolve(path.c_str(), false, &where, &error)) return false;
  bool is_folder = false;
  if (!Exists(where.Full(), &is_folder) || is_folder) return false;
  *found = where.Full();
  return true;
}

// Closes every file (a file being replaced is dropped, its target left as it was) and frees
// its slot; the slots' generations stay, so a handle from before is refused.
void CloseAllFiles() {
  for (OpenedFile& f : Files.files) {
    if (!f.in_use) continue;
    ::close(f.fd);
    if (f.replace_on_close) ::unlink(f.temp_path.c_str());
    Retire(&f);
  }
}

}  // namespace platform

namespace platform {

std::uint32_t LastFileError() { return Files.last_error; }
void SetLastFileError(std::uint32_t code) { Files.last_error = code; }

namespace {

HFILE OpenFileReporting(LPCSTR path, OFSTRUCT* info, UINT style) {
  std::memset(info, 0, sizeof *info);
  info->cBytes = static_cast<BYTE>(sizeof *info);
  info->fFixedDisk = 1;
  if (path == nullptr || *path == '\0') {
    info->nErrCode = kErrorPathNotFound;
    return HFILE_ERROR;
  }

  bool create = (style & OF_CREATE) != 0;
  ResolvedPath where;
  WORD error = 0;
  if (!Resolve(path, create, &where, &error)) {
    info->nErrCode = error;
    return HFILE_ERROR;
  }
  std::string full = where.Full();
  std::size_t shown = std::min(full.size(), sizeof info->szPathName - 1);
  std::memcpy(info->szPathName, full.data(), shown);
  info->szPathName[shown] = '\0';

  if (create) return OpenForCreate(where, info);
  if (style & OF_EXIST) return 1;  // found; as on Windows nothing stays open
  return OpenExisting(where, style & 0x3, info);
}

}  // namespace
}  // namespace platform

HFILE OpenFile(LPCSTR path, OFSTRUCT* info, UINT style) {
  OFSTRUCT scratch;
  if (info == nullptr) info = &scratch;
  const HFILE file = platform::OpenFileReporting(path, info, style);
  if (file == HFILE_ERROR) platform::SetLastFileError(info->nErrCode);
  return file;
}

UINT _lread(HFILE file, void* buffer, UINT bytes) {
  constexpr UINT kError = static_cast<UINT>(HFILE_ERROR);
  platform::OpenedFile* f = platform::FindFile(file);
  if (f == nullptr) return kError;
  if (bytes == 0) return 0;
  if (buffer == nullptr) return kError;
  // A count of 0xFFFFFFFF could not be told from the error value.
  bytes = std::min<UINT>(bytes, kError - 1);
  auto* out = static_cast<char*>(buffer);
  UINT done = 0;
  while (done < bytes) {
    std::size_t chunk = std::min<std::size_t>(bytes - done, std::size_t{1} << 30);
    ssize_t got = ::read(f->fd, out + done, chunk);
    if (got < 0) {
      if (errno == EINTR) continue;
      platform::KeepError();
      return kError;
    }
    if (got == 0) break;
    done += static_cast<UINT>(got);
  }
  return done;
}

UINT _lwrite(HFILE file, const char* buffer, UINT bytes) {
  constexpr UINT kError = static_cast<UINT>(HFILE_ERROR);
  platform::OpenedFile* f = platform::FindFile(file);
  if (f == nullptr) return kError;
  if (bytes == 0) {
    // As on Windows, writing nothing cuts the file at the current position.
    off_t here = ::lseek(f->fd, 0, SEEK_CUR);
    if (here < 0 || ::ftruncate(f->fd, here) != 0) {
      platform::KeepError();
      f->write_failed = true;
      return kError;
    }
    return 0;
  }
  if (buffer == nullptr || bytes == kError) {
    platform::SetLastFileError(platform::kInvalidParameter);
    f->write_failed = true;
    return kError;
  }
  UINT done = 0;
  while (done < bytes) {
    std::size_t chunk = std::min<std::size_t>(bytes - done, std::size_t{1} << 30);
    ssize_t put = ::write(f->fd, buffer + done, chunk);
    if (put < 0 && errno == EINTR) continue;
    if (!platform::Stepped("write", put > 0)) {
      if (put == 0) errno = ENOSPC;  // nothing taken of a non-empty write
      platform::KeepError();
      f->write_failed = true;
      return kError;
    }
    done += static_cast<UINT>(put);
  }
  return done;
}

LONG _llseek(HFILE file, LONG offset, int origin) {
  platform::OpenedFile* f = platform::FindFile(file);
  if (f == nullptr) return HFILE_ERROR;
  int whence = origin == FILE_BEGIN     ? SEEK_SET
               : origin == FILE_CURRENT ? SEEK_CUR
               : origin == FILE_END     ? SEEK_END
                                        : -1;
  if (whence < 0) return HFILE_ERROR;
  off_t before = ::lseek(f->fd, 0, SEEK_CUR);
  off_t after = ::lseek(f->fd, offset, whence);
  if (after < 0) {
    platform::KeepError();
    return HFILE_ERROR;
  }
  if (after > INT32_MAX) {
    // Not expressible in the result: stay where we were.
    ::lseek(f->fd, before, SEEK_SET);
    return HFILE_ERROR;
  }
  return static_cast<LONG>(after);
}

HFILE _lclose(HFILE file) {
  platform::OpenedFile* f = platform::FindFile(file);
  if (f == nullptr) return HFILE_ERROR;
  int fd = f->fd;
  bool replace = f->replace_on_close;
  bool ok = !f->write_failed;
  std::string temp = f->temp_path;
  std::string target = f->target_path;
  std::string folder = f->folder;
  platform::Retire(f);

  if (!replace) {
    if (::close(fd) == 0) return 0;
    platform::KeepError();
    return HFILE_ERROR;
  }

  // The data reaches the disk before the name does, and the name before we report success.
  // The last error is the first call's that failed (a full disk may show only at fsync); a
  // failed write has set it already.
  using platform::Stepped;
  const auto step = [&ok](const char* call, bool done) {
    if (!Stepped(call, done) && ok) {
      platform::KeepError();
      ok = false;
    }
  };
  if (ok) step("fsync", ::fsync(fd) == 0);
  step("close", ::close(fd) == 0);
  if (ok) step("rename", ::rename(temp.c_str(), target.c_str()) == 0);
  if (!ok) {
    Stepped("unlink", ::unlink(temp.c_str()) == 0);
    return HFILE_ERROR;
  }
  if (platform::SyncFolder(folder)) return 0;
  platform::KeepError();
  return HFILE_ERROR;
}
