// ClientKit: the host's hands on a desktop chat client. It finds the
// client's windows by class and title, types into its boxes with window
// messages and presses its buttons with synthetic clicks; it never talks to
// the client in any other way. It keeps no state: every operation walks the
// window tree afresh, so a window closed or reopened between two calls is
// simply found again (or not).
//
// The same code drives the in-process EmbeddedClient and, on Windows, the
// real client through user32; positions such as "the sixth window after the
// history view" are facts about the client's layout that both share.
//
// Re-entry: ChatSend, Pause, OpenKeyword, SendMail, SendInstantMessage and
// the two switches dispatch events (they wait on the loop), so a handler may
// run nested inside them and may itself call any of them. The lookups,
// GetClass, GetText and ClickIcon never dispatch.
//
// Polls: an operation that waits for a client window to appear looks for it
// once per pass, dispatching pending events first; a pass that finds nothing
// waits 10 ms (dispatching) before the next, so a poll never spins. A poll
// gives up after 30 s of the loop's clock, and the operation then ends
// without further effect. Every poll and wait ends at once when the loop is
// quitting, and the operation then ends too.
//
// Texts are UTF-8. Case-insensitive comparisons upper-case ASCII letters
// only; other bytes compare exactly.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "bridge/chat_client.h"
#include "bridge/loop/event_loop.h"
#include "bridge/own_window.h"
#include "bridge/kit/window_api.h"

namespace zorvik {

// The instant messages that switch the operator's incoming ones off and on:
// the service reads the recipient, the text is the host's signature.
inline constexpr char kImOffName[] = "$IM_Off";
inline constexpr char kImOnName[] = "$IM_On";
inline constexpr char kSwitchMessage[] = "zørvïk";

class ClientKit : public ChatClient {
 public:
  // `windows` and `loop` must outlive the kit.
  ClientKit(WindowApi& windows, EventLoop& loop);

  // The first child of `parent`, in child order (front to back), whose
  // class begins with `name`, letters case-blind. So "RICHCNTL" also finds
  // a class "RICHCNTL2", and the first such child wins even if a later one
  // is the one wanted. 0 if none. (The client compares a class with the
  // name as a pattern; the kit's class names hold none of the pattern
  // characters, and for such a name the pattern test is this one.)
  Hwnd FindChildByClass(Hwnd parent, std::string_view name);

  // The first child of `parent` whose whole text matches `title` followed
  // by '*' (letters case-blind): "Keyword" finds "keyword" and "Keyword
  // foo", not "My Keyword". 0 if none.
  Hwnd FindChildByTitle(Hwnd parent, std::string_view title);

  // The window's class name, cut to its first 249 bytes; empty for 0 or a
  // window that has gone (and an empty class matches only empty names).
  std::string GetClass(Hwnd window);

  // The window's text; empty for 0 or a window that has gone.
  std::string GetText(Hwnd window);

  // The chat room: the front-most "AOL Child" of the client's MDI area,
  // accepted only if it has an "_AOL_Listbox" (people list) and a
  // "RICHCNTL" child. Only the front-most one is examined, so any other
  // "AOL Child" in front of the room hides it: 0.
  Hwnd FindRoom();

  // Types `line` into the room's input box (the sixth window after the
  // history view), presses Enter, then pauses 0.51 s. Nothing is dispatched
  // between setting the text and Enter, so a nested ChatSend (run during the
  // pause) cannot overwrite a pending line: lines stay whole and in order.
  // Without a room the line is lost and the pause is taken all the same.
  void ChatSend(std::string_view line) override;

  // Waits `seconds` on the loop's clock, dispatching throughout. Pause(0),
  // negative and NaN lengths return at once without dispatching.
  void Pause(double seconds) override;

  // Mouse button down, then up, on `window`; the client's buttons act on
  // the release. Does not dispatch.
  void ClickIcon(Hwnd window);

  // Opens `keyword` (a keyword or an address) through the toolbar's Keyword
  // window: pause 0.05 s, click the Keyword button (the 21st toolbar
  // button), poll for the Keyword window, fill its address box, pause
  // 0.05 s, press Go twice.
  void OpenKeyword(const std::string& keyword);

  // Sends one mail through the Write Mail window (toolbar's 2nd button; no
  // pause anywhere). Ends when the client shows its modal dialog (its first
  // button is pressed and Write Mail closed) or an "Error" window (closed
  // with Write Mail), or when Write Mail has closed by itself.
  void SendMail(const std::string& recipient, const std::string& subject,
                const std::string& text) override;

  // Opens "aol://9293:" through OpenKeyword, fills recipient and message,
  // pauses 0.01 s and presses Send. Ends as soon as the Send Instant Message
  // window has gone; if the client shows its "America Online" message box
  // instead, closes that box and the instant-message window.
  void SendInstantMessage(const std::string& recipient, const std::string& message);

  // Instant messages "zørvïk" to "$IM_Off" / "$IM_On". Each takes 0.11 s
  // against a client that answers at once.
  void InstantMessagesOff() override;
  void InstantMessagesOn() override;

 private:
  Hwnd FindMainWindow();
  Hwnd Toolbar(Hwnd main);  // the first button of the toolbar strip
  Hwnd StepForward(Hwnd window, int steps);
  bool HasChild(Hwnd parent, Hwnd child);
  void SetText(Hwnd window, std::string_view text);
  void Close(Hwnd window);
  // False if the keyword was not opened (poll given up, loop quitting).
  bool TryOpenKeyword(const std::string& keyword);
  // Runs `found` once per pass until it returns true; false if the poll
  // gave up or the loop is quitting.
  bool PollUntil(const std::function<bool()>& found);

  WindowApi& windows_;
  EventLoop& loop_;
};

// Makes `window` topmost; its position and size stay.
void StayOnTop(OwnWindow& window);

// Centres `window` horizontally and puts its vertical centre at 42.5 % of
// the screen height: top = (screen height × 0.85) / 2 − height / 2, then
// left = screen width / 2 − width / 2, each computed exactly and rounded to
// the nearest whole unit (halves away from zero), clamped to int. A window
// taller than 85 % of the screen gets a negative top.
void CenterWindow(OwnWindow& window);

}  // namespace zorvik
