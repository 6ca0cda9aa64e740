#include "bridge/loop/win32_loop.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace zorvik {

bool Win32Loop::WatchHandle(Handle handle, Task on_signalled) {
  if (handle == nullptr) return false;
  if (watches_.size() >= kMaxHandles && watches_.find(handle) == watches_.end()) return false;
  Watch& watch = watches_[handle];
  watch.on_signalled = std::move(on_signalled);
  watch.generation = ++last_generation_;
  return true;
}

void Win32Loop::UnwatchHandle(Handle handle) {
  watches_.erase(handle);
}

void Win32Loop::AddDialogWindow(Handle window) {
  if (window != nullptr && std::find(dialogs_.begin(), dialogs_.end(), window) == dialogs_.end()) {
    dialogs_.push_back(window);
  }
}

void Win32Loop::RemoveDialogWindow(Handle window) {
  dialogs_.erase(std::remove(dialogs_.begin(), dialogs_.end(), window), dialogs_.end());
}

void Win32Loop::WaitUntil(const std::function<bool()>& done) {
  while (!Quitting() && !done()) {
    RunDueTasks(kNever);
    if (Quitting() || done()) return;
    Sleep(NextDue());
  }
}

void Win32Loop::DispatchMessages() {
  MSG message;
  while (!Quitting() && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      Quit();
      return;
    }
    if (message.hwnd != nullptr && !dialogs_.empty()) {
      HWND root = GetAncestor(message.hwnd, GA_ROOT);
      if (std::find(dialogs_.begin(), dialogs_.end(), root) != dialogs_.end() &&
          IsDialogMessageW(root, &message)) {
        continue;
      }
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void Win32Loop::Sleep(Micros until) {
  std::vector<HANDLE> handles;
  std::vector<std::uint64_t> generations;
  for (const auto& [handle, watch] : watches_) {
    handles.push_back(handle);
    generations.push_back(watch.generation);
  }
  DWORD timeout = INFINITE;
  if (until != kNever) {
    // Whole milliseconds, rounded up: once the wait times out the clock has
    // reached `until`, so the caller does not come back for a remainder.
    const Micros remaining = std::max<Micros>(0, until - Now());
    timeout = static_cast<DWORD>(std::min<Micros>((remaining + 999) / 1000, INFINITE - 1));
  }
  const DWORD result =
      MsgWaitForMultipleObjectsEx(static_cast<DWORD>(handles.size()), handles.data(), timeout,
                                  QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  DispatchMessages();
  if (result == WAIT_FAILED) {
    // A watched handle was closed: the wait would fail at once, for ever.
    DWORD flags = 0;
    for (HANDLE handle : handles) {
      if (!GetHandleInformation(handle, &flags)) watches_.erase(handle);
    }
    return;
  }
  // The wait names the first signalled handle only (and has consumed an
  // auto-reset event's signal); the later ones are asked in turn, so that
  // a busy handle cannot starve the others.
  const DWORD first = result - WAIT_OBJECT_0;
  for (std::size_t i = 0; i < handles.size(); ++i) {
    if (Quitting()) return;
    if (result == WAIT_TIMEOUT || first > i) continue;
    if (first != i && WaitForSingleObject(handles[i], 0) != WAIT_OBJECT_0) continue;
    // An earlier callback may have unwatched or replaced this watch; the
    // callback is a copy, since it may unwatch itself.
    auto found = watches_.find(handles[i]);
    if (found == watches_.end() || found->second.generation != generations[i]) continue;
    Task on_signalled = found->second.on_signalled;
    on_signalled();
  }
}

}  // namespace zorvik
