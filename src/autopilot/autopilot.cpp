#include "autopilot/autopilot.h"

#include <utility>

#include "match/chat_text.h"

namespace zorvik {

namespace {

// How long a time limit or a forfeit waits for a handler of the console
// that is still under way (a move being announced, say) before it looks again.
constexpr Micros kBusyRetry = kMicrosPerSecond;

std::string Line(const std::string& text) {
  return "-=|[" + text + "]|=-";
}

}  // namespace

std::string DescribeDuration(Micros length) {
  const Micros seconds = (length < 0 ? 0 : length + kMicrosPerSecond / 2) / kMicrosPerSecond;
  const Micros minutes = seconds / 60;
  const Micros rest = seconds % 60;
  std::string text;
  if (minutes > 0) text = std::to_string(minutes) + (minutes == 1 ? " minute" : " minutes");
  if (rest > 0 || minutes == 0) {
    if (!text.empty()) text += ' ';
    text += std::to_string(rest) + (rest == 1 ? " second" : " seconds");
  }
  return text;
}

Autopilot::Autopilot(EventLoop& loop, HostConsole& console, RoomFeed& room, ChatClient& chat,
                     AutopilotSettings settings)
    : loop_(loop), console_(console), room_(room), chat_(chat), settings_(std::move(settings)) {
  subscription_ = room_.Subscribe(
      [this](const std::string& screen_name, const std::string& text) { HearLine(screen_name, text); });
  console_.AddChangeObserver([this] { Review(); });
  console_.AddPressObserver([this](ConsoleButton button) { Pressed(button); });
}

Autopilot::~Autopilot() {
  room_.Unsubscribe(subscription_);
  Cancel(review_task_);
  CancelTimers();
}

// --- What it hears ---

void Autopilot::HearLine(const std::string& screen_name, const std::string& text) {
  if (start_asked_ || !SameLowerCase(TrimSpaces(text), settings_.start_word)) return;
  // Asked for while a match ends (a winner, a stop under way), the next one
  // opens as soon as the console is idle.
  if (console_.Listening(1) || (MatchUnderWay() && !stopping_)) return;
  start_asked_ = true;
  asker_ = LowerCase(screen_name);
  Review();
}

void Autopilot::Pressed(ConsoleButton button) {
  const bool mine = pressing_;
  pressing_ = false;
  switch (button) {
    case ConsoleButton::kGetPlayers:
      start_asked_ = false;
      match_ended_ = false;
      stopping_ = false;
      break;
    case ConsoleButton::kSetup:
      setup_pressed_ = true;
      break;
    case ConsoleButton::kStart:
      battle_started_ = true;
      break;
    case ConsoleButton::kStop:
      if (!mine && MatchUnderWay()) {
        Note("the match was called off");
        loop_.Post([this] { Say(Line("the match was called off")); });
      }
      setup_pressed_ = false;
      battle_started_ = false;
      match_ended_ = true;
      stopping_ = true;
      Cancel(leave_task_);
      leaver_.clear();
      break;
    case ConsoleButton::kExit:
    case ConsoleButton::kInfo:
      break;
  }
  if (!mine) {
    // An operator's press: whatever the autopilot was about to do is timed
    // again from now.
    Cancel(step_task_);
    step_ = Step::kNone;
    Cancel(reminder_task_);
    Cancel(limit_task_);
    awaited_.reset();
  }
  Review();
}

void Autopilot::PersonLeft(std::string_view screen_name) {
  const std::string name = LowerCase(screen_name);
  if (!leaver_.empty() || !MatchUnderWay()) return;
  if (name != PlayerName(1) && name != PlayerName(2)) return;
  leaver_ = name;
  Note(name + " left; they forfeit unless back within " +
       DescribeDuration(settings_.leave_grace));
  leave_task_ = loop_.ScheduleAfter(settings_.leave_grace, [this] {
    leave_task_ = 0;
    ForfeitLeaver();
  });
}

void Autopilot::PersonBack(std::string_view screen_name) {
  if (leaver_.empty() || LowerCase(screen_name) != leaver_) return;
  Note(leaver_ + " is back");
  Cancel(leave_task_);
  leaver_.clear();
}

// --- Steps ---

void Autopilot::Review() {
  if (review_task_ != 0) return;
  review_task_ = loop_.Post([this] {
    review_task_ = 0;
    ReviewNow();
  });
}

void Autopilot::ReviewNow() {
  if (console_.ended()) {
    CancelTimers();
    return;
  }
  if (Idle()) stopping_ = false;
  const Step step = NextStep();
  Micros delay = settings_.gap;
  if (step == Step::kGetPlayers) delay = start_asked_ ? 0 : settings_.rematch_gap;
  ArmStep(step, delay);

  const std::optional<Awaited> awaited = FindAwaited();
  if (awaited != awaited_) ArmLimit(awaited);
  if (!MatchUnderWay() && !leaver_.empty()) {
    Cancel(leave_task_);
    leaver_.clear();
  }
}

Autopilot::Step Autopilot::NextStep() const {
  if (Idle()) {
    return (start_asked_ || (match_ended_ && settings_.rematch)) ? Step::kGetPlayers : Step::kNone;
  }
  const bool setup = console_.Enabled(ConsoleButton::kSetup);
  const bool start = console_.Enabled(ConsoleButton::kStart);
  const bool picking = console_.Listening(2) || console_.Listening(3);
  // Finished: a creature fainted; only "stop" is left.
  if (console_.Enabled(ConsoleButton::kStop) && !setup) return Step::kStop;
  if (setup && !start && !setup_pressed_ && !picking) return Step::kSetup;
  if (start && !battle_started_ && !picking) return Step::kStart;
  return Step::kNone;
}

void Autopilot::ArmStep(Step step, Micros delay) {
  if (step == step_ && (step_task_ != 0 || step == Step::kNone)) return;
  Cancel(step_task_);
  step_ = step;
  if (step == Step::kNone) return;
  step_task_ = loop_.ScheduleAfter(delay, [this] {
    step_task_ = 0;
    FireStep();
  });
}

void Autopilot::FireStep() {
  if (console_.Running()) {
    // Lines are still being said: a whole gap more of quiet first.
    step_task_ = loop_.ScheduleAfter(settings_.gap, [this] {
      step_task_ = 0;
      FireStep();
    });
    return;
  }
  const Step step = step_;
  step_ = Step::kNone;
  if (NextStep() != step) {
    Review();
    return;
  }
  ConsoleButton button = ConsoleButton::kGetPlayers;
  switch (step) {
    case Step::kNone:
      return;
    case Step::kGetPlayers:
      Note(start_asked_ ? asker_ + " asked for a match: pressing get players"
                        : "pressing get players for the next match");
      break;
    case Step::kSetup:
      button = ConsoleButton::kSetup;
      Note("both seats taken: pressing setup");
      break;
    case Step::kStart:
      button = ConsoleButton::kStart;
      Note("both creatures chosen: pressing start");
      break;
    case Step::kStop:
      button = ConsoleButton::kStop;
      Note("the battle is over: pressing stop");
      break;
  }
  if (!console_.Usable(button)) return;
  pressing_ = true;
  console_.Press(button);
  pressing_ = false;
}

// --- Time limits and forfeits ---

void Autopilot::ArmLimit(std::optional<Awaited> awaited) {
  Cancel(reminder_task_);
  Cancel(limit_task_);
  awaited_ = awaited;
  if (!awaited) return;
  const Micros limit = awaited->pick ? settings_.pick_time : settings_.turn_time;
  Note("waiting for " + PlayerName(awaited->player) + (awaited->pick ? " to pick" : " to move") +
       " (" + DescribeDuration(limit) + ")");
  if (limit / 2 > 0) {
    reminder_task_ = loop_.ScheduleAfter(limit / 2, [this] {
      reminder_task_ = 0;
      Remind();
    });
  }
  limit_deadline_ = loop_.Now() + limit;
  limit_task_ = loop_.ScheduleAt(limit_deadline_, [this] {
    limit_task_ = 0;
    LimitReached();
  });
}

void Autopilot::LimitReached() {
  if (!awaited_) return;
  if (FindAwaited() != awaited_) {
    Review();
    return;
  }
  if (console_.Running()) {
    // A pick or a move is being announced right now: its end decides.
    limit_task_ = loop_.ScheduleAfter(kBusyRetry, [this] {
      limit_task_ = 0;
      LimitReached();
    });
    return;
  }
  Forfeit(awaited_->player, "ran out of time");
}

void Autopilot::Remind() {
  if (!awaited_ || FindAwaited() != awaited_ || console_.Running()) return;
  const std::string name = PlayerName(awaited_->player);
  Note("reminding " + name);
  Say(Line(name + " has " + DescribeDuration(limit_deadline_ - loop_.Now()) + " left to " +
           (awaited_->pick ? "pick a zorvik" : "attack")));
}

void Autopilot::Forfeit(int loser, const std::string& reason) {
  if (!MatchUnderWay()) return;
  const std::string loser_name = PlayerName(loser);
  const std::string winner_name = PlayerName(loser == 1 ? 2 : 1);
  CancelTimers();
  step_ = Step::kNone;
  awaited_.reset();
  leaver_.clear();
  stopping_ = true;  // from the announcement on, the match is ending
  Note(loser_name + " " + reason + "; " + winner_name + " wins");
  Say(Line(loser_name + " " + reason + ": " + winner_name + " wins"));
  if (!console_.Usable(ConsoleButton::kStop)) return;
  pressing_ = true;
  console_.Press(ConsoleButton::kStop);
  pressing_ = false;
}

void Autopilot::ForfeitLeaver() {
  if (leaver_.empty() || !MatchUnderWay()) return;
  if (console_.Running()) {
    leave_task_ = loop_.ScheduleAfter(kBusyRetry, [this] {
      leave_task_ = 0;
      ForfeitLeaver();
    });
    return;
  }
  const int loser = leaver_ == PlayerName(1) ? 1 : 2;
  Forfeit(loser, "left the game");
}

// --- The console as the autopilot reads it ---

bool Autopilot::Idle() const {
  return console_.Usable(ConsoleButton::kGetPlayers) && !console_.Listening(1) &&
         console_.table().seat1Caption == kSeat1Free;
}

bool Autopilot::MatchUnderWay() const {
  // Both seats taken and no winner yet: the end of a battle disables "setup".
  return console_.Enabled(ConsoleButton::kStop) && console_.Enabled(ConsoleButton::kSetup);
}

std::optional<Autopilot::Awaited> Autopilot::FindAwaited() const {
  if (!MatchUnderWay()) return std::nullopt;
  if (console_.Listening(2)) return Awaited{1, true};
  if (console_.Listening(3)) return Awaited{2, true};
  if (console_.Listening(4)) return Awaited{1, false};
  if (console_.Listening(5)) return Awaited{2, false};
  return std::nullopt;
}

std::string Autopilot::PlayerName(int player) const {
  const MatchTable& table = console_.table();
  return LowerCase(player == 1 ? table.player1Name : table.player2Name);
}

void Autopilot::Say(const std::string& line) {
  chat_.ChatSend(line);
}

void Autopilot::Note(const std::string& note) {
  if (note_) note_(note);
}

void Autopilot::CancelTimers() {
  for (EventLoop::TimerId* id : {&step_task_, &reminder_task_, &limit_task_, &leave_task_}) {
    Cancel(*id);
  }
}

void Autopilot::Cancel(EventLoop::TimerId& id) {
  if (id == 0) return;
  loop_.Cancel(id);
  id = 0;
}

}  // namespace zorvik
