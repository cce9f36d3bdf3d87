// The files of one run of the desktop program: the data folder, Config.ini
// and the saved report font, all in the program folder.
#pragma once

#include <filesystem>

namespace xuanshu {

struct AppHome {
  std::filesystem::path dataDir;
  std::filesystem::path configPath;
  std::filesystem::path fontFilePath;

  // The files inside one program folder.
  static AppHome In(const std::filesystem::path& folder);
  // The program folder of this run (beside the program file, or the per-user
  // data folder when that is not writable).
  static AppHome OfThisRun();
};

}  // namespace xuanshu
