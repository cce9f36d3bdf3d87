#include "app_home.h"

#include "record/program_home.h"

namespace xuanshu {

AppHome AppHome::In(const std::filesystem::path& folder) {
  return {DataDir(folder), ConfigPath(folder), FontFilePath(folder, ExecutablePath())};
}

AppHome AppHome::OfThisRun() {
  return In(ProgramHome());
}

}  // namespace xuanshu
