#include "bridge/loop/task_queue.h"

#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zorvik {
namespace {

constexpr Micros kNoEnd = std::numeric_limits<Micros>::max();

// The fixture's queue and the names of the tasks it has handed over and
// run, in order.
class TaskQueueTest : public ::testing::Test {
 protected:
  EventLoop::TimerId Add(Micros due, std::string name) {
    return queue_.Add(due, [this, name] { ran_.push_back(name); });
  }
  // Takes and runs every task, first to last.
  void RunAll() {
    while (!queue_.empty()) queue_.TakeFirst()();
  }
  // One dispatch pass at `now`: the tasks there when it begins, due at or
  // before `now` and before `end`.
  void Pass(Micros now, Micros end = kNoEnd) {
    const EventLoop::TimerId newest = queue_.LastId();
    while (std::optional<EventLoop::Task> task = queue_.TakeDue(now, end, newest)) (*task)();
  }

  TaskQueue queue_;
  std::vector<std::string> ran_;
};

using Names = std::vector<std::string>;

// Tasks come out by due time, equal times in the order they were added; a
// number reserved earlier sorts as if its task had been added then, ahead
// of tasks added after the reservation for the same time.
TEST_F(TaskQueueTest, ByDueTimeThenSchedulingOrder) {
  Add(5, "a5");
  const EventLoop::TimerId reserved = queue_.Reserve(2);
  Add(1, "b1");
  Add(5, "c5");
  Add(-3, "d-3");
  Add(1, "e1");
  queue_.AddReserved(5, reserved + 1, [this] { ran_.push_back("r2-5"); });
  queue_.AddReserved(5, reserved, [this] { ran_.push_back("r1-5"); });
  EXPECT_EQ(queue_.size(), 7u);
  EXPECT_EQ(queue_.First(), (TaskQueue::Key{-3, reserved + 4}));
  RunAll();
  EXPECT_EQ(ran_, (Names{"d-3", "b1", "e1", "a5", "r1-5", "r2-5", "c5"}));
}

// Cancel forgets the one task not yet taken; an unknown id, a second cancel
// and the id of a task already taken change nothing.
TEST_F(TaskQueueTest, CancelForgetsOnlyThatTask) {
  const EventLoop::TimerId first = Add(1, "first");
  const EventLoop::TimerId second = Add(2, "second");
  Add(2, "third");
  queue_.TakeFirst()();
  queue_.Cancel(second);
  queue_.Cancel(second);
  queue_.Cancel(first);
  queue_.Cancel(12345);
  EXPECT_EQ(queue_.size(), 1u);
  const EventLoop::TimerId late = Add(0, "late");
  RunAll();
  EXPECT_EQ(ran_, (Names{"first", "late", "third"}));
  EXPECT_GT(late, second);  // ids are never handed out twice
}

// A pass takes only the tasks that were there when it began, due by then
// and before its end. Tasks run in it may add tasks, due at once or even in
// the past (they wait for the next pass, and then run first), and may cancel
// tasks of the pass that have not run yet, or themselves (already taken:
// nothing happens).
TEST_F(TaskQueueTest, TasksThatScheduleAndCancelDuringAPass) {
  EventLoop::TimerId doomed = 0;
  EventLoop::TimerId self = 0;
  self = queue_.Add(10, [&] {
    ran_.push_back("canceller");
    queue_.Cancel(doomed);
    queue_.Cancel(self);
    Add(4, "added-in-the-past");
    Add(10, "added-for-now");
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
  Pass(10);
  EXPECT_EQ(queue_.size(), 1u);
}

// A task handed over may add to the queue while it runs, from a slot the
// queue reuses: many rounds of take-one-add-one keep every task whole.
TEST_F(TaskQueueTest, TasksAddedWhileTheirPredecessorRuns) {
  int left = 1000;
  std::function<void()> step = [&] {
    ran_.push_back(std::to_string(left));
    if (--left > 0) queue_.Add(left % 7, step);
  };
  queue_.Add(0, step);
  RunAll();
  ASSERT_EQ(ran_.size(), 1000u);
  EXPECT_EQ(ran_.back(), "1");
}

}  // namespace
}  // namespace zorvik
