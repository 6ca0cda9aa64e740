// The console itself and the join phase: start-up, "get players", the join
// listener, "stop", "exit" and "info". Selection and the battle live in
// selection.cpp and battle.cpp.
#include "match/host_console.h"

#include <utility>

#include "bridge/kit/client_kit.h"
#include "gamedata/roster.h"
#include "match/chat_text.h"

namespace zorvik {

namespace {

struct ButtonName {
  ConsoleButton button;
  std::string_view caption;
};

constexpr ButtonName kButtonNames[] = {
    {ConsoleButton::kGetPlayers, "get players"},
    {ConsoleButton::kExit, "exit"},
    {ConsoleButton::kInfo, "info"},
    {ConsoleButton::kSetup, "setup"},
    {ConsoleButton::kStart, "start"},
    {ConsoleButton::kStop, "stop"},
};

// Counts a handler as under way for its whole run.
class RunningHandler {
 public:
  explicit RunningHandler(int& count) : count_(count) { ++count_; }
  RunningHandler(const RunningHandler&) = delete;
  RunningHandler& operator=(const RunningHandler&) = delete;
  ~RunningHandler() { --count_; }

 private:
  int& count_;
};

}  // namespace

std::string_view ButtonCaption(ConsoleButton button) {
  for (const ButtonName& name : kButtonNames) {
    if (name.button == button) return name.caption;
  }
  return {};
}

std::optional<ConsoleButton> ButtonFromCaption(std::string_view caption) {
  for (const ButtonName& name : kButtonNames) {
    if (name.caption == caption) return name.button;
  }
  return std::nullopt;
}

HostConsole::HostConsole(EventLoop& loop, RoomFeed& room, ChatClient& client, RandomSource& random,
                         OwnWindow& window)
    : loop_(loop), client_(client), random_(random), window_(window) {
  // Made in order, so that one room line is reported to Chat1 first.
  using Handler = void (HostConsole::*)(const std::string&, const std::string&);
  constexpr Handler kHandlers[] = {&HostConsole::Chat1_ChatMsg, &HostConsole::Chat2_ChatMsg,
                                   &HostConsole::Chat3_ChatMsg, &HostConsole::Chat4_ChatMsg,
                                   &HostConsole::Chat5_ChatMsg};
  for (std::size_t i = 0; i < chat_.size(); ++i) {
    const Handler handler = kHandlers[i];
    chat_[i] = std::make_unique<ChatListener>(
        loop, room, [this, handler](const std::string& screen_name, const std::string& text) {
          const RunningHandler running(running_);
          (this->*handler)(screen_name, text);
        });
  }
}

HostConsole::~HostConsole() = default;

void HostConsole::AddChangeObserver(std::function<void()> observer) {
  change_observers_.push_back(std::move(observer));
}

void HostConsole::AddPressObserver(std::function<void(ConsoleButton)> observer) {
  press_observers_.push_back(std::move(observer));
}

void HostConsole::SetInfoAction(std::function<void()> action) {
  info_action_ = std::move(action);
}

void HostConsole::SetExitAction(std::function<void()> action) {
  exit_action_ = std::move(action);
}

void HostConsole::Show() {
  if (!loaded_) {
    loaded_ = true;
    Form_Load();
  }
  shown_ = true;
  Changed();
}

bool HostConsole::Usable(ConsoleButton button) const {
  return shown_ && !ended_ && Enabled(button);
}

bool HostConsole::Enabled(ConsoleButton button) const {
  switch (button) {
    case ConsoleButton::kExit:
    case ConsoleButton::kInfo:
      return true;
    case ConsoleButton::kGetPlayers:
      return switches_.getplayers;
    case ConsoleButton::kSetup:
      return switches_.gamecontrol && switches_.setit;
    case ConsoleButton::kStart:
      return switches_.gamecontrol && switches_.startgame;
    case ConsoleButton::kStop:
      return switches_.gamecontrol && switches_.stopgame;
  }
  return false;
}

bool HostConsole::Press(ConsoleButton button) {
  if (!Usable(button)) return false;
  for (const auto& observer : press_observers_) observer(button);
  const RunningHandler running(running_);
  switch (button) {
    case ConsoleButton::kGetPlayers:
      getplayers_Click();
      break;
    case ConsoleButton::kExit:
      exit_Click();
      break;
    case ConsoleButton::kInfo:
      Command1_Click();
      break;
    case ConsoleButton::kSetup:
      setit_Click();
      break;
    case ConsoleButton::kStart:
      startgame_Click();
      break;
    case ConsoleButton::kStop:
      stopgame_Click();
      break;
  }
  return true;
}

bool HostConsole::Listening(int n) const {
  if (n < 1 || n > static_cast<int>(chat_.size())) return false;
  return chat_[static_cast<std::size_t>(n - 1)]->listening();
}

bool HostConsole::Current(Epoch epoch) const {
  return epoch == epoch_ && !ended_ && !loop_.Quitting();
}

bool HostConsole::Send(std::string_view line, Epoch epoch) {
  client_.ChatSend(line);
  return Current(epoch);
}

bool HostConsole::PauseFor(double seconds, Epoch epoch) {
  client_.Pause(seconds);
  return Current(epoch);
}

void HostConsole::ClearSeats() {
  table_.seat1Caption = kSeat1Free;
  table_.seat2Caption = kSeat2Free;
  table_.player1Creature.clear();
  table_.player2Creature.clear();
  table_.player1Hp.clear();
  table_.player2Hp.clear();
}

void HostConsole::Changed() {
  for (const auto& observer : change_observers_) observer();
}

void HostConsole::Form_Load() {
  StayOnTop(window_);
  const WindowRect bounds = window_.Bounds();
  const ScreenSize screen = window_.Screen();
  window_.MoveTo((screen.width - bounds.width) / 2, 0);
  table_.roster.assign(Roster().begin(), Roster().end());
}

void HostConsole::getplayers_Click() {
  const Epoch epoch = epoch_;
  if (!Send(kBlankLine, epoch)) return;
  if (!Send("-=|[z\u00f8rv\u00efk by va\u00f1d\u00f8r]|=-", epoch)) return;
  if (!Send("-=|[accepting players to battle!]=-", epoch)) return;
  if (!PauseFor(0.5, epoch)) return;
  if (!Send("-=|[type: -join]=-", epoch)) return;
  Chat(1).StartListening();
  Changed();
}

void HostConsole::Chat1_ChatMsg(const std::string& Screen_Name, const std::string& What_Said) {
  const Epoch epoch = epoch_;
  if (!SameLowerCase(What_Said, "-join")) return;
  const std::string name = LowerCase(Screen_Name);

  if (table_.seat1Caption == kSeat1Free) {
    // The seat is taken before the announcement, so a "-join" heard while
    // it is being sent already finds seat 1 occupied.
    table_.seat1Caption = "player1:[" + name + "]";
    table_.player1Name = Screen_Name;
    Changed();
    if (!Send("-=|[" + name + " has joined the game]|=-", epoch)) return;
    PauseFor(0.5, epoch);
    return;
  }

  if (name == LowerCase(table_.player1Name)) {
    Send("-=|[you are already playing]|=-", epoch);
    return;
  }

  // A second player: nobody after them may be heard, so the listener goes
  // off before anything is said.
  Chat(1).StopListening();
  table_.seat2Caption = "player2:[" + name + "]";
  table_.player2Name = Screen_Name;
  Changed();
  if (!Send("-=|[" + name + " challenges " + LowerCase(table_.player1Name) + "]|=-", epoch)) return;
  if (!PauseFor(0.5, epoch)) return;
  if (!Send("-=|[no more space for players]|=-", epoch)) return;
  switches_.gamecontrol = true;
  switches_.setit = true;
  switches_.stopgame = true;
  switches_.getplayers = false;
  Changed();
}

void HostConsole::stopgame_Click() {
  const Epoch epoch = AdvanceEpoch();
  for (int n = 1; n <= 5; ++n) Chat(n).StopListening();
  Changed();
  client_.InstantMessagesOn();
  // A "stop" pressed again while the switch was being sent has done the
  // rest already.
  if (!Current(epoch)) return;
  switches_.startgame = false;
  switches_.stopgame = false;
  switches_.setit = false;
  switches_.getplayers = true;
  ClearSeats();
  table_.player1Moves.clear();
  table_.player2Moves.clear();
  Changed();
}

void HostConsole::exit_Click() {
  // Goodbye is said whatever the match does meanwhile; only the end of the
  // program (a nested "exit") cuts it short.
  const auto say = [this](std::string_view line) {
    client_.ChatSend(line);
    return !ended_ && !loop_.Quitting();
  };
  if (!say(kBlankLine)) return;
  if (!say("-=|[z\u00f8rv\u00efk by va\u00f1d\u00f8r]|=-=|[unloaded]|=-")) return;
  if (!say("-=|[gotta catch'em all]|=-")) return;
  if (!say(kBlankLine)) return;
  ended_ = true;
  Changed();
  if (exit_action_) exit_action_();
  loop_.Quit();
}

void HostConsole::Command1_Click() {
  if (info_action_) info_action_();
}

}  // namespace zorvik
