// Helpers shared by the test programs.
#pragma once

#include <filesystem>
#include <string>

#include "record/text.h"

namespace xuanshu::testing {

// A fresh empty folder under the system temp folder, removed by the destructor.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

// Runs a command line through the shell; returns the exit code and fills
// the captured standard output and error (UTF-8).
int RunCommand(const std::string& command, std::string* out, std::string* err);

// Path of the built xuanshu-cli.
std::string CliPath();

}  // namespace xuanshu::testing
