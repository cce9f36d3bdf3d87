#include "message_box.h"

#include <QMessageBox>

#include "app_title.h"

namespace xuanshu {
namespace {

MessageHook& messageHook() {
  static MessageHook hook;
  return hook;
}

QuestionHook& questionHook() {
  static QuestionHook hook;
  return hook;
}

}  // namespace

void ShowMessage(QWidget* parent, const QString& text) {
  if (messageHook()) {
    messageHook()(text);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, AppName(), text, QMessageBox::Ok, parent);
  box.exec();
}

bool AskYesNo(QWidget* parent, const QString& text) {
  if (questionHook()) return questionHook()(text);
  QMessageBox box(QMessageBox::Warning, AppName(), text, QMessageBox::Yes | QMessageBox::No,
                  parent);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void SetMessageHook(MessageHook hook) {
  messageHook() = std::move(hook);
}
void SetQuestionHook(QuestionHook hook) {
  questionHook() = std::move(hook);
}

}  // namespace xuanshu
