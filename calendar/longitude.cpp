#include "calendar/longitude.h"

#include <cmath>

namespace xuanshu {
namespace {

constexpr TextView kEastWords[] = {u"东经", u"E", u"e"};
constexpr TextView kWestWords[] = {u"西经", u"W", u"w"};
// Marks after degrees, minutes and seconds; ASCII quotes stand in for primes.
constexpr TextView kDegreeMarks = u"°度";
constexpr TextView kMinuteMarks = u"′'分";
constexpr TextView kSecondMarks = u"″\"秒";

void TrimSpaces(TextView& text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\u3000')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\u3000')) text.remove_suffix(1);
}

// Removes a hemisphere word at either end; -1 for west, +1 otherwise.
int TakeHemisphere(TextView& text) {
  const auto take = [&text](TextView word) {
    if (text.starts_with(word)) {
      text.remove_prefix(word.size());
      return true;
    }
    if (text.ends_with(word)) {
      text.remove_suffix(word.size());
      return true;
    }
    return false;
  };
  for (TextView word : kWestWords) {
    if (take(word)) return -1;
  }
  for (TextView word : kEastWords) {
    if (take(word)) break;
  }
  return 1;
}

// An unsigned decimal number at the start of text; nullopt when there is none.
std::optional<double> TakeNumber(TextView& text) {
  std::size_t i = 0;
  double value = 0;
  bool digits = false;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i, digits = true) {
    value = value * 10 + (text[i] - u'0');
  }
  if (i < text.size() && text[i] == u'.') {
    double scale = 0.1;
    for (++i; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i, scale /= 10) {
      value += (text[i] - u'0') * scale;
      digits = true;
    }
  }
  if (!digits) return std::nullopt;
  text.remove_prefix(i);
  return value;
}

bool TakeMark(TextView& text, TextView marks) {
  if (text.empty() || marks.find(text.front()) == TextView::npos) return false;
  text.remove_prefix(1);
  return true;
}

}  // namespace

std::optional<double> ParseLongitude(TextView text) {
  TrimSpaces(text);
  int sign = TakeHemisphere(text);
  TrimSpaces(text);
  if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
    if (text.front() == u'-') sign = -sign;
    text.remove_prefix(1);
  }
  const std::optional<double> degrees = TakeNumber(text);
  if (!degrees) return std::nullopt;
  double value = *degrees;
  if (TakeMark(text, kDegreeMarks)) {
    // Minutes and seconds may follow; the last mark may be left out.
    if (const auto minutes = TakeNumber(text)) {
      value += *minutes / 60;
      if (TakeMark(text, kMinuteMarks)) {
        if (const auto seconds = TakeNumber(text)) {
          value += *seconds / 3600;
          TakeMark(text, kSecondMarks);
        }
      }
    }
  }
  TrimSpaces(text);
  if (!text.empty()) return std::nullopt;
  return sign * value;
}

bool IsValidLongitude(double degrees) {
  return std::isfinite(degrees) && degrees >= -180 && degrees <= 180;
}

Text LongitudeText(double degrees) {
  const long long minutes = std::llround(std::fabs(degrees) * 60);
  Text text(degrees < 0 ? u"西经" : u"东经");
  AppendNum(text, minutes / 60);
  text += u'°';
  if (minutes % 60 < 10) text += u'0';
  AppendNum(text, minutes % 60);
  text += u'′';
  return text;
}

}  // namespace xuanshu
