#include "cli/line_reader.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace xuanshu::cli {
namespace {

constexpr std::size_t kReadSize = 64 * 1024;

}  // namespace

bool LineReader::Fill() {
  if (ended_ || error_ != 0) return false;
  if (start_ > 0) {
    buffer_.erase(0, start_);
    start_ = 0;
  }
  const std::size_t old = buffer_.size();
  buffer_.resize(old + kReadSize);
  ssize_t n = 0;
  do {
    n = ::read(fd_, buffer_.data() + old, kReadSize);
  } while (n < 0 && errno == EINTR);
  buffer_.resize(old + (n > 0 ? static_cast<std::size_t>(n) : 0));
  if (n < 0) error_ = errno;
  if (n == 0) ended_ = true;
  return n > 0;
}

bool LineReader::SkipRestOfLine() {
  while (true) {
    const std::size_t lineBreak = buffer_.find('\n', start_);
    if (lineBreak != std::string::npos) {
      start_ = lineBreak + 1;
      return true;
    }
    buffer_.clear();
    start_ = 0;
    if (!Fill()) return false;
  }
}

LineReader::Status LineReader::Next(std::string& line) {
  while (true) {
    const std::size_t lineBreak = buffer_.find('\n', start_);
    if (lineBreak != std::string::npos) {
      const std::size_t length = lineBreak - start_;
      if (length > maxLineBytes_) {
        start_ = lineBreak + 1;
        return Status::kTooLong;
      }
      line.assign(buffer_, start_, length);
      start_ = lineBreak + 1;
      return Status::kLine;
    }
    if (buffer_.size() - start_ > maxLineBytes_) {
      // Reported at once; the rest of the line goes on the next call.
      buffer_.clear();
      start_ = 0;
      skipping_ = true;
      return Status::kTooLong;
    }
    if (skipping_) {
      skipping_ = false;
      if (!SkipRestOfLine()) return error_ != 0 ? Status::kError : Status::kEnd;
      continue;
    }
    if (!Fill()) {
      if (error_ != 0) return Status::kError;
      if (start_ == buffer_.size()) return Status::kEnd;
      line.assign(buffer_, start_);  // the last line, without a line break
      start_ = buffer_.size();
      return Status::kLine;
    }
  }
}

bool LineReader::Ready() const {
  if (ended_ || error_ != 0 || buffer_.find('\n', start_) != std::string::npos) return true;
  pollfd input{fd_, POLLIN, 0};
  return ::poll(&input, 1, 0) != 0;
}

}  // namespace xuanshu::cli
