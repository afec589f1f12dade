#include "graphics/platform/x11/DetachedProcess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string_view>

extern char** environ;

namespace graphics {

namespace {

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The file for the name: as given when it holds a slash, else the first match on $PATH
// (an empty entry is the working folder); empty when there is none.
std::string FindProgram(const char* name) {
  if (std::strchr(name, '/')) return IsExecutableFile(name) ? name : "";
  const char* path = std::getenv("PATH");
  std::string_view rest = path ? path : "/bin:/usr/bin";
  for (;;) {
    const size_t colon = rest.find(':');
    const std::string_view folder = rest.substr(0, colon);
    std::string candidate = folder.empty() ? std::string(".") : std::string(folder);
    candidate += '/';
    candidate += name;
    if (IsExecutableFile(candidate)) return candidate;
    if (colon == std::string_view::npos) return {};
    rest.remove_prefix(colon + 1);
  }
}

// After fork, in a process whose other threads may hold locks, only async-signal-safe calls.
[[noreturn]] void ReportAndExit(int fd, int error) {
  [[maybe_unused]] const ssize_t written = write(fd, &error, sizeof error);
  _exit(127);
}

}  // namespace

bool StartDetached(const char* program, const std::vector<std::string>& arguments) {
  const std::string file = program ? FindProgram(program) : "";
  if (file.empty()) return false;
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  // The grandchild writes errno here when it cannot execute; a successful exec closes it.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return false;
  const int nothing = open("/dev/null", O_RDWR | O_CLOEXEC);
  const pid_t child = nothing < 0 ? -1 : fork();
  if (child == 0) {
    const pid_t grandchild = fork();
    if (grandchild < 0) ReportAndExit(report[1], errno);
    if (grandchild > 0) _exit(0);
    setsid();
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    dup2(nothing, STDIN_FILENO);
    dup2(nothing, STDOUT_FILENO);
    dup2(nothing, STDERR_FILENO);
    execve(file.c_str(), argv.data(), environ);
    ReportAndExit(report[1], errno);
  }
  if (nothing >= 0) close(nothing);
  close(report[1]);
  int error = 0;
  ssize_t got = -1;
  if (child > 0) {
    do got = read(report[0], &error, sizeof error);
    while (got < 0 && errno == EINTR);
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  close(report[0]);
  return got == 0;
}

}  // namespace graphics
