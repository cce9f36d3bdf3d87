// Where an exported report goes and in which form: the save dialog's
// filters, and the extension added to a file name without one.
#pragma once

#include <QString>
#include <QStringList>
#include <string_view>

namespace xuanshu {

enum class ExportKind { kText, kHtml, kPdf, kJson };

struct ExportTarget {
  QString path;
  ExportKind kind = ExportKind::kText;
};

// "TEXT FILE(*.txt)" and "All Files" as the report's save dialog has always
// offered them, then a web page, PDF and the chart as JSON.
QStringList ExportFilters();

// The file to write for the dialog's answer. The extension typed decides
// the kind (.txt, .html or .htm, .pdf, .json); another extension or none takes the
// chosen filter's kind (text for the first two). A file name without any
// "." gets the filter's extension; folders with dots in their names do not
// count.
ExportTarget ResolveExportTarget(const QString& chosenPath, const QString& chosenFilter);

// Replaces the file whole; false when it cannot be written.
bool WriteWholeFile(const QString& path, std::string_view bytes);

}  // namespace xuanshu
