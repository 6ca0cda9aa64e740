// The host console: the operator's side of a match and the keeper of its
// state. It owns the match record, the enabled states of its buttons and the
// five chat listeners, and runs every handler of the game: the join phase,
// creature selection and the battle.
//
// Re-entry is the contract that matters here. Every handler that speaks
// (ChatSend) or pauses dispatches events while it waits, so listener reports
// and button presses run nested inside it; the order of steps in each
// handler is chosen with that in mind. On top of that, every handler notes
// the match epoch when it starts; "stop" and the end of a battle advance it,
// and a handler that finds the epoch advanced when one of its waits returns
// ends quietly there. The handler that advanced it carries on.
//
// The console is a model: views (desktop window, text console, replay)
// observe it and press its buttons; none holds game state of its own.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/chat_client.h"
#include "bridge/kit/chat_listener.h"
#include "bridge/loop/event_loop.h"
#include "bridge/own_window.h"
#include "bridge/room_feed.h"
#include "match/match_table.h"
#include "match/random_source.h"

namespace zorvik {

enum class ConsoleButton { kGetPlayers, kExit, kInfo, kSetup, kStart, kStop };

// Buttons in keyboard focus order, and their captions as the console shows them.
inline constexpr std::array<ConsoleButton, 6> kConsoleButtons = {
    ConsoleButton::kGetPlayers, ConsoleButton::kExit, ConsoleButton::kSetup,
    ConsoleButton::kStart,      ConsoleButton::kStop, ConsoleButton::kInfo};
std::string_view ButtonCaption(ConsoleButton button);
std::optional<ConsoleButton> ButtonFromCaption(std::string_view caption);

// The line the host sends for a blank line: a space and a no-break space.
inline constexpr std::string_view kBlankLine = " \u00a0";

class HostConsole {
 public:
  // All five parts must outlive the console. `window` is the console's own
  // window, placed by Form_Load.
  HostConsole(EventLoop& loop, RoomFeed& room, ChatClient& client, RandomSource& random,
              OwnWindow& window);
  HostConsole(const HostConsole&) = delete;
  HostConsole& operator=(const HostConsole&) = delete;
  ~HostConsole();

  // Adds an observer called after every change a view would show: seats,
  // creatures, hit points, enabled buttons, listeners, visibility. Observers
  // must not dispatch; they may schedule tasks.
  void AddChangeObserver(std::function<void()> observer);
  // Adds an observer called when a press of a usable button is about to run
  // its handler, with the button. Observers must not dispatch.
  void AddPressObserver(std::function<void(ConsoleButton)> observer);
  // The action of "info": pops up the info menu. May dispatch.
  void SetInfoAction(std::function<void()> action);
  // Called once, when "exit" has said goodbye; the program ends with it.
  void SetExitAction(std::function<void()> action);

  // Shows the console; the first time, Form_Load runs first.
  void Show();
  bool shown() const { return shown_; }

  // Whether `button` is enabled and, for the match buttons, so is their frame.
  bool Enabled(ConsoleButton button) const;
  // Whether a press of `button` would do anything now: it is enabled, the
  // console is shown and the program has not ended.
  bool Usable(ConsoleButton button) const;
  // Presses `button` as the operator would. A button that is not usable
  // does nothing and false is returned. Dispatches (re-enters).
  bool Press(ConsoleButton button);

  const MatchTable& table() const { return table_; }
  const ConsoleSwitches& switches() const { return switches_; }
  // Whether ChatN (1 to 5) is switched on.
  bool Listening(int n) const;
  bool ended() const { return ended_; }
  // Whether a handler (a button's or a listener's) is under way: started and
  // not yet returned, most likely waiting in ChatSend or Pause. A task that
  // runs nested inside such a wait sees true.
  bool Running() const { return running_ > 0; }

  // The handlers, named after their controls and events. Each dispatches
  // (re-enters) while it speaks or pauses.
  void Form_Load();
  void getplayers_Click();
  void setit_Click();
  void startgame_Click();
  void stopgame_Click();
  void exit_Click();
  void Command1_Click();
  void Chat1_ChatMsg(const std::string& Screen_Name, const std::string& What_Said);
  void Chat2_ChatMsg(const std::string& Screen_Name, const std::string& What_Said);
  void Chat3_ChatMsg(const std::string& Screen_Name, const std::string& What_Said);
  void Chat4_ChatMsg(const std::string& Screen_Name, const std::string& What_Said);
  void Chat5_ChatMsg(const std::string& Screen_Name, const std::string& What_Said);

 private:
  friend class HostConsoleTest;  // sets hit points no pick can produce
  using Epoch = std::uint64_t;

  // One seat's side of a pick or a turn, so that the mirror-image handlers
  // of the two players are written once.
  struct Side;
  Side SideOf(int player);

  // ChatSend / Pause followed by the epoch check: false means the match this
  // handler belongs to is gone (or the program has ended) and the handler
  // must return at once.
  bool Send(std::string_view line, Epoch epoch);
  bool PauseFor(double seconds, Epoch epoch);
  bool Current(Epoch epoch) const;
  Epoch AdvanceEpoch() { return ++epoch_; }

  void Pick(int player, const std::string& screen_name, const std::string& what_said);
  void Turn(int player, const std::string& screen_name, const std::string& what_said);
  void Attack(int player, const std::string& move, Epoch epoch);
  void ListMoves(int player, Epoch epoch);

  ChatListener& Chat(int n) { return *chat_[static_cast<std::size_t>(n - 1)]; }
  // Frees both seats and empties the creatures and hit points shown; the
  // names, move lists and hidden copies stay.
  void ClearSeats();
  void Changed();

  EventLoop& loop_;
  ChatClient& client_;
  RandomSource& random_;
  OwnWindow& window_;

  MatchTable table_;
  ConsoleSwitches switches_;
  std::array<std::unique_ptr<ChatListener>, 5> chat_;  // Chat1 ... Chat5

  Epoch epoch_ = 0;
  // The epoch of the attack being announced, if any: while it is set and
  // current, both turn handlers ignore their lines (one attack per turn).
  std::optional<Epoch> attack_epoch_;

  int running_ = 0;  // handlers under way, nested ones included
  bool loaded_ = false;
  bool shown_ = false;
  bool ended_ = false;

  std::vector<std::function<void()>> change_observers_;
  std::vector<std::function<void(ConsoleButton)>> press_observers_;
  std::function<void()> info_action_;
  std::function<void()> exit_action_;
};

}  // namespace zorvik
