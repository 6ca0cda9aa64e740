// Benchmarks, run by hand (not in CI): prints the figures that
// docs/performance.md records.
//
//   zorvik_bench [cpu|pause|matches|memory|replay]...   (all when none is named)
//
// cpu      share of one core the host uses during a real-time demo match
// pause    how late a Pause of the real-time loop returns
// matches  whole matches per second replayed in virtual time, one process
// memory   peak resident memory of `zorvik replay` on a one-match script
// replay   `zorvik replay` of a 2,000-match script as a whole process, the
//          transcript to /dev/null: matches per second and peak memory
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "console/demo.h"
#include "app/host_program.h"
#include "bridge/loop/poll_loop.h"
#include "bridge/loop/virtual_loop.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

class SilentBoxes : public zorvik::MessageBoxes {
 public:
  void Show(const std::string&, const std::string&) override {}
};

// Plays one demo match on `loop` and returns when the winner is announced.
void PlayMatch(zorvik::EventLoop& loop, std::uint64_t seed) {
  SilentBoxes boxes;
  zorvik::ProgramOptions options;
  options.seed = seed;
  zorvik::HostProgram program(loop, boxes, options);
  zorvik::DemoCast cast(program, zorvik::DemoOptions{}, seed);
  cast.SetFinishAction([&loop](const std::string&) { loop.Quit(); });
  program.Start();
  loop.Run();
}

void BenchCpu() {
  zorvik::PollLoop loop;
  const auto start = Clock::now();
  const double cpu_start = CpuSeconds();
  PlayMatch(loop, 0);
  const double wall = Seconds(Clock::now() - start);
  const double cpu = CpuSeconds() - cpu_start;
  std::printf(
      "cpu: one real-time demo match took %.1f s of wall time and %.3f s of CPU: %.3f %% of one "
      "core\n",
      wall, cpu, 100.0 * cpu / wall);
}

void BenchPause() {
  zorvik::PollLoop loop;
  std::vector<double> late_ms;
  constexpr int kSamples = 2000;
  const std::int64_t lengths[] = {1'000, 10'000, 51'000};
  for (int i = 0; i < kSamples; ++i) {
    const std::int64_t length = lengths[i % 3];
    const auto start = Clock::now();
    loop.Wait(length);
    const double elapsed = Seconds(Clock::now() - start) * 1e3;
    late_ms.push_back(elapsed - static_cast<double>(length) / 1e3);
  }
  std::sort(late_ms.begin(), late_ms.end());
  const auto at = [&](double q) {
    return late_ms[std::min(late_ms.size() - 1,
                            static_cast<std::size_t>(q * static_cast<double>(late_ms.size())))];
  };
  std::printf(
      "pause: %d waits of 1, 10 and 51 ms returned late by: median %.3f ms, 99th percentile %.3f "
      "ms, worst %.3f ms (never early: %s)\n",
      kSamples, at(0.5), at(0.99), late_ms.back(), late_ms.front() >= 0 ? "yes" : "NO");
}

void BenchMatches() {
  int kMatches = 20'000;
  if (const char* count = std::getenv("ZORVIK_BENCH_MATCHES"))
    kMatches = std::max(1, std::atoi(count));
  const auto start = Clock::now();
  std::int64_t virtual_micros = 0;
  for (int i = 0; i < kMatches; ++i) {
    zorvik::VirtualLoop loop;
    PlayMatch(loop, static_cast<std::uint64_t>(i));
    virtual_micros += loop.Now();
  }
  const double wall = Seconds(Clock::now() - start);
  std::printf(
      "matches: %d whole matches (%.0f s of game time each on average) replayed in %.2f s: %.0f "
      "matches per second\n",
      kMatches, static_cast<double>(virtual_micros) / 1e6 / kMatches, wall, kMatches / wall);
}

// A one-match script: the demo match written out as replay lines.
std::string OneMatchScript() {
  std::ostringstream script;
  script << "2.1\tclick\tsplash\n2.1\tclick\tconsole\tget players\n"
            "5\tsay\tAliceSmith\t-join\n7\tsay\tBob\t-join\n9\tclick\tconsole\tsetup\n"
            "14\tsay\tAliceSmith\t/pikachu\n17\tsay\tBob\t/bulbasaur\n"
            "25\tclick\tconsole\tstart\n";
  for (int turn = 0; turn < 40; ++turn) {
    script << 28 + turn * 4 << "\tsay\t" << (turn % 2 ? "Bob\t/vinewhip" : "AliceSmith\t/thunder")
           << "\n";
  }
  script << "200\tshow\n200\tclick\tconsole\tstop\n201\tclick\tconsole\texit\n";
  return script.str();
}

// `matches` whole matches one after another, each: get players, two joins,
// setup, two picks, start, 60 move lines, stop.
std::string ManyMatchesScript(int matches) {
  std::ostringstream script;
  script << "2.5\tclick\tsplash\n";
  double t = 3.0;
  const auto line = [&script, &t](double after, const std::string& what) {
    t += after;
    char time[32];
    std::snprintf(time, sizeof time, "%.3f", t);
    script << time << '\t' << what << '\n';
  };
  for (int match = 0; match < matches; ++match) {
    line(match == 0 ? 0 : 1, "click\tconsole\tget players");
    line(4.1, "say\tTom\t-join");
    line(1, "say\tAnn\t-join");
    line(4, "click\tconsole\tsetup");
    line(2, "say\tTom\t/pikachu");
    line(2, "say\tAnn\t/mew");
    line(14, "click\tconsole\tstart");
    for (int move = 0; move < 60; ++move) {
      line(3, move % 2 ? "say\tAnn\t/psychic" : "say\tTom\t/thunder");
    }
    line(3, "click\tconsole\tstop");
  }
  return script.str();
}

struct ReplayRun {
  bool ok = false;
  double wall_seconds = 0;
  long max_rss_kib = 0;
};

// Runs `zorvik replay` on `script` as a child process, output to /dev/null.
ReplayRun RunReplayProcess(const std::string& zorvik, const std::string& script) {
  ReplayRun run;
  char path[] = "/tmp/zorvik-bench-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) {
    std::perror("mkstemp");
    return run;
  }
  close(fd);
  std::ofstream(path) << script;
  const auto start = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    execl(zorvik.c_str(), zorvik.c_str(), "replay", path, static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  run.wall_seconds = Seconds(Clock::now() - start);
  unlink(path);
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  run.max_rss_kib = usage.ru_maxrss;
  if (!run.ok) std::printf("%s replay failed (status %d)\n", zorvik.c_str(), status);
  return run;
}

void BenchMemory(const std::string& zorvik) {
  const ReplayRun run = RunReplayProcess(zorvik, OneMatchScript());
  if (!run.ok) return;
  std::printf("memory: zorvik replay of a one-match script peaked at %.2f MB resident (%ld KiB)\n",
              static_cast<double>(run.max_rss_kib) / 1024.0, run.max_rss_kib);
}

// The best of five runs: the figure is the program's, not the machine's
// other load.
void BenchReplay(const std::string& zorvik) {
  constexpr int kMatches = 2'000;
  const std::string script = ManyMatchesScript(kMatches);
  ReplayRun best;
  for (int i = 0; i < 5; ++i) {
    const ReplayRun run = RunReplayProcess(zorvik, script);
    if (!run.ok) return;
    if (!best.ok || run.wall_seconds < best.wall_seconds) best = run;
  }
  std::printf(
      "replay: zorvik replay of %d whole matches, transcript to /dev/null, in %.3f s: %.0f matches "
      "per second, peak %.2f MB resident\n",
      kMatches, best.wall_seconds, kMatches / best.wall_seconds,
      static_cast<double>(best.max_rss_kib) / 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> which(argv + 1, argv + argc);
  if (which.empty()) which = {"pause", "matches", "memory", "replay", "cpu"};
  std::string zorvik = ZORVIK_BINARY;
  if (const char* path = std::getenv("ZORVIK")) zorvik = path;
  for (const std::string& name : which) {
    if (name == "cpu") {
      BenchCpu();
    } else if (name == "pause") {
      BenchPause();
    } else if (name == "matches") {
      BenchMatches();
    } else if (name == "memory") {
      BenchMemory(zorvik);
    } else if (name == "replay") {
      BenchReplay(zorvik);
    } else {
      std::fprintf(stderr, "usage: zorvik_bench [cpu|pause|matches|memory|replay]...\n");
      return 2;
    }
    std::fflush(stdout);
  }
  return 0;
}
