// The program's messages: a message box with one OK button, and the one
// yes/no question (replacing an existing export file). Tests replace the
// boxes with hooks so that no modal dialog blocks them.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace xuanshu {

void ShowMessage(QWidget* parent, const QString& text);
bool AskYesNo(QWidget* parent, const QString& text);

using MessageHook = std::function<void(const QString& text)>;
using QuestionHook = std::function<bool(const QString& text)>;
// An empty hook brings back the message boxes.
void SetMessageHook(MessageHook hook);
void SetQuestionHook(QuestionHook hook);

}  // namespace xuanshu
