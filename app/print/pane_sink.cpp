#include "pane_sink.h"

#include <QColor>
#include <QFont>
#include <QTextDocument>

namespace xuanshu {
namespace {

QTextCharFormat ColourFormat(ReportColor color) {
  const Rgb rgb = ColorRgb(color);
  QTextCharFormat format;
  format.setForeground(QColor(rgb.r, rgb.g, rgb.b));
  // Every piece is plain, whatever the chosen font carries.
  format.setFontWeight(QFont::Normal);
  format.setFontUnderline(false);
  return format;
}

}  // namespace

PaneSink::PaneSink(QTextDocument* document) : cursor_(document) {
  cursor_.movePosition(QTextCursor::End);
  cursor_.beginEditBlock();
  for (ReportColor color :
       {ReportColor::kBlack, ReportColor::kRed, ReportColor::kGreen, ReportColor::kBlue}) {
    formats_[static_cast<std::size_t>(color)] = ColourFormat(color);
  }
}

PaneSink::~PaneSink() {
  cursor_.endEditBlock();
}

// The report breaks lines with CR LF; the document takes one break for the
// pair, also when a piece ends between the two characters.
QString PaneSink::DocumentText(TextView text) {
  QString out;
  out.reserve(static_cast<qsizetype>(text.size()));
  for (char16_t c : text) {
    if (c == u'\n' && afterCarriageReturn_) {
      afterCarriageReturn_ = false;
      continue;
    }
    afterCarriageReturn_ = c == u'\r';
    out.append(c == u'\r' ? QChar(u'\n') : QChar(c));
  }
  return out;
}

void PaneSink::AppendText(TextView text, ReportColor color) {
  if (text.empty()) return;
  collected_.AppendText(text, color);
  cursor_.insertText(DocumentText(text), formats_[static_cast<std::size_t>(color)]);
}

}  // namespace xuanshu
