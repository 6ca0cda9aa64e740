// The autopilot: a robot operator, so that people in a room run their
// matches themselves with nobody at the buttons.
//
// It presses the console's buttons through HostConsole::Press, the very
// path an operator's press takes, so every room line of a match is what the
// game's handlers say. What it adds are lines of its own, in the host's
// style, and time limits:
//   - "+battle" (the start word, any case, blanks around it ignored) from
//     anyone while the console is idle, or while a match is ending: it
//     presses "get players" as soon as the console is idle.
//   - Once both seats are taken it presses "setup", once both creatures
//     are chosen "start", and after a winner "stop"; each after `gap` of
//     quiet, counted again while a handler of the console is still under
//     way, so that people can read. With `rematch` it opens the next match
//     `rematch_gap` after the last one ended.
//   - A player who is awaited (a pick, a move) gets one reminder at half of
//     `pick_time` or `turn_time` and forfeits at the end: the autopilot says
//     who won and presses "stop". A seated player who left the room (as the
//     back end reports) forfeits unless back within `leave_grace`.
//   - "stop" pressed by anyone while a match is under way is announced as
//     the match called off.
// Operators come first: a press that is not the autopilot's restarts its
// timers, and it never presses a button the console has disabled.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "bridge/chat_client.h"
#include "bridge/loop/event_loop.h"
#include "bridge/room_feed.h"
#include "match/host_console.h"

namespace zorvik {

struct AutopilotSettings {
  std::string start_word = "+battle";
  Micros gap = 2 * kMicrosPerSecond;
  bool rematch = false;
  Micros rematch_gap = 30 * kMicrosPerSecond;
  Micros pick_time = 120 * kMicrosPerSecond;
  Micros turn_time = 120 * kMicrosPerSecond;
  Micros leave_grace = 60 * kMicrosPerSecond;
};

// "30 seconds", "1 minute", "2 minutes 30 seconds": a time limit as the
// autopilot's lines and notes say it, in whole seconds.
std::string DescribeDuration(Micros length);

class Autopilot {
 public:
  // What the autopilot did and why, one short line each, for the console.
  using NoteSink = std::function<void(const std::string& note)>;

  // Everything given must outlive the autopilot.
  Autopilot(EventLoop& loop, HostConsole& console, RoomFeed& room, ChatClient& chat,
            AutopilotSettings settings);
  Autopilot(const Autopilot&) = delete;
  Autopilot& operator=(const Autopilot&) = delete;
  ~Autopilot();

  void SetNoteSink(NoteSink sink) { note_ = std::move(sink); }
  const AutopilotSettings& settings() const { return settings_; }

  // The back end's word that a person left the room (parted, quit, was
  // kicked) or came back, by the screen name they play under.
  void PersonLeft(std::string_view screen_name);
  void PersonBack(std::string_view screen_name);

 private:
  // The button the autopilot means to press next, and when it may.
  enum class Step { kNone, kGetPlayers, kSetup, kStart, kStop };
  // Who the match waits for: the player (1 or 2) whose pick or move is due.
  struct Awaited {
    int player = 0;
    bool pick = false;
    bool operator==(const Awaited&) const = default;
  };

  void HearLine(const std::string& screen_name, const std::string& text);
  void Pressed(ConsoleButton button);
  // Looks at the console afresh, soon (never inside an observer).
  void Review();
  void ReviewNow();
  Step NextStep() const;
  void ArmStep(Step step, Micros delay);
  void FireStep();
  void ArmLimit(std::optional<Awaited> awaited);
  void LimitReached();
  void Remind();
  void Forfeit(int loser, const std::string& reason);
  void ForfeitLeaver();

  bool Idle() const;
  bool MatchUnderWay() const;
  std::optional<Awaited> FindAwaited() const;
  // The player's name as the room lines say it (lower case), "" for none.
  std::string PlayerName(int player) const;
  void Say(const std::string& line);
  void Note(const std::string& note);
  void Cancel(EventLoop::TimerId& id);
  // Every timer but the pending review.
  void CancelTimers();

  EventLoop& loop_;
  HostConsole& console_;
  RoomFeed& room_;
  ChatClient& chat_;
  AutopilotSettings settings_;
  NoteSink note_;
  RoomFeed::SubscriptionId subscription_ = 0;

  EventLoop::TimerId review_task_ = 0;
  Step step_ = Step::kNone;
  EventLoop::TimerId step_task_ = 0;
  bool pressing_ = false;      // the press under way is the autopilot's
  bool setup_pressed_ = false;  // since the players were seated
  bool battle_started_ = false;
  bool match_ended_ = false;    // a match ended and no new one has opened
  bool stopping_ = false;       // "stop" was pressed; the console is not idle yet
  bool start_asked_ = false;    // the start word was heard while idle
  std::string asker_;           // who said it, lower-cased

  std::optional<Awaited> awaited_;
  EventLoop::TimerId reminder_task_ = 0;
  EventLoop::TimerId limit_task_ = 0;
  Micros limit_deadline_ = 0;

  std::string leaver_;  // lower-cased; "" when no seated player is away
  EventLoop::TimerId leave_task_ = 0;
};

}  // namespace zorvik
