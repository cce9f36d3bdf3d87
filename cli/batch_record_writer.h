// Atomic saves of many records with one flush to disk for the lot.
//
// A save of one record flushes its file and its folder, which costs
// milliseconds; a batch of thousands of charts shares the flush instead.
// Every record still replaces its file whole: it is written to a hidden
// temporary beside its target (".<name>.tmp-<pid>-<n>", which the history
// skips), the file system is flushed once, and only then is each temporary
// renamed over its target, in the order staged.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace xuanshu::cli {

class BatchRecordWriter {
 public:
  BatchRecordWriter() = default;
  BatchRecordWriter(const BatchRecordWriter&) = delete;
  BatchRecordWriter& operator=(const BatchRecordWriter&) = delete;
  // Removes the temporaries that were never committed.
  ~BatchRecordWriter();

  // Writes the bytes to a temporary beside target, creating target's folder
  // when missing. False when that fails; nothing is then staged.
  bool Stage(const std::filesystem::path& target, std::string_view bytes);
  bool IsStaged(const std::filesystem::path& target) const;
  std::size_t size() const { return staged_.size(); }

  // Flushes, then moves every staged record into place. Returns, in the
  // order staged, 0 for each record saved, else the errno of its failure;
  // the writer is empty again.
  std::vector<int> Commit();

 private:
  struct Staged {
    std::filesystem::path target;
    std::filesystem::path temporary;
  };
  void Discard();

  std::vector<Staged> staged_;
  std::unordered_set<std::string> targets_;
};

}  // namespace xuanshu::cli
