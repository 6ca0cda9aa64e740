// IrcClient's knowledge of who is logged in to which services account: the
// account tag, extended-join and account-notify, and WHOX look-ups on
// servers that do not tag messages.
#include "bridge/irc/irc_client.h"

#include <algorithm>

namespace zorvik {

namespace {

// Enough for any channel; past it, newcomers count as logged out.
constexpr std::size_t kMostKnown = 10000;
// The tokens of our WHOX queries, telling a channel's answers from those
// about one sender.
constexpr std::string_view kChannelWhoToken = "801";
constexpr std::string_view kSenderWhoToken = "802";
// A flood of strangers costs at most this many WHOs at a time, and each at
// most this many held messages; the rest count as logged out or are lost.
constexpr std::size_t kMostLookups = 8;
constexpr std::size_t kMostHeld = 4;
// A WHO the server never ends (or that a full queue dropped) gives up.
constexpr Micros kLookupPatience = 30 * kMicrosPerSecond;

}  // namespace

std::string IrcClient::AccountOf(const IrcMessage& message) const {
  if (HasCap("account-tag")) {
    for (const IrcTag& tag : message.tags) {
      if (tag.key == "account") return tag.value == "*" ? std::string() : tag.value;
    }
    return {};
  }
  const auto found = accounts_.find(FoldIrcName(NickOf(message.prefix)));
  return found == accounts_.end() ? std::string() : found->second;
}

void IrcClient::Learn(const std::string& folded_nick, const std::string& account) {
  if (account.empty() || account == "*") {
    accounts_.erase(folded_nick);
  } else if (accounts_.size() < kMostKnown || accounts_.count(folded_nick)) {
    accounts_[folded_nick] = account;
  }
}

bool IrcClient::LooksUpAccounts() const {
  return whox_ && !HasCap("account-tag");
}

void IrcClient::TrackAccounts(const IrcMessage& message) {
  const std::string& command = message.command;
  if (command != "JOIN" && command != "ACCOUNT" && command != "NICK" && command != "QUIT" &&
      command != "PART" && command != "KICK") {
    return;  // the channel's lines: nothing to learn
  }
  const std::string who = FoldIrcName(NickOf(message.prefix));
  const bool served = FindChannel(message.Param(0)) != nullptr;
  if (command == "JOIN" && HasCap("extended-join") && message.params.size() >= 2 && served) {
    Learn(who, message.Param(1));
  } else if (command == "ACCOUNT" && HasCap("account-notify")) {
    Learn(who, message.Param(0));
  } else if (command == "NICK") {
    const auto found = accounts_.find(who);
    if (found == accounts_.end()) return;
    std::string account = std::move(found->second);
    accounts_.erase(found);
    Learn(FoldIrcName(message.Param(0)), account);
  } else if (command == "QUIT" || (command == "PART" && served)) {
    // Out of a channel, nothing may tell us of their account any more: it
    // is forgotten (they count as logged out until told again).
    if (SameIrcName(who, nick_)) {
      accounts_.clear();
    } else {
      accounts_.erase(who);
    }
  } else if (command == "KICK" && served) {
    if (SameIrcName(message.Param(1), nick_)) {
      accounts_.clear();
    } else {
      accounts_.erase(FoldIrcName(message.Param(1)));
    }
  }
}

void IrcClient::LookUpChannel(const IrcChannel& channel) {
  if (!LooksUpAccounts()) return;
  Enqueue(private_queue_,
          FormatIrcLine("WHO", {channel.name(), "%tna," + std::string(kChannelWhoToken)}), {});
}

void IrcClient::HearPrivate(const IrcMessage& message, const std::string& text) {
  IrcSender sender{message.prefix, AccountOf(message)};
  const std::string_view nick = NickOf(message.prefix);
  const std::string folded = FoldIrcName(nick);
  auto lookup = lookups_.find(folded);
  if (lookup == lookups_.end()) {
    if (!sender.account.empty() || !LooksUpAccounts() || nick.empty() ||
        lookups_.size() >= kMostLookups) {
      return private_observer_(sender, text);
    }
    lookup = lookups_.emplace(folded, AccountLookup{}).first;
    std::weak_ptr<bool> alive = alive_;
    lookup->second.timeout = loop_.ScheduleAfter(kLookupPatience, [this, alive, folded] {
      if (alive.expired()) return;
      const auto late = lookups_.find(folded);
      if (late == lookups_.end()) return;
      late->second.timeout = 0;
      FinishLookup(folded);
    });
    Enqueue(private_queue_,
            FormatIrcLine("WHO", {std::string(nick), "%tna," + std::string(kSenderWhoToken)}), {});
  }
  // Later messages wait behind the first, so they arrive in order.
  if (lookup->second.held.size() < kMostHeld) {
    lookup->second.held.push_back(HeldMessage{message.prefix, text});
  }
}

void IrcClient::HandleWhoReply(const IrcMessage& message) {
  // "354 us TOKEN NICK ACCOUNT": the fields come in that order whatever
  // order the query named them in.
  if (message.params.size() < 4 || !LooksUpAccounts()) return;
  const std::string& token = message.params[1];
  const std::string folded = FoldIrcName(message.params[2]);
  // Account "0": not logged in.
  const std::string account = message.params[3] == "0" ? "" : message.params[3];
  if (token == kChannelWhoToken) {
    Learn(folded, account);
  } else if (token == kSenderWhoToken) {
    // Not kept: the sender may share no channel with us, so a later quit
    // or nick change could not make us forget it.
    const auto lookup = lookups_.find(folded);
    if (lookup != lookups_.end()) lookup->second.account = account;
  }
}

void IrcClient::EndOfWho(const IrcMessage& message) {
  const std::string folded = FoldIrcName(message.Param(1));
  if (lookups_.count(folded)) FinishLookup(folded);
}

void IrcClient::FinishLookup(const std::string& folded_nick) {
  const auto found = lookups_.find(folded_nick);
  AccountLookup lookup = std::move(found->second);
  lookups_.erase(found);
  if (lookup.timeout) loop_.Cancel(lookup.timeout);
  for (const HeldMessage& held : lookup.held) {
    if (private_observer_) private_observer_(IrcSender{held.prefix, lookup.account}, held.text);
  }
}

void IrcClient::FinishLookups() {
  while (!lookups_.empty()) FinishLookup(lookups_.begin()->first);
}

}  // namespace zorvik
