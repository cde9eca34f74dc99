// Helper programs on Linux: posix_spawn with a pipe for the output.
#include "tools/pack/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace orvalis::pack {

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { reset(); }
  [[nodiscard]] int get() const { return fd_; }
  void reset(int fd = -1) {
    if (fd_ >= 0) close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

}  // namespace

std::string ProgramSearchPath() {
  const char* path = std::getenv("PATH");
  return path ? path : "";
}

std::filesystem::path FindProgram(std::string_view name, std::string_view searchPath) {
  if (name.empty()) return {};
  while (true) {
    const std::size_t colon = searchPath.find(':');
    std::string candidate(searchPath.substr(0, colon));
    if (candidate.empty()) candidate.push_back('.');  // an empty entry means the current folder
    candidate += '/';
    candidate += name;
    struct stat info{};
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0)
      return candidate;
    if (colon == std::string_view::npos) return {};
    searchPath.remove_prefix(colon + 1);
  }
}

Result<ProgramRun> RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return Failure{std::string("cannot make a pipe: ") + std::strerror(errno)};
  Descriptor reader(ends[0]);
  Descriptor writer(ends[1]);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, writer.get(), 1);
  posix_spawn_file_actions_adddup2(&actions, writer.get(), 2);

  const std::string path = program.string();
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return Failure{"cannot start \"" + path + "\": " + std::strerror(spawned)};
  writer.reset();  // the child holds the only write end now, so reading ends with it

  ProgramRun run;
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(reader.get(), buffer, sizeof buffer);
    if (got > 0) {
      run.output.append(buffer, static_cast<std::size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      break;
    }
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  return run;
}

}  // namespace orvalis::pack
