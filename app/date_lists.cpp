#include "date_lists.h"

#include "calendar/lunar_calendar.h"
#include "qt_text.h"

namespace xuanshu {
namespace {

constexpr TextView kLeapMark = u"闰月";

QString TwoDigits(int value) {
  return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

}  // namespace

QStringList NumberEntries(int first, int count) {
  QStringList entries;
  entries.reserve(count);
  for (int i = 0; i < count; ++i) entries << TwoDigits(first + i);
  return entries;
}

QStringList CalendarEntries() {
  return {ShownQString(u"公历"), ShownQString(u"农历")};
}

QStringList MonthEntries(bool gregorian, int year) {
  QStringList entries = NumberEntries(1, 12);
  if (gregorian) return entries;
  const int leapMonth = LeapMonthOf(year);
  if (leapMonth >= 1 && leapMonth <= 12) {
    entries.insert(leapMonth, TwoDigits(leapMonth) + QLatin1Char(' ') + ShownQString(kLeapMark));
  }
  return entries;
}

bool IsLeapMonthEntry(const QString& monthEntry) {
  return ToQString(SimplifiedOf(ToText(monthEntry))).indexOf(ToQString(kLeapMark), 1) > 0;
}

int MonthDayCount(bool gregorian, int year, const QString& monthEntry) {
  const int month = monthEntry.left(2).toInt();
  if (gregorian) return GregorianMonthDays(year, month);
  return IsLeapMonthEntry(monthEntry) ? LeapMonthDays(year) : LunarMonthDays(year, month);
}

}  // namespace xuanshu
