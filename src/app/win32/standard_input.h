// Standard input on Windows, read without blocking the loop: a console, a
// pipe or a file. Windows cannot wait on a pipe's readability, so one
// reader thread blocks in ReadFile and hands each chunk to the loop through
// an event that the loop watches; every callback runs on the loop's thread.
// The reader thread touches nothing but its own buffer and the event.
#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "bridge/loop/win32_loop.h"

namespace zorvik {

class Win32StandardInput {
 public:
  using BytesRead = std::function<void(std::string_view bytes)>;
  using Ended = std::function<void()>;

  // Starts reading. `on_bytes` gets every chunk in order; `on_end` is called
  // once when input has ended (or cannot be read), after the last chunk.
  // Both run from `loop`'s dispatch. `loop` must outlive this object.
  Win32StandardInput(Win32Loop& loop, BytesRead on_bytes, Ended on_end);
  // Stops watching. A reader thread still blocked in ReadFile is left to
  // end with the process.
  ~Win32StandardInput();
  Win32StandardInput(const Win32StandardInput&) = delete;
  Win32StandardInput& operator=(const Win32StandardInput&) = delete;

 private:
  struct Shared;
  void OnSignalled();

  Win32Loop& loop_;
  BytesRead on_bytes_;
  Ended on_end_;
  std::shared_ptr<Shared> shared_;
};

}  // namespace zorvik
