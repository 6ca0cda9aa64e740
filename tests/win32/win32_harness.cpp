#include "win32_harness.h"

#include <gtest/gtest.h>

namespace zorvik::test {

std::string BinaryFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

ChildProcess::ChildProcess(const std::string& program, const std::string& arguments) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE child_input = nullptr;
  HANDLE child_output = nullptr;
  if (!CreatePipe(&child_input, &input_, &inherit, 0) ||
      !CreatePipe(&output_, &child_output, &inherit, 0)) {
    ADD_FAILURE() << "cannot make pipes";
    return;
  }
  SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = child_input;
  startup.hStdOutput = child_output;
  startup.hStdError = child_output;
  PROCESS_INFORMATION info{};
  std::string command = "\"" + BinaryFolder() + program + "\" " + arguments;
  if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &info)) {
    process_ = info.hProcess;
    CloseHandle(info.hThread);
  } else {
    ADD_FAILURE() << "cannot start " << command;
  }
  CloseHandle(child_input);
  CloseHandle(child_output);
  reader_ = CreateThread(
      nullptr, 0,
      [](void* self) -> DWORD {
        static_cast<ChildProcess*>(self)->ReadOutput();
        return 0;
      },
      this, 0, nullptr);
}

ChildProcess::~ChildProcess() {
  CloseInput();
  if (process_ && WaitForSingleObject(process_, 10'000) != WAIT_OBJECT_0) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5'000);
  }
  if (reader_) {
    WaitForSingleObject(reader_, 5'000);
    CloseHandle(reader_);
  }
  if (output_) CloseHandle(output_);
  if (process_) CloseHandle(process_);
}

void ChildProcess::ReadOutput() {
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(output_, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    std::lock_guard<std::mutex> lock(mutex_);
    pending_.append(buffer, got);
    std::size_t newline;
    while ((newline = pending_.find('\n')) != std::string::npos) {
      std::string line = pending_.substr(0, newline);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines_.push_back(std::move(line));
      pending_.erase(0, newline + 1);
    }
    changed_.notify_all();
  }
}

void ChildProcess::Send(const std::string& line) {
  if (!input_) return;
  const std::string bytes = line + "\n";
  DWORD written = 0;
  WriteFile(input_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void ChildProcess::CloseInput() {
  if (input_) CloseHandle(input_);
  input_ = nullptr;
}

std::vector<std::string> ChildProcess::Lines() {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
}

bool ChildProcess::WaitFor(const std::function<bool(const std::vector<std::string>&)>& done,
                           std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return done(lines_); });
}

bool ChildProcess::WaitForLine(const std::string& line, std::chrono::milliseconds timeout) {
  return WaitFor(
      [&](const std::vector<std::string>& lines) {
        for (const std::string& seen : lines) {
          if (seen == line) return true;
        }
        return false;
      },
      timeout);
}

int ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
  if (!process_) return -1;
  if (WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
    return -1;
  }
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return static_cast<int>(code);
}

}  // namespace zorvik::test
