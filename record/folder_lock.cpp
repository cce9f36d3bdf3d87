#include "record/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace xuanshu {
namespace {

struct HeldFolder {
  unsigned long long device;
  unsigned long long inode;
  int depth;  // FolderLock objects of this thread on the folder
  int fd;     // the open folder that holds the lock
};

// The folders this thread holds locked. flock belongs to an open file, not
// to a thread, so each thread opens the folder itself and two threads of one
// program exclude each other like two programs.
thread_local std::vector<HeldFolder> heldFolders;

HeldFolder* FindHeld(unsigned long long device, unsigned long long inode) {
  for (HeldFolder& held : heldFolders) {
    if (held.device == device && held.inode == inode) return &held;
  }
  return nullptr;
}

}  // namespace

FolderLock FolderLock::Lock(const std::filesystem::path& folder) {
  return FolderLock(folder, true);
}

FolderLock FolderLock::TryLock(const std::filesystem::path& folder) {
  return FolderLock(folder, false);
}

FolderLock::FolderLock(const std::filesystem::path& folder, bool wait) {
  const int fd =
      ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return;
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    ::close(fd);
    return;
  }
  device_ = info.st_dev;
  inode_ = info.st_ino;
  if (HeldFolder* held = FindHeld(device_, inode_)) {
    ::close(fd);
    ++held->depth;
    outcome_ = Outcome::kLocked;
    return;
  }
  while (::flock(fd, wait ? LOCK_EX : LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    outcome_ = errno == EWOULDBLOCK ? Outcome::kBusy : Outcome::kUnlocked;
    ::close(fd);
    return;
  }
  heldFolders.push_back({device_, inode_, 1, fd});
  outcome_ = Outcome::kLocked;
}

FolderLock::FolderLock(FolderLock&& other) noexcept
    : outcome_(other.outcome_), device_(other.device_), inode_(other.inode_) {
  other.outcome_ = Outcome::kUnlocked;
}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
  if (this != &other) {
    Release();
    outcome_ = other.outcome_;
    device_ = other.device_;
    inode_ = other.inode_;
    other.outcome_ = Outcome::kUnlocked;
  }
  return *this;
}

FolderLock::~FolderLock() {
  Release();
}

void FolderLock::Release() {
  if (outcome_ != Outcome::kLocked) return;
  outcome_ = Outcome::kUnlocked;
  HeldFolder* held = FindHeld(device_, inode_);
  if (held != nullptr && --held->depth == 0) {
    ::close(held->fd);  // closing the folder lets go of the lock
    heldFolders.erase(heldFolders.begin() + (held - heldFolders.data()));
  }
}

}  // namespace xuanshu
