// Cold figures: a benchmark program starts itself again as a child with a private flag
// (--cold=<kind>), the child performs exactly one measured run of that kind in its fresh
// process (fresh heap, nothing faulted in) and prints its figures on standard output as
// lines "@cold <key> <value>"; the parent reads them and reports "seconds" as the
// iteration's manual time and every other key as a counter. Linux only.
//
// Parent:  BENCHMARK_CAPTURE(BM_cold, kind, "kind", extra)->UseManualTime()->Iterations(1)
//              ->Repetitions(3)   with  bench_cold::run(state, {"--cold=kind", ...})
// Child:   main() looks for --cold= first (bench_cold::flag) and runs the kind itself.
#pragma once

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace bench_cold {

// The value of --<name>=value in argv, or empty when it is not there.
inline std::string flag(int argc, char** argv, const char* name) {
  const std::string key = std::string("--") + name + "=";
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], key.c_str(), key.size()) == 0) return argv[i] + key.size();
  return {};
}

// Child side: one figure for the parent.
inline void put(const char* key, double value) {
  std::printf("@cold %s %.9g\n", key, value);
  std::fflush(stdout);
}

// Starts this program again with args, reads its standard output to the end and waits
// for it. The figures are its "@cold" lines; false (why in *error) when it could not be
// started, ended badly or reported no "seconds".
inline bool run_child(const std::vector<std::string>& args, std::map<std::string, double>& out, std::string* error) {
  char self[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return *error = "no /proc/self/exe", false;
  self[n] = 0;
  int pipe_fd[2];
  if (pipe2(pipe_fd, O_CLOEXEC) != 0) return *error = "pipe", false;
  std::vector<std::string> all{self};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) {
    close(pipe_fd[0]);
    close(pipe_fd[1]);
    return *error = "fork", false;
  }
  if (pid == 0) {
    dup2(pipe_fd[1], STDOUT_FILENO);  // dup2 clears close-on-exec of the copy
    execv(self, argv.data());
    _exit(127);
  }
  close(pipe_fd[1]);
  std::string text;
  char buf[4096];
  for (;;) {
    const ssize_t r = read(pipe_fd[0], buf, sizeof buf);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    text.append(buf, size_t(r));
  }
  close(pipe_fd[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.compare(0, 6, "@cold ") != 0) continue;
    std::istringstream f(line.substr(6));
    std::string key;
    double v;
    if (f >> key >> v) out[key] = v;
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return *error = "child failed: " + text, false;
  if (!out.count("seconds")) return *error = "child reported no time: " + text, false;
  return true;
}

// Parent side: one child per iteration; its "seconds" is the iteration's time, its other
// figures the counters (of the last child: run one iteration per repetition).
inline void run(benchmark::State& state, const std::vector<std::string>& args) {
  for (auto _ : state) {
    std::map<std::string, double> figures;
    std::string error;
    if (!run_child(args, figures, &error)) {
      state.SkipWithError(error.c_str());
      break;
    }
    state.SetIterationTime(figures["seconds"]);
    for (const auto& [key, value] : figures)
      if (key != "seconds") state.counters[key] = value;
  }
}

}  // namespace bench_cold
