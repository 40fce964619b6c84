#include "child_process.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace tamberlo::cli::testing {

namespace {

struct Pipe {
  int read = -1;
  int write = -1;
  Pipe() {
    int ends[2];
    if (pipe(ends) != 0) throw std::runtime_error("pipe failed");
    read = ends[0];
    write = ends[1];
  }
};

}  // namespace

ChildResult run_child(const std::string& program, const std::vector<std::string>& arguments,
                      const ChildOptions& options) {
  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  Pipe out;
  Pipe err;
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    dup2(out.write, STDOUT_FILENO);
    dup2(err.write, STDERR_FILENO);
    close(out.read);
    close(err.read);
    close(out.write);
    close(err.write);
    // The test runner's own blocked signals must not carry over into the program.
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    if (!options.working_folder.empty() && chdir(options.working_folder.c_str()) != 0) _exit(126);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(out.write);
  close(err.write);

  ChildResult result;
  bool interrupted = false;
  std::array<pollfd, 2> ends{pollfd{out.read, POLLIN, 0}, pollfd{err.read, POLLIN, 0}};
  int open_ends = 2;
  while (open_ends > 0) {
    if (poll(ends.data(), ends.size(), -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (std::size_t i = 0; i < ends.size(); ++i) {
      if (ends[i].fd < 0 || ends[i].revents == 0) continue;
      char buffer[4096];
      const ssize_t got = read(ends[i].fd, buffer, sizeof buffer);
      if (got <= 0) {
        close(ends[i].fd);
        ends[i].fd = -1;
        --open_ends;
        continue;
      }
      (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(got));
      if (i == 0 && !interrupted && options.interrupt_when && options.interrupt_when(result.out)) {
        interrupted = true;
        kill(child, SIGINT);
      }
    }
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

}  // namespace tamberlo::cli::testing
