#include "bridge/loop/task_queue.h"

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zorvik {
namespace {

using Names = std::vector<std::string>;

class TaskQueueTest : public ::testing::Test {
 protected:
  EventLoop::TimerId Add(Micros due, std::string name) {
    return queue_.Add(due, [this, name] { ran_.push_back(name); });
  }
  // One dispatch pass at `now`, as a loop makes it: the tasks there when it
  // begins that are due at or before `now` and before `end`.
  void Pass(Micros now, Micros end = std::numeric_limits<Micros>::max()) {
    const EventLoop::TimerId newest = queue_.LastId();
    while (std::optional<EventLoop::Task> task = queue_.TakeDue(now, end, newest)) (*task)();
  }

  TaskQueue queue_;
  Names ran_;
};

// By due time, equal times in the order added; a number reserved earlier
// sorts as if its task had been added then. Cancel forgets only that task;
// unknown and repeated ids, and those of tasks taken, change nothing.
TEST_F(TaskQueueTest, OrderAndCancel) {
  Add(5, "a5");
  const EventLoop::TimerId reserved = queue_.Reserve(2);
  Add(1, "b1");
  const EventLoop::TimerId c5 = Add(5, "c5");
  Add(-3, "d-3");
  Add(1, "e1");
  queue_.AddReserved(5, reserved + 1, [this] { ran_.push_back("r2-5"); });
  queue_.AddReserved(5, reserved, [this] { ran_.push_back("r1-5"); });
  EXPECT_EQ(queue_.First(), (TaskQueue::Key{-3, reserved + 4}));
  queue_.TakeFirst()();
  // c5 twice, the taken d-3, and an id never handed out.
  for (EventLoop::TimerId id : {c5, c5, reserved + 4, EventLoop::TimerId{999}}) queue_.Cancel(id);
  EXPECT_EQ(queue_.size(), 5u);
  while (!queue_.empty()) queue_.TakeFirst()();
  EXPECT_EQ(ran_, (Names{"d-3", "b1", "e1", "a5", "r1-5", "r2-5"}));
}

// A pass takes only the tasks there when it began, due by then and before
// its end. Its tasks may add tasks due at once or in the past (they wait for
// the next pass, and then come first) and cancel tasks of the pass not yet
// run, or themselves (already taken: nothing happens).
TEST_F(TaskQueueTest, TasksThatScheduleAndCancelDuringAPass) {
  EventLoop::TimerId doomed = 0;
  EventLoop::TimerId self = 0;
  self = queue_.Add(10, [&] {
    ran_.push_back("canceller");
    queue_.Cancel(doomed);
    queue_.Cancel(self);
    Add(10, "added-for-now");
    Add(4, "added-in-the-past");
  });
  doomed = Add(10, "doomed");
  Add(10, "kept");
  Add(20, "not-due");
  Add(5, "before-end");
  Pass(10, /*end=*/6);
  EXPECT_EQ(ran_, (Names{"before-end"}));
  Pass(10);
  EXPECT_EQ(ran_, (Names{"before-end", "canceller", "kept"}));
  Pass(10);
  EXPECT_EQ(ran_, (Names{"before-end", "canceller", "kept", "added-in-the-past", "added-for-now"}));
  EXPECT_EQ(queue_.size(), 1u);  // not-due
}

}  // namespace
}  // namespace zorvik
