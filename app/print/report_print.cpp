#include "report_print.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <vector>

#include "pane_sink.h"
#include "qt_text.h"
#include "record/script_text.h"

// The screen resolution that Qt's text layout takes tab stops in; it scales
// them by the paint device's resolution over this one.
Q_GUI_EXPORT int qt_defaultDpiY();

namespace xuanshu {
namespace {

// The pane's tab stop: half an inch, as the rich-edit control has it.
constexpr qreal kTabStopInches = 0.5;
constexpr qreal kScreenDpi = 96;  // the pixel size of a saved font counts at this
constexpr qreal kPointsPerInch = 72;
constexpr int kPdfResolution = 1200;

void KeepMinimumMargins(QPagedPaintDevice* device) {
  const QMarginsF margins = device->pageLayout().margins(QPageLayout::Millimeter);
  const auto atLeast = [](qreal side) { return std::max(side, kMinPageMarginMm); };
  device->setPageMargins(QMarginsF(atLeast(margins.left()), atLeast(margins.top()),
                                   atLeast(margins.right()), atLeast(margins.bottom())),
                         QPageLayout::Millimeter);
}

void SetPointSize(QTextDocument& document, qreal points) {
  QFont font = document.defaultFont();
  font.setPointSizeF(points);
  document.setDefaultFont(font);
}

}  // namespace

QFont PrintFont(const QFont& screenFont) {
  QFont font = screenFont;
  if (screenFont.pixelSize() > 0) {
    font.setPointSizeF(screenFont.pixelSize() * kPointsPerInch / kScreenDpi);
  }
  return font;
}

namespace {

// The report in its print font, unwrapped, laid out on the device.
std::unique_ptr<QTextDocument> UnwrappedDocument(const PrintedReport& report,
                                                 QPagedPaintDevice* device) {
  auto document = std::make_unique<QTextDocument>();
  document->documentLayout()->setPaintDevice(device);
  document->setDocumentMargin(0);
  document->setDefaultFont(PrintFont(report.font));
  QTextOption option = document->defaultTextOption();
  // Half an inch on the device: the layout scales the distance from the
  // screen's resolution to the device's.
  option.setTabStopDistance(kTabStopInches * qt_defaultDpiY());
  option.setWrapMode(QTextOption::NoWrap);
  document->setDefaultTextOption(option);
  {
    PaneSink sink(document.get());
    for (const ReportPiece& piece : report.pieces) sink.AppendText(piece.text, piece.color);
  }
  return document;
}

}  // namespace

std::unique_ptr<QTextDocument> LayOutForPage(const PrintedReport& report,
                                             QPagedPaintDevice* device) {
  std::unique_ptr<QTextDocument> document = UnwrappedDocument(report, device);
  QTextOption option = document->defaultTextOption();
  // A report wider than the page is set smaller, then wrapped if need be.
  const qreal pageWidth = device->width();
  const qreal chosen = document->defaultFont().pointSizeF();
  const qreal smallest = std::clamp(chosen, kMinPrintPointSize, kMinFittedPointSize);
  for (int pass = 0; pass < 2; ++pass) {
    const qreal width = document->idealWidth();
    if (width <= pageWidth) break;
    const qreal current = document->defaultFont().pointSizeF();
    SetPointSize(*document, std::max(smallest, current * pageWidth / width));
  }
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  document->setDefaultTextOption(option);
  document->setPageSize(QSizeF(pageWidth, device->height()));
  return document;
}

// Each line goes on the page its top lies on; the layout has already moved
// lines that would cross a page's foot onto the next page. Drawing line by
// line (not block by block under a clip) keeps a paragraph that straddles a
// page break from being written, hidden, on both pages.
int PaintReport(const PrintedReport& report, QPagedPaintDevice* device) {
  KeepMinimumMargins(device);
  QPainter painter;
  if (!painter.begin(device)) return 0;
  const std::unique_ptr<QTextDocument> document = LayOutForPage(report, device);
  const qreal pageHeight = document->pageSize().height();
  const int pages = document->pageCount();
  std::vector<std::vector<std::pair<QTextLine, QPointF>>> lines(static_cast<std::size_t>(pages));
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
    const QTextLayout* layout = block.layout();
    const QPointF origin = layout->position();
    for (int i = 0; i < layout->lineCount(); ++i) {
      const QTextLine line = layout->lineAt(i);
      const int page =
          std::clamp(static_cast<int>((origin.y() + line.y()) / pageHeight), 0, pages - 1);
      lines[static_cast<std::size_t>(page)].emplace_back(line, origin);
    }
  }
  painter.setPen(Qt::black);
  for (int page = 0; page < pages; ++page) {
    if (page > 0) device->newPage();
    painter.save();
    painter.translate(0, -page * pageHeight);
    for (const auto& [line, origin] : lines[static_cast<std::size_t>(page)]) {
      line.draw(&painter, origin);
    }
    painter.restore();
  }
  painter.end();
  return pages;
}

QByteArray ReportPdf(const PrintedReport& report) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfResolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setTitle(report.title);
    writer.setCreator(ToQString(Shown(u"玄枢八字排盘")));
    PaintReport(report, &writer);
  }
  return bytes;
}

}  // namespace xuanshu
