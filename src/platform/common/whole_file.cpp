#include "platform/file_services.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {
namespace {

ReadOutcome Failure(ReadStatus status, std::string reason) { return {status, std::move(reason)}; }

ReadOutcome FromErrno(int error) {
  return Failure(error == ENOENT || error == ENOTDIR ? ReadStatus::kMissing : ReadStatus::kFailed,
                 std::strerror(error));
}

template <typename Bytes>
ReadOutcome ReadInto(const std::filesystem::path& path, Bytes* bytes, std::uint64_t max_size) {
  bytes->clear();
  // O_NONBLOCK keeps a FIFO from blocking the open; it is refused below as not a file.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return FromErrno(errno);
  struct stat st {};
  ReadOutcome outcome;
  if (::fstat(fd, &st) != 0) {
    outcome = FromErrno(errno);
  } else if (S_ISDIR(st.st_mode)) {
    outcome = Failure(ReadStatus::kNotAFile, "is a folder");
  } else if (!S_ISREG(st.st_mode)) {
    outcome = Failure(ReadStatus::kNotAFile, "is not a regular file");
  } else if (static_cast<std::uint64_t>(st.st_size) > max_size) {
    outcome = Failure(ReadStatus::kTooLarge, "is larger than " + std::to_string(max_size) +
                                                 " bytes (" + std::to_string(st.st_size) + ")");
  } else {
    bytes->resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < bytes->size()) {
      const ssize_t n = ::read(fd, bytes->data() + done, bytes->size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        outcome = FromErrno(errno);
        outcome.status = ReadStatus::kFailed;
        break;
      }
      if (n == 0) break;  // the file shrank while it was read: keep what is there
      done += static_cast<std::size_t>(n);
    }
    bytes->resize(done);
  }
  ::close(fd);
  if (!outcome.ok()) bytes->clear();
  return outcome;
}

}  // namespace

ReadOutcome ReadRegularFile(const std::filesystem::path& path, std::string* bytes,
                            std::uint64_t max_size) {
  return ReadInto(path, bytes, max_size);
}

ReadOutcome ReadRegularFile(const std::filesystem::path& path, std::vector<std::uint8_t>* bytes,
                            std::uint64_t max_size) {
  return ReadInto(path, bytes, max_size);
}

}  // namespace platform
