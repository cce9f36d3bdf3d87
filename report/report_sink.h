// Where a report goes: the renderer appends the report piece by piece, each
// piece in one of four colours. The desktop pane, the CLI and the tests each
// provide their own sink.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <vector>

#include "record/text.h"

namespace xuanshu {

enum class ReportColor { kBlack, kRed, kGreen, kBlue };

struct Rgb {
  int r, g, b;
};
constexpr Rgb ColorRgb(ReportColor color) {
  switch (color) {
    case ReportColor::kRed:
      return {255, 0, 0};
    case ReportColor::kGreen:
      return {0, 128, 0};
    case ReportColor::kBlue:
      return {37, 119, 220};
    case ReportColor::kBlack:
      break;
  }
  return {0, 0, 0};
}

class ReportSink {
 public:
  virtual ~ReportSink() = default;
  virtual void AppendText(TextView text, ReportColor color) = 0;
};

// A run of a report in one colour. Its text is a view into the ReportPieces
// that hands it out.
struct ReportPiece {
  TextView text;
  ReportColor color;
};

// A report as collected: its whole text in one buffer and the colour of each
// run of it, in order. Text appended in the colour of the run before extends
// that run, so neighbouring pieces differ in colour; empty text adds nothing.
// A copy holds a copy of the text.
class ReportPieces {
 public:
  class Iterator;

  ReportPieces() = default;
  ReportPieces(std::initializer_list<ReportPiece> pieces) {
    for (const ReportPiece& piece : pieces) Append(piece.text, piece.color);
  }

  void Append(TextView text, ReportColor color) {
    if (text.empty()) return;
    text_ += text;
    if (!runs_.empty() && runs_.back().color == color) {
      runs_.back().end = text_.size();
    } else {
      runs_.push_back({text_.size(), color});
    }
  }

  // The plain text: every piece's text in order.
  const Text& text() const { return text_; }
  std::size_t size() const { return runs_.size(); }
  bool empty() const { return runs_.empty(); }
  ReportPiece operator[](std::size_t i) const {
    const std::size_t begin = i == 0 ? 0 : runs_[i - 1].end;
    return {TextView(text_).substr(begin, runs_[i].end - begin), runs_[i].color};
  }
  Iterator begin() const;
  Iterator end() const;

 private:
  struct Run {
    std::size_t end;  // where the run ends in text_
    ReportColor color;
  };

  Text text_;
  std::vector<Run> runs_;
};

class ReportPieces::Iterator {
 public:
  using value_type = ReportPiece;
  using difference_type = std::ptrdiff_t;

  Iterator() = default;
  Iterator(const ReportPieces* pieces, std::size_t i) : pieces_(pieces), i_(i) {}
  ReportPiece operator*() const { return (*pieces_)[i_]; }
  Iterator& operator++() {
    ++i_;
    return *this;
  }
  Iterator operator++(int) {
    Iterator before = *this;
    ++i_;
    return before;
  }
  bool operator==(const Iterator& other) const { return i_ == other.i_; }

 private:
  const ReportPieces* pieces_ = nullptr;
  std::size_t i_ = 0;
};

inline ReportPieces::Iterator ReportPieces::begin() const {
  return Iterator(this, 0);
}
inline ReportPieces::Iterator ReportPieces::end() const {
  return Iterator(this, runs_.size());
}

// Collects the report; the plain text is its pieces' concatenation.
class CollectingSink : public ReportSink {
 public:
  void AppendText(TextView text, ReportColor color) override { pieces_.Append(text, color); }
  const ReportPieces& pieces() const { return pieces_; }
  const Text& PlainText() const { return pieces_.text(); }

 private:
  ReportPieces pieces_;
};

}  // namespace xuanshu
