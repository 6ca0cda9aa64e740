#include "bridge/kit/chat_listener.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bridge/kit/embedded_client.h"
#include "bridge/loop/virtual_loop.h"

namespace zorvik {
namespace {

struct Heard {
  std::vector<std::string> lines;
  ChatListener::Handler Into(const std::string& tag) {
    return [this, tag](const std::string& name, const std::string& text) {
      lines.push_back(tag + " " + name + ": " + text);
    };
  }
};

// Reports are queued per listener that is on when the line appears, in the
// order the listeners were made, and handled like any other task; those of
// a listener stopped or destroyed meanwhile are dropped.
TEST(ChatListenerTest, DeliveryRules) {
  VirtualLoop loop;
  EmbeddedClient room;
  Heard heard;
  ChatListener first(loop, room, heard.Into("1"));
  ChatListener second(loop, room, heard.Into("2"));

  room.Say("early", "before anyone listens");
  first.StartListening();
  second.StartListening();
  room.Say("ann", "one");
  room.Say("bob", "two");
  loop.Run();
  EXPECT_EQ(heard.lines,
            (std::vector<std::string>{"1 ann: one", "2 ann: one", "1 bob: two", "2 bob: two"}));

  // Stopping drops what was queued, even if the listener comes on again
  // before the report would have been handled.
  heard.lines.clear();
  room.Say("ann", "three");
  second.StopListening();
  second.StartListening();
  first.StopListening();
  room.Say("ann", "four");
  loop.Run();
  EXPECT_EQ(heard.lines, std::vector<std::string>{"2 ann: four"});

  // A report still queued when its listener is destroyed is dropped.
  heard.lines.clear();
  {
    ChatListener gone(loop, room, heard.Into("x"));
    gone.StartListening();
    room.Say("ann", "five");
  }
  loop.Run();
  EXPECT_EQ(heard.lines, std::vector<std::string>{"2 ann: five"});
}

// A handler may wait, and the listener's later reports are handled inside
// that wait; one of those may destroy the listener. The outer handler's
// line stays whole, and nothing touches the listener once it has gone.
TEST(ChatListenerTest, NestedHandlersAndDestructionInOne) {
  VirtualLoop loop;
  EmbeddedClient room;
  const std::string outer = "a line long enough to live outside the string itself";
  std::vector<std::string> heard;
  std::unique_ptr<ChatListener> listener;
  listener = std::make_unique<ChatListener>(
      loop, room, [&](const std::string& name, const std::string& text) {
        heard.push_back(name + ": " + text);
        if (name == "ann") {
          loop.Wait(1);
          heard.push_back("after the wait, " + name + ": " + text);
        }
        if (name == "bob") listener.reset();
      });
  listener->StartListening();
  room.Say("ann", outer);
  room.Say("bob", "another line, also too long for a short string");
  room.Say("cy", "never heard");
  loop.Run();
  EXPECT_EQ(heard, (std::vector<std::string>{
                       "ann: " + outer, "bob: another line, also too long for a short string",
                       "after the wait, ann: " + outer}));
}

}  // namespace
}  // namespace zorvik
