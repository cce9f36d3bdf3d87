// Running xuanshu-cli from the CLI tests.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"

namespace xuanshu::testing {

struct CliResult {
  int code = -1;
  std::string out;
  std::string err;
};

// One shell word.
inline std::string Quoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

inline CliResult RunCli(const std::vector<std::string>& args, const std::string& stdinFile = "") {
  std::string command = Quoted(CliPath());
  for (const std::string& arg : args) command += " " + Quoted(arg);
  if (!stdinFile.empty()) command += " <" + Quoted(stdinFile);
  CliResult result;
  result.code = RunCommand(command, &result.out, &result.err);
  return result;
}

// Every entry below a folder, as paths relative to it.
inline std::vector<std::string> TreeOf(const std::filesystem::path& folder) {
  std::vector<std::string> entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    entries.push_back(std::filesystem::relative(entry.path(), folder).string());
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

}  // namespace xuanshu::testing
