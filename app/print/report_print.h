// Printing the report. One text document, laid out in the units of the page
// it goes to, serves the printer, the print preview, the PDF export and
// xuanshu-cli: the font in points, tab stops and the ideographic-space
// alignment measured in the device's own units, pages broken between lines,
// the colours kept.
#pragma once

#include <QByteArray>
#include <QFont>
#include <QString>
#include <memory>

#include "report/report_sink.h"

class QPagedPaintDevice;
class QTextDocument;

namespace xuanshu {

struct PrintedReport {
  ReportPieces pieces;
  QFont font;     // the report pane's font (its pixel size counts at 96 dpi)
  QString title;  // the document title, e.g. the chart's name
};

// Pages have at least these margins.
inline constexpr qreal kMinPageMarginMm = 15;
// A report wider than the page is set smaller to fit, but not below 10 pt
// (nor below the chosen size when that is smaller, down to 8 pt); lines
// still too long then wrap. The standard report's tables keep about 10.5 pt
// on portrait A4 and only its long relation lists wrap.
inline constexpr qreal kMinFittedPointSize = 10;
inline constexpr qreal kMinPrintPointSize = 8;

// The screen font at its size in points (pixels at 96 per inch).
QFont PrintFont(const QFont& screenFont);

// The report laid out for the device's page: font in points, tab stops
// every half inch in device units, fitted to the page's width as above.
std::unique_ptr<QTextDocument> LayOutForPage(const PrintedReport& report,
                                             QPagedPaintDevice* device);

// Paints the report on the device, page after page; the number of pages,
// 0 when the device cannot be painted on.
int PaintReport(const PrintedReport& report, QPagedPaintDevice* device);

// The report as a portrait A4 PDF document, the same as printing to a PDF
// file.
QByteArray ReportPdf(const PrintedReport& report);

}  // namespace xuanshu
