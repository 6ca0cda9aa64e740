// The Windows loop keeps the real-time loops' contract (order, nesting,
// quitting, sleeping) with handles and window messages as its event sources.
#include "bridge/loop/win32_loop.h"

#include <windows.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace zorvik {
namespace {

constexpr Micros kMillisecond = 1000;
using Log = std::vector<std::string>;

Micros ProcessCpuMicros() {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  const auto micros = [](FILETIME t) {
    return static_cast<Micros>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32 |
                                t.dwLowDateTime) / 10);
  };
  return micros(kernel) + micros(user);
}

Micros PerformanceCounterMicros() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return count.QuadPart / frequency.QuadPart * kMicrosPerSecond +
         count.QuadPart % frequency.QuadPart * kMicrosPerSecond / frequency.QuadPart;
}

struct Event {
  Event() : handle(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}
  ~Event() { CloseHandle(handle); }
  HANDLE handle;
};

// A wait lasts its length on the loop's clock and on the performance
// counter; tasks falling due run nested inside it, once, and a long nested
// wait ends the outer one as soon as it returns.
TEST(Win32LoopTest, WaitsAndNesting) {
  Win32Loop loop;
  Log log;
  loop.ScheduleAfter(1 * kMillisecond, [&] {
    log.push_back("a-start");
    loop.Wait(60 * kMillisecond);
    log.push_back("a-end");
  });
  loop.ScheduleAfter(5 * kMillisecond, [&] { log.push_back("b"); });
  loop.ScheduleAfter(3 * kMicrosPerSecond, [&] { log.push_back("late"); });
  const Micros counter_start = PerformanceCounterMicros();
  const Micros start = loop.Now();
  loop.Wait(20 * kMillisecond);
  EXPECT_EQ(log, (Log{"a-start", "b", "a-end"}));
  EXPECT_GE(loop.Now() - start, 61 * kMillisecond);
  EXPECT_GE(PerformanceCounterMicros() - counter_start, 60 * kMillisecond);
  EXPECT_LT(loop.Now() - start, 2 * kMicrosPerSecond);
}

// An event set by a task, or by another thread while the loop sleeps in
// Run, wakes it; the callback runs inside the wait and may unwatch itself,
// and Run then ends, as nothing is left. A closed handle is forgotten.
TEST(Win32LoopTest, Handles) {
  Win32Loop loop;
  Event event;
  Log log;
  ASSERT_TRUE(loop.WatchHandle(event.handle, [&] { log.push_back("set"); }));
  loop.ScheduleAfter(5 * kMillisecond, [&] { SetEvent(event.handle); });
  loop.Wait(200 * kMillisecond);
  EXPECT_EQ(log, (Log{"set"}));

  loop.WatchHandle(event.handle, [&] {
    log.push_back("from thread");
    loop.UnwatchHandle(event.handle);
  });
  const auto real_start = std::chrono::steady_clock::now();
  std::thread setter([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    SetEvent(event.handle);
  });
  loop.Run();
  setter.join();
  EXPECT_EQ(log, (Log{"set", "from thread"}));

  HANDLE closed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  loop.WatchHandle(closed, [&] { log.push_back("closed"); });
  CloseHandle(closed);
  loop.Run();
  EXPECT_EQ(log, (Log{"set", "from thread"}));
  EXPECT_LT(std::chrono::steady_clock::now() - real_start, std::chrono::seconds(2));
}

// The thread's window messages are dispatched inside a wait; WM_QUIT quits
// the loop, and so does Quit from a task nested in a nested wait: every
// wait returns at once, the waiting task still finishes, nothing more runs.
TEST(Win32LoopTest, MessagesAndQuit) {
  Win32Loop loop;
  Log log;
  static Log* messages = nullptr;
  messages = &log;
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = [](HWND window, UINT message, WPARAM wparam,
                                LPARAM lparam) -> LRESULT {
    if (message == WM_USER) messages->push_back("message " + std::to_string(wparam));
    return DefWindowProcA(window, message, wparam, lparam);
  };
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = "zorvik loop test";
  RegisterClassA(&window_class);
  HWND window = CreateWindowA("zorvik loop test", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              window_class.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  loop.ScheduleAfter(5 * kMillisecond, [&] { PostMessageA(window, WM_USER, 7, 0); });
  loop.Wait(50 * kMillisecond);
  EXPECT_EQ(log, (Log{"message 7"}));

  Event idle;
  loop.WatchHandle(idle.handle, [&] { log.push_back("handle"); });
  loop.ScheduleAfter(1 * kMillisecond, [&] {
    loop.Wait(10 * kMicrosPerSecond);
    log.push_back("a-end");
  });
  loop.ScheduleAfter(2 * kMillisecond, [&] { PostQuitMessage(0); });
  loop.ScheduleAfter(500 * kMillisecond, [&] { log.push_back("never"); });
  const auto real_start = std::chrono::steady_clock::now();
  loop.Wait(20 * kMicrosPerSecond);
  EXPECT_TRUE(loop.Quitting());
  SetEvent(idle.handle);
  PostMessageA(window, WM_USER, 8, 0);
  loop.DispatchPending();
  loop.Run();
  loop.Wait(10 * kMicrosPerSecond);
  EXPECT_EQ(log, (Log{"message 7", "a-end"}));
  EXPECT_LT(std::chrono::steady_clock::now() - real_start, std::chrono::seconds(2));
  DestroyWindow(window);
}

// Waiting sleeps: a long wait with an idle handle and a timer, then 100
// waits shorter than a millisecond, use a small part of the ~300 ms.
TEST(Win32LoopTest, WaitDoesNotSpin) {
  Win32Loop loop;
  Event idle;
  loop.WatchHandle(idle.handle, [] {});
  loop.ScheduleAfter(100 * kMillisecond, [] {});
  const Micros cpu_start = ProcessCpuMicros();
  loop.Wait(200 * kMillisecond);
  for (int i = 0; i < 100; ++i) loop.Wait(900);
  EXPECT_LT(ProcessCpuMicros() - cpu_start, 50'000);
}

}  // namespace
}  // namespace zorvik
