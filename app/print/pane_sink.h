// The sink through which the renderer fills the report pane: every piece is
// inserted at the end of the pane's document in its colour, and the pieces
// are also kept exactly as rendered for export, print and web page.
#pragma once

#include <QTextCharFormat>
#include <QTextCursor>
#include <array>

#include "report/report_sink.h"

class QTextDocument;

namespace xuanshu {

class PaneSink : public ReportSink {
 public:
  explicit PaneSink(QTextDocument* document);
  ~PaneSink() override;

  void AppendText(TextView text, ReportColor color) override;

  const CollectingSink& collected() const { return collected_; }

 private:
  QString DocumentText(TextView text);

  QTextCursor cursor_;
  CollectingSink collected_;
  std::array<QTextCharFormat, 4> formats_;
  bool afterCarriageReturn_ = false;
};

}  // namespace xuanshu
