// What the host needs of a chat client, and nothing more: type a line into
// the room, wait while staying responsive, switch the operator's instant
// messages off and on, send a mail.
//
// Two realisations serve it: ClientKit, which drives a client's windows
// through a WindowApi (the embedded client, the Windows desktop client), and
// the IRC back end. Every call below may dispatch events (re-enter): the
// caller must expect its own state to have changed when the call returns.
#pragma once

#include <string>
#include <string_view>

namespace zorvik {

class ChatClient {
 public:
  ChatClient() = default;
  ChatClient(const ChatClient&) = delete;
  ChatClient& operator=(const ChatClient&) = delete;
  virtual ~ChatClient() = default;

  // Types `line` into the open room as one whole line, then waits 0.51 s.
  // A line that cannot be delivered (no room) is lost; the wait is taken
  // all the same. Nested calls keep their lines whole and in order.
  virtual void ChatSend(std::string_view line) = 0;

  // Waits `seconds`, dispatching events throughout. Pause(0) returns at
  // once without dispatching.
  virtual void Pause(double seconds) = 0;

  // The operator's instant-message switch: off when a battle starts, on
  // again when the operator stops the match.
  virtual void InstantMessagesOff() = 0;
  virtual void InstantMessagesOn() = 0;

  // Sends one mail through the client; returns when the client has taken it
  // (or the attempt has been given up).
  virtual void SendMail(const std::string& recipient, const std::string& subject,
                        const std::string& text) = 0;
};

}  // namespace zorvik
