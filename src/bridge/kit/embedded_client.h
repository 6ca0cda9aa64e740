// EmbeddedClient: an in-process stand-in for the desktop chat client, so
// that ClientKit runs unchanged where the real client does not exist (tests,
// replay, the headless console). It answers the window-system calls of
// WindowApi from a window tree of its own, with the client's window classes,
// titles and layout, and it is the room: people speak into it with Say, the
// operator's lines arrive through the chat input box, and every line is
// reported to the RoomFeed observers.
//
// The tree, front to back within each parent:
//   "AOL Frame25" (the main window)
//     "AOL Toolbar" > "_AOL_Toolbar" > 24 "_AOL_Icon" buttons; the 2nd
//         opens Write Mail, the 21st the Keyword window, the rest do nothing
//     "MDIClient" > its children, the front-most first:
//       the room, "AOL Child" titled "Lobby 1": "_AOL_Listbox" people list,
//         "RICHCNTL" history view, "_AOL_Static" title, three "_AOL_Icon",
//         "_AOL_Static" head count, "RICHCNTL" input box (the sixth window
//         after the history view), "_AOL_Icon" Send
//       and whatever windows the buttons open (below), each opened in front.
//   Dialogs and message boxes are top-level windows, the newest first.
//
// What the windows do (all at once, inside SendMessage):
//   - kSetText replaces a window's text; kClose removes a window and all
//     its children; handles are never reused, so a closed window's handle
//     stays invalid. Buttons act on kLButtonUp.
//   - The input box on kChar 13 sends its whole text as a line spoken by the
//     operator and empties itself; an empty box sends nothing. Other
//     printable characters are appended to the box (as UTF-8).
//   - Keyword button: brings the Keyword window to the front, opening it
//     if needed ("AOL Child" "Keyword": "_AOL_Static", "_AOL_Edit" address,
//     "_AOL_Icon" Go, "_AOL_Icon" Search). Go closes it and opens the
//     address: an address beginning "aol://9293:" (any case) opens the Send
//     Instant Message window, with whatever follows as the recipient; any
//     other address opens nothing. Every opened address is recorded.
//   - Send Instant Message: "_AOL_Static", "_AOL_Edit" recipient,
//     "RICHCNTL" message, then "_AOL_Icon" buttons, Send the 9th after the
//     first. Send to a reachable recipient delivers the message (instant-
//     message observer) and closes the window; otherwise the client's message
//     box appears (top-level "#32770" titled "America Online", with a static
//     text saying the person is not signed on, and an OK "Button") and the
//     window stays. Reachable: "$IM_Off", "$IM_On", the operator, everyone
//     who has spoken in the room (they are in the people list); names
//     compare ignoring ASCII case and spaces.
//   - Write Mail button: opens a new "Write Mail" window: "_AOL_Static",
//     "_AOL_Edit" recipient, "_AOL_Static", "_AOL_Edit" copy-to,
//     "_AOL_Static", "_AOL_Edit" subject (the 4th window after the
//     recipient), "RICHCNTL" text, then buttons, Send the 18th window after
//     the first "_AOL_Icon". Send with a recipient delivers the mail (mail
//     observer) and shows the modal dialog: top-level "_AOL_Modal" titled
//     "America Online" with "_AOL_Static" "Your mail has been sent." and an
//     "_AOL_Icon" OK that closes it. Write Mail stays open (unless quiet mail
//     is set: see SetQuietMail). A recipient that is empty or only spaces
//     opens an "Error" window instead and nothing is delivered.
//
// The room exists while its window is open; a line said while it is closed
// is not seen by anyone (not in the history, not reported).
//
// Re-entry: nothing here dispatches the program's events. Observers are
// called synchronously inside Say / SendMessage and must not call back into
// this client except to read it (RoomHistory, FindTopLevel, ...); a
// room-line observer may also Subscribe and Unsubscribe (itself or others)
// while being called: a new subscriber hears only the following lines.
// Texts are UTF-8 in and out, kept whole: any bytes, any length.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bridge/room_feed.h"
#include "bridge/kit/window_api.h"

namespace zorvik {

struct RoomLine {
  std::string screen_name;
  std::string text;
  friend bool operator==(const RoomLine&, const RoomLine&) = default;
};

class EmbeddedClient final : public WindowApi, public RoomFeed {
 public:
  using InstantMessageObserver =
      std::function<void(const std::string& recipient, const std::string& message)>;
  using MailObserver = std::function<void(const std::string& recipient, const std::string& subject,
                                          const std::string& text)>;

  // Builds the main window, its toolbar and the open room "Lobby 1" with
  // the operator in its people list.
  explicit EmbeddedClient(std::string operator_screen_name = "host");

  // WindowApi.
  Hwnd FindTopLevel(std::string_view window_class, std::optional<std::string_view> title) override;
  Hwnd FirstChild(Hwnd window) override;
  Hwnd NextSibling(Hwnd window) override;
  std::string_view ReadClassName(Hwnd window, ClassNameBuffer& buffer) override;
  std::string WindowText(Hwnd window) override;
  void SendMessage(Hwnd window, WindowMessage message, std::uint64_t wparam,
                   std::string_view text) override;
  void SetFocus(Hwnd window) override;

  // RoomFeed.
  SubscriptionId Subscribe(LineObserver observer) override;
  void Unsubscribe(SubscriptionId id) override;

  // A person in the room types a line: it appears at once (history, then
  // every observer in subscription order) and the speaker joins the
  // people list.
  void Say(const std::string& screen_name, const std::string& text);

  // The room's latest lines, in order: like the client's history view, the
  // room keeps the last kHistoryLines and lets older ones go, so that a host
  // that runs for days (or a replay of thousands of matches) stays small.
  static constexpr std::size_t kHistoryLines = 1000;
  // A copy, oldest first.
  std::vector<RoomLine> RoomHistory() const;
  const std::string& operator_screen_name() const { return operator_screen_name_; }

  void SetInstantMessageObserver(InstantMessageObserver observer);
  void SetMailObserver(MailObserver observer);

  // --- Scenario controls, for tests and scripted runs. ---

  // Whether `window` is an open window (false for 0 and closed ones).
  bool IsWindow(Hwnd window) const;
  // The window's parent; 0 for top-level windows and for 0 or closed ones.
  Hwnd Parent(Hwnd window) const;
  // The room's window, 0 once it has been closed.
  Hwnd room() const { return room_; }
  // Every address the client has been asked to open through Go, in order.
  const std::vector<std::string>& opened_addresses() const { return opened_addresses_; }

  // Opens an "AOL Child" titled `title` in front of the others, with a
  // static text and a "RICHCNTL" but no people list, so it hides the room.
  Hwnd OpenOtherChild(std::string title);
  // Appends a plain window of `window_class` with `text` as the last child
  // of `parent` (or as the last top-level window when `parent` is 0).
  // Returns 0 if `parent` is not an open window.
  Hwnd AddWindow(Hwnd parent, std::string window_class, std::string text);
  void BringRoomToFront();
  void CloseRoom();
  // The client's mail dialogs, shown as if the client had raised them.
  Hwnd OpenModalDialog();
  Hwnd OpenErrorWindow();
  // While dead, the toolbar's buttons do nothing (a client with another
  // toolbar layout): polls for the windows they open never succeed.
  void SetToolbarDead(bool dead) { toolbar_dead_ = dead; }
  // While quiet, a sent mail closes its Write Mail window and shows no
  // dialog.
  void SetQuietMail(bool quiet) { quiet_mail_ = quiet; }

 private:
  // What a window does when clicked or typed into.
  enum class Role {
    kPlain,
    kRoomInput,
    kWriteMailButton,
    kKeywordButton,
    kKeywordAddress,
    kKeywordGo,
    kImRecipient,
    kImText,
    kImSend,
    kMailRecipient,
    kMailSubject,
    kMailText,
    kMailSend,
    kCloseButton,  // closes the window it sits in
  };

  // A window of the table. A handle names the window's slot and the slot's
  // generation; closing a window frees its slot for a later one under the
  // next generation, so the closed window's handle finds nothing. The tree
  // is linked as a window system links it: each window knows its parent,
  // its front-most child and the next window behind it under the same
  // parent.
  struct Window {
    std::uint32_t generation = 0;
    bool open = false;
    Role role = Role::kPlain;
    Hwnd parent = 0;  // 0 for a top-level window
    Hwnd first_child = 0;
    Hwnd next_sibling = 0;
    std::string window_class;
    std::string text;
  };

  Hwnd Create(Hwnd parent, std::string_view window_class, std::string_view text,
              Role role = Role::kPlain, bool in_front = false);
  void Destroy(Hwnd window);
  // A handle is its slot's generation in the high 32 bits and the slot plus
  // kSlotBase in the low ones: handles start above 32 bits (0x1'0000'0100),
  // so anything narrowing them shows up, and a slot reused by a new window
  // gets a handle no earlier window had.
  static constexpr Hwnd kSlotBase = 0x100;
  static Hwnd HandleOf(std::size_t slot, std::uint32_t generation) {
    return (Hwnd{generation} << 32) | (kSlotBase + slot);
  }
  // The slot a handle names, in range or not: one below kSlotBase, 0
  // included, wraps to a slot past the end.
  static std::size_t SlotOf(Hwnd window) { return (window & 0xFFFF'FFFF) - kSlotBase; }
  // The open window `window` names, or nullptr (for 0, the handle of a
  // closed window, and anything else).
  const Window* Find(Hwnd window) const {
    const std::size_t slot = SlotOf(window);
    if (slot >= windows_.size()) return nullptr;
    const Window& found = windows_[slot];
    return (found.open && HandleOf(slot, found.generation) == window) ? &found : nullptr;
  }
  Window* Find(Hwnd window) { return const_cast<Window*>(std::as_const(*this).Find(window)); }
  // The window of a handle known to be open.
  Window& At(Hwnd window) { return *Find(window); }
  const Window& At(Hwnd window) const { return *Find(window); }
  // The link to the front-most window under `parent` (0: the top level).
  Hwnd& FirstUnder(Hwnd parent);
  // Link puts an open window that is in no list in front of its siblings
  // (or behind them all); Unlink takes it out of its list.
  void Link(Hwnd window, bool in_front);
  void Unlink(Hwnd window);
  void ToFront(Hwnd window);
  Hwnd ChildWithRole(Hwnd parent, Role role) const;

  void Click(Hwnd window, Role role);
  void EnterLine(Hwnd input);
  void AppendLine(const std::string& screen_name, const std::string& text);
  void SweepObservers();
  void OpenKeywordWindow();
  void GoKeyword(Hwnd go);
  void OpenInstantMessageWindow(std::string recipient);
  void SendInstantMessage(Hwnd send);
  void OpenWriteMail();
  void SendWriteMail(Hwnd send);
  Hwnd OpenMessageBox(const std::string& text);
  bool Reachable(const std::string& screen_name) const;
  static std::string NameKey(std::string_view screen_name);

  std::string operator_screen_name_;
  std::vector<Window> windows_;            // indexed by slot
  std::vector<std::uint32_t> free_slots_;  // of closed windows, reused last-in first
  Hwnd first_top_level_ = 0;
  Hwnd mdi_ = 0;
  Hwnd room_ = 0;
  std::deque<RoomLine> history_;  // oldest first, at most kHistoryLines
  struct Subscriber {
    SubscriptionId id;
    LineObserver observer;
    bool gone = false;  // unsubscribed while a line was being announced
  };
  // Each in its own allocation, so that one subscribing while a line is
  // announced moves no observer that is running; those who leave meanwhile
  // are only marked, and swept once the line has been announced.
  std::vector<std::unique_ptr<Subscriber>> observers_;
  int announcing_ = 0;
  bool observers_gone_ = false;  // some are marked and wait for the sweep
  SubscriptionId next_subscription_ = 1;
  InstantMessageObserver on_instant_message_;
  MailObserver on_mail_;
  std::set<std::string> reachable_;  // NameKey of each
  std::vector<std::string> opened_addresses_;
  bool toolbar_dead_ = false;
  bool quiet_mail_ = false;
};

}  // namespace zorvik
