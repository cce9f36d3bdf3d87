// xuanshu-cli batch: many charts at once, one per tab-separated line, with
// the same meanings and checks as `chart`. A bad line never stops the rest.
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <vector>

#include "cli/batch_record_writer.h"
#include "cli/chart_input.h"
#include "cli/cli_args.h"
#include "cli/commands.h"

namespace xuanshu::cli {
namespace {

constexpr std::size_t kMaxFields = 8;
// Records saved per flush to disk; someone typing at a terminal sees each
// line's result at once.
constexpr std::size_t kRecordsPerFlush = 256;
constexpr std::size_t kRecordsPerFlushTyped = 1;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr TextView kBadLeap = u"闰月标记只能是0或1";
constexpr TextView kTooManyFields = u"字段过多：每行最多8个字段";

std::vector<OptionSpec> Options() {
  std::vector<OptionSpec> options{{"home"}};
  options.insert(options.end(), kBirthOptions.begin(), kBirthOptions.end());
  return options;
}

std::vector<std::string> SplitTabs(std::string_view line) {
  std::vector<std::string> fields;
  while (true) {
    const std::size_t tab = line.find('\t');
    fields.emplace_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

// NAME SEX CALENDAR YYYY-MM-DD HH:MM [LEAP 0|1 [GROUP [PLACE]]]; the
// birth-moment choices come from `options`, a line's PLACE (a place name or
// a longitude) replacing their place and longitude.
std::variant<ChartInput, Text> ParseLine(std::string_view line, const ChartInput& options) {
  std::vector<std::string> fields = SplitTabs(line);
  if (fields.size() > kMaxFields) return Text(kTooManyFields);
  fields.resize(kMaxFields);
  const std::string& leap = fields[5];
  if (!leap.empty() && leap != "0" && leap != "1") return Text(kBadLeap);
  ChartInput input = options;
  input.name = fields[0];
  input.sex = fields[1];
  input.calendar = fields[2];
  input.date = fields[3];
  input.time = fields[4];
  input.leap = leap == "1";
  input.group = fields[6];
  if (!fields[7].empty()) {
    input.place = fields[7];
    input.longitude.clear();
  }
  return input;
}

// Computes line after line with one engine, and prints each line's result
// once its record is safely in place.
class BatchRun {
 public:
  BatchRun(std::filesystem::path dataDir, std::size_t recordsPerFlush, ChartInput options,
           BirthSettings settings)
      : dataDir_(std::move(dataDir)),
        recordsPerFlush_(recordsPerFlush),
        options_(std::move(options)),
        settings_(std::move(settings)) {}

  void Compute(std::string_view line) {
    auto input = ParseLine(line, options_);
    if (const Text* message = std::get_if<Text>(&input)) return Fail(*message);
    auto prepared = PrepareChart(std::get<ChartInput>(input), dataDir_, settings_);
    if (const ChartRequest* request = std::get_if<ChartRequest>(&prepared);
        request && writer_.IsStaged(request->recordPath)) {
      // An earlier line of this name decides the group: save it first.
      Commit();
      prepared = PrepareChart(std::get<ChartInput>(input), dataDir_, settings_);
    }
    if (const ChartOutcome* early = std::get_if<ChartOutcome>(&prepared)) {
      return Fail(early->message);
    }
    const ChartRequest& request = std::get<ChartRequest>(prepared);
    // Staged exactly as a single save writes the record: UTF-8, CR LF.
    if (!ComputeChartRecord(engine_, request, record_) ||
        !writer_.Stage(request.recordPath, ToUtf8(record_.Serialize()))) {
      return Fail(kChartFailedMessage);
    }
    PrintWarnings(engine_.warnings, request.name);
    pending_.push_back({PathUtf8(request.recordPath), true});
    if (writer_.size() >= recordsPerFlush_) Commit();
  }

  // True when every line was saved.
  bool Finish() {
    Commit();
    return allSaved_;
  }

 private:
  struct PendingLine {
    std::string text;  // the output line, or the record path while staged
    bool staged;
  };

  void Fail(TextView message) {
    pending_.push_back({"ERROR\t" + ToUtf8(message), false});
    allSaved_ = false;
  }

  void Commit() {
    const std::vector<bool> saved = writer_.Commit();
    std::size_t next = 0;
    std::string out;
    for (const PendingLine& line : pending_) {
      if (line.staged && !saved[next++]) {
        out += "ERROR\t" + ToUtf8(kChartFailedMessage) + "\n";
        allSaved_ = false;
      } else {
        out += line.text + "\n";
      }
    }
    pending_.clear();
    WriteOut(out);
    std::fflush(stdout);
  }

  std::filesystem::path dataDir_;
  std::size_t recordsPerFlush_;
  ChartInput options_;
  BirthSettings settings_;
  ChartEngine engine_;
  ChartRecord record_;
  BatchRecordWriter writer_;
  std::vector<PendingLine> pending_;
  bool allSaved_ = true;
};

bool ComputeAll(std::istream& in, BatchRun& run) {
  std::string line;
  for (bool first = true; std::getline(in, line); first = false) {
    if (first && line.starts_with(kUtf8Bom)) line.erase(0, kUtf8Bom.size());
    if (!line.empty() && line.back() == '\r') line.pop_back();
    run.Compute(line);
  }
  return run.Finish();
}

}  // namespace

int RunBatchCommand(std::span<const std::string> args) {
  ParsedArgs parsed;
  if (auto problem = ParseArgs(args, Options(), parsed)) return UsageError(*problem);
  if (parsed.help) return PrintHelp();
  if (parsed.positionals.size() > 1) return UsageError("batch takes at most one FILE");

  const std::filesystem::path home = HomeFolder(parsed);
  ChartInput options;
  TakeBirthOptions(parsed, options);
  const BirthSettings settings = BirthSettingsOf(home);
  if (const auto message = CheckBirthOptions(options, settings)) {
    ErrLine(*message);
    return kExitFailed;
  }
  const auto run = [&](std::istream& in, std::size_t perFlush) {
    BatchRun batch(DataFolder(home), perFlush, options, settings);
    return ComputeAll(in, batch) ? kExitOk : kExitFailed;
  };
  if (parsed.positionals.empty() || parsed.positionals.front() == "-") {
    return run(std::cin, ::isatty(STDIN_FILENO) ? kRecordsPerFlushTyped : kRecordsPerFlush);
  }
  const std::string& file = parsed.positionals.front();
  std::ifstream in(PathFromUtf8(file), std::ios::binary);
  if (!in) {
    WriteErr("xuanshu-cli: cannot read " + file + "\n");
    return kExitFailed;
  }
  return run(in, kRecordsPerFlush);
}

}  // namespace xuanshu::cli
