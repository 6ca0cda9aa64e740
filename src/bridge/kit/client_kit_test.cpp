#include "bridge/kit/client_kit.h"

#include <climits>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bridge/kit/embedded_client.h"
#include "bridge/loop/virtual_loop.h"

namespace zorvik {
namespace {

// Passes every call through to the embedded client and writes down each
// message the kit sends, with the virtual time and the target described as
// "parent/class#position", so that a whole dialog reads as one transcript.
class RecordingWindows : public WindowApi {
 public:
  RecordingWindows(EmbeddedClient& client, const EventLoop& loop) : client_(client), loop_(loop) {}

  Hwnd FindTopLevel(std::string_view window_class, std::optional<std::string_view> title) override {
    return client_.FindTopLevel(window_class, title);
  }
  Hwnd FirstChild(Hwnd window) override {
    if (window != 0 && window == client_.FindTopLevel("AOL Frame25", std::nullopt)) ++main_walks;
    return client_.FirstChild(window);
  }
  Hwnd NextSibling(Hwnd window) override { return client_.NextSibling(window); }
  std::string_view ReadClassName(Hwnd window, ClassNameBuffer& buffer) override {
    return client_.ReadClassName(window, buffer);
  }
  std::string WindowText(Hwnd window) override { return client_.WindowText(window); }
  void SetFocus(Hwnd window) override { client_.SetFocus(window); }

  void SendMessage(Hwnd window, WindowMessage message, std::uint64_t wparam,
                   std::string_view text) override {
    static const std::map<WindowMessage, std::string> kNames = {
        {WindowMessage::kSetText, "settext"}, {WindowMessage::kClose, "close"},
        {WindowMessage::kChar, "char"}, {WindowMessage::kLButtonDown, "down"},
        {WindowMessage::kLButtonUp, "up"}};
    std::string entry =
        std::to_string(loop_.Now()) + " " + kNames.at(message) + " " + Describe(window);
    if (message == WindowMessage::kSetText) entry += " " + std::string(text);
    if (message == WindowMessage::kChar) entry += " " + std::to_string(wparam);
    log.push_back(entry);
    client_.SendMessage(window, message, wparam, text);
  }

  std::vector<std::string> log;
  int main_walks = 0;  // one per poll pass of the keyword and mail polls

 private:
  std::string Describe(Hwnd window) {
    if (!client_.IsWindow(window)) return "(none)";
    const Hwnd parent = client_.Parent(window);
    if (parent == 0) return "top/" + client_.ClassName(window);
    std::string parent_name = client_.WindowText(parent);
    if (parent_name.empty()) parent_name = client_.ClassName(parent);
    int position = 0;
    for (Hwnd w = client_.FirstChild(parent); w != window; w = client_.NextSibling(w)) ++position;
    return parent_name + "/" + client_.ClassName(window) + "#" + std::to_string(position);
  }

  EmbeddedClient& client_;
  const EventLoop& loop_;
};

class ClientKitTest : public ::testing::Test {
 protected:
  ClientKitTest() {
    client_.SetInstantMessageObserver([this](const std::string& to, const std::string& message) {
      ims_.push_back(to + "|" + message);
    });
    client_.SetMailObserver(
        [this](const std::string& to, const std::string& subject, const std::string& text) {
          mails_.push_back(to + "|" + subject + "|" + text);
        });
  }

  Hwnd Mdi() { return kit_.FindChildByClass(Main(), "MDIClient"); }
  Hwnd Main() { return client_.FindTopLevel("AOL Frame25", std::nullopt); }
  Hwnd ToolbarButton(int index) {
    const Hwnd bar = kit_.FindChildByClass(Main(), "AOL Toolbar");
    Hwnd button = kit_.FindChildByClass(kit_.FindChildByClass(bar, "_AOL_Toolbar"), "_AOL_Icon");
    for (int i = 0; i < index; ++i) button = client_.NextSibling(button);
    return button;
  }
  // Titles of the MDI children, front to back.
  std::vector<std::string> MdiTitles() {
    std::vector<std::string> titles;
    for (Hwnd w = client_.FirstChild(Mdi()); w != 0; w = client_.NextSibling(w)) {
      titles.push_back(client_.WindowText(w));
    }
    return titles;
  }
  std::vector<RoomLine> Lines(std::initializer_list<RoomLine> lines) { return lines; }

  VirtualLoop loop_;
  EmbeddedClient client_;
  RecordingWindows windows_{client_, loop_};
  ClientKit kit_{windows_, loop_};
  std::vector<std::string> ims_, mails_;
};

// The class is compared by its first n characters, n = the name's length,
// letters case-blind; the first child in order wins.
TEST_F(ClientKitTest, FindChildByClassMatchesClassPrefixes) {
  const Hwnd parent = client_.AddWindow(0, "Probe", "");
  const std::string long_class(300, 'X');
  const std::vector<Hwnd> kids = {
      client_.AddWindow(parent, "_AOL_Static", ""), client_.AddWindow(parent, "RICHCNTL2", ""),
      client_.AddWindow(parent, "RICHCNTL", ""), client_.AddWindow(parent, "aol child", ""),
      client_.AddWindow(parent, long_class, "")};
  const struct {
    std::string name;
    int expected;  // index into kids, -1 for none
  } kCases[] = {
      {"RICHCNTL", 1}, {"RICHCNTL2", 1}, {"AOL Child", 3}, {"_aol_st", 0}, {"rich", 1}, {"", 0},
      {"RICHCNTL3", -1}, {std::string(249, 'X'), 4}, {std::string(250, 'X'), -1}};
  for (const auto& c : kCases) {
    EXPECT_EQ(kit_.FindChildByClass(parent, c.name), c.expected < 0 ? 0 : kids[c.expected])
        << c.name;
  }
  EXPECT_EQ(kit_.GetClass(kids[4]).size(), 249u);
}

// A title matches at the start of the window text, any case.
TEST_F(ClientKitTest, FindChildByTitleMatchesTheStartOfTheText) {
  const struct {
    std::vector<std::string> titles;
    int expected;
  } kCases[] = {{{"My Keyword", "keyword", "Keyword foo"}, 1}, {{"My Keyword", "Keyword foo"}, 1},
                 {{"My Keyword"}, -1}, {{"Keywor"}, -1}, {{}, -1}};
  for (const auto& c : kCases) {
    const Hwnd parent = client_.AddWindow(0, "Probe", "");
    std::vector<Hwnd> kids;
    for (const std::string& title : c.titles) kids.push_back(client_.AddWindow(parent, "X", title));
    EXPECT_EQ(kit_.FindChildByTitle(parent, "Keyword"), c.expected < 0 ? 0 : kids[c.expected]);
  }
}

// Handle 0 reads nothing and finds nothing. Without the room in front
// (another "AOL Child" before it, or the client gone) a line is lost, but
// its pause is still taken.
TEST_F(ClientKitTest, LinesAreLostWithoutTheRoomInFront) {
  EXPECT_EQ(kit_.FindChildByClass(0, ""), 0u);
  EXPECT_EQ(kit_.FindChildByTitle(0, ""), 0u);
  EXPECT_EQ(kit_.GetClass(0), "");
  EXPECT_EQ(kit_.GetText(0), "");
  kit_.ClickIcon(0);

  EXPECT_EQ(kit_.FindRoom(), client_.room());
  client_.OpenOtherChild("Member Directory");
  EXPECT_EQ(kit_.FindRoom(), 0u);
  kit_.ChatSend("lost");
  EXPECT_EQ(loop_.Now(), 510'000);
  client_.BringRoomToFront();
  kit_.ChatSend("found");
  EXPECT_EQ(loop_.Now(), 1'020'000);
  client_.SendMessage(Main(), WindowMessage::kClose, 0, {});
  EXPECT_EQ(kit_.FindRoom(), 0u);
  kit_.ChatSend("lost");
  EXPECT_EQ(loop_.Now(), 1'530'000);
  EXPECT_EQ(client_.RoomHistory(), Lines({{"host", "found"}}));
}

// Given a task due as the host types and a player whose line arrives during
// the host's pause and is echoed at once, every line is whole, in order,
// and the nested lines come before the host's next one.
TEST_F(ClientKitTest, NestedChatSendKeepsLinesWholeAndInOrder) {
  std::vector<Micros> times;
  client_.Subscribe([&](const std::string& who, const std::string& text) {
    times.push_back(loop_.Now());
    if (who == "ann") loop_.Post([this, text] { kit_.ChatSend("echo " + text); });
  });
  loop_.ScheduleAt(200'000, [this] { client_.Say("ann", "hi"); });
  loop_.Post([this] { kit_.ChatSend("due at once"); });  // must wait for Enter
  kit_.ChatSend("one");
  kit_.ChatSend("two");
  EXPECT_EQ(client_.RoomHistory(), Lines({{"host", "one"}, {"host", "due at once"}, {"ann", "hi"},
                                          {"host", "echo hi"}, {"host", "two"}}));
  EXPECT_EQ(times, (std::vector<Micros>{0, 0, 200'000, 200'000, 710'000}));
  EXPECT_EQ(loop_.Now(), 1'220'000);
}

// The switch opens the instant-message address through the Keyword window,
// presses Go twice, fills the message and sends it: 0.05 + 0.05 + 0.01 s.
TEST_F(ClientKitTest, InstantMessageSwitchSequence) {
  for (const bool off : {true, false}) {
    const std::string who = off ? "$IM_Off" : "$IM_On";
    const Micros start = loop_.Now();
    const auto at = [&](Micros t) { return std::to_string(start + t) + " "; };
    windows_.log.clear();
    off ? kit_.InstantMessagesOff() : kit_.InstantMessagesOn();
    // A click is a button-down and a button-up on one window.
    std::vector<std::string> expected;
    const auto click = [&](Micros t, const std::string& window) {
      expected.insert(expected.end(), {at(t) + "down " + window, at(t) + "up " + window});
    };
    click(50'000, "_AOL_Toolbar/_AOL_Icon#20");
    expected.push_back(at(50'000) + "settext Keyword/_AOL_Edit#1 aol://9293:");
    click(100'000, "Keyword/_AOL_Icon#2");
    click(100'000, "(none)");
    expected.push_back(at(100'000) + "settext Send Instant Message/_AOL_Edit#1 " + who);
    expected.push_back(at(100'000) + "settext Send Instant Message/RICHCNTL#2 zørvïk");
    click(110'000, "Send Instant Message/_AOL_Icon#12");
    EXPECT_EQ(windows_.log, expected);
    EXPECT_EQ(loop_.Now(), start + 110'000);
  }
  EXPECT_EQ(ims_, (std::vector<std::string>{"$IM_Off|zørvïk", "$IM_On|zørvïk"}));
  EXPECT_EQ(MdiTitles(), (std::vector<std::string>{"Lobby 1"}));
}

// Someone who has spoken is reachable under any spelling of case/spaces;
// an unknown name brings the client's message box, and both it and the
// instant-message window are closed.
TEST_F(ClientKitTest, InstantMessageReachability) {
  client_.Say("Some One", "hi");
  kit_.SendInstantMessage("someone", "yo");
  kit_.SendInstantMessage("nobody", "yo");
  EXPECT_EQ(ims_, (std::vector<std::string>{"someone|yo"}));
  EXPECT_EQ(client_.FindTopLevel("#32770", std::nullopt), 0u);
  EXPECT_EQ(MdiTitles(), (std::vector<std::string>{"Lobby 1"}));
  const std::vector<std::string> tail(windows_.log.end() - 2, windows_.log.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"220000 close top/#32770",
                                            "220000 close MDIClient/AOL Child#0"}));
}

// The subject goes to the 4th window after the recipient box (the second
// edit box by class is the copy-to line); the dialog's button is pressed
// and Write Mail closed, at once, even with an Error window open, which
// stays. Other endings: the Error window (both closed, no mail) and a Write
// Mail window that closes by itself (no 30 s wait).
TEST_F(ClientKitTest, SendMailFillsBoxesByPositionAndEndsEveryWay) {
  kit_.SendMail("ann", "Bug report", "line 1\r\nline 2");
  EXPECT_EQ(mails_, (std::vector<std::string>{"ann|Bug report|line 1\r\nline 2"}));
  EXPECT_EQ(client_.FindTopLevel("_AOL_Modal", std::nullopt), 0u);
  EXPECT_EQ(MdiTitles(), (std::vector<std::string>{"Lobby 1"}));

  kit_.SendMail("  ", "s", "t");
  EXPECT_EQ(mails_.size(), 1u);
  EXPECT_EQ(MdiTitles(), (std::vector<std::string>{"Lobby 1"}));

  client_.SetQuietMail(true);
  kit_.SendMail("ann", "s", "t");
  EXPECT_EQ(mails_.size(), 2u);
  EXPECT_EQ(MdiTitles(), (std::vector<std::string>{"Lobby 1"}));
  EXPECT_EQ(loop_.Now(), 0);

  client_.SetQuietMail(false);
  const Hwnd error = client_.OpenErrorWindow();
  kit_.SendMail("ann", "s", "t");
  EXPECT_EQ(mails_.size(), 3u);
  EXPECT_TRUE(client_.IsWindow(error));
  EXPECT_EQ(client_.FindTopLevel("_AOL_Modal", std::nullopt), 0u);
  EXPECT_EQ(MdiTitles(), (std::vector<std::string>{"Error", "Lobby 1"}));
}

// A window that never appears: the poll keeps handling events, sleeps
// between passes (about 3000 passes, not millions) and gives up after 30 s
// without touching anything else.
TEST_F(ClientKitTest, PollGivesUpAfterThirtySecondsWithoutSpinning) {
  client_.SetToolbarDead(true);
  loop_.ScheduleAt(1'000'000, [this] { client_.Say("ann", "during the poll"); });
  kit_.OpenKeyword("lost");
  EXPECT_EQ(client_.RoomHistory(), Lines({{"ann", "during the poll"}}));
  EXPECT_EQ(loop_.Now(), 30'050'000);
  EXPECT_GT(windows_.main_walks, 2900);
  EXPECT_LT(windows_.main_walks, 3100);
  EXPECT_EQ(windows_.log.size(), 2u);  // the one click on the dead button
  EXPECT_TRUE(client_.opened_addresses().empty());

  const Micros before_mail = loop_.Now();
  kit_.SendMail("ann", "s", "t");
  EXPECT_TRUE(mails_.empty());
  EXPECT_EQ(loop_.Now() - before_mail, 30'000'000);
}

// A Keyword window that shows up late (the operator opens it while the
// poll waits) is found on the pass right after; a quitting loop ends every
// poll at once.
TEST_F(ClientKitTest, PollSeesLateWindowsAndStopsOnQuit) {
  client_.SetToolbarDead(true);
  loop_.ScheduleAt(2'000'000, [this] {
    client_.SetToolbarDead(false);
    kit_.ClickIcon(ToolbarButton(20));
  });
  kit_.OpenKeyword("late");
  EXPECT_EQ(client_.opened_addresses(), (std::vector<std::string>{"late"}));
  EXPECT_EQ(loop_.Now(), 2'050'000);

  client_.SetToolbarDead(true);
  const Micros start = loop_.Now();
  loop_.ScheduleAt(start + 1'000'000, [this] { loop_.Quit(); });
  kit_.OpenKeyword("never");
  EXPECT_EQ(loop_.Now(), start + 1'000'000);
  kit_.SendMail("ann", "s", "t");
  kit_.InstantMessagesOn();
  EXPECT_EQ(loop_.Now(), start + 1'000'000);
  EXPECT_EQ(client_.opened_addresses().size(), 1u);
}

TEST(PlacementTest, CenterWindowAndStayOnTop) {
  const struct {
    ScreenSize screen;
    WindowRect window;
    int left, top;
  } kCases[] = {
      {{1024, 768}, {5, 5, 300, 200}, 362, 226},  // 326.4 - 100
      {{1023, 768}, {0, 0, 300, 301}, 362, 176},  // 361.5 rounds up; 175.9
      {{800, 600}, {0, 0, 100, 600}, 350, -45},   // taller than 85 %: negative top
      {{INT_MAX, INT_MAX}, {0, 0, INT_MIN, INT_MIN}, INT_MAX, 1986422374},  // left clamped
  };
  for (const auto& c : kCases) {
    HeadlessWindow window(c.window, c.screen);
    CenterWindow(window);
    EXPECT_EQ(window.Bounds().left, c.left);
    EXPECT_EQ(window.Bounds().top, c.top);
    EXPECT_EQ(window.Bounds().width, c.window.width);
    EXPECT_FALSE(window.topmost());
  }
  HeadlessWindow window({7, 9, 10, 10}, {100, 100});
  StayOnTop(window);
  EXPECT_TRUE(window.topmost());
  EXPECT_EQ(window.Bounds().left, 7);
  EXPECT_EQ(window.Bounds().top, 9);
}

}  // namespace
}  // namespace zorvik
