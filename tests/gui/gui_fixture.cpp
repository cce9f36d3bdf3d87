#include "gui_fixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "birth_form.h"
#include "drop_down_list.h"
#include "history_tree.h"
#include "message_box.h"
#include "qt_text.h"
#include "record/ini_document.h"
#include "record/record_file.h"

namespace xuanshu::gui {

MessageLog::MessageLog() {
  SetMessageHook([this](const QString& text) { messages_ << text; });
  SetQuestionHook([this](const QString& text) {
    questions << text;
    return answer;
  });
}

MessageLog::~MessageLog() {
  SetMessageHook({});
  SetQuestionHook({});
}

QStringList MessageLog::Take() {
  QStringList taken;
  taken.swap(messages_);
  return taken;
}

namespace {

QtMessageHandler previousHandler = nullptr;

// The offscreen platform reports every window-manager request it cannot
// carry out; those notes say nothing about the program.
void DropPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith(QLatin1String("This plugin does not support"))) return;
  if (previousHandler != nullptr) previousHandler(type, context, text);
}

}  // namespace

ProgramFolder::ProgramFolder() {
  static const bool filtering = [] {
    previousHandler = qInstallMessageHandler(DropPlatformNotes);
    return true;
  }();
  (void)filtering;
  dir_.setAutoRemove(true);
}

std::filesystem::path ProgramFolder::path() const {
  return PathFromQString(dir_.path());
}

std::unique_ptr<MainWindow> ProgramFolder::OpenWindow(QSize size) const {
  auto window = std::make_unique<MainWindow>(home());
  window->resize(size);
  window->show();
  window->activateWindow();
  if (!QTest::qWaitForWindowActive(window.get())) return nullptr;
  QApplication::processEvents();
  return window;
}

void WriteRecord(const std::filesystem::path& path, const RecordSpec& wanted) {
  IniDocument record;
  record.Set(u"main", u"name", wanted.name);
  record.Set(u"main", u"class", wanted.group);
  record.Set(u"main", u"sex", wanted.sex);
  record.Set(u"gongli", u"year", Num(wanted.year));
  record.Set(u"gongli", u"month", Num(wanted.month));
  record.Set(u"gongli", u"day", Num(wanted.day));
  record.Set(u"gongli", u"hour", Num(wanted.hour));
  record.Set(u"gongli", u"minute", Num(wanted.minute));
  std::filesystem::create_directories(path.parent_path());
  SaveIniFile(record, path);
}

Text ReadMainKey(const std::filesystem::path& path, TextView key) {
  return LoadIniFile(path).ReadString(u"main", key);
}

std::string ReadBytes(const std::filesystem::path& path) {
  QFile file(PathToQString(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void SelectEntry(MainWindow& window, const char* listName, const QString& entry) {
  auto* list = window.birthForm()->findChild<DropDownList*>(QLatin1String(listName));
  list->setCurrentIndex(list->findText(entry));
}

void SetName(MainWindow& window, const QString& name) {
  window.birthForm()->findChild<QLineEdit*>(QStringLiteral("nameEdit"))->setText(name);
}

void ClickChartButton(MainWindow& window) {
  QTest::mouseClick(window.birthForm()->findChild<QPushButton*>(QStringLiteral("chartButton")),
                    Qt::LeftButton);
}

QStringList Entries(MainWindow& window, const char* listName) {
  return window.birthForm()->findChild<DropDownList*>(QLatin1String(listName))->entries();
}

std::unique_ptr<QTimer> WhenModal(std::function<bool(QWidget*)> act) {
  auto timer = std::make_unique<QTimer>();
  timer->setInterval(10);
  QTimer* watch = timer.get();
  QObject::connect(watch, &QTimer::timeout, [watch, act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && act(modal)) watch->stop();
  });
  watch->start();
  return timer;
}

bool TriggerTreeMenu(MainWindow& window, QTreeWidgetItem* node, const QString& entry,
                     QStringList* entries) {
  HistoryTree* tree = window.historyTree();
  const QPoint pos = node != nullptr
                         ? tree->visualItemRect(node).center()
                         : QPoint(tree->viewport()->width() / 2, tree->viewport()->height() - 3);
  bool opened = false;
  bool found = false;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    opened = true;
    for (QAction* action : menu->actions()) {
      if (entries != nullptr) *entries << action->text();
      if (action->text() == entry && !found) {
        found = true;
        menu->setActiveAction(action);
      }
    }
    if (found) {
      QTest::keyClick(menu, Qt::Key_Return);
    } else {
      menu->close();
    }
  });
  QContextMenuEvent event(QContextMenuEvent::Mouse, pos, tree->viewport()->mapToGlobal(pos));
  QApplication::sendEvent(tree->viewport(), &event);
  QApplication::processEvents();  // the command runs after its menu closed
  return opened && found;
}

void TypeLabel(MainWindow& window, const QString& text, bool cancel) {
  QLineEdit* editor = nullptr;
  for (QLineEdit* candidate : window.historyTree()->viewport()->findChildren<QLineEdit*>()) {
    if (candidate->isVisible()) editor = candidate;
  }
  if (editor == nullptr) return;
  editor->setText(text);
  QTest::keyClick(editor, cancel ? Qt::Key_Escape : Qt::Key_Return);
  QApplication::processEvents();
}

QString Q(TextView text) {
  return ToQString(text);
}

}  // namespace xuanshu::gui
