#include "bridge/irc/irc_client.h"

#include <algorithm>
#include <cstdio>

namespace zorvik {

namespace {

constexpr Micros kSecond = kMicrosPerSecond;
constexpr Micros kQuietBeforePing = 60 * kSecond;
constexpr Micros kSilenceIsDeath = 120 * kSecond;
constexpr Micros kLivenessCheck = 5 * kSecond;
constexpr Micros kProvedGood = 60 * kSecond;
constexpr Micros kRejoinDelay = 5 * kSecond;
constexpr Micros kJoinRefusedDelay = 30 * kSecond;
constexpr Micros kChatPause = 510'000;  // ChatSend's pace: 0.51 s after every line
// Calls `each` with every capability of a CAP line's space-separated list.
template <typename Each>
void ForEachCap(std::string_view caps, Each each) {
  while (!caps.empty()) {
    const std::size_t space = caps.find(' ');
    const std::string_view cap = caps.substr(0, space);
    if (!cap.empty()) each(cap);
    caps = space == std::string_view::npos ? std::string_view() : caps.substr(space + 1);
  }
}

// VERSION replies may not crowd out the game: none while this many lines wait.
constexpr std::size_t kBusyQueue = 8;
// The longest SASL chunk the protocol allows.
constexpr std::size_t kSaslChunk = 400;

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                       static_cast<unsigned char>(bytes[i + 1]) << 8 |
                       static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[v >> 18 & 63];
    out += kDigits[v >> 12 & 63];
    out += kDigits[v >> 6 & 63];
    out += kDigits[v & 63];
  }
  if (i + 1 == bytes.size()) {
    const unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    out += kDigits[v >> 18 & 63];
    out += kDigits[v >> 12 & 63];
    out += "==";
  } else if (i + 2 == bytes.size()) {
    const unsigned v =
        static_cast<unsigned char>(bytes[i]) << 16 | static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kDigits[v >> 18 & 63];
    out += kDigits[v >> 12 & 63];
    out += kDigits[v >> 6 & 63];
    out += '=';
  }
  return out;
}

std::string Seconds(Micros micros) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(micros) / kSecond);
  return text;
}

// The human-readable part of a reply: its last parameter, or its command.
const std::string& Why(const IrcMessage& message) {
  return message.params.empty() ? message.command : message.params.back();
}

bool IsChannel(std::string_view target) {
  return !target.empty() && (target.front() == '#' || target.front() == '&' ||
                             target.front() == '+' || target.front() == '!');
}

}  // namespace

IrcClient::IrcClient(EventLoop& loop, IrcTransportFactory connect, IrcClientSettings settings)
    : loop_(loop),
      connect_(std::move(connect)),
      settings_(std::move(settings)),
      nick_(settings_.nick),
      backoff_(settings_.jitter_seed),
      bucket_(settings_.burst, settings_.lines_per_second, loop.Now()) {
  for (IrcChannelSettings& channel : ServedChannels(settings_)) {
    channels_.push_back(std::make_unique<IrcChannel>(*this, std::move(channel)));
  }
}

IrcClient::~IrcClient() {
  *alive_ = false;
  for (EventLoop::TimerId timer : {liveness_timer_, reconnect_timer_, settle_timer_, pump_timer_}) {
    if (timer) loop_.Cancel(timer);
  }
  for (const auto& [nick, lookup] : lookups_) {
    if (lookup.timeout) loop_.Cancel(lookup.timeout);
  }
  channels_.clear();
  if (transport_) transport_->Close();
}

IrcChannel* IrcClient::FindChannel(std::string_view name) {
  for (const auto& channel : channels_) {
    if (SameIrcName(channel->name(), name)) return channel.get();
  }
  return nullptr;
}

std::size_t IrcClient::queued() const {
  std::size_t total = private_queue_.lines.size();
  for (const auto& channel : channels_) total += channel->queued();
  return total;
}

std::size_t IrcClient::dropped() const {
  std::size_t total = private_queue_.dropped_total;
  for (const auto& channel : channels_) total += channel->dropped();
  return total;
}

void IrcClient::Report(IrcStatus status, const std::string& text) {
  if (status_observer_) status_observer_(status, text);
}

void IrcClient::Start() {
  Connect();
}

void IrcClient::Connect() {
  if (given_up_) return;
  reconnect_timer_ = 0;
  reader_ = IrcLineReader();
  connected_ = registered_ = false;
  for (const auto& channel : channels_) channel->Left();
  nick_ = settings_.nick;
  nick_attempt_ = 0;
  offered_caps_.clear();
  sasl_pending_ = false;
  cap_replies_due_ = 0;
  sasl_acked_ = false;
  acked_caps_.clear();
  accounts_.clear();
  whox_ = false;
  callerid_mode_ = 0;
  callerid_set_ = false;
  transport_ = connect_();
  IrcTransport::Handlers handlers;
  handlers.connected = [this] { OnConnected(); };
  handlers.received = [this](std::string_view bytes) { OnReceived(bytes); };
  handlers.closed = [this](const std::string& reason) { OnClosed(reason); };
  transport_->Open(std::move(handlers));
}

void IrcClient::OnConnected() {
  connected_ = true;
  last_heard_ = loop_.Now();
  ping_sent_ = false;
  Report(IrcStatus::kInfo, "connected; registering as " + nick_);
  if (!settings_.password.empty() && !settings_.sasl) WriteNow("PASS", {settings_.password});
  WriteNow("CAP", {"LS", "302"});
  WriteNow("NICK", {nick_});
  WriteNow("USER", {settings_.user, "0", "*", settings_.realname});
  std::weak_ptr<bool> alive = alive_;
  if (liveness_timer_) loop_.Cancel(liveness_timer_);
  liveness_timer_ = loop_.ScheduleAfter(kLivenessCheck, [this, alive] {
    if (alive.expired()) return;
    liveness_timer_ = 0;
    CheckLiveness();
  });
}

void IrcClient::CheckLiveness() {
  if (!connected_) return;
  const Micros quiet = loop_.Now() - last_heard_;
  if (quiet >= kSilenceIsDeath) {
    return Drop("no word from the server for " + Seconds(quiet));
  }
  if (quiet >= kQuietBeforePing && !ping_sent_) {
    WriteNow("PING", {"zorvik"});
    ping_sent_ = true;
  }
  std::weak_ptr<bool> alive = alive_;
  liveness_timer_ = loop_.ScheduleAfter(kLivenessCheck, [this, alive] {
    if (alive.expired()) return;
    liveness_timer_ = 0;
    CheckLiveness();
  });
}

void IrcClient::OnReceived(std::string_view bytes) {
  last_heard_ = loop_.Now();
  ping_sent_ = false;
  reader_.Append(bytes);
  while (connected_) {
    const auto line = reader_.Next();
    if (!line) break;
    if (const auto message = ParseIrcLine(*line)) Handle(*message);
  }
}

void IrcClient::Drop(const std::string& reason) {
  if (!transport_) return;
  transport_->Close();
  OnClosed(reason);
}

void IrcClient::OnClosed(const std::string& reason) {
  // The transport may be inside one of its own handlers: it goes in a task.
  if (transport_) {
    closed_.push_back(std::move(transport_));
    std::weak_ptr<bool> alive = alive_;
    loop_.Post([this, alive] {
      // Tasks run in the order posted: the oldest closed one is this one's.
      if (!alive.expired() && !closed_.empty()) closed_.erase(closed_.begin());
    });
  }
  bool was_joined = false;
  for (const auto& channel : channels_) {
    was_joined |= channel->joined();
    channel->Left();
  }
  connected_ = registered_ = false;
  for (EventLoop::TimerId* timer : {&liveness_timer_, &settle_timer_, &pump_timer_}) {
    if (*timer) loop_.Cancel(*timer);
    *timer = 0;
  }
  FinishLookups();
  if (given_up_) return;
  const Micros delay = backoff_.Next();
  Report(IrcStatus::kInfo, (was_joined ? "connection lost: " : "cannot reach the server: ") +
                               reason + "; trying again in " + Seconds(delay));
  std::weak_ptr<bool> alive = alive_;
  reconnect_timer_ = loop_.ScheduleAfter(delay, [this, alive] {
    if (!alive.expired()) Connect();
  });
}

void IrcClient::Fatal(const std::string& reason) {
  given_up_ = true;
  Report(IrcStatus::kFatal, reason);
  if (transport_) {
    WriteNow("QUIT", {"giving up: " + reason});
    Drop(reason);
  }
}

void IrcClient::Quit(const std::string& message) {
  given_up_ = true;
  if (reconnect_timer_) loop_.Cancel(reconnect_timer_);
  reconnect_timer_ = 0;
  if (!transport_) return;
  WriteNow("QUIT", {message});
  Drop("quit");
}

void IrcClient::WriteNow(std::string_view command, const std::vector<std::string>& params) {
  if (transport_ && connected_) transport_->Write(FormatIrcLine(command, params));
}

void IrcClient::Handle(const IrcMessage& message) {
  const std::string& command = message.command;
  TrackAccounts(message);
  if (command == "PING") {
    WriteNow("PONG", {message.params.empty() ? std::string("zorvik") : message.params.back()});
  } else if (command == "CAP") {
    HandleCap(message);
  } else if (command == "AUTHENTICATE") {
    if (sasl_pending_ && message.Param(0) == "+") SendSaslCredentials();
  } else if (command == "903") {
    sasl_pending_ = false;
    WriteNow("CAP", {"END"});
  } else if (command == "902" || command == "904" || command == "905" || command == "906" ||
             command == "908") {
    Fatal("SASL login as " +
          (settings_.sasl_account.empty() ? settings_.nick : settings_.sasl_account) +
          " failed: " + Why(message));
  } else if (command == "001") {
    Registered(message);
  } else if (command == "005") {
    for (std::size_t i = 1; i + 1 < message.params.size(); ++i) {
      const std::string& token = message.params[i];
      if (token == "WHOX") whox_ = true;
      if (token == "CALLERID") callerid_mode_ = 'g';
      if (token.starts_with("CALLERID=") && token.size() > 9) callerid_mode_ = token[9];
    }
    ApplyCallerId();
  } else if (command == "433" || command == "437") {
    if (!registered_) TryNextNick();
  } else if (command == "432") {
    if (!registered_) Fatal("the server refuses the nick " + nick_ + ": " + Why(message));
  } else if (command == "464" || command == "465") {
    Fatal("the server refuses us: " + Why(message));
  } else if (command == "ERROR") {
    Report(IrcStatus::kInfo, "the server says: " + message.Param(0));
  } else if (command == "NICK") {
    if (SameIrcName(NickOf(message.prefix), nick_)) {
      nick_ = message.Param(0);
    } else {
      Renamed(std::string(NickOf(message.prefix)), message.Param(0));
    }
  } else if (command == "JOIN") {
    IrcChannel* channel = FindChannel(message.Param(0));
    if (channel && SameIrcName(NickOf(message.prefix), nick_)) {
      channel->Joined();
      LookUpChannel(*channel);
    } else if (channel) {
      channel->Presence(ReportedName(NickOf(message.prefix)), true);
    }
  } else if (command == "QUIT") {
    const std::string_view nick = NickOf(message.prefix);
    if (!SameIrcName(nick, nick_)) {
      const std::string name = ReportedName(nick);
      for (const auto& channel : channels_) channel->Presence(name, false);
      reported_names_.erase(FoldIrcName(nick));
    }
  } else if (command == "KICK" || command == "PART") {
    const std::string gone = command == "KICK" ? message.Param(1) : std::string(NickOf(message.prefix));
    const bool us = SameIrcName(gone, nick_);
    IrcChannel* channel = FindChannel(message.Param(0));
    if (!us && channel) channel->Presence(ReportedName(gone), false);
    if (us && channel && channel->joined()) {
      channel->Left();
      Report(IrcStatus::kInfo, "out of " + channel->name() + " (" + command + " by " +
                                   std::string(NickOf(message.prefix)) + "); joining again in " +
                                   Seconds(kRejoinDelay));
      channel->RejoinAfter(kRejoinDelay);
    }
  } else if (command == "403" || command == "405" || command == "471" || command == "473" ||
             command == "474" || command == "475" || command == "477") {
    IrcChannel* channel = FindChannel(message.Param(1));
    if (channel && !channel->joined()) {
      Report(IrcStatus::kInfo, "cannot join " + channel->name() + ": " + Why(message) +
                                   "; trying again in " + Seconds(kJoinRefusedDelay));
      channel->RejoinAfter(kJoinRefusedDelay);
    }
  } else if (command == "404") {
    Report(IrcStatus::kInfo, "the channel did not take a line: " + Why(message));
  } else if (command == "354") {
    HandleWhoReply(message);
  } else if (command == "315") {
    EndOfWho(message);
  } else if (command == "PRIVMSG" || command == "NOTICE") {
    HandlePrivmsg(message, command == "NOTICE");
  }
}

void IrcClient::HandleCap(const IrcMessage& message) {
  const std::string& sub = message.Param(1);
  if (sub == "LS") {
    // "CAP * LS * :caps" continues on the next line; the last has no '*'.
    const bool more = message.params.size() >= 4 && message.params[2] == "*";
    std::string_view caps =
        message.params.size() >= 3 ? std::string_view(message.params.back()) : std::string_view();
    ForEachCap(caps, [this](std::string_view cap) {
      offered_caps_.emplace_back(cap.substr(0, cap.find('=')));
    });
    if (more || registered_) return;
    RequestCaps();
  } else if ((sub == "ACK" || sub == "NAK") && cap_replies_due_ > 0 && message.params.size() >= 3) {
    bool sasl = false;
    ForEachCap(message.params.back(), [&](std::string_view cap) {
      if (cap == "sasl") sasl = true;
      if (sub == "ACK" && cap.front() != '-') acked_caps_.emplace_back(cap);
    });
    if (sasl && settings_.sasl) {
      if (sub == "NAK") return Fatal("the server refused SASL");
      sasl_acked_ = true;
    }
    if (--cap_replies_due_ == 0) CapsSettled();
  }
}

void IrcClient::RequestCaps() {
  const auto offered = [this](std::string_view cap) {
    return std::find(offered_caps_.begin(), offered_caps_.end(), cap) != offered_caps_.end();
  };
  std::vector<std::string> wanted;
  if (settings_.sasl) {
    if (!offered("sasl")) {
      return Fatal("the server does not offer SASL, so the account cannot log in");
    }
    wanted.emplace_back("sasl");
  }
  // Each on its own: a server that refuses one still grants the others.
  for (const char* cap : {"account-tag", "account-notify", "extended-join"}) {
    if (offered(cap)) wanted.emplace_back(cap);
  }
  for (const std::string& cap : wanted) WriteNow("CAP", {"REQ", cap});
  cap_replies_due_ = static_cast<int>(wanted.size());
  if (wanted.empty()) CapsSettled();
}

void IrcClient::CapsSettled() {
  if (sasl_acked_) {
    sasl_pending_ = true;
    WriteNow("AUTHENTICATE", {"PLAIN"});
  } else {
    WriteNow("CAP", {"END"});
  }
}

bool IrcClient::HasCap(std::string_view cap) const {
  return std::find(acked_caps_.begin(), acked_caps_.end(), cap) != acked_caps_.end();
}

void IrcClient::SendSaslCredentials() {
  const std::string account =
      settings_.sasl_account.empty() ? settings_.nick : settings_.sasl_account;
  const std::string encoded =
      Base64(account + std::string(1, '\0') + account + std::string(1, '\0') + settings_.password);
  for (std::size_t at = 0; at < encoded.size(); at += kSaslChunk) {
    WriteNow("AUTHENTICATE", {encoded.substr(at, kSaslChunk)});
  }
  if (encoded.size() % kSaslChunk == 0) WriteNow("AUTHENTICATE", {"+"});
}

void IrcClient::TryNextNick() {
  const std::string& base = settings_.nick;
  ++nick_attempt_;
  if (nick_attempt_ <= 2) {
    nick_ = base + std::string(static_cast<std::size_t>(nick_attempt_), '_');
  } else {
    // Servers cap nick length (often at 9): keep the digits inside it.
    const std::string digits = std::to_string(nick_attempt_ - 2);
    nick_ =
        base.substr(0, std::max<std::size_t>(1, std::min(base.size(), 9 - digits.size()))) + digits;
  }
  if (nick_attempt_ > 50) return Fatal("every nick tried is in use");
  Report(IrcStatus::kInfo, "that nick is taken; trying " + nick_);
  WriteNow("NICK", {nick_});
}

void IrcClient::Registered(const IrcMessage& message) {
  registered_ = true;
  if (!message.params.empty() && !message.params[0].empty()) nick_ = message.params[0];
  std::string names;
  for (const auto& channel : channels_) names += (names.empty() ? "" : ", ") + channel->name();
  Report(IrcStatus::kInfo, "registered as " + nick_ + "; joining " + names);
  for (const auto& channel : channels_) Join(*channel);
  std::weak_ptr<bool> alive = alive_;
  if (settle_timer_) loop_.Cancel(settle_timer_);
  settle_timer_ = loop_.ScheduleAfter(kProvedGood, [this, alive] {
    if (alive.expired()) return;
    settle_timer_ = 0;
    backoff_.Reset();
  });
  Pump();  // private messages do not need the channel
}

void IrcClient::Join(const IrcChannel& channel) {
  if (channel.settings_.key.empty()) {
    WriteNow("JOIN", {channel.name()});
  } else {
    WriteNow("JOIN", {channel.name(), channel.settings_.key});
  }
}

bool IrcClient::AllInstantMessagesOff() const {
  for (const auto& channel : channels_) {
    if (!channel->instant_messages_off()) return false;
  }
  return true;
}

void IrcClient::ApplyCallerId() {
  if (settings_.keep_private_messages) return;
  const bool off = AllInstantMessagesOff();
  if (!registered_ || callerid_mode_ == 0 || callerid_set_ == off) return;
  WriteNow("MODE", {nick_, std::string(off ? "+" : "-") + callerid_mode_});
  callerid_set_ = off;
}

std::string IrcClient::ReportedName(std::string_view nick) const {
  const auto found = reported_names_.find(FoldIrcName(nick));
  if (found != reported_names_.end()) return found->second;
  // A name someone else still goes by: this is not that person. A quote
  // mark makes the name differ, and no nick holds one.
  for (const auto& [current, name] : reported_names_) {
    if (SameIrcName(name, nick)) return std::string(nick) + "'";
  }
  return std::string(nick);
}

void IrcClient::Renamed(const std::string& old_nick, const std::string& new_nick) {
  const std::string name = ReportedName(old_nick);
  reported_names_.erase(FoldIrcName(old_nick));
  if (SameIrcName(name, new_nick)) return;  // back to the name they came with
  // Kept while the client sees the person; bounded, so that a network's
  // nick changes over months cannot grow it without end.
  if (reported_names_.size() >= kMostRenamedPeople) reported_names_.clear();
  reported_names_[FoldIrcName(new_nick)] = name;
}

void IrcClient::HandlePrivmsg(const IrcMessage& message, bool notice) {
  if (message.params.size() < 2) return;
  const std::string& target = message.params[0];
  const std::string& text = message.params[1];
  const std::string_view sender = NickOf(message.prefix);
  const bool from_person = message.prefix.find('!') != std::string::npos;
  if (SameIrcName(sender, nick_)) return;
  if (const auto ctcp = ParseCtcp(text)) {
    if (!notice && ctcp->command == "VERSION" && SameIrcName(target, nick_) && from_person &&
        queued() < kBusyQueue) {
      Enqueue(private_queue_,
              FormatIrcLine("NOTICE",
                            {std::string(sender), "\x01VERSION " + settings_.version + "\x01"}),
              {});
    }
    return;
  }
  if (IrcChannel* channel = notice ? nullptr : FindChannel(target)) {
    channel->Hear(ReportedName(sender), StripFormatting(text));
    return;
  }
  if (IsChannel(target) || !from_person) return;
  if (!notice && private_observer_ && SameIrcName(target, nick_)) {
    HearPrivate(message, text);
  }
  if (AllInstantMessagesOff()) return;
  Report(IrcStatus::kMessage, std::string(notice ? "notice from " : "private message from ") +
                                  std::string(sender) + ": " + text);
}

std::uint64_t IrcClient::Enqueue(IrcOutQueue& queue, std::string wire, std::string echo) {
  const std::uint64_t seq = ++queue.next_seq;
  queue.lines.push_back(IrcOutQueue::Line{seq, std::move(wire), std::move(echo)});
  while (queue.lines.size() > std::max<std::size_t>(1, settings_.queue_limit)) {
    queue.sent_seq = std::max(queue.sent_seq, queue.lines.front().seq);
    queue.lines.pop_front();
    ++queue.dropped_total;
    ++queue.dropped_unreported;
  }
  Pump();
  return seq;
}

IrcOutQueue& IrcClient::QueueOfTurn(std::size_t turn) {
  return turn == 0 ? private_queue_ : channels_[turn - 1]->queue_;
}

bool IrcClient::CanSend(std::size_t turn) const {
  return turn == 0 ? registered_ : channels_[turn - 1]->joined();
}

void IrcClient::Pump() {
  const Micros now = loop_.Now();
  const std::size_t turns = channels_.size() + 1;
  // The first queue from next_turn_ on that has a line that may go.
  const auto ready = [&]() -> std::optional<std::size_t> {
    for (std::size_t i = 0; i < turns; ++i) {
      const std::size_t turn = (next_turn_ + i) % turns;
      if (!QueueOfTurn(turn).lines.empty() && CanSend(turn)) return turn;
    }
    return std::nullopt;
  };
  std::optional<std::size_t> turn = ready();
  while (turn && bucket_.Take(now)) {
    IrcOutQueue& queue = QueueOfTurn(*turn);
    IrcOutQueue::Line line = std::move(queue.lines.front());
    queue.lines.pop_front();
    transport_->Write(line.wire);
    queue.sent_seq = std::max(queue.sent_seq, line.seq);
    next_turn_ = (*turn + 1) % turns;
    if (*turn > 0) {
      IrcChannel& channel = *channels_[*turn - 1];
      if (channel.sent_observer_) channel.sent_observer_(nick_, line.echo);
    }
    turn = ready();
  }
  if (!turn) return;
  const Micros due = bucket_.ReadyAt(now);
  if (pump_timer_ && pump_due_ <= due) return;
  if (pump_timer_) loop_.Cancel(pump_timer_);
  pump_due_ = due;
  std::weak_ptr<bool> alive = alive_;
  pump_timer_ = loop_.ScheduleAt(due, [this, alive] {
    if (alive.expired()) return;
    pump_timer_ = 0;
    Pump();
  });
}

void IrcClient::SendMail(const std::string& recipient, const std::string& subject,
                         const std::string& text) {
  const std::string to = settings_.feedback_nick.empty() ? recipient : settings_.feedback_nick;
  const std::size_t budget = PrivmsgTextBudget(nick_, to);
  std::vector<std::string> lines = {"mail: " + subject};
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t end = rest.find_first_of("\r\n");
    const std::string_view one = rest.substr(0, end);
    if (!one.empty()) lines.emplace_back(one);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  for (const std::string& one : lines) {
    for (const std::string& piece : SplitUtf8(one, budget)) {
      Enqueue(private_queue_, FormatIrcLine("PRIVMSG", {to, piece}), {});
    }
  }
  Report(IrcStatus::kInfo,
         "mail to " + to + " queued as " + std::to_string(lines.size()) + " private messages");
}

void IrcClient::SendNotice(const std::string& nick, const std::string& text) {
  const std::size_t budget = PrivmsgTextBudget(nick_, nick);
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::size_t end = rest.find_first_of("\r\n");
    for (const std::string& piece : SplitUtf8(rest.substr(0, end), budget)) {
      Enqueue(private_queue_, FormatIrcLine("NOTICE", {nick, piece}), {});
    }
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
}

IrcChannel::IrcChannel(IrcClient& client, IrcChannelSettings settings)
    : client_(client), settings_(std::move(settings)) {}

IrcChannel::~IrcChannel() {
  if (rejoin_timer_) client_.loop_.Cancel(rejoin_timer_);
}

void IrcChannel::Hear(const std::string& nick, const std::string& text) {
  // Observers may subscribe and unsubscribe while being called.
  std::vector<SubscriptionId> ids;
  for (const auto& [id, observer] : observers_) ids.push_back(id);
  for (SubscriptionId id : ids) {
    auto found = observers_.find(id);
    if (found == observers_.end()) continue;
    LineObserver observer = found->second;
    observer(nick, text);
  }
}

void IrcChannel::Presence(const std::string& nick, bool here) {
  if (presence_observer_) presence_observer_(nick, here);
}

void IrcChannel::Joined() {
  joined_ = true;
  if (rejoin_timer_) client_.loop_.Cancel(rejoin_timer_);
  rejoin_timer_ = 0;
  std::string text = "joined " + name();
  if (queue_.dropped_unreported > 0) {
    text += "; " + std::to_string(queue_.dropped_unreported) +
            " lines could not wait for it and were dropped";
    queue_.dropped_unreported = 0;
  }
  if (!queue_.lines.empty()) {
    text += "; sending " + std::to_string(queue_.lines.size()) + " waiting lines";
  }
  client_.Report(IrcStatus::kInfo, text);
  client_.Pump();
}

void IrcChannel::Left() {
  joined_ = false;
  if (rejoin_timer_) client_.loop_.Cancel(rejoin_timer_);
  rejoin_timer_ = 0;
}

void IrcChannel::RejoinAfter(Micros delay) {
  if (rejoin_timer_) client_.loop_.Cancel(rejoin_timer_);
  std::weak_ptr<bool> alive = client_.alive_;
  rejoin_timer_ = client_.loop_.ScheduleAfter(delay, [this, alive] {
    if (alive.expired()) return;
    rejoin_timer_ = 0;
    if (client_.registered_ && !joined_) client_.Join(*this);
  });
}

void IrcChannel::ChatSend(std::string_view line) {
  EventLoop& loop = client_.loop_;
  std::uint64_t last = 0;
  for (const std::string& piece : SplitUtf8(line, PrivmsgTextBudget(client_.nick_, name()))) {
    last = client_.Enqueue(queue_, FormatIrcLine("PRIVMSG", {name(), piece}), piece);
  }
  // Wait for the bucket while the channel can take the line; when it
  // cannot, the line waits in the queue and the game goes on. The other
  // queues' turns may come first.
  while (last > queue_.sent_seq && joined_ && !loop.Quitting()) {
    const Micros due =
        client_.pump_timer_ ? client_.pump_due_ : client_.bucket_.ReadyAt(loop.Now());
    // Past the due time by a microsecond, so the pump due then has run.
    loop.Wait(std::max<Micros>(1, due - loop.Now() + 1));
  }
  loop.Wait(kChatPause);
}

void IrcChannel::Pause(double seconds) {
  client_.loop_.Wait(SecondsToMicros(seconds));
}

void IrcChannel::InstantMessagesOff() {
  im_off_ = true;
  client_.ApplyCallerId();
}

void IrcChannel::InstantMessagesOn() {
  im_off_ = false;
  client_.ApplyCallerId();
}

void IrcChannel::SendMail(const std::string& recipient, const std::string& subject,
                          const std::string& text) {
  client_.SendMail(recipient, subject, text);
}

RoomFeed::SubscriptionId IrcChannel::Subscribe(LineObserver observer) {
  observers_[++last_subscription_] = std::move(observer);
  return last_subscription_;
}

void IrcChannel::Unsubscribe(SubscriptionId id) {
  observers_.erase(id);
}

}  // namespace zorvik
