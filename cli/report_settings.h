// The report layout chosen in the desktop program, kept in Config.ini.
#pragma once

#include <filesystem>

namespace xuanshu::cli {

// "format" of Config.ini in the program folder; 0 (simple) when missing.
int SavedReportLayout(const std::filesystem::path& home);

}  // namespace xuanshu::cli
