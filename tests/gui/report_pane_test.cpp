// The report pane's commands: select all and copy, the context menu, the
// font that survives a restart, and the exported files.
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include "birth_form.h"
#include "gui_fixture.h"
#include "history_tree.h"
#include "qt_text.h"
#include "record/font_file.h"
#include "report/chart_json.h"
#include "report/report_output.h"
#include "report_font.h"
#include "report_font_dialog.h"
#include "report_pane.h"
#include "report_print.h"

namespace xuanshu::gui {
namespace {

QPushButton* Button(MainWindow& window, const char* name) {
  return window.birthForm()->findChild<QPushButton*>(QLatin1String(name));
}

// A window with one hand-written chart, opened in the pane.
struct OpenChart {
  std::unique_ptr<MainWindow> window;
  explicit OpenChart(const ProgramFolder& folder) {
    WriteRecord(folder.dataDir() / "chart.bze", {u"林文轩", u"其他"});
    window = folder.OpenWindow();
    HistoryTree* tree = window->historyTree();
    tree->setCurrentItem(tree->chartNode({0, 0}));
    tree->OpenSelectedNode();
  }
};

// Answers the next save dialog as a user does: the folder, then the name
// typed into the name field, then the save button.
[[nodiscard]] std::unique_ptr<QTimer> AnswerSaveDialog(const QString& path,
                                                       const QString& filter = QString()) {
  return WhenModal([path, filter](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (dialog == nullptr || !dialog->isVisible()) return false;
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (name == nullptr) return false;
    if (!filter.isEmpty()) dialog->selectNameFilter(filter);
    const QFileInfo target(path);
    dialog->setDirectory(target.absolutePath());
    name->setText(target.fileName());
    if (dialog->selectedFiles().value(0) != path) return false;
    static_cast<QDialog*>(dialog)->accept();  // the file dialog's own accept checks the name
    return !dialog->isVisible();
  });
}

[[nodiscard]] std::unique_ptr<QTimer> ChooseFontInDialog(const QFont& font) {
  return WhenModal([font](QWidget* modal) {
    auto* dialog = qobject_cast<QFontDialog*>(modal);
    if (dialog == nullptr) return false;
    dialog->setCurrentFont(font);
    dialog->accept();
    return true;
  });
}

// An installed face with a bold (and, when asked, a bold italic) style,
// writing Chinese or not.
QString InstalledFamily(bool chinese, bool italic) {
  for (const QString& family : QFontDatabase::families()) {
    if (QFontDatabase::isPrivateFamily(family)) continue;
    const bool writesChinese =
        QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese);
    if (writesChinese != chinese) continue;
    for (const QString& style : QFontDatabase::styles(family)) {
      const bool slanted =
          style.contains(QLatin1String("Italic")) || style.contains(QLatin1String("Oblique"));
      if (style.contains(QLatin1String("Bold")) && slanted == italic &&
          !style.contains(QLatin1String("Condensed"))) {
        return family;
      }
    }
  }
  return {};
}

// Output of a poppler tool; empty when it is not installed or fails.
QString Poppler(const QString& tool, const QStringList& args) {
  QProcess process;
  process.start(tool, args);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

// Text compared as read back from a PDF: compatibility forms folded (the
// embedded CJK font maps some characters to their radicals' code points),
// white space and page breaks dropped.
QString Comparable(QString text) {
  text = text.normalized(QString::NormalizationForm_KC);
  text.remove(QRegularExpression(QStringLiteral("\\s")));
  return text;
}

// True when the text read from a PDF is the report, character for
// character; a radical read back where the report has a character drawn
// with the same glyph counts as that character.
bool ReadsBackAs(const QString& readBack, const QString& report) {
  const QString read = Comparable(readBack);
  const QString wanted = Comparable(report);
  if (read.size() != wanted.size()) {
    qWarning() << "read back" << read.size() << "characters, the report has" << wanted.size();
    return false;
  }
  for (qsizetype i = 0; i < read.size(); ++i) {
    const bool radical = read[i].unicode() >= 0x2E80 && read[i].unicode() <= 0x2FDF;
    if (read[i] != wanted[i] && !radical) {
      qWarning() << "differs at" << i << read.mid(i, 20) << wanted.mid(i, 20);
      return false;
    }
  }
  return true;
}

QString WritePdf(const QString& path, const PrintedReport& report, bool printer) {
  if (printer) {
    QPrinter device(QPrinter::HighResolution);
    device.setOutputFormat(QPrinter::PdfFormat);
    device.setOutputFileName(path);
    device.setPageSize(QPageSize(QPageSize::A4));
    PaintReport(report, &device);
  } else {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(ReportPdf(report));
  }
  return path;
}

}  // namespace

class ReportPaneTest : public QObject {
  Q_OBJECT

 private slots:
  void selectAllAndCopyTakeTheWholeReport();
  void contextMenuOffersOnlyCopy();
  void chosenFontSurvivesARestart_data();
  void chosenFontSurvivesARestart();
  void fontWithoutFaceIsRefused();
  void deletingTheFontFileBringsBackTheDefault();
  void exportWritesTheReportAsRendered_data();
  void exportWritesTheReportAsRendered();
  void exportAsksBeforeReplacingAFile();
  void exportOffersWebPagePdfAndJson();
  void exportButtonNeedsASelectedNode();
  void printingToAFileGivesAPdf();
  void printedPagesCarryTheReportReadably_data();
  void printedPagesCarryTheReportReadably();
  void printPreviewShowsThePrintedPages();
  void exportKindFollowsTheTypedExtension_data();
  void exportKindFollowsTheTypedExtension();
  void fontWithAGroupSelectedKeepsTheReport();
  void fontDialogShowsAChineseSample();
  void findSelectsTheNextMatch();
};

void ReportPaneTest::selectAllAndCopyTakeTheWholeReport() {
  ProgramFolder folder;
  OpenChart open(folder);
  ReportPane* pane = open.window->reportPane();
  QVERIFY(!pane->reportText().empty());
  QTest::mouseClick(Button(*open.window, "selectAllButton"), Qt::LeftButton);
  QCOMPARE(pane->textCursor().selectionStart(), 0);
  QCOMPARE(pane->textCursor().selectionEnd(), pane->document()->characterCount() - 1);
  QApplication::clipboard()->clear();
  QTest::mouseClick(Button(*open.window, "copyButton"), Qt::LeftButton);
  QCOMPARE(QApplication::clipboard()->text(), pane->toPlainText());
}

void ReportPaneTest::contextMenuOffersOnlyCopy() {
  ProgramFolder folder;
  OpenChart open(folder);
  ReportPane* pane = open.window->reportPane();
  pane->SelectAllText();
  QApplication::clipboard()->clear();
  QStringList entries;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    for (QAction* action : menu->actions()) entries << action->text();
    menu->setActiveAction(menu->actions().value(0));
    QTest::keyClick(menu, Qt::Key_Return);
  });
  const QPoint at = pane->viewport()->rect().center();
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, pane->viewport()->mapToGlobal(at));
  QApplication::sendEvent(pane->viewport(), &event);
  QCOMPARE(entries, QStringList{u"复制"_qs});
  QCOMPARE(QApplication::clipboard()->text(), pane->toPlainText());
}

void ReportPaneTest::chosenFontSurvivesARestart_data() {
  QTest::addColumn<bool>("chinese");
  QTest::addColumn<bool>("italic");
  QTest::addColumn<int>("charSet");
  QTest::newRow("Latin face, bold italic") << false << true << 1;
  QTest::newRow("Chinese face, bold") << true << false << 134;
}

void ReportPaneTest::chosenFontSurvivesARestart() {
  QFETCH(bool, chinese);
  QFETCH(bool, italic);
  QFETCH(int, charSet);
  const QString family = InstalledFamily(chinese, italic);
  if (family.isEmpty()) QSKIP("no such face installed");
  ProgramFolder folder;
  FontRecord saved;
  int pixelSize = 0;
  {
    OpenChart open(folder);
    QFont chosen(family);
    chosen.setPointSize(15);
    chosen.setWeight(QFont::Bold);
    chosen.setItalic(italic);
    const auto watch = ChooseFontInDialog(chosen);
    QTest::mouseClick(Button(*open.window, "fontButton"), Qt::LeftButton);
    const std::string bytes = ReadBytes(folder.home().fontFilePath);
    QCOMPARE(bytes.size(), std::size_t{92});
    saved = DecodeFontRecord(bytes);
    pixelSize = QFontInfo(open.window->reportPane()->font()).pixelSize();
    QVERIFY2(!open.window->reportPane()->reportText().empty(), "the chart is shown again");
  }
  QCOMPARE(Q(FaceName(saved)), family);
  QCOMPARE(saved.height, -pixelSize);
  QCOMPARE(saved.weight, 700);
  QCOMPARE(saved.italic, std::uint8_t{italic});
  QCOMPARE(int{saved.charSet}, charSet);

  OpenChart restarted(folder);
  const QFont font = restarted.window->reportPane()->font();
  QCOMPARE(font.family(), family);
  QCOMPARE(QFontInfo(font).pixelSize(), pixelSize);
  QCOMPARE(font.weight(), QFont::Bold);
  QCOMPARE(font.italic(), italic);
  QCOMPARE(int{RecordFromFont(font).charSet}, charSet);
}

void ReportPaneTest::fontWithoutFaceIsRefused() {
  ProgramFolder folder;
  MessageLog log;
  OpenChart open(folder);
  QFont faceless;
  faceless.setFamilies({QString()});
  QVERIFY(faceless.family().isEmpty());
  QVERIFY(!open.window->reportPane()->ApplyChosenFont(faceless));
  QCOMPARE(log.Take(), QStringList{u"请选择字体！"_qs});
  QVERIFY(!std::filesystem::exists(folder.home().fontFilePath));
}

void ReportPaneTest::deletingTheFontFileBringsBackTheDefault() {
  ProgramFolder folder;
  OpenChart open(folder);
  ReportPane* pane = open.window->reportPane();
  QFont chosen(QStringLiteral("Noto Serif CJK SC"));
  chosen.setPixelSize(30);
  QVERIFY(pane->ApplyChosenFont(chosen));
  open.window->historyTree()->OpenSelectedNode();
  QCOMPARE(pane->font().pixelSize(), 30);
  std::filesystem::remove(folder.home().fontFilePath);
  open.window->historyTree()->OpenSelectedNode();
  QCOMPARE(pane->font(), DefaultReportFont());
}

void ReportPaneTest::exportWritesTheReportAsRendered_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("written");
  QTest::newRow("no extension gets .txt") << "report"
                                          << "report.txt";
  QTest::newRow("own extension kept") << "report.dat"
                                      << "report.dat";
  QTest::newRow("dotted folder, bare name") << "my.docs/report"
                                            << "my.docs/report.txt";
}

void ReportPaneTest::exportWritesTheReportAsRendered() {
  QFETCH(QString, typed);
  QFETCH(QString, written);
  ProgramFolder folder;
  OpenChart open(folder);
  const QDir out(PathToQString(folder.path()));
  QVERIFY(out.mkpath(QStringLiteral("my.docs")));
  const auto watch = AnswerSaveDialog(out.filePath(typed));
  QTest::mouseClick(Button(*open.window, "exportButton"), Qt::LeftButton);
  const std::string bytes = ReadBytes(PathFromQString(out.filePath(written)));
  QCOMPARE(bytes.substr(0, 2), std::string("\xFF\xFE"));
  QVERIFY(bytes == ExportBytes(open.window->reportPane()->reportText()));
  QVERIFY2(bytes.find("\r\0\n\0", 0, 4) != std::string::npos, "CR LF line breaks");
}

void ReportPaneTest::exportAsksBeforeReplacingAFile() {
  ProgramFolder folder;
  MessageLog log;
  OpenChart open(folder);
  const QString target = QDir(PathToQString(folder.path())).filePath(QStringLiteral("old.txt"));
  QFile old(target);
  QVERIFY(old.open(QIODevice::WriteOnly));
  old.write("old");
  old.close();

  log.answer = false;
  auto watch = AnswerSaveDialog(target);
  QTest::mouseClick(Button(*open.window, "exportButton"), Qt::LeftButton);
  QCOMPARE(log.questions.size(), 1);
  QCOMPARE(ReadBytes(PathFromQString(target)), std::string("old"));

  log.answer = true;
  watch = AnswerSaveDialog(target);
  QTest::mouseClick(Button(*open.window, "exportButton"), Qt::LeftButton);
  QCOMPARE(log.questions.size(), 2);
  QVERIFY(ReadBytes(PathFromQString(target)) ==
          ExportBytes(open.window->reportPane()->reportText()));
}

void ReportPaneTest::exportOffersWebPagePdfAndJson() {
  ProgramFolder folder;
  OpenChart open(folder);
  const QDir out(PathToQString(folder.path()));
  auto watch = AnswerSaveDialog(out.filePath(QStringLiteral("page")),
                                QStringLiteral("HTML FILE(*.html *.htm)"));
  QTest::mouseClick(Button(*open.window, "exportButton"), Qt::LeftButton);
  const std::string html = ReadBytes(PathFromQString(out.filePath(QStringLiteral("page.html"))));
  QVERIFY(html == HtmlPage(open.window->reportPane()->reportPieces(), u"chart"));

  watch =
      AnswerSaveDialog(out.filePath(QStringLiteral("paper")), QStringLiteral("PDF FILE(*.pdf)"));
  QTest::mouseClick(Button(*open.window, "exportButton"), Qt::LeftButton);
  const std::string pdf = ReadBytes(PathFromQString(out.filePath(QStringLiteral("paper.pdf"))));
  QCOMPARE(pdf.substr(0, 5), std::string("%PDF-"));

  // JSON is the chart of the record on show, whatever the layout.
  watch =
      AnswerSaveDialog(out.filePath(QStringLiteral("chart")), QStringLiteral("JSON FILE(*.json)"));
  QTest::mouseClick(Button(*open.window, "exportButton"), Qt::LeftButton);
  const std::string json = ReadBytes(PathFromQString(out.filePath(QStringLiteral("chart.json"))));
  QVERIFY(json == ChartJson(LoadIniFile(open.window->reportPane()->shownRecord())));
}

void ReportPaneTest::exportButtonNeedsASelectedNode() {
  ProgramFolder folder;
  OpenChart open(folder);
  open.window->historyTree()->clearSelection();
  // A dialog would block the click; the check then runs inside it and closes it.
  bool dialogShown = false;
  QTimer::singleShot(0, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      dialogShown = true;
      modal->close();
    }
  });
  QTest::mouseClick(Button(*open.window, "exportButton"), Qt::LeftButton);
  QApplication::processEvents();
  QVERIFY(!dialogShown);
}

// The print dialog offers printing to a PDF file where no printer is set up.
void ReportPaneTest::printingToAFileGivesAPdf() {
  ProgramFolder folder;
  OpenChart open(folder);
  const QString pdf = QDir(PathToQString(folder.path())).filePath(QStringLiteral("print.pdf"));
  const auto watch = WhenModal([pdf](QWidget* modal) {
    auto* dialog = qobject_cast<QPrintDialog*>(modal);
    if (dialog == nullptr || !dialog->isVisible()) return false;
    auto* fileName = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
    if (fileName == nullptr || !fileName->isEnabled()) {
      dialog->reject();
      return true;
    }
    fileName->setText(pdf);
    dialog->accept();
    return true;
  });
  QTest::mouseClick(Button(*open.window, "printButton"), Qt::LeftButton);
  if (!QFileInfo::exists(pdf)) QSKIP("a printer is set up: nothing to print to a file");
  QCOMPARE(ReadBytes(PathFromQString(pdf)).substr(0, 5), std::string("%PDF-"));
}

void ReportPaneTest::printedPagesCarryTheReportReadably_data() {
  QTest::addColumn<bool>("printer");
  QTest::newRow("PDF export") << false;
  QTest::newRow("printer at 1200 dpi") << true;
}

// The printed report is the report: its text read back from the PDF, in an
// embedded font of at least 8 pt on A4 pages, in colour.
void ReportPaneTest::printedPagesCarryTheReportReadably() {
  QFETCH(bool, printer);
  if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
    QSKIP("poppler-utils not installed");
  }
  // A computed chart: the standard report takes several pages.
  ProgramFolder folder;
  auto window = folder.OpenWindow();
  SetName(*window, u"林文轩"_qs);
  ClickChartButton(*window);
  ReportPane* pane = window->reportPane();
  pane->RenderChart(pane->shownRecord(), kStandardLayout);
  const QString pdf = WritePdf(QDir(PathToQString(folder.path())).filePath(QStringLiteral("r.pdf")),
                               pane->printedReport(), printer);

  const QString text =
      Poppler(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")});
  QVERIFY(ReadsBackAs(text, ToQString(pane->reportText())));
  const QString info = Poppler(QStringLiteral("pdfinfo"), {pdf});
  QVERIFY2(info.contains(QLatin1String("(A4)")), qPrintable(info));
  const int pages =
      QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
  QVERIFY(pages >= 2);
  if (!printer) {
    // The standard report's tables fit portrait A4 at 10 pt or more; only
    // its long relation lists wrap.
    QBuffer nowhere;
    nowhere.open(QIODevice::WriteOnly);
    QPdfWriter page(&nowhere);
    page.setPageSize(QPageSize(QPageSize::A4));
    page.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    const qreal points = LayOutForPage(pane->printedReport(), &page)->defaultFont().pointSizeF();
    QVERIFY2(points >= 10 && points <= 12, qPrintable(QString::number(points)));
  }
  const QString fonts = Poppler(QStringLiteral("pdffonts"), {pdf});
  const QStringList fontRows = fonts.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
  QVERIFY(!fontRows.isEmpty());
  for (const QString& row : fontRows)
    QVERIFY2(row.contains(QLatin1String(" yes ")), qPrintable(row));

  // Every word's box is at least 8 pt high.
  const QString boxes =
      Poppler(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
  const QRegularExpression word(
      QStringLiteral("yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"([\\d.]+)\""));
  int words = 0;
  for (auto it = word.globalMatch(boxes); it.hasNext(); ++words) {
    const QRegularExpressionMatch m = it.next();
    const double height = m.captured(2).toDouble() - m.captured(1).toDouble();
    QVERIFY2(height >= 8.0, qPrintable(QString::number(height)));
  }
  QVERIFY(words > 100);

  // The red pieces stay red on paper.
  const QString png = QDir(PathToQString(folder.path())).filePath(QStringLiteral("page"));
  Poppler(QStringLiteral("pdftoppm"),
          {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("100"),
           QStringLiteral("-singlefile"), pdf, png});
  const QImage page(png + QStringLiteral(".png"));
  QVERIFY(!page.isNull());
  // Thin strokes blend with the paper: a clearly red pixel will do.
  QCOMPARE(ColorRgb(ReportColor::kRed).r, 255);
  bool redFound = false;
  for (int y = 0; y < page.height() && !redFound; ++y) {
    for (int x = 0; x < page.width() && !redFound; ++x) {
      const QColor c = page.pixelColor(x, y);
      redFound = c.red() - c.green() > 100 && c.red() - c.blue() > 100;
    }
  }
  QVERIFY(redFound);
}

void ReportPaneTest::printPreviewShowsThePrintedPages() {
  ProgramFolder folder;
  OpenChart open(folder);
  int pages = 0;
  QString title;
  const auto watch = WhenModal([&](QWidget* modal) {
    auto* preview = qobject_cast<QPrintPreviewDialog*>(modal);
    if (preview == nullptr) return false;
    title = preview->windowTitle();
    if (auto* widget = preview->findChild<QPrintPreviewWidget*>()) pages = widget->pageCount();
    preview->reject();
    return true;
  });
  QTest::mouseClick(Button(*open.window, "previewButton"), Qt::LeftButton);
  QCOMPARE(title, u"打印预览"_qs);
  QVERIFY(pages >= 1);
}

void ReportPaneTest::exportKindFollowsTheTypedExtension_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("filter");
  QTest::addColumn<QString>("written");
  QTest::addColumn<QByteArray>("start");
  const QString text = QStringLiteral("TEXT FILE(*.txt)");
  const QString pdf = QStringLiteral("PDF FILE(*.pdf)");
  QTest::newRow(".pdf typed under the text filter")
      << "r.pdf" << text << "r.pdf" << QByteArray("%PDF-");
  QTest::newRow(".html typed under the text filter")
      << "r.html" << text << "r.html" << QByteArray("<!DOC");
  QTest::newRow(".txt typed under the PDF filter")
      << "r.txt" << pdf << "r.txt" << QByteArray("\xFF\xFE");
  QTest::newRow("no extension: the filter's") << "r" << pdf << "r.pdf" << QByteArray("%PDF-");
  QTest::newRow(".json typed under the text filter")
      << "r.json" << text << "r.json" << QByteArray("{\n  \"format\": \"xuanshu-chart\"");
  QTest::newRow("no extension under the JSON filter")
      << "r" << QStringLiteral("JSON FILE(*.json)") << "r.json" << QByteArray("{\n");
}

void ReportPaneTest::exportKindFollowsTheTypedExtension() {
  QFETCH(QString, typed);
  QFETCH(QString, filter);
  QFETCH(QString, written);
  QFETCH(QByteArray, start);
  ProgramFolder folder;
  OpenChart open(folder);
  const QDir out(PathToQString(folder.path()));
  QString prefilled;
  const auto peek = WhenModal([&](QWidget* modal) {
    auto* name = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (name != nullptr && prefilled.isNull()) prefilled = name->text();
    return false;
  });
  const auto watch = AnswerSaveDialog(out.filePath(typed), filter);
  QTest::mouseClick(Button(*open.window, "exportButton"), Qt::LeftButton);
  QCOMPARE(prefilled, u"chart"_qs);
  const std::string bytes = ReadBytes(PathFromQString(out.filePath(written)));
  QCOMPARE(QByteArray::fromStdString(bytes.substr(0, start.size())), start);
}

void ReportPaneTest::fontWithAGroupSelectedKeepsTheReport() {
  ProgramFolder folder;
  OpenChart open(folder);
  ReportPane* pane = open.window->reportPane();
  const Text before = pane->reportText();
  HistoryTree* tree = open.window->historyTree();
  tree->setCurrentItem(tree->groupNode(0));
  QFont chosen(QStringLiteral("Noto Serif CJK SC"));
  chosen.setPixelSize(22);
  const auto watch = ChooseFontInDialog(chosen);
  QTest::mouseClick(Button(*open.window, "fontButton"), Qt::LeftButton);
  QCOMPARE(pane->reportText(), before);
  QCOMPARE(pane->toPlainText().isEmpty(), false);
  const std::optional<FontRecord> saved = ReadFontFile(folder.home().fontFilePath);
  QVERIFY(saved.has_value());
  QCOMPARE(QFontInfo(pane->font()).pixelSize(), -saved->height);
  QCOMPARE(pane->font().family(), chosen.family());
}

void ReportPaneTest::fontDialogShowsAChineseSample() {
  ProgramFolder folder;
  OpenChart open(folder);
  QStringList samples;
  const auto watch = WhenModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFontDialog*>(modal);
    if (dialog == nullptr) return false;
    for (QLineEdit* edit : dialog->findChildren<QLineEdit*>()) samples << edit->text();
    dialog->reject();
    return true;
  });
  QTest::mouseClick(Button(*open.window, "fontButton"), Qt::LeftButton);
  QVERIFY(samples.contains(ReportFontDialog::SampleText()));
  QVERIFY(!samples.contains(QStringLiteral("AaBbYyZz")));

  // The preset's own style is selected, not the face's first (Bold, as the
  // xcb platform's font list gave it; the offscreen one happens to agree).
  const QFont preset = DefaultReportFont();
  ReportFontDialog dialog(preset);
  QCOMPARE(dialog.currentFont().family(), preset.family());
  QCOMPARE(dialog.currentFont().weight(), preset.weight());
  QCOMPARE(dialog.currentFont().italic(), false);
}

void ReportPaneTest::findSelectsTheNextMatch() {
  ProgramFolder folder;
  OpenChart open(folder);
  ReportPane* pane = open.window->reportPane();
  QVERIFY(pane->FindText(u"林文轩"_qs));
  const int first = pane->textCursor().selectionStart();
  QCOMPARE(pane->textCursor().selectedText(), u"林文轩"_qs);
  QVERIFY2(pane->FindText(u"林文轩"_qs), "wraps round at the end");
  QCOMPARE(pane->textCursor().selectionStart(), first);
  QVERIFY(!pane->FindText(u"不在排盘里的字"_qs));
}

}  // namespace xuanshu::gui

QTEST_MAIN(xuanshu::gui::ReportPaneTest)
#include "report_pane_test.moc"
