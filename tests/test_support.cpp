#include "test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace xuanshu::testing {

TempDir::TempDir() {
  std::random_device rd;
  const auto base = std::filesystem::temp_directory_path();
  do {
    path_ = base / ("xuanshu-test-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));
  } while (std::filesystem::exists(path_));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  // Restore write permission on anything a test made read-only.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
  }
  std::filesystem::remove_all(path_, ec);
}

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

int RunCommand(const std::string& command, std::string* out, std::string* err) {
  TempDir tmp;
  const auto outFile = tmp.path() / "out";
  const auto errFile = tmp.path() / "err";
  const std::string full = command + " >" + outFile.string() + " 2>" + errFile.string();
  const int status = std::system(full.c_str());
  if (out) *out = ReadFileBytes(outFile);
  if (err) *err = ReadFileBytes(errFile);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string CliPath() {
#ifdef XUANSHU_CLI_PATH
  return XUANSHU_CLI_PATH;
#else
  return "xuanshu-cli";
#endif
}

}  // namespace xuanshu::testing
