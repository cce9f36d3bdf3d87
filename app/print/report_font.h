// The report pane's font: the default, and the conversion between a Qt font
// and the saved 92-byte font record.
#pragma once

#include <QFont>

#include "record/font_file.h"

namespace xuanshu {

// A CJK font whose Latin characters are half as wide as Chinese ones, so the
// reports' ideographic-space alignment lines up: 宋体 where installed, else
// Noto Sans Mono CJK SC.
QFont DefaultReportFont();

// Negative heights are character heights in pixels, positive ones cell
// heights (character plus internal leading), as in the record.
QFont FontFromRecord(const FontRecord& record);
// Face, character height, weight, italic, underline, strike-out, character
// set and pitch of a font chosen in the font dialog.
FontRecord RecordFromFont(const QFont& font);

}  // namespace xuanshu
