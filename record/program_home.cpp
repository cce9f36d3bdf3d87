#include "record/program_home.h"

#include <cstdlib>
#include <system_error>

#include "record/record_file.h"

namespace xuanshu {
namespace {

// The first component below the root is "usr".
bool IsUnderUsr(const std::filesystem::path& folder) {
  auto part = folder.begin();
  return folder.has_root_directory() && part != folder.end() && ++part != folder.end() &&
         *part == "usr";
}

}  // namespace

std::filesystem::path ExecutablePath() {
  std::error_code ec;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : path;
}

std::filesystem::path UserDataHome() {
  // The base-directory rules ignore a relative XDG_DATA_HOME.
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && std::filesystem::path(xdg).is_absolute()) {
    return std::filesystem::path(xdg) / "xuanshu";
  }
  const char* home = std::getenv("HOME");
  const std::filesystem::path base = (home != nullptr && *home != '\0')
                                         ? std::filesystem::path(home)
                                         : std::filesystem::temp_directory_path();
  return base / ".local" / "share" / "xuanshu";
}

std::filesystem::path ChooseProgramHome(const std::filesystem::path& programFolder,
                                        const std::filesystem::path& userHome) {
  if (!programFolder.empty() && !IsUnderUsr(programFolder) && FolderIsWritable(programFolder)) {
    return programFolder;
  }
  std::error_code ec;
  std::filesystem::create_directories(userHome, ec);
  return userHome;
}

std::filesystem::path ProgramHome() {
  return ChooseProgramHome(ExecutablePath().parent_path(), UserDataHome());
}

std::filesystem::path DataDir(const std::filesystem::path& home) {
  return home / "data";
}

std::filesystem::path ConfigPath(const std::filesystem::path& home) {
  return home / "Config.ini";
}

std::filesystem::path FontFilePath(const std::filesystem::path& home,
                                   const std::filesystem::path& executable) {
  // Only the file name is changed: a dotted folder name stays whole.
  std::filesystem::path name = executable.filename();
  if (name.empty()) name = "xuanshu";
  if (name.has_extension()) {
    name.replace_extension(".config");
  } else {
    name += ".config";
  }
  return home / name;
}

}  // namespace xuanshu
