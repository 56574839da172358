// What the benchmark drivers share: each measured run is a process of its own, started afresh,
// its peak memory read from the kernel; the loopback directory host runs as a process beside it.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace bench {

struct Run {
  double ms = 0;
  double peakMiB = 0;
  // What the child printed on standard output.
  std::string printed;
};

inline pid_t& FixturePid() {
  static pid_t pid = 0;
  return pid;
}

inline void StopFixture() {
  if (FixturePid() > 0) {
    kill(FixturePid(), SIGTERM);
    waitpid(FixturePid(), nullptr, 0);
    FixturePid() = 0;
  }
}

[[noreturn]] inline void Fail(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  StopFixture();
  std::exit(1);
}

// Starts `command` with standard output to a pipe; standard error is the driver's unless
// `quiet`. Returns the child and the pipe's reading end.
inline pid_t Spawn(const std::vector<std::string>& command, int& output, bool quiet = false) {
  std::vector<char*> args;
  for (const std::string& a : command) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  int out[2];
  if (pipe(out) != 0) Fail("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  if (quiet) posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (failed != 0) Fail("cannot start " + command[0]);
  output = out[0];
  return pid;
}

// One run of `command`, from its start to its exit.
inline Run RunOnce(const std::vector<std::string>& command) {
  const auto start = std::chrono::steady_clock::now();
  int output = -1;
  const pid_t pid = Spawn(command, output);
  Run run;
  char buffer[4096];
  for (ssize_t n; (n = read(output, buffer, sizeof buffer)) > 0;) run.printed.append(buffer, n);
  close(output);
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  run.ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    Fail(command[0] + " " + (command.size() > 1 ? command[1] : "") + " failed (status " +
         std::to_string(status) + ")");
  }
  run.peakMiB = usage.ru_maxrss / 1024.0;
  return run;
}

// The number printed after `key` ("key 12.5"), or -1.
inline double Printed(const std::string& printed, const std::string& key) {
  const auto at = printed.rfind(key + " ");
  return at == std::string::npos ? -1 : std::atof(printed.c_str() + at + key.size() + 1);
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Starts the loopback directory host on `sampleDir` (empty: its own sample) and returns its
// port.
inline unsigned StartFixture(const std::string& sampleDir = {}) {
  std::vector<std::string> command{BRINDLECOT_FIXTURE};
  if (!sampleDir.empty()) command.insert(command.end(), {"--sample", sampleDir});
  int output = -1;
  FixturePid() = Spawn(command, output, true);
  char line[64] = {};
  const ssize_t n = read(output, line, sizeof line - 1);
  close(output);
  unsigned port = 0;
  if (n <= 0 || std::sscanf(line, "port %u", &port) != 1) Fail("the directory host did not start");
  return port;
}

// The environment every child needs for a quiet run as root or without a session.
inline void PrepareEnvironment() {
  if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
    char dir[] = "/tmp/bench-runtime-XXXXXX";
    if (mkdtemp(dir) != nullptr) setenv("XDG_RUNTIME_DIR", dir, 1);
  }
  if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
}

// Peak memory of the calling process from here on: the kernel's high-water mark is reset.
inline void ResetPeakMemory() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

// "VmRSS" or "VmHWM" of the calling process, in KiB.
inline long MemoryKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + line.find(':') + 1);
  }
  return -1;
}

}  // namespace bench
