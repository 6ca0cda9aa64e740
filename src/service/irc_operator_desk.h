// The operators' side of the IRC host: they press the console's buttons by
// private message to the host ("get players", "setup", "menu help",
// "form text ...", or "#channel get players"), and the host answers each by
// notice with what the press said and the console's state after it. Anyone
// else hears one refusal, then nothing for a while.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/host_program.h"
#include "service/irc_operators.h"
#include "bridge/irc/irc_client.h"
#include "windows/message_box.h"

namespace zorvik {

// Why `command` (already trimmed) cannot be sent from IRC, or empty.
std::string IrcCommandProblem(std::string_view command, bool may_exit);

class OperatorDesk {
 public:
  using Notice = std::function<void(const std::string& nick, const std::string& text)>;

  // Message boxes go on to `boxes` (and, while a press runs, into its
  // answer). `notice` sends an answer; `notes` logs who pressed what. All
  // must outlive the desk.
  OperatorDesk(EventLoop& loop, MessageBoxes& boxes, Notice notice, std::ostream& notes);
  OperatorDesk(const OperatorDesk&) = delete;
  OperatorDesk& operator=(const OperatorDesk&) = delete;

  // The boxes for the program, before it is made.
  MessageBoxes& boxes() { return boxes_; }
  // The program of `channel`, where the presses for it go; each channel's
  // before the first private message. With several channels a press names
  // its channel first ("#battles start"); with one it may.
  void Attach(const std::string& channel, HostProgram& program);
  void SetOperators(std::vector<IrcOperator> operators, bool may_exit);

  // A private message `text` from `sender`. Does not dispatch: a press
  // runs in a task of its own.
  void Hear(const IrcSender& sender, const std::string& text);

 private:
  class CapturingBoxes : public MessageBoxes {
   public:
    explicit CapturingBoxes(MessageBoxes& shown) : shown_(shown) {}
    void Show(const std::string& title, const std::string& text) override;
    std::ostream* capture = nullptr;

   private:
    MessageBoxes& shown_;
  };

  struct Served {
    std::string channel;
    HostProgram* program;
  };

  void Press(HostProgram& program, const std::string& nick, const std::string& command);
  std::string ChannelList() const;

  EventLoop& loop_;
  CapturingBoxes boxes_;
  Notice notice_;
  std::ostream& notes_;
  std::vector<Served> served_;
  std::vector<IrcOperator> operators_;
  bool may_exit_ = false;
  RefusalGate gate_;
};

}  // namespace zorvik
