#include "cli/report_settings.h"

#include "record/app_config.h"
#include "record/program_home.h"

namespace xuanshu::cli {

int SavedReportLayout(const std::filesystem::path& home) {
  return AppConfig(ConfigPath(home)).ReadLayout();
}

}  // namespace xuanshu::cli
