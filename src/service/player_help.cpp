#include "service/player_help.h"

#include <utility>

#include "bridge/irc/irc_client.h"
#include "gamedata/roster.h"
#include "match/chat_text.h"

namespace zorvik {

namespace {

constexpr Micros kOncePer = 60 * kMicrosPerSecond;

// The roster as notices: names separated by ", ", lines of at most this
// many bytes, so that a few lines hold all 150.
constexpr std::size_t kRosterLine = 380;

std::string RosterText() {
  std::string text = "the " + std::to_string(kRosterSize) + " creatures:\n";
  std::string line;
  for (std::string_view name : Roster()) {
    if (!line.empty() && line.size() + 2 + name.size() > kRosterLine) {
      text += line + ",\n";
      line.clear();
    }
    if (!line.empty()) line += ", ";
    line += name;
  }
  return text + line;
}

}  // namespace

PlayerHelp::PlayerHelp(EventLoop& loop, Notice notice) : loop_(loop), notice_(std::move(notice)) {}

void PlayerHelp::AddChannel(const std::string& channel,
                            std::optional<AutopilotSettings> autopilot) {
  channels_.push_back(Channel{channel, std::move(autopilot)});
}

std::string PlayerHelp::HelpText(const std::string& channel) const {
  const Channel* found = channels_.empty() ? nullptr : &channels_.front();
  for (const Channel& served : channels_) {
    if (SameIrcName(served.name, channel)) found = &served;
  }
  const std::string name = found ? found->name : "the channel";
  const AutopilotSettings* autopilot =
      found && found->autopilot ? &*found->autopilot : nullptr;
  std::string text = "zorvik battles in " + name + ", two players a match:\n";
  text += autopilot ? autopilot->start_word + " starts a match when none is running; then -join"
                    : "an operator opens each match; then -join";
  text += " to take one of the two seats\n";
  text += "pick your creature with a slash and its name, e.g. /pikachu (+roster lists them all)\n";
  text += "on your turn attack with a slash and a move, e.g. /thundershock; +moves lists yours";
  if (autopilot) {
    text += "\nyou have " + DescribeDuration(autopilot->pick_time) + " to pick and " +
            DescribeDuration(autopilot->turn_time) + " a turn; a player who leaves forfeits after " +
            DescribeDuration(autopilot->leave_grace);
  }
  return text;
}

bool PlayerHelp::Hear(const std::string& nick, const std::string& channel,
                      const std::string& text) {
  const std::string request = LowerCase(TrimSpaces(text));
  if (request != "+help" && request != "+roster") return false;
  const Micros now = loop_.Now();
  for (auto it = answered_.begin(); it != answered_.end();) {
    it = now - it->second >= kOncePer ? answered_.erase(it) : std::next(it);
  }
  const auto [entry, fresh] = answered_.emplace(LowerCase(nick) + " " + request, now);
  if (!fresh) return true;
  notice_(nick, request == "+help" ? HelpText(channel) : RosterText());
  return true;
}

}  // namespace zorvik
