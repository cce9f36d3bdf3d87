// Where a report goes: the renderer appends the report piece by piece, each
// piece in one of four colours. The desktop pane, the CLI and the tests each
// provide their own sink.
#pragma once

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

struct ReportPiece {
  Text text;
  ReportColor color;
};

// Collects the pieces in order; the plain text is their concatenation.
class CollectingSink : public ReportSink {
 public:
  void AppendText(TextView text, ReportColor color) override {
    if (text.empty()) return;
    if (!pieces_.empty() && pieces_.back().color == color) {
      pieces_.back().text += text;
    } else {
      pieces_.push_back({Text(text), color});
    }
  }
  const std::vector<ReportPiece>& pieces() const { return pieces_; }
  Text PlainText() const {
    Text out;
    for (const ReportPiece& p : pieces_) out += p.text;
    return out;
  }

 private:
  std::vector<ReportPiece> pieces_;
};

}  // namespace xuanshu
