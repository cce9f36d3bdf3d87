// A plain calendar date-time in the local time of the birth place; no time
// zone or daylight-saving conversion is ever applied.
#pragma once

namespace xuanshu {

struct DateTime {
  int year = 0;
  int month = 0;
  int dayOfWeek = 0;  // 0 = Sunday; filled on output, ignored on input
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

}  // namespace xuanshu
