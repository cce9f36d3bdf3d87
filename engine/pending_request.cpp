// Temporary placeholders while the request step is being written.
#include "engine/chart_request.h"

namespace xuanshu {
RequestResult BuildChartRequest(const ChartForm&, const std::filesystem::path&) { return Text(); }
Text CheckChartName(TextView) { return {}; }
std::filesystem::path RecordPathFor(const std::filesystem::path&, TextView) { return {}; }
}  // namespace xuanshu
