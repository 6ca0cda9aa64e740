#include "app/win32/standard_input.h"

#include <windows.h>

#include <mutex>
#include <string>
#include <thread>

namespace zorvik {

struct Win32StandardInput::Shared {
  Shared() : ready(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}
  ~Shared() { CloseHandle(ready); }
  HANDLE ready;  // auto-reset: set whenever bytes or the end are waiting
  std::mutex mutex;
  std::string bytes;
  bool ended = false;
};

Win32StandardInput::Win32StandardInput(Win32Loop& loop, BytesRead on_bytes, Ended on_end)
    : loop_(loop),
      on_bytes_(std::move(on_bytes)),
      on_end_(std::move(on_end)),
      shared_(std::make_shared<Shared>()) {
  loop_.WatchHandle(shared_->ready, [this] { OnSignalled(); });
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  std::thread([shared = shared_, input] {
    char buffer[4096];
    for (;;) {
      DWORD got = 0;
      const bool read = input != nullptr && input != INVALID_HANDLE_VALUE &&
                        ReadFile(input, buffer, sizeof buffer, &got, nullptr);
      std::lock_guard<std::mutex> lock(shared->mutex);
      if (!read || got == 0) {
        shared->ended = true;
        SetEvent(shared->ready);
        return;
      }
      shared->bytes.append(buffer, got);
      SetEvent(shared->ready);
    }
  }).detach();
}

Win32StandardInput::~Win32StandardInput() {
  loop_.UnwatchHandle(shared_->ready);
}

void Win32StandardInput::OnSignalled() {
  std::string bytes;
  bool ended;
  {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    bytes.swap(shared_->bytes);
    ended = shared_->ended;
  }
  if (!bytes.empty()) on_bytes_(bytes);
  if (ended) {
    loop_.UnwatchHandle(shared_->ready);
    on_end_();
  }
}

}  // namespace zorvik
