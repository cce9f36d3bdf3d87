// Conversions between the core's UTF-16 text and Qt strings and paths.
#pragma once

#include <QString>
#include <QStringView>
#include <filesystem>

#include "record/record_file.h"
#include "record/script_text.h"
#include "record/text.h"

namespace xuanshu {

inline QString ToQString(TextView text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline Text ToText(const QString& text) {
  return text.toStdU16String();
}

inline QString PathToQString(const std::filesystem::path& path) {
  return ToQString(TextFromPath(path));
}

inline std::filesystem::path PathFromQString(const QString& path) {
  return PathFromText(ToText(path));
}

// A program text in the shown script (record/script_text.h), for a widget.
// Never for user data: a name, a group, a path.
inline QString ShownQString(TextView text) {
  return ToQString(Shown(text));
}

// Compares without building a QString.
inline bool SameText(const QString& a, TextView b) {
  return QStringView(a) == QStringView(b.data(), static_cast<qsizetype>(b.size()));
}

}  // namespace xuanshu
