// xuanshu-cli batch: many charts at once, one per tab-separated line, with
// the same meanings and checks as `chart`. A bad line never stops the rest.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <vector>

#include "cli/batch_record_writer.h"
#include "cli/chart_input.h"
#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/line_reader.h"
#include "record/folder_lock.h"
#include "record/record_file.h"

namespace xuanshu::cli {
namespace {

constexpr std::size_t kMaxFields = 8;
// Records saved per flush to disk; someone typing at a terminal sees each
// line's result at once.
constexpr std::size_t kRecordsPerFlush = 256;
constexpr std::size_t kRecordsPerFlushTyped = 1;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// A line longer than this is refused without being held in memory.
constexpr std::size_t kMaxLineBytes = 64 * 1024;
constexpr TextView kLineTooLong = u"行过长：每行最多65536字节";
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
  if (fields.size() > kMaxFields) return Shown(kTooManyFields);
  fields.resize(kMaxFields);
  const std::string& leap = fields[5];
  if (!leap.empty() && leap != "0" && leap != "1") return Shown(kBadLeap);
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
    // Held from reading an existing record's group to the save of this
    // round of records, so an edit of one of them in between is not undone.
    if (!lock_ || lock_->outcome() != FolderLock::Outcome::kLocked) {
      lock_.emplace(FolderLock::Lock(dataDir_));
    }
    auto prepared = PrepareChart(std::get<ChartInput>(input), dataDir_, settings_);
    if (const ChartRequest* request = std::get_if<ChartRequest>(&prepared);
        request && writer_.IsStaged(request->recordPath)) {
      // An earlier line of this name decides the group: save it first.
      Commit();
      lock_.emplace(FolderLock::Lock(dataDir_));
      prepared = PrepareChart(std::get<ChartInput>(input), dataDir_, settings_);
    }
    if (const ChartOutcome* early = std::get_if<ChartOutcome>(&prepared)) {
      return Fail(early->message);
    }
    const ChartRequest& request = std::get<ChartRequest>(prepared);
    // Staged exactly as a single save writes the record: UTF-8, CR LF.
    if (!ComputeChartRecord(engine_, request, record_)) return Fail(Shown(kChartFailedMessage));
    if (!writer_.Stage(request.recordPath, record_.SerializeUtf8Into(bytes_))) {
      return Fail(SaveFailureMessage(request.recordPath, errno));
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

  void Fail(TextView message) {
    pending_.push_back({"ERROR\t" + ToUtf8(message), false});
    allSaved_ = false;
  }

  // Saves what is staged, lets go of the lock and prints the results so far.
  void Commit() {
    const std::vector<int> errors = writer_.Commit();
    lock_.reset();
    std::size_t next = 0;
    std::string out;
    for (const PendingLine& line : pending_) {
      if (line.staged && errors[next] != 0) {
        out += "ERROR\t" + ToUtf8(SaveFailureMessage(PathFromUtf8(line.text), errors[next])) + "\n";
        allSaved_ = false;
      } else {
        out += line.text + "\n";
      }
      next += line.staged ? 1 : 0;
    }
    pending_.clear();
    WriteOut(out);
    std::fflush(stdout);
  }

 private:
  struct PendingLine {
    std::string text;  // the output line, or the record path while staged
    bool staged;
  };

  std::filesystem::path dataDir_;
  std::size_t recordsPerFlush_;
  ChartInput options_;
  BirthSettings settings_;
  ChartEngine engine_;
  ChartRecord record_;
  std::string bytes_;  // the record's bytes, reused from line to line
  BatchRecordWriter writer_;
  std::optional<FolderLock> lock_;
  std::vector<PendingLine> pending_;
  bool allSaved_ = true;
};

std::string ReadErrorText(int error) {
  return error == EISDIR ? ToUtf8(Shown(u"输入是一个文件夹"))
                         : ToUtf8(Shown(u"错误")) + std::to_string(error);
}

// False when a line was not saved or the input could not be read to its end.
bool ComputeAll(LineReader& in, BatchRun& run) {
  std::string line;
  while (true) {
    // Results so far are out, and the lock is free, before waiting for input.
    if (!in.Ready()) run.Commit();
    const LineReader::Status status = in.Next(line);
    if (status == LineReader::Status::kEnd) break;
    if (status == LineReader::Status::kError) {
      run.Finish();
      WriteErr(ToUtf8(Shown(u"xuanshu-cli: 读取输入失败：")) + ReadErrorText(in.error()) + "\n");
      return false;
    }
    if (status == LineReader::Status::kTooLong) {
      run.Fail(Shown(kLineTooLong));
      run.Commit();  // seen at once, even while the rest of the line is skipped
      continue;
    }
    // A byte-order mark may start any line (files joined together).
    if (line.starts_with(kUtf8Bom)) line.erase(0, kUtf8Bom.size());
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
  ShowInConfiguredScript(home);
  ChartInput options;
  TakeBirthOptions(parsed, options);
  const BirthSettings settings = BirthSettingsOf(home);
  if (const auto message = CheckBirthOptions(options, settings)) {
    ErrLine(*message);
    return kExitFailed;
  }
  const std::filesystem::path dataDir = DataFolder(home);
  const auto run = [&](LineReader& in, std::size_t perFlush) {
    RemoveStaleTemporariesIn(dataDir);
    BatchRun batch(dataDir, perFlush, options, settings);
    return ComputeAll(in, batch) ? kExitOk : kExitFailed;
  };
  if (parsed.positionals.empty() || parsed.positionals.front() == "-") {
    LineReader in(STDIN_FILENO, kMaxLineBytes);
    return run(in, ::isatty(STDIN_FILENO) ? kRecordsPerFlushTyped : kRecordsPerFlush);
  }
  const std::string& file = parsed.positionals.front();
  const int fd = ::open(PathFromUtf8(file).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    WriteErr("xuanshu-cli: cannot read " + file + "\n");
    return kExitFailed;
  }
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    WriteErr("xuanshu-cli: " + file + ToUtf8(Shown(u" 是文件夹，不是输入文件")) + "\n");
    return kExitFailed;
  }
  LineReader in(fd, kMaxLineBytes);
  const int code = run(in, kRecordsPerFlush);
  ::close(fd);
  return code;
}

}  // namespace xuanshu::cli
