// The parts beneath ReplaceFileContents (platform/file_services.h) that the platform's own
// file code uses: the profile files find the file a write replaces, and OF_CREATE's writes
// clear the temporaries that a killed process left.
#pragma once

#include <filesystem>
#include <string>

#include "platform/file_services.h"

namespace platform {

// A new file that becomes `target` only when committed. Created anonymously (O_TMPFILE) where
// the file system allows it, else under a random name that is opened exclusively and never
// through a link; either way a process killed before the commit leaves nothing behind but,
// at worst, a ".hotaru-*.tmp" that the next write into that folder clears.
class PendingFile {
 public:
  PendingFile() = default;
  PendingFile(PendingFile&& other) noexcept;
  PendingFile& operator=(PendingFile&& other) noexcept;
  ~PendingFile();

  // errno on failure, 0 on success. The new file keeps the permissions of the one it replaces.
  int Create(const std::string& target);
  int fd() const { return fd_; }
  // Syncs the data, gives the file the target's name and syncs the folder; errno or 0.
  int Commit();
  // Closes and forgets the new file; the target stays as it was.
  void Abandon();

 private:
  int fd_ = -1;
  std::string target_;
  std::string folder_;
  std::string named_;  // the random name, when the file was not created anonymously
};

// The file a write to `path` should replace: the end of its chain of links when that exists,
// so a linked file stays a link; `path` itself otherwise.
std::string ReplacementTarget(const std::filesystem::path& path);

// Removes the temporaries of this program's writes left in `folder` by a process that was
// killed while writing (named ones, from file systems without anonymous files). Done by the
// first PendingFile of each folder in a run.
void RemoveStaleTemporaries(const std::string& folder);

}  // namespace platform
