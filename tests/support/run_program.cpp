#include "support/run_program.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

namespace hotaru_test {

int RunProgram(const std::string& program, const std::vector<std::string>& args,
               const std::filesystem::path& cwd, std::string* output) {
  char out_template[] = "/tmp/hotaru-run-XXXXXX";
  int out_fd = mkstemp(out_template);
  if (out_fd < 0) return -1;
  pid_t pid = fork();
  if (pid < 0) {
    close(out_fd);
    return -1;
  }
  if (pid == 0) {
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(127);
    dup2(out_fd, 1);
    dup2(out_fd, 2);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  close(out_fd);
  if (output) {
    std::ifstream in(out_template, std::ios::binary);
    output->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::remove(out_template);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace hotaru_test
