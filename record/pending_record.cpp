// Temporary placeholders while the record file code is being written.
#include "record/record_file.h"

namespace xuanshu {
Text DecodeFileBytes(std::string_view) { return {}; }
std::optional<Text> ReadTextFile(const std::filesystem::path&, std::size_t) { return {}; }
bool WriteFileAtomic(const std::filesystem::path&, std::string_view) { return false; }
IniDocument LoadIniFile(const std::filesystem::path&) { return {}; }
bool SaveIniFile(const IniDocument&, const std::filesystem::path&) { return false; }
bool WriteProfileString(const std::filesystem::path&, TextView, TextView, TextView) { return false; }
std::filesystem::path PathFromText(TextView) { return {}; }
Text TextFromPath(const std::filesystem::path&) { return {}; }
}  // namespace xuanshu
