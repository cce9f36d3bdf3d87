// The entries of the form's date lists, which follow the calendar kind and
// the year.
#pragma once

#include <QString>
#include <QStringList>

namespace xuanshu {

// "%02d" for a count of consecutive values starting at first.
QStringList NumberEntries(int first, int count);
// "公历" and "农历", in the shown script.
QStringList CalendarEntries();
// "公历": "01" … "12". Lunar: the same, with "%02d 闰月" (in the shown
// script) right after the ordinary entry of the year's leap month.
QStringList MonthEntries(bool gregorian, int year);
// The number of days of the month that a month entry names.
int MonthDayCount(bool gregorian, int year, const QString& monthEntry);
// True for the lunar leap-month entry, in either script.
bool IsLeapMonthEntry(const QString& monthEntry);

}  // namespace xuanshu
