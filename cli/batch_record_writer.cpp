#include "cli/batch_record_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <set>
#include <string>
#include <system_error>

namespace xuanshu::cli {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// The replacement keeps the permission bits of the file it replaces.
void CopyModeOfExisting(const std::filesystem::path& target, int fd) {
  struct stat info {};
  if (::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
    ::fchmod(fd, info.st_mode & 07777);
  }
}

int OpenFolder(const std::filesystem::path& folder) {
  return ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// Everything written so far reaches the disk: one flush for the whole file
// system instead of one per file.
bool FlushFileSystemOf(const std::filesystem::path& folder) {
  const int fd = OpenFolder(folder);
  if (fd < 0) return false;
  const bool ok = ::syncfs(fd) == 0;
  ::close(fd);
  return ok;
}

// Makes the renames durable. Some file systems refuse fsync on a folder;
// the records are in place by then, so that is not a failure.
void SyncFolder(const std::filesystem::path& folder) {
  const int fd = OpenFolder(folder);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

BatchRecordWriter::~BatchRecordWriter() {
  Discard();
}

bool BatchRecordWriter::Stage(const std::filesystem::path& target, std::string_view bytes) {
  const std::filesystem::path folder = target.parent_path();
  std::error_code ignored;
  if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
  const std::string stem =
      "." + target.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-b";
  std::filesystem::path temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = folder / (stem + std::to_string(counter_++));
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  CopyModeOfExisting(target, fd);
  const bool written = WriteAll(fd, bytes);
  if (::close(fd) != 0 || !written) {
    ::unlink(temporary.c_str());
    return false;
  }
  staged_.push_back({target, temporary});
  targets_.insert(target.native());
  return true;
}

bool BatchRecordWriter::IsStaged(const std::filesystem::path& target) const {
  return targets_.contains(target.native());
}

std::vector<bool> BatchRecordWriter::Commit() {
  std::vector<bool> saved(staged_.size(), false);
  std::set<std::filesystem::path> folders;
  for (const Staged& s : staged_) folders.insert(s.target.parent_path());
  for (const std::filesystem::path& folder : folders) {
    if (!FlushFileSystemOf(folder)) {
      Discard();
      return saved;
    }
  }
  for (std::size_t i = 0; i < staged_.size(); ++i) {
    saved[i] = ::rename(staged_[i].temporary.c_str(), staged_[i].target.c_str()) == 0;
    if (!saved[i]) ::unlink(staged_[i].temporary.c_str());
  }
  staged_.clear();
  targets_.clear();
  for (const std::filesystem::path& folder : folders) SyncFolder(folder);
  return saved;
}

void BatchRecordWriter::Discard() {
  for (const Staged& s : staged_) ::unlink(s.temporary.c_str());
  staged_.clear();
  targets_.clear();
}

}  // namespace xuanshu::cli
