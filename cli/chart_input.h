// One chart from command-line texts: the option values of `chart` or the
// fields of one `batch` line go through the form's request step and the
// driver, exactly as the desktop form's chart button does.
#pragma once

#include <filesystem>
#include <string>
#include <variant>

#include "engine/chart_engine.h"
#include "engine/chart_request.h"
#include "record/text.h"

namespace xuanshu::cli {

// UTF-8 texts; an empty text is a missing option or field.
struct ChartInput {
  std::string name;
  std::string sex;       // 男 or 女
  std::string calendar;  // 公历 or 农历
  std::string date;      // YYYY-MM-DD
  std::string time;      // HH:MM
  bool leap = false;     // the month is the year's leap month (农历 only)
  std::string group;     // empty: the existing record's group, else 其他
};

struct ChartOutcome {
  enum class Kind {
    kSaved,     // recordPath holds the new record
    kRefused,   // the program's message: a field check or 生成排盘失败！
    kBadValue,  // a value of the wrong shape (bad usage)
  };
  Kind kind = Kind::kSaved;
  std::filesystem::path recordPath;
  Text message;
};

// The request step over the texts: the request to compute, or the outcome
// that ends this chart early (kRefused or kBadValue).
std::variant<ChartRequest, ChartOutcome> PrepareChart(const ChartInput& input,
                                                      const std::filesystem::path& dataDir);

// PrepareChart, then the driver with its save.
ChartOutcome ComputeFromInput(ChartEngine& engine, const ChartInput& input,
                              const std::filesystem::path& dataDir);

}  // namespace xuanshu::cli
