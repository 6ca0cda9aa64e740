#include "bridge/kit/embedded_client.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zorvik {
namespace {

// Drives the embedded client through WindowApi alone, as a program on the
// other side of the window system would.
class EmbeddedClientTest : public ::testing::Test {
 protected:
  Hwnd Child(Hwnd parent, int index) {
    Hwnd w = client_.FirstChild(parent);
    for (int i = 0; i < index && w != 0; ++i) w = client_.NextSibling(w);
    return w;
  }
  Hwnd Main() { return client_.FindTopLevel("aol frame25", std::nullopt); }
  Hwnd Mdi() { return Child(Main(), 1); }
  Hwnd ToolbarButton(int index) { return Child(Child(Child(Main(), 0), 0), index); }
  Hwnd History() { return Child(client_.room(), 1); }
  Hwnd Input() { return Child(client_.room(), 7); }
  void Click(Hwnd window) {
    client_.SendMessage(window, WindowMessage::kLButtonDown, 0, {});
    client_.SendMessage(window, WindowMessage::kLButtonUp, 0, {});
  }
  void Type(Hwnd window, std::string_view text) {
    client_.SendMessage(window, WindowMessage::kSetText, 0, text);
  }
  void Key(Hwnd window, std::uint64_t code) {
    client_.SendMessage(window, WindowMessage::kChar, code, {});
  }
  // Opens `address` through the toolbar's Keyword window.
  void Go(const std::string& address) {
    Click(ToolbarButton(20));
    const Hwnd kw = client_.FirstChild(Mdi());
    Type(Child(kw, 1), address);
    Click(Child(kw, 2));
  }

  EmbeddedClient client_{"Op Name"};
};

// The input box takes WM_SETTEXT as replacing its text and sends it whole
// on Enter; an empty box and other windows send nothing.
TEST_F(EmbeddedClientTest, InputBoxSendsItsWholeTextOnEnter) {
  EXPECT_EQ(client_.ClassName(History()), "RICHCNTL");
  Type(Input(), "first draft");
  Type(Input(), "line");
  Key(Input(), 0xE9);     // é
  Key(Input(), 0x1F600);  // 😀
  Key(Input(), 7);        // control characters are not typed
  Key(Input(), 13);
  Key(Input(), 13);
  Type(History(), "history is not an input");
  Key(History(), 13);
  EXPECT_EQ(client_.RoomHistory(),
            (std::vector<RoomLine>{{"Op Name", "line\xC3\xA9\xF0\x9F\x98\x80"}}));
  EXPECT_EQ(client_.WindowText(Input()), "");
}

// Observers hear lines in subscription order; one that unsubscribes others
// (or itself) mid-line is safe, and a late subscriber waits for the next line.
TEST_F(EmbeddedClientTest, ObserversInOrderAndSafeToUnsubscribe) {
  std::vector<std::string> heard;
  RoomFeed::SubscriptionId second = 0;
  RoomFeed::SubscriptionId first = 0;
  first = client_.Subscribe([&](const std::string& who, const std::string& text) {
    heard.push_back("1:" + who + ":" + text);
    if (text == "stop") {
      client_.Unsubscribe(second);
      client_.Unsubscribe(first);
      client_.Subscribe(
          [&](const std::string&, const std::string& t) { heard.push_back("3:" + t); });
    }
  });
  second = client_.Subscribe(
      [&](const std::string&, const std::string& t) { heard.push_back("2:" + t); });
  client_.Say("ann", "hi");
  client_.Say("bob", "stop");
  client_.Say("ann", "after");
  EXPECT_EQ(heard, (std::vector<std::string>{"1:ann:hi", "2:hi", "1:bob:stop", "3:after"}));
}

// A closed window and its children are gone for good: every call on their
// handles (like on 0) finds, reads and does nothing, and new windows get
// new handles.
TEST_F(EmbeddedClientTest, ClosedHandlesStayInvalid) {
  Click(ToolbarButton(20));
  const Hwnd kw = client_.FirstChild(Mdi());
  const Hwnd edit = Child(kw, 1);
  ASSERT_EQ(client_.WindowText(kw), "Keyword");
  client_.SendMessage(kw, WindowMessage::kClose, 0, {});
  Click(ToolbarButton(20));
  const Hwnd reopened = client_.FirstChild(Mdi());
  EXPECT_NE(reopened, kw);
  EXPECT_NE(Child(reopened, 1), edit);
  // The edit box's slot holds an edit box again, under a new handle; the
  // handles past the table's end and below its first slot name none.
  EXPECT_EQ(client_.ClassName(Child(reopened, 1)), "_AOL_Edit");
  for (const Hwnd gone : {Hwnd{0}, Hwnd{1}, kw, edit, edit + (Hwnd{1} << 40), Hwnd{0xFFFF'FFFF}}) {
    Type(gone, "x");
    Click(gone);
    client_.SendMessage(gone, WindowMessage::kClose, 0, {});
    EXPECT_FALSE(client_.IsWindow(gone));
    EXPECT_EQ(client_.FirstChild(gone), 0u);
    EXPECT_EQ(client_.NextSibling(gone), 0u);
    EXPECT_EQ(client_.ClassName(gone), "");
    EXPECT_EQ(client_.WindowText(gone), "");
  }
  EXPECT_EQ(client_.WindowText(Child(reopened, 1)), "");
}

// Go opens the address once and closes the Keyword window; a second Go
// reaches nothing. The instant-message address takes a recipient after it.
TEST_F(EmbeddedClientTest, KeywordGoOpensTheAddressOnce) {
  Click(ToolbarButton(20));
  Click(ToolbarButton(20));  // the same window, brought to the front
  const Hwnd kw = client_.FirstChild(Mdi());
  EXPECT_EQ(client_.NextSibling(kw), client_.room());
  Type(Child(kw, 1), "AOL://9293:Some One");
  Click(Child(kw, 2));
  Click(Child(kw, 2));
  Go("news");
  EXPECT_EQ(client_.opened_addresses(), (std::vector<std::string>{"AOL://9293:Some One", "news"}));
  const Hwnd im = client_.FirstChild(Mdi());
  EXPECT_EQ(client_.WindowText(im), "Send Instant Message");
  EXPECT_EQ(client_.WindowText(Child(im, 1)), "Some One");
  EXPECT_EQ(client_.NextSibling(im), client_.room());
}

// The client's dialogs close themselves (and only themselves) from their
// buttons; the Error window's button must not take the main window along.
TEST_F(EmbeddedClientTest, DialogButtonsCloseOnlyTheirDialog) {
  const Hwnd modal = client_.OpenModalDialog();
  const Hwnd error = client_.OpenErrorWindow();
  Go("aol://9293:nobody");
  Click(Child(client_.FirstChild(Mdi()), 12));  // Send
  const Hwnd box = client_.FindTopLevel("#32770", "America Online");
  ASSERT_NE(box, 0u);
  EXPECT_EQ(client_.FindTopLevel("#32770", "america online"), 0u);  // titles are exact
  for (const Hwnd dialog : {modal, error, box}) {
    const Hwnd ok = Child(dialog, 1);
    Click(ok);
    EXPECT_FALSE(client_.IsWindow(dialog));
  }
  EXPECT_TRUE(client_.IsWindow(Main()));
  EXPECT_EQ(client_.WindowText(client_.FirstChild(Mdi())), "Send Instant Message");
}

// Lines said while the room window is closed are seen by no one; hostile
// lines are kept byte for byte, even when repeated from the history itself.
TEST_F(EmbeddedClientTest, RoomLinesAreWholeAndNeedAnOpenRoom) {
  std::string hostile(200'000, '\x01');
  hostile += std::string("\0\xff\xfe\r\n", 5);
  int reports = 0;
  client_.Subscribe([&](const std::string& who, const std::string& text) {
    reports += (who == hostile && text == hostile) ? 1 : 100;
  });
  client_.Say(hostile, hostile);
  client_.Say(client_.RoomHistory()[0].screen_name, client_.RoomHistory()[0].text);
  client_.CloseRoom();
  client_.Say("ann", "unheard");
  Type(Input(), "unsent");
  Key(Input(), 13);
  EXPECT_EQ(client_.RoomHistory(), (std::vector<RoomLine>{{hostile, hostile}, {hostile, hostile}}));
  EXPECT_EQ(reports, 2);
}

// The history keeps the newest kHistoryLines, oldest first, however often
// the oldest has been let go.
TEST_F(EmbeddedClientTest, HistoryKeepsTheNewestLinesInOrder) {
  constexpr std::size_t kKept = EmbeddedClient::kHistoryLines;
  for (std::size_t i = 0; i < 2 * kKept + 3; ++i) client_.Say("ann", std::to_string(i));
  const std::vector<RoomLine> history = client_.RoomHistory();
  ASSERT_EQ(history.size(), kKept);
  for (std::size_t i = 0; i < kKept; ++i) EXPECT_EQ(history[i].text, std::to_string(kKept + 3 + i));
}

}  // namespace
}  // namespace zorvik
