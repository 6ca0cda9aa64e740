#include "service/operator_reload.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>

#include <gtest/gtest.h>

#include "service/signal_watch.h"
#include "bridge/loop/poll_loop.h"

namespace zorvik {
namespace {

// Given a good file, the list is replaced; given one the host would not
// start on, the old list stays and the note says why. The reread comes
// through the loop when the process gets SIGHUP.
TEST(OperatorReloadTest, SighupRereadsAndABadFileKeepsTheList) {
  const std::string path = ::testing::TempDir() + "zorvik-reload-" + std::to_string(getpid());
  std::ofstream(path) << "operators_may_exit = true\n[[operator]]\naccount = \"ann\"\n"
                         "[[operator]]\nmask = \"bo!*@admin.example\"\n";
  OperatorList list{{IrcOperator{"old", ""}}, false};
  PollLoop loop;
  std::string note;
  bool terminated = false;
  {
    // Each signal comes to its own watch; a second watch of one is refused.
    SignalWatch terminate(loop, SIGTERM, [&] { terminated = true; });
    SignalWatch watch(loop, SIGHUP, [&] {
      note = RereadOperators(path, list);
      loop.Quit();
    });
    ASSERT_TRUE(watch.watching());
    EXPECT_FALSE(SignalWatch(loop, SIGHUP, [] {}).watching());
    loop.Post([] {
      std::raise(SIGTERM);
      std::raise(SIGHUP);
    });
    loop.Run();
  }
  EXPECT_TRUE(terminated);
  EXPECT_EQ(note, "[config] reread " + path + ": 2 operators now, who may end the host");
  EXPECT_EQ(list.operators.at(1).mask, "bo!*@admin.example");

  std::ofstream(path) << "[[operator]]\naccount = \"ann\"\ncolour = \"red\"\n";
  EXPECT_EQ(RereadOperators(path, list), "[config] not reread: " + path +
                                             ":3: unknown key operator.colour; still 2 operators");
  EXPECT_EQ(list.operators.size(), 2u);
  std::remove(path.c_str());
}

}  // namespace
}  // namespace zorvik
