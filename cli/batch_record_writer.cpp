#include "cli/batch_record_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <system_error>

#include "record/record_file.h"

namespace xuanshu::cli {
namespace {

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

}  // namespace

BatchRecordWriter::~BatchRecordWriter() {
  Discard();
}

bool BatchRecordWriter::Stage(const std::filesystem::path& target, std::string_view bytes) {
  const std::filesystem::path folder = target.parent_path();
  std::error_code ignored;
  if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
  const std::optional<std::filesystem::path> temporary = WriteTemporaryBeside(target, bytes, false);
  if (!temporary) return false;
  staged_.push_back({target, *temporary});
  targets_.insert(target.native());
  return true;
}

bool BatchRecordWriter::IsStaged(const std::filesystem::path& target) const {
  return targets_.contains(target.native());
}

std::vector<int> BatchRecordWriter::Commit() {
  std::vector<int> errors(staged_.size(), 0);
  std::set<std::filesystem::path> folders;
  for (const Staged& s : staged_) folders.insert(s.target.parent_path());
  for (const std::filesystem::path& folder : folders) {
    if (!FlushFileSystemOf(folder)) {
      std::fill(errors.begin(), errors.end(), errno);
      Discard();
      return errors;
    }
  }
  for (std::size_t i = 0; i < staged_.size(); ++i) {
    if (::rename(staged_[i].temporary.c_str(), staged_[i].target.c_str()) != 0) {
      errors[i] = errno;
      ::unlink(staged_[i].temporary.c_str());
    }
  }
  staged_.clear();
  targets_.clear();
  for (const std::filesystem::path& folder : folders) {
    SyncFolder(folder.empty() ? std::filesystem::path(".") : folder);
  }
  return errors;
}

void BatchRecordWriter::Discard() {
  for (const Staged& s : staged_) ::unlink(s.temporary.c_str());
  staged_.clear();
  targets_.clear();
}

}  // namespace xuanshu::cli
