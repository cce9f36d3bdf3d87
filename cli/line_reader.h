// The lines of a file or of standard input, read through a fixed buffer: a
// line longer than the limit is reported as such and skipped, so no input
// can make the program grow without bound.
#pragma once

#include <cstddef>
#include <string>

namespace xuanshu::cli {

class LineReader {
 public:
  enum class Status {
    kLine,     // line holds the next line, without its line break
    kTooLong,  // the next line exceeds the limit; it is skipped up to its end
    kEnd,      // no more input
    kError,    // reading failed; error() holds errno
  };

  LineReader(int fd, std::size_t maxLineBytes) : fd_(fd), maxLineBytes_(maxLineBytes) {}

  Status Next(std::string& line);
  int error() const { return error_; }
  // True when the next call of Next returns without waiting for more input
  // (a line is buffered, or the input has data, an end or an error now).
  bool Ready() const;

 private:
  // Reads more input into the buffer; false at the end or on an error.
  bool Fill();
  // Drops input up to and including the next line break.
  bool SkipRestOfLine();

  int fd_;
  std::size_t maxLineBytes_;
  std::string buffer_;
  std::size_t start_ = 0;  // unread part of buffer_
  bool ended_ = false;
  bool skipping_ = false;  // the rest of an overlong line is still to come
  int error_ = 0;
};

}  // namespace xuanshu::cli
