#include "bridge/loop/virtual_loop.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zorvik {
namespace {

// The fixture's loop and a log of "name@time" entries, one per task run.
class VirtualLoopTest : public ::testing::Test {
 protected:
  // A task that logs its name and the time it ran at.
  EventLoop::Task Logged(std::string name) {
    return [this, name] { log_.push_back(name + "@" + std::to_string(loop_.Now())); };
  }
  EventLoop::TimerId At(Micros due, std::string name) {
    return loop_.ScheduleAt(due, Logged(name));
  }

  VirtualLoop loop_;
  std::vector<std::string> log_;
};

using Lines = std::vector<std::string>;

// Equal due times run in scheduling order; a task posted for now while others
// are due runs behind all of them; the clock never goes back for a task whose
// due time has passed.
TEST_F(VirtualLoopTest, RunsByDueTimeThenSchedulingOrder) {
  loop_.ScheduleAt(10, [this] {
    log_.push_back("a@" + std::to_string(loop_.Now()));
    loop_.Post(Logged("posted-by-a"));
    loop_.ScheduleAt(3, Logged("past-by-a"));
  });
  At(10, "b");
  At(5, "c");
  At(10, "d");
  loop_.Run();
  EXPECT_EQ(log_, (Lines{"c@5", "a@10", "past-by-a@10", "b@10", "d@10", "posted-by-a@10"}));
  EXPECT_EQ(loop_.Now(), 10);
  EXPECT_EQ(loop_.PendingCount(), 0u);
}

// A wait of L from S runs what is due strictly before S+L and leaves a task
// due exactly at S+L to the next wait; Wait(0) and negative waits run nothing
// and leave the clock alone.
TEST_F(VirtualLoopTest, WaitStopsBeforeTasksDueAtItsEnd) {
  At(0, "t0");
  At(99, "t99");
  At(100, "t100");
  At(150, "t150");
  loop_.Wait(0);
  loop_.Wait(-7);
  EXPECT_TRUE(log_.empty());
  EXPECT_EQ(loop_.Now(), 0);

  loop_.Wait(100);
  EXPECT_EQ(log_, (Lines{"t0@0", "t99@99"}));
  EXPECT_EQ(loop_.Now(), 100);

  loop_.Wait(0);
  loop_.DispatchPending();  // t100 is due now: a dispatch pass runs it
  EXPECT_EQ(log_, (Lines{"t0@0", "t99@99", "t100@100"}));
  EXPECT_EQ(loop_.Now(), 100);

  loop_.Wait(50);
  EXPECT_EQ(log_.size(), 3u);
  EXPECT_EQ(loop_.Now(), 150);
  loop_.Wait(1);
  EXPECT_EQ(log_.back(), "t150@150");
  EXPECT_EQ(loop_.Now(), 151);
}

// A task that waits runs later tasks nested inside its wait, then carries on;
// the outer wait then continues to its own end. When the nested wait carries
// the clock past the outer end, the outer wait returns at once, leaving the
// clock there and running nothing more.
TEST_F(VirtualLoopTest, NestedWaits) {
  struct Case {
    Micros nested_length;
    Lines expected;
    Micros end_time;
  };
  const Case cases[] = {
      {50, {"a-start@10", "b@30", "a-end@60"}, 65},
      {100, {"a-start@10", "b@30", "c@70", "d@80", "a-end@110"}, 110},
  };
  for (const Case& c : cases) {
    VirtualLoop loop;
    Lines log;
    auto log_task = [&](std::string name) {
      return [&loop, &log, name] { log.push_back(name + "@" + std::to_string(loop.Now())); };
    };
    loop.ScheduleAt(10, [&] {
      log.push_back("a-start@" + std::to_string(loop.Now()));
      loop.Wait(c.nested_length);
      log.push_back("a-end@" + std::to_string(loop.Now()));
    });
    loop.ScheduleAt(30, log_task("b"));
    loop.ScheduleAt(70, log_task("c"));
    loop.ScheduleAt(80, log_task("d"));
    loop.ScheduleAt(110, log_task("e"));  // due at the nested wait's end
    loop.Wait(65);
    EXPECT_EQ(log, c.expected) << "nested wait of " << c.nested_length;
    EXPECT_EQ(loop.Now(), c.end_time) << "nested wait of " << c.nested_length;
  }
}

// A dispatch pass runs what was due when it started, never what its tasks
// schedule (even for a time already past), and never moves the clock.
TEST_F(VirtualLoopTest, DispatchPendingRunsOnlyWhatWasDue) {
  loop_.Wait(100);
  loop_.ScheduleAt(50, [this] {
    log_.push_back("a@" + std::to_string(loop_.Now()));
    loop_.Post(Logged("posted"));
    loop_.ScheduleAt(0, Logged("past"));
  });
  At(100, "b");
  At(101, "later");
  loop_.DispatchPending();
  EXPECT_EQ(log_, (Lines{"a@100", "b@100"}));
  EXPECT_EQ(loop_.Now(), 100);
  loop_.DispatchPending();
  EXPECT_EQ(log_, (Lines{"a@100", "b@100", "past@100", "posted@100"}));
  EXPECT_EQ(loop_.Now(), 100);
  EXPECT_EQ(loop_.PendingCount(), 1u);
}

// A nested wait inside a dispatched task runs the pass's other due tasks (and
// the new ones); the pass does not run them a second time.
TEST_F(VirtualLoopTest, DispatchPendingLetsNestedWaitsRunDueTasks) {
  loop_.Wait(100);
  loop_.ScheduleAt(50, [this] {
    loop_.Post(Logged("posted"));
    loop_.Wait(1);
    log_.push_back("a-end@" + std::to_string(loop_.Now()));
  });
  At(100, "b");
  At(101, "later");  // due at the nested wait's end
  loop_.DispatchPending();
  EXPECT_EQ(log_, (Lines{"b@100", "posted@100", "a-end@101"}));
  EXPECT_EQ(loop_.Now(), 101);
  EXPECT_EQ(loop_.PendingCount(), 1u);
}

// Quit from a task nested two waits deep: the nested wait and the outer one
// return at once without moving the clock further, the waiting task's code
// after its wait still finishes, and nothing runs any more.
TEST_F(VirtualLoopTest, QuitInsideNestedTaskStopsEverything) {
  loop_.ScheduleAt(10, [this] {
    loop_.Wait(100);
    log_.push_back("a-end@" + std::to_string(loop_.Now()));
    loop_.Wait(100);
    log_.push_back("a-end2@" + std::to_string(loop_.Now()));
  });
  loop_.ScheduleAt(20, [this] {
    log_.push_back("quit@" + std::to_string(loop_.Now()));
    loop_.Quit();
  });
  At(20, "same-time");
  At(30, "never");
  loop_.Wait(1000);
  EXPECT_TRUE(loop_.Quitting());
  EXPECT_EQ(log_, (Lines{"quit@20", "a-end@20", "a-end2@20"}));
  EXPECT_EQ(loop_.Now(), 20);

  loop_.DispatchPending();
  loop_.Run();
  loop_.Wait(10);
  EXPECT_EQ(log_.size(), 3u);
  EXPECT_EQ(loop_.Now(), 20);
  EXPECT_EQ(loop_.PendingCount(), 2u);
}

}  // namespace
}  // namespace zorvik
