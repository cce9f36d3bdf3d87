#include "report/report_format.h"

#include <algorithm>

namespace xuanshu {

void FormatArg::AppendTo(Text& out) const {
  if (isNumber_) {
    AppendNum(out, number_);
  } else {
    out.append(text_);
  }
}

void AppendFormat(Text& out, TextView format, std::initializer_list<FormatArg> args) {
  AppendFormat(out, format, std::span<const FormatArg>(args.begin(), args.size()));
}

void AppendFormat(Text& out, TextView format, std::span<const FormatArg> args) {
  auto next = args.begin();
  Text piece;
  for (std::size_t i = 0; i < format.size(); ++i) {
    // Literal text up to the next directive goes in as one run.
    const std::size_t percent = std::min(format.find(u'%', i), format.size());
    out.append(format.substr(i, percent - i));
    i = percent;
    if (i + 1 >= format.size()) {
      if (i < format.size()) out.push_back(format[i]);
      continue;
    }
    std::size_t j = i + 1;
    if (format[j] == u'%') {
      out.push_back(u'%');
      i = j;
      continue;
    }
    std::size_t width = 0;
    while (j < format.size() && format[j] >= u'0' && format[j] <= u'9') {
      width = width * 10 + (format[j] - u'0');
      ++j;
    }
    if (j >= format.size() || (format[j] != u's' && format[j] != u'd')) {
      out.append(format.substr(i, j - i));
      i = j - 1;
      continue;
    }
    i = j;
    if (next == args.end()) continue;
    piece.clear();
    (next++)->AppendTo(piece);
    const bool negative = !piece.empty() && piece.front() == u'-' && format[j] == u'd';
    if (negative) {
      out.push_back(u'-');
      piece.erase(0, 1);
      if (width > 0) --width;
    }
    if (piece.size() < width) out.append(width - piece.size(), u'0');
    out.append(piece);
  }
}

Text FormatText(TextView format, std::initializer_list<FormatArg> args) {
  Text out;
  AppendFormat(out, format, args);
  return out;
}

}  // namespace xuanshu
