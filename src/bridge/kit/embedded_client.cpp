#include "bridge/kit/embedded_client.h"

#include <algorithm>
#include <utility>

#include "text/ascii_case.h"

namespace zorvik {
namespace {

constexpr int kToolbarButtons = 24;
constexpr int kWriteMailButtonIndex = 1;
constexpr int kKeywordButtonIndex = 21 - 1;
constexpr int kImButtons = 11;
constexpr int kImSendIndex = 9;  // counted from the first button
constexpr int kMailButtons = 21;
constexpr int kMailSendIndex = 18;

constexpr char kImAddress[] = "aol://9293:";
constexpr char kClientTitle[] = "America Online";

void AppendUtf8(std::string& out, std::uint64_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

EmbeddedClient::EmbeddedClient(std::string operator_screen_name)
    : operator_screen_name_(std::move(operator_screen_name)) {
  for (const char* name : {"$IM_Off", "$IM_On"}) reachable_.insert(NameKey(name));
  reachable_.insert(NameKey(operator_screen_name_));

  const Hwnd main = Create(0, "AOL Frame25", "America  Online");
  const Hwnd strip = Create(Create(main, "AOL Toolbar", ""), "_AOL_Toolbar", "");
  for (int i = 0; i < kToolbarButtons; ++i) {
    Role role = Role::kPlain;
    if (i == kWriteMailButtonIndex) role = Role::kWriteMailButton;
    if (i == kKeywordButtonIndex) role = Role::kKeywordButton;
    const char* label = role == Role::kWriteMailButton ? "Write"
                        : role == Role::kKeywordButton ? "Keyword"
                                                       : "";
    Create(strip, "_AOL_Icon", label, role);
  }
  mdi_ = Create(main, "MDIClient", "");

  room_ = Create(mdi_, "AOL Child", "Lobby 1");
  Create(room_, "_AOL_Listbox", "");
  Create(room_, "RICHCNTL", "");
  Create(room_, "_AOL_Static", "Lobby 1");
  Create(room_, "_AOL_Icon", "Notify");
  Create(room_, "_AOL_Icon", "Profile");
  Create(room_, "_AOL_Icon", "Rooms");
  Create(room_, "_AOL_Static", "People here");
  Create(room_, "RICHCNTL", "", Role::kRoomInput);
  Create(room_, "_AOL_Icon", "Send");
}

// --- WindowApi ---

Hwnd EmbeddedClient::FindTopLevel(std::string_view window_class,
                                  std::optional<std::string_view> title) {
  for (Hwnd handle = first_top_level_; handle != 0; handle = At(handle).next_sibling) {
    const Window& window = At(handle);
    if (EqualIgnoringAsciiCase(window.window_class, window_class) &&
        (!title || window.text == *title)) {
      return handle;
    }
  }
  return 0;
}

Hwnd EmbeddedClient::FirstChild(Hwnd window) {
  const Window* found = Find(window);
  return found ? found->first_child : 0;
}

Hwnd EmbeddedClient::NextSibling(Hwnd window) {
  const Window* found = Find(window);
  return found ? found->next_sibling : 0;
}

std::string_view EmbeddedClient::ReadClassName(Hwnd window, ClassNameBuffer& /*buffer*/) {
  const Window* found = Find(window);
  if (!found) return {};
  return std::string_view(found->window_class).substr(0, kClassNameBuffer - 1);
}

std::string EmbeddedClient::WindowText(Hwnd window) {
  const Window* node = Find(window);
  return node ? node->text : std::string();
}

void EmbeddedClient::SendMessage(Hwnd window, WindowMessage message, std::uint64_t wparam,
                                 std::string_view text) {
  Window* node = Find(window);
  if (!node) return;
  switch (message) {
    case WindowMessage::kSetText:
      node->text.assign(text);
      return;
    case WindowMessage::kClose:
      Destroy(window);
      return;
    case WindowMessage::kChar:
      if (node->role != Role::kRoomInput) return;
      if (wparam == 13) {
        EnterLine(window);
      } else if (wparam >= 0x20 && wparam <= 0x10FFFF && wparam != 0x7F &&
                 !(wparam >= 0xD800 && wparam <= 0xDFFF)) {
        AppendUtf8(node->text, wparam);
      }
      return;
    case WindowMessage::kLButtonDown:
      return;
    case WindowMessage::kLButtonUp:
      Click(window, node->role);
      return;
  }
}

void EmbeddedClient::SetFocus(Hwnd window) {
  (void)window;
}

// --- RoomFeed ---

RoomFeed::SubscriptionId EmbeddedClient::Subscribe(LineObserver observer) {
  const SubscriptionId id = next_subscription_++;
  observers_.push_back(std::make_unique<Subscriber>(Subscriber{id, std::move(observer)}));
  return id;
}

void EmbeddedClient::Unsubscribe(SubscriptionId id) {
  for (const std::unique_ptr<Subscriber>& subscriber : observers_) {
    if (subscriber->id == id) subscriber->gone = observers_gone_ = true;
  }
  if (announcing_ == 0) SweepObservers();
}

void EmbeddedClient::SweepObservers() {
  std::erase_if(observers_, [](const std::unique_ptr<Subscriber>& s) { return s->gone; });
  observers_gone_ = false;
}

std::vector<RoomLine> EmbeddedClient::RoomHistory() const {
  return std::vector<RoomLine>(history_.begin(), history_.end());
}

// --- The room ---

void EmbeddedClient::Say(const std::string& screen_name, const std::string& text) {
  if (room_ == 0) return;
  reachable_.insert(NameKey(screen_name));
  AppendLine(screen_name, text);
}

void EmbeddedClient::EnterLine(Hwnd input) {
  std::string& box = At(input).text;
  if (box.empty()) return;
  const std::string line = std::move(box);
  box.clear();
  AppendLine(operator_screen_name_, line);
}

void EmbeddedClient::AppendLine(const std::string& screen_name, const std::string& text) {
  // Copied in before the oldest line goes, in case they are its strings.
  history_.push_back(RoomLine{screen_name, text});
  if (history_.size() > kHistoryLines) history_.pop_front();
  // Observers only read the client, so the line stays where it is.
  const RoomLine& line = history_.back();
  // Those who subscribe while the line is announced hear the next one.
  const SubscriptionId newest = next_subscription_ - 1;
  ++announcing_;
  for (std::size_t i = 0; i < observers_.size() && observers_[i]->id <= newest; ++i) {
    const Subscriber& subscriber = *observers_[i];
    if (!subscriber.gone && subscriber.observer) subscriber.observer(line.screen_name, line.text);
  }
  if (--announcing_ == 0 && observers_gone_) SweepObservers();
}

void EmbeddedClient::SetInstantMessageObserver(InstantMessageObserver observer) {
  on_instant_message_ = std::move(observer);
}

void EmbeddedClient::SetMailObserver(MailObserver observer) {
  on_mail_ = std::move(observer);
}

// --- Buttons ---

void EmbeddedClient::Click(Hwnd window, Role role) {
  switch (role) {
    case Role::kWriteMailButton:
      if (!toolbar_dead_) OpenWriteMail();
      return;
    case Role::kKeywordButton:
      if (!toolbar_dead_) OpenKeywordWindow();
      return;
    case Role::kKeywordGo:
      GoKeyword(window);
      return;
    case Role::kImSend:
      SendInstantMessage(window);
      return;
    case Role::kMailSend:
      SendWriteMail(window);
      return;
    case Role::kCloseButton:
      Destroy(At(window).parent);
      return;
    default:
      return;
  }
}

void EmbeddedClient::OpenKeywordWindow() {
  if (!IsWindow(mdi_)) return;
  for (Hwnd child = At(mdi_).first_child; child != 0; child = At(child).next_sibling) {
    if (ChildWithRole(child, Role::kKeywordGo) != 0) {
      ToFront(child);
      return;
    }
  }
  const Hwnd kw = Create(mdi_, "AOL Child", "Keyword", Role::kPlain, true);
  Create(kw, "_AOL_Static", "Type a keyword or address");
  Create(kw, "_AOL_Edit", "", Role::kKeywordAddress);
  Create(kw, "_AOL_Icon", "Go", Role::kKeywordGo);
  Create(kw, "_AOL_Icon", "Search");
}

void EmbeddedClient::GoKeyword(Hwnd go) {
  const Hwnd kw = At(go).parent;
  const std::string address = WindowText(ChildWithRole(kw, Role::kKeywordAddress));
  Destroy(kw);
  opened_addresses_.push_back(address);
  if (StartsWithIgnoringAsciiCase(address, kImAddress)) {
    OpenInstantMessageWindow(address.substr(sizeof(kImAddress) - 1));
  }
}

void EmbeddedClient::OpenInstantMessageWindow(std::string recipient) {
  const Hwnd im = Create(mdi_, "AOL Child", "Send Instant Message", Role::kPlain, true);
  Create(im, "_AOL_Static", "To:");
  Create(im, "_AOL_Edit", recipient, Role::kImRecipient);
  Create(im, "RICHCNTL", "", Role::kImText);
  for (int i = 0; i < kImButtons; ++i) {
    Create(im, "_AOL_Icon", i == kImSendIndex ? "Send" : "",
           i == kImSendIndex ? Role::kImSend : Role::kPlain);
  }
}

void EmbeddedClient::SendInstantMessage(Hwnd send) {
  const Hwnd im = At(send).parent;
  const std::string recipient = WindowText(ChildWithRole(im, Role::kImRecipient));
  const std::string message = WindowText(ChildWithRole(im, Role::kImText));
  if (!Reachable(recipient)) {
    OpenMessageBox(recipient + " is not currently signed on.");
    return;
  }
  Destroy(im);
  if (on_instant_message_) on_instant_message_(recipient, message);
}

void EmbeddedClient::OpenWriteMail() {
  const Hwnd mail = Create(mdi_, "AOL Child", "Write Mail", Role::kPlain, true);
  Create(mail, "_AOL_Static", "Send To:");
  Create(mail, "_AOL_Edit", "", Role::kMailRecipient);
  Create(mail, "_AOL_Static", "Copy To:");
  Create(mail, "_AOL_Edit", "");
  Create(mail, "_AOL_Static", "Subject:");
  Create(mail, "_AOL_Edit", "", Role::kMailSubject);
  Create(mail, "RICHCNTL", "", Role::kMailText);
  for (int i = 0; i < kMailButtons; ++i) {
    // A font box among the buttons, as on the client's formatting bar.
    const char* window_class = i == 3 ? "_AOL_Combobox" : "_AOL_Icon";
    Create(mail, window_class, i == kMailSendIndex ? "Send" : "",
           i == kMailSendIndex ? Role::kMailSend : Role::kPlain);
  }
}

void EmbeddedClient::SendWriteMail(Hwnd send) {
  const Hwnd mail = At(send).parent;
  const std::string recipient = WindowText(ChildWithRole(mail, Role::kMailRecipient));
  const std::string subject = WindowText(ChildWithRole(mail, Role::kMailSubject));
  const std::string text = WindowText(ChildWithRole(mail, Role::kMailText));
  if (recipient.find_first_not_of(' ') == std::string::npos) {
    OpenErrorWindow();
    return;
  }
  if (quiet_mail_) {
    Destroy(mail);
  } else {
    OpenModalDialog();
  }
  if (on_mail_) on_mail_(recipient, subject, text);
}

Hwnd EmbeddedClient::OpenMessageBox(const std::string& text) {
  const Hwnd box = Create(0, "#32770", kClientTitle, Role::kPlain, true);
  Create(box, "Static", text);
  Create(box, "Button", "OK", Role::kCloseButton);
  return box;
}

bool EmbeddedClient::Reachable(const std::string& screen_name) const {
  return reachable_.count(NameKey(screen_name)) > 0;
}

std::string EmbeddedClient::NameKey(std::string_view screen_name) {
  std::string key;
  for (char c : screen_name) {
    if (c != ' ') key += AsciiLower(c);
  }
  return key;
}

// --- Scenario controls ---

bool EmbeddedClient::IsWindow(Hwnd window) const {
  return Find(window) != nullptr;
}

Hwnd EmbeddedClient::Parent(Hwnd window) const {
  const Window* node = Find(window);
  return node ? node->parent : 0;
}

Hwnd EmbeddedClient::OpenOtherChild(std::string title) {
  if (!IsWindow(mdi_)) return 0;
  const Hwnd child = Create(mdi_, "AOL Child", title, Role::kPlain, true);
  Create(child, "_AOL_Static", title);
  Create(child, "RICHCNTL", "");
  return child;
}

Hwnd EmbeddedClient::AddWindow(Hwnd parent, std::string window_class, std::string text) {
  if (parent != 0 && !IsWindow(parent)) return 0;
  return Create(parent, window_class, text);
}

void EmbeddedClient::BringRoomToFront() {
  if (room_ != 0) ToFront(room_);
}

void EmbeddedClient::CloseRoom() {
  Destroy(room_);
}

Hwnd EmbeddedClient::OpenModalDialog() {
  const Hwnd modal = Create(0, "_AOL_Modal", kClientTitle, Role::kPlain, true);
  Create(modal, "_AOL_Static", "Your mail has been sent.");
  Create(modal, "_AOL_Icon", "OK", Role::kCloseButton);
  return modal;
}

Hwnd EmbeddedClient::OpenErrorWindow() {
  if (!IsWindow(mdi_)) return 0;
  const Hwnd error = Create(mdi_, "AOL Child", "Error", Role::kPlain, true);
  Create(error, "_AOL_Static", "You must enter a recipient.");
  Create(error, "_AOL_Icon", "OK", Role::kCloseButton);
  return error;
}

// --- The tree ---

Hwnd EmbeddedClient::Create(Hwnd parent, std::string_view window_class, std::string_view text,
                            Role role, bool in_front) {
  std::size_t slot;
  if (free_slots_.empty()) {
    slot = windows_.size();
    windows_.emplace_back();
  } else {
    slot = free_slots_.back();
    free_slots_.pop_back();
  }
  Window& window = windows_[slot];
  ++window.generation;
  window.open = true;
  window.window_class = window_class;
  window.text = text;
  window.parent = parent;
  window.first_child = 0;
  window.role = role;
  const Hwnd handle = HandleOf(slot, window.generation);
  Link(handle, in_front);
  return handle;
}

void EmbeddedClient::Destroy(Hwnd window) {
  if (!Find(window)) return;
  // Children first, each taking itself out of this window's list.
  while (At(window).first_child != 0) Destroy(At(window).first_child);
  Unlink(window);
  At(window).open = false;
  free_slots_.push_back(static_cast<std::uint32_t>(SlotOf(window)));
  if (window == room_) room_ = 0;
  if (window == mdi_) mdi_ = 0;
}

Hwnd& EmbeddedClient::FirstUnder(Hwnd parent) {
  return parent == 0 ? first_top_level_ : At(parent).first_child;
}

void EmbeddedClient::Link(Hwnd window, bool in_front) {
  Hwnd* link = &FirstUnder(At(window).parent);
  if (!in_front) {
    while (*link != 0) link = &At(*link).next_sibling;
  }
  At(window).next_sibling = *link;
  *link = window;
}

void EmbeddedClient::Unlink(Hwnd window) {
  Hwnd* link = &FirstUnder(At(window).parent);
  while (*link != window) link = &At(*link).next_sibling;
  *link = At(window).next_sibling;
  At(window).next_sibling = 0;
}

void EmbeddedClient::ToFront(Hwnd window) {
  if (!Find(window)) return;
  Unlink(window);
  Link(window, true);
}

Hwnd EmbeddedClient::ChildWithRole(Hwnd parent, Role role) const {
  const Window* found = Find(parent);
  if (!found) return 0;
  for (Hwnd child = found->first_child; child != 0; child = At(child).next_sibling) {
    if (At(child).role == role) return child;
  }
  return 0;
}

}  // namespace zorvik
