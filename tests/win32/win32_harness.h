// Two programs for the Windows scenarios: the host (zorvik.exe) and the
// stand-in client, each started beside this test binary with pipes for its
// standard input and output, watched line by line in real time.
#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace zorvik::test {

// The folder of this test binary, where the programs under test are built.
std::string BinaryFolder();

class ChildProcess {
 public:
  // Starts `program` (a file beside this binary) with `arguments`.
  ChildProcess(const std::string& program, const std::string& arguments);
  // Closes its input and waits a little for it to end, then ends it.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return process_ != nullptr; }
  // Writes `line` and a newline to its standard input.
  void Send(const std::string& line);
  void CloseInput();

  // Every line it has printed so far (standard output and error).
  std::vector<std::string> Lines();
  // Waits up to `timeout` until `done(lines)` holds; false on time-out.
  bool WaitFor(const std::function<bool(const std::vector<std::string>&)>& done,
               std::chrono::milliseconds timeout);
  // Waits for a line equal to `line`.
  bool WaitForLine(const std::string& line, std::chrono::milliseconds timeout);
  // Waits up to `timeout` for the program to end; its exit code, or -1.
  int WaitForExit(std::chrono::milliseconds timeout);

 private:
  void ReadOutput();

  HANDLE process_ = nullptr;
  HANDLE input_ = nullptr;
  HANDLE output_ = nullptr;
  HANDLE reader_ = nullptr;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> lines_;
  std::string pending_;
};

}  // namespace zorvik::test
