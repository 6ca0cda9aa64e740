#include "bridge/kit/client_kit.h"

#include <algorithm>

#include "text/ascii_case.h"
#include "bridge/kit/like_pattern.h"

namespace zorvik {
namespace {

constexpr char kMainClass[] = "AOL Frame25";
constexpr char kImAddress[] = "aol://9293:";

// 0.51 s, kept in loop units: every chat line takes this pause.
constexpr Micros kLinePause = 510'000;
constexpr double kKeywordPause = 0.05;
constexpr double kImSendPause = 0.01;

// Steps from a landmark window to the one the client's layout puts there.
constexpr int kInputAfterHistory = 6;
constexpr int kKeywordAfterFirstButton = 20;
constexpr int kSubjectAfterRecipient = 4;
constexpr int kMailSendAfterFirstIcon = 18;
constexpr int kImSendAfterFirstIcon = 9;

constexpr Micros kPollGap = 10'000;
constexpr Micros kPollLimit = 30 * kMicrosPerSecond;

}  // namespace

ClientKit::ClientKit(WindowApi& windows, EventLoop& loop) : windows_(windows), loop_(loop) {}

Hwnd ClientKit::FindChildByClass(Hwnd parent, std::string_view name) {
  ClassNameBuffer buffer;
  for (Hwnd child = windows_.FirstChild(parent); child != 0; child = windows_.NextSibling(child)) {
    if (StartsWithIgnoringAsciiCase(windows_.ReadClassName(child, buffer), name)) return child;
  }
  return 0;
}

Hwnd ClientKit::FindChildByTitle(Hwnd parent, std::string_view title) {
  const std::string pattern = std::string(title) + "*";
  for (Hwnd child = windows_.FirstChild(parent); child != 0; child = windows_.NextSibling(child)) {
    if (MatchesLikePattern(GetText(child), pattern)) return child;
  }
  return 0;
}

std::string ClientKit::GetClass(Hwnd window) {
  return windows_.ClassName(window);
}

std::string ClientKit::GetText(Hwnd window) {
  return windows_.WindowText(window);
}

Hwnd ClientKit::FindMainWindow() {
  return windows_.FindTopLevel(kMainClass, std::nullopt);
}

Hwnd ClientKit::FindRoom() {
  const Hwnd mdi = FindChildByClass(FindMainWindow(), "MDIClient");
  const Hwnd child = FindChildByClass(mdi, "AOL Child");
  const Hwnd list = FindChildByClass(child, "_AOL_Listbox");
  const Hwnd rich = FindChildByClass(child, "RICHCNTL");
  return (list != 0 && rich != 0) ? child : 0;
}

void ClientKit::ChatSend(std::string_view line) {
  const Hwnd history = FindChildByClass(FindRoom(), "RICHCNTL");
  const Hwnd input = StepForward(history, kInputAfterHistory);
  windows_.SetFocus(input);
  SetText(input, line);
  // Enter follows at once: dispatching here would let a nested ChatSend
  // replace the pending text and cost the outer line.
  windows_.SendMessage(input, WindowMessage::kChar, 13, {});
  loop_.Wait(kLinePause);
}

void ClientKit::Pause(double seconds) {
  const Micros length = SecondsToMicros(seconds);
  if (length > 0) loop_.Wait(length);
}

void ClientKit::ClickIcon(Hwnd window) {
  windows_.SendMessage(window, WindowMessage::kLButtonDown, 0, {});
  windows_.SendMessage(window, WindowMessage::kLButtonUp, 0, {});
}

void ClientKit::OpenKeyword(const std::string& keyword) {
  TryOpenKeyword(keyword);
}

bool ClientKit::TryOpenKeyword(const std::string& keyword) {
  const Hwnd main = FindMainWindow();
  const Hwnd keyword_button = StepForward(Toolbar(main), kKeywordAfterFirstButton);
  Pause(kKeywordPause);
  if (loop_.Quitting()) return false;
  ClickIcon(keyword_button);

  Hwnd box = 0;
  Hwnd go = 0;
  const bool found = PollUntil([&] {
    const Hwnd kw = FindChildByTitle(FindChildByClass(main, "MDIClient"), "Keyword");
    box = FindChildByClass(kw, "_AOL_Edit");
    go = FindChildByClass(kw, "_AOL_Icon");
    return kw != 0 && box != 0 && go != 0;
  });
  if (!found) return false;

  SetText(box, keyword);
  Pause(kKeywordPause);
  if (loop_.Quitting()) return false;
  // The client may not take the first press; a second press on a window
  // that has already gone reaches nothing.
  ClickIcon(go);
  ClickIcon(go);
  return true;
}

void ClientKit::SendMail(const std::string& recipient, const std::string& subject,
                         const std::string& text) {
  const Hwnd main = FindMainWindow();
  ClickIcon(windows_.NextSibling(Toolbar(main)));

  Hwnd mdi = 0;
  Hwnd mail = 0;
  Hwnd to = 0;
  Hwnd body = 0;
  Hwnd icon = 0;
  const bool opened = PollUntil([&] {
    mdi = FindChildByClass(main, "MDIClient");
    mail = FindChildByTitle(mdi, "Write Mail");
    to = FindChildByClass(mail, "_AOL_Edit");
    body = FindChildByClass(mail, "RICHCNTL");
    icon = FindChildByClass(mail, "_AOL_Icon");
    return mail != 0 && to != 0 && body != 0 && icon != 0;
  });
  if (!opened) return;

  SetText(to, recipient);
  // The subject box is placed by position: the second edit box in class
  // order is the copy-to line, not the subject.
  SetText(StepForward(to, kSubjectAfterRecipient), subject);
  SetText(body, text);
  ClickIcon(StepForward(icon, kMailSendAfterFirstIcon));

  PollUntil([&] {
    const Hwnd error = FindChildByTitle(mdi, "Error");
    const Hwnd modal = windows_.FindTopLevel("_AOL_Modal", std::nullopt);
    if (modal != 0) {
      ClickIcon(FindChildByClass(modal, "_AOL_Icon"));
      Close(mail);
      return true;
    }
    if (error != 0) {
      Close(error);
      Close(mail);
      return true;
    }
    // A client that closes Write Mail without a word has nothing more to
    // say about this mail; waiting on would only burn the poll's bound.
    return !HasChild(mdi, mail);
  });
}

void ClientKit::SendInstantMessage(const std::string& recipient, const std::string& message) {
  const Hwnd mdi = FindChildByClass(FindMainWindow(), "MDIClient");
  if (!TryOpenKeyword(kImAddress)) return;

  Hwnd im = 0;
  Hwnd to = 0;
  Hwnd text = 0;
  Hwnd icon = 0;
  const bool opened = PollUntil([&] {
    im = FindChildByTitle(mdi, "Send Instant Message");
    to = FindChildByClass(im, "_AOL_Edit");
    text = FindChildByClass(im, "RICHCNTL");
    icon = FindChildByClass(im, "_AOL_Icon");
    return to != 0 && text != 0 && icon != 0;
  });
  if (!opened) return;

  SetText(to, recipient);
  SetText(text, message);
  const Hwnd send = StepForward(icon, kImSendAfterFirstIcon);
  Pause(kImSendPause);
  if (loop_.Quitting()) return;
  ClickIcon(send);

  PollUntil([&] {
    const Hwnd current_mdi = FindChildByClass(FindMainWindow(), "MDIClient");
    const Hwnd current_im = FindChildByTitle(current_mdi, "Send Instant Message");
    const Hwnd box = windows_.FindTopLevel("#32770", "America Online");
    if (box != 0) {
      Close(box);
      Close(current_im);
      return true;
    }
    return current_im == 0;
  });
}

void ClientKit::InstantMessagesOff() {
  SendInstantMessage(kImOffName, kSwitchMessage);
}

void ClientKit::InstantMessagesOn() {
  SendInstantMessage(kImOnName, kSwitchMessage);
}

Hwnd ClientKit::Toolbar(Hwnd main) {
  const Hwnd bar = FindChildByClass(main, "AOL Toolbar");
  const Hwnd strip = FindChildByClass(bar, "_AOL_Toolbar");
  return FindChildByClass(strip, "_AOL_Icon");
}

Hwnd ClientKit::StepForward(Hwnd window, int steps) {
  for (int i = 0; i < steps && window != 0; ++i) window = windows_.NextSibling(window);
  return window;
}

bool ClientKit::HasChild(Hwnd parent, Hwnd child) {
  for (Hwnd w = windows_.FirstChild(parent); w != 0; w = windows_.NextSibling(w)) {
    if (w == child) return true;
  }
  return false;
}

void ClientKit::SetText(Hwnd window, std::string_view text) {
  windows_.SendMessage(window, WindowMessage::kSetText, 0, text);
}

void ClientKit::Close(Hwnd window) {
  windows_.SendMessage(window, WindowMessage::kClose, 0, {});
}

bool ClientKit::PollUntil(const std::function<bool()>& found) {
  const Micros deadline = loop_.Now() + kPollLimit;
  for (;;) {
    if (loop_.Quitting()) return false;
    loop_.DispatchPending();
    if (loop_.Quitting()) return false;
    if (found()) return true;
    const Micros now = loop_.Now();
    if (now >= deadline) return false;
    loop_.Wait(std::min(kPollGap, deadline - now));
  }
}

void StayOnTop(OwnWindow& window) {
  window.SetTopmost();
}

void CenterWindow(OwnWindow& window) {
  const WindowRect bounds = window.Bounds();
  const ScreenSize screen = window.Screen();
  const int top = RoundToInt(screen.height * 0.85 / 2.0 - bounds.height / 2.0);
  const int left = RoundToInt(screen.width / 2.0 - bounds.width / 2.0);
  window.MoveTo(left, top);
}

}  // namespace zorvik
