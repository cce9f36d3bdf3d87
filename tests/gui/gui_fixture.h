// Shared pieces of the GUI tests: a program folder of its own per test, the
// messages the program showed, hand-written records, and helpers that work
// the real controls (lists, modal dialogs, context menus).
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app_home.h"
#include "main_window.h"
#include "record/text.h"

class QMenu;
class QTreeWidgetItem;
class QWidget;

namespace xuanshu::gui {

// Collects every message box and answers every question with `answer`.
class MessageLog {
 public:
  MessageLog();
  ~MessageLog();
  QStringList Take();
  bool answer = true;
  QStringList questions;

 private:
  QStringList messages_;
};

// A fresh program folder; windows opened on it share its files.
class ProgramFolder {
 public:
  ProgramFolder();
  std::filesystem::path path() const;
  AppHome home() const { return AppHome::In(path()); }
  std::filesystem::path dataDir() const { return home().dataDir; }
  // A main window on this folder, shown (offscreen) and laid out.
  std::unique_ptr<MainWindow> OpenWindow(QSize size = {1200, 800}) const;

 private:
  QTemporaryDir dir_;
};

// The birth data of a hand-written record.
struct RecordSpec {
  Text name;
  Text group;
  Text sex = u"男";
  int year = 1980, month = 1, day = 1, hour = 1, minute = 1;
};
// Writes a record's main and gongli sections.
void WriteRecord(const std::filesystem::path& path, const RecordSpec& wanted);
// A key of section main, as stored.
Text ReadMainKey(const std::filesystem::path& path, TextView key);
std::string ReadBytes(const std::filesystem::path& path);

// Form helpers.
void SelectEntry(MainWindow& window, const char* listName, const QString& entry);
void SetName(MainWindow& window, const QString& name);
void ClickChartButton(MainWindow& window);
QStringList Entries(MainWindow& window, const char* listName);

// Offers every modal dialog shown while the returned watch lives to `act`,
// until `act` returns true; the code that opened the dialog blocks in the
// dialog's loop meanwhile.
[[nodiscard]] std::unique_ptr<QTimer> WhenModal(std::function<bool(QWidget*)> act);
// Opens the tree's context menu for the node and triggers the entry with
// this text. False when no menu opened or it has no such entry; the menu's
// entries are put into `entries`.
bool TriggerTreeMenu(MainWindow& window, QTreeWidgetItem* node, const QString& entry,
                     QStringList* entries = nullptr);
// Types into the open label editor of the tree and presses Enter (or Escape).
void TypeLabel(MainWindow& window, const QString& text, bool cancel = false);

// Core text as a QString, for comparisons.
QString Q(TextView text);

}  // namespace xuanshu::gui
