// The lock that serialises every save and every read-modify-write of the
// files in one folder, across all programs (the desktop program, every
// xuanshu-cli run): an advisory flock on the folder itself, so no lock file
// ever shows up among the records.
//
// A thread that already holds the lock of a folder may take it again (the
// inner lock then does nothing), so a locked operation can call others.
// Readers take no lock: saves replace files by renaming, so a reader always
// sees a whole old or a whole new file.
#pragma once

#include <filesystem>

namespace xuanshu {

class FolderLock {
 public:
  enum class Outcome {
    kLocked,    // this thread holds the lock
    kBusy,      // TryLock: another program holds it now
    kUnlocked,  // the folder cannot be opened or locked (missing, or a file
                // system without locks): work goes on without the lock
  };

  // Waits until the lock is free: every holder keeps it only for one save or
  // one read-modify-write (a batch for one round of records).
  static FolderLock Lock(const std::filesystem::path& folder);
  // Does not wait.
  static FolderLock TryLock(const std::filesystem::path& folder);

  FolderLock(FolderLock&& other) noexcept;
  FolderLock& operator=(FolderLock&& other) noexcept;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock();

  Outcome outcome() const { return outcome_; }
  bool busy() const { return outcome_ == Outcome::kBusy; }
  // Lets go of the lock before the end of the scope.
  void Release();

 private:
  FolderLock(const std::filesystem::path& folder, bool wait);

  Outcome outcome_ = Outcome::kUnlocked;
  unsigned long long device_ = 0, inode_ = 0;  // the folder's identity
};

}  // namespace xuanshu
