// The report pane's commands: select all and copy, the context menu, the
// font that survives a restart, and the exported files.
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "birth_form.h"
#include "gui_fixture.h"
#include "history_tree.h"
#include "qt_text.h"
#include "record/font_file.h"
#include "report/report_output.h"
#include "report_font.h"
#include "report_pane.h"

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
  void exportOffersWebPageAndPdf();
  void exportButtonNeedsASelectedNode();
  void printingToAFileGivesAPdf();
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

void ReportPaneTest::exportOffersWebPageAndPdf() {
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

}  // namespace xuanshu::gui

QTEST_MAIN(xuanshu::gui::ReportPaneTest)
#include "report_pane_test.moc"
