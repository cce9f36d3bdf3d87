#include "report_export.h"

#include <QFileInfo>
#include <QSaveFile>
#include <optional>

namespace xuanshu {
namespace {

const QString kTextFilter = QStringLiteral("TEXT FILE(*.txt)");
const QString kAllFilesFilter = QStringLiteral("All Files (*)");
const QString kHtmlFilter = QStringLiteral("HTML FILE(*.html *.htm)");
const QString kPdfFilter = QStringLiteral("PDF FILE(*.pdf)");
const QString kJsonFilter = QStringLiteral("JSON FILE(*.json)");

std::optional<ExportKind> KindOfExtension(const QString& fileName) {
  const QString suffix = QFileInfo(fileName).suffix().toLower();
  if (suffix == QLatin1String("txt")) return ExportKind::kText;
  if (suffix == QLatin1String("html") || suffix == QLatin1String("htm")) return ExportKind::kHtml;
  if (suffix == QLatin1String("pdf")) return ExportKind::kPdf;
  if (suffix == QLatin1String("json")) return ExportKind::kJson;
  return std::nullopt;
}

ExportKind KindOfFilter(const QString& filter) {
  if (filter == kHtmlFilter) return ExportKind::kHtml;
  if (filter == kPdfFilter) return ExportKind::kPdf;
  if (filter == kJsonFilter) return ExportKind::kJson;
  return ExportKind::kText;
}

QString ExtensionOf(ExportKind kind) {
  switch (kind) {
    case ExportKind::kHtml:
      return QStringLiteral(".html");
    case ExportKind::kPdf:
      return QStringLiteral(".pdf");
    case ExportKind::kJson:
      return QStringLiteral(".json");
    case ExportKind::kText:
      break;
  }
  return QStringLiteral(".txt");
}

}  // namespace

QStringList ExportFilters() {
  return {kTextFilter, kAllFilesFilter, kHtmlFilter, kPdfFilter, kJsonFilter};
}

ExportTarget ResolveExportTarget(const QString& chosenPath, const QString& chosenFilter) {
  ExportTarget target{chosenPath, KindOfExtension(chosenPath).value_or(KindOfFilter(chosenFilter))};
  if (!QFileInfo(chosenPath).fileName().contains(QLatin1Char('.'))) {
    target.path += ExtensionOf(target.kind);
  }
  return target;
}

bool WriteWholeFile(const QString& path, std::string_view bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  const auto size = static_cast<qint64>(bytes.size());
  if (file.write(bytes.data(), size) != size) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace xuanshu
