// Running xuanshu-cli from the CLI tests.
#pragma once

#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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

// Runs xuanshu-cli with a terminal (a raw pseudo-terminal) as standard
// output and error; both end up in out.
inline CliResult RunCliOnTerminal(const std::vector<std::string>& args) {
  std::vector<std::string> words = {CliPath()};
  words.insert(words.end(), args.begin(), args.end());
  int master = -1;
  const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
  if (pid == 0) {
    termios mode{};
    ::tcgetattr(STDIN_FILENO, &mode);
    ::cfmakeraw(&mode);
    ::tcsetattr(STDIN_FILENO, TCSANOW, &mode);
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  CliResult result;
  char buffer[4096];
  while (true) {
    const ssize_t n = ::read(master, buffer, sizeof buffer);
    if (n > 0) {
      result.out.append(buffer, static_cast<std::size_t>(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      break;  // EIO once the program has ended
    }
  }
  ::close(master);
  int status = 0;
  ::waitpid(pid, &status, 0);
  result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

// Runs xuanshu-cli as an unprivileged user when the tests run as root, so
// that file permissions apply; the folders it uses must be open to all.
inline CliResult RunCliWithoutPrivileges(const std::vector<std::string>& args) {
  std::string command;
  if (::geteuid() == 0) command = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
  command += Quoted(CliPath());
  for (const std::string& arg : args) command += " " + Quoted(arg);
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
