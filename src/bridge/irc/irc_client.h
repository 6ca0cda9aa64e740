// IrcClient: the host's link to an IRC server, serving one channel or
// several on the one connection. Each channel is an IrcChannel, a room of
// its own: a chat line becomes a PRIVMSG to it, and its PRIVMSG lines from
// others are its room lines (nick, text), in the order the server relays
// them. A line heard in one channel reaches that channel's feed alone. The
// host's own lines are not reported back as room lines (IRC does not echo
// them); the channel's sent-line observer shows them to the operator.
//
// The link, on the event loop (no threads):
// - On connecting: CAP LS 302, then NICK and USER; SASL PLAIN when asked
//   for (the server must offer it, or the client gives up: logging in
//   without the account could get the host's nick taken); otherwise a
//   password, if any, goes as the server password (PASS). The account
//   capabilities (account-tag, account-notify, extended-join) are asked
//   for where offered, so that private messages come with the services
//   account of their sender. A nick in use during registration is tried
//   again with "_", "__", then digits.
// - Without account-tag, on a server whose ISUPPORT names WHOX, the
//   accounts of those already in a channel are asked for (WHO #chan %tna)
//   once it is joined, and a private message from someone whose account is
//   not known waits for a WHO of its sender before the private observer
//   hears it. At most 8 senders are looked up at a time, with 4 messages
//   held each: beyond that a sender counts as logged out, and further
//   messages are dropped. A look-up unanswered for 30 s, or cut off by a
//   lost link, counts as logged out.
// - Once registered it joins every channel (with its key, if it has one),
//   and joins a channel again after a kick from it.
// - PING from the server is answered at once. When the server has been
//   silent for a minute the client pings it; after two minutes of silence
//   the link counts as dead.
// - A lost link is made again after a backoff (ReconnectBackoff: 1 s
//   doubling to 5 min, with jitter), reset once a link has stayed up for a
//   minute. The matches go on across it: lines sent meanwhile wait in a
//   bounded queue per channel (the oldest are dropped beyond it, and the
//   operator is told how many) and go out once that channel is joined again.
// - Private messages and notices from people belong to the connection, not
//   to a channel: they are shown to the operator once, while the instant
//   messages of any channel are on, and the private observer (the
//   operators' desk) hears every private message. Each channel has its own
//   instant-message switch; where the server's ISUPPORT names CALLERID, that
//   user mode is set (the server then blocks private messages) while every
//   channel's switch is off, and cleared when one is on again. CTCP is
//   ignored, except that VERSION gets a reply.
// - SendMail sends the mail as private messages to the recipient (or to
//   the feedback nick of the settings): the subject, then each line.
//
// Flood control: channel lines, private messages and notices go through the
// connection's one TokenBucket (default burst 4, then one line a second).
// Each channel has its own queue, and private messages and notices one
// more; the bucket's tokens go to the queues in turn (round robin), so one
// busy channel cannot starve another. ChatSend waits, dispatching, until the
// bucket has let its line go, then takes its usual 0.51 s. Lines longer
// than the server allows are split on UTF-8 boundaries; CR, LF and NUL
// never reach the wire.
//
// Re-entry: ChatSend and Pause dispatch (re-enter); nested ChatSends keep
// their lines whole and in order. Every other call returns without
// dispatching. Observers (room lines, status, sent lines) are called from
// the loop's dispatch, must not dispatch themselves, and may schedule tasks.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/chat_client.h"
#include "bridge/loop/event_loop.h"
#include "bridge/irc/irc_message.h"
#include "bridge/irc/irc_transport.h"
#include "bridge/irc/reconnect_backoff.h"
#include "bridge/room_feed.h"
#include "bridge/irc/token_bucket.h"

namespace zorvik {

// A channel to serve: its name, with its '#' (or other channel sign), and
// its key (+k), empty when it has none.
struct IrcChannelSettings {
  std::string name;
  std::string key;
  friend bool operator==(const IrcChannelSettings&, const IrcChannelSettings&) = default;
};

struct IrcClientSettings {
  std::string nick;
  std::string channel;      // the first channel served, with its '#'
  std::string channel_key;  // its key, empty: none
  // Further channels served on the same connection, each a room of its own.
  std::vector<IrcChannelSettings> more_channels;
  std::string user = "zorvik";
  std::string realname = "zorvik battle host";
  std::string password;      // empty: none
  bool sasl = false;         // the password logs into an account with SASL PLAIN
  std::string sasl_account;  // empty: the nick
  double burst = 4;          // lines that may go at once after a quiet spell
  double lines_per_second = 1;
  std::size_t queue_limit = 100;  // lines kept per queue while they cannot go
  std::string feedback_nick;      // empty: the recipient SendMail is given
  std::string version = "zorvik";
  std::uint64_t jitter_seed = 0;
  // Private messages are wanted even while instant messages are off (the
  // operators steer the host by them): the caller-ID mode is never set.
  bool keep_private_messages = false;
};

// Every channel `settings` serves, the first channel first. Inline: the
// option checks use it on builds without the client itself.
inline std::vector<IrcChannelSettings> ServedChannels(const IrcClientSettings& settings) {
  std::vector<IrcChannelSettings> channels = {{settings.channel, settings.channel_key}};
  channels.insert(channels.end(), settings.more_channels.begin(), settings.more_channels.end());
  return channels;
}

// Who sent a private message: "nick!user@host" and the services account
// they are logged in to (empty when none, or none is known).
struct IrcSender {
  std::string prefix;
  std::string account;
};

enum class IrcStatus {
  kInfo,     // the link's progress: connecting, joined, lost, ...
  kMessage,  // a private message or notice for the operator
  kFatal,    // the client has given up for good (bad login, bad nick)
};

class IrcClient;

// Lines waiting for the bucket (or for their channel), oldest first.
struct IrcOutQueue {
  struct Line {
    std::uint64_t seq;
    std::string wire;  // the whole line, CR LF included
    std::string echo;  // channel lines: the text, for the sent observer
  };
  std::deque<Line> lines;
  std::uint64_t next_seq = 0;
  std::uint64_t sent_seq = 0;  // every line up to it has gone or been dropped
  std::size_t dropped_total = 0;
  std::size_t dropped_unreported = 0;
};

// One channel the client serves: the ChatClient and RoomFeed of the host
// that runs its matches. Made and owned by the IrcClient; lives as long as
// it does.
class IrcChannel : public ChatClient, public RoomFeed {
 public:
  IrcChannel(IrcClient& client, IrcChannelSettings settings);
  ~IrcChannel() override;

  const std::string& name() const { return settings_.name; }
  bool joined() const { return joined_; }
  // This channel's lines waiting for the bucket or for the channel.
  std::size_t queued() const { return queue_.lines.size(); }
  // Its lines dropped from a full queue since the client was made.
  std::size_t dropped() const { return queue_.dropped_total; }
  bool instant_messages_off() const { return im_off_; }

  // Called with (nick, text) for every line of this channel as it goes on
  // the wire.
  void SetSentObserver(LineObserver observer) { sent_observer_ = std::move(observer); }
  // Called with a nick whenever someone else comes into this channel (true)
  // or goes out of it (false: parted, was kicked, or quit the network;
  // a quit is reported to every channel, for the client keeps no member
  // lists).
  using PresenceObserver = std::function<void(const std::string& nick, bool here)>;
  void SetPresenceObserver(PresenceObserver observer) { presence_observer_ = std::move(observer); }

  // ChatClient.
  void ChatSend(std::string_view line) override;
  void Pause(double seconds) override;
  void InstantMessagesOff() override;
  void InstantMessagesOn() override;
  void SendMail(const std::string& recipient, const std::string& subject,
                const std::string& text) override;

  // RoomFeed.
  SubscriptionId Subscribe(LineObserver observer) override;
  void Unsubscribe(SubscriptionId id) override;

 private:
  friend class IrcClient;

  void Hear(const std::string& nick, const std::string& text);
  void Presence(const std::string& nick, bool here);
  void Joined();
  void Left();
  void RejoinAfter(Micros delay);

  IrcClient& client_;
  IrcChannelSettings settings_;
  bool joined_ = false;
  bool im_off_ = false;
  EventLoop::TimerId rejoin_timer_ = 0;
  IrcOutQueue queue_;
  std::map<SubscriptionId, LineObserver> observers_;
  SubscriptionId last_subscription_ = 0;
  LineObserver sent_observer_;
  PresenceObserver presence_observer_;
};

class IrcClient {
 public:
  using StatusObserver = std::function<void(IrcStatus status, const std::string& text)>;
  using PrivateObserver = std::function<void(const IrcSender& sender, const std::string& text)>;

  // `loop` must outlive the client; `connect` makes a new transport for
  // every attempt. One IrcChannel is made for each channel served.
  IrcClient(EventLoop& loop, IrcTransportFactory connect, IrcClientSettings settings);
  IrcClient(const IrcClient&) = delete;
  IrcClient& operator=(const IrcClient&) = delete;
  ~IrcClient();

  // Starts the first connection. Does not dispatch.
  void Start();

  // Says goodbye (QUIT with `message`) if connected and closes the link for
  // good. Does not dispatch.
  void Quit(const std::string& message);

  void SetStatusObserver(StatusObserver observer) { status_observer_ = std::move(observer); }
  // Called for every private message (not notice, not CTCP) from a person
  // to the host, whatever the instant-message switches say.
  void SetPrivateObserver(PrivateObserver observer) { private_observer_ = std::move(observer); }

  // Sends `text` to `nick` as notices, through the flood bucket. Does not
  // dispatch.
  void SendNotice(const std::string& nick, const std::string& text);
  // Sends a mail as private messages (see above); every channel's SendMail
  // comes here. Does not dispatch.
  void SendMail(const std::string& recipient, const std::string& subject,
                const std::string& text);

  // The channels served, in the order of the settings (never none).
  std::size_t channel_count() const { return channels_.size(); }
  IrcChannel& channel(std::size_t index) { return *channels_.at(index); }
  // The channel served under `name` (compared as the server does), or null.
  IrcChannel* FindChannel(std::string_view name);

  // The nick the server knows us by (the one asked for until registered).
  const std::string& nick() const { return nick_; }
  bool registered() const { return registered_; }
  // Lines waiting for the bucket or for their channel, in every queue.
  std::size_t queued() const;
  // Lines dropped from full queues since the client was made.
  std::size_t dropped() const;

 private:
  friend class IrcChannel;

  void Connect();
  void OnConnected();
  void OnReceived(std::string_view bytes);
  void OnClosed(const std::string& reason);
  void Handle(const IrcMessage& message);
  void HandleCap(const IrcMessage& message);
  // The name a person's lines and comings and goings are reported under:
  // the nick they had when the client first saw them, through any nick
  // changes since; someone who takes a nick that another person still goes
  // by is reported as that nick with a quote mark ("bob'").
  std::string ReportedName(std::string_view nick) const;
  void Renamed(const std::string& old_nick, const std::string& new_nick);
  void HandlePrivmsg(const IrcMessage& message, bool notice);
  void Registered(const IrcMessage& message);
  void TryNextNick();
  void SendSaslCredentials();
  void Fatal(const std::string& reason);
  void Drop(const std::string& reason);
  void CheckLiveness();
  void ApplyCallerId();
  bool AllInstantMessagesOff() const;
  void RequestCaps();
  void CapsSettled();
  bool HasCap(std::string_view cap) const;
  // The account of the sender of `message`: its account tag when the
  // server tags messages, else what JOIN and ACCOUNT lines told.
  std::string AccountOf(const IrcMessage& message) const;
  void TrackAccounts(const IrcMessage& message);
  // Keeps (or, for an empty or "*" account, forgets) what `folded_nick` is
  // logged in to.
  void Learn(const std::string& folded_nick, const std::string& account);
  // WHOX look-ups (see above).
  bool LooksUpAccounts() const;
  void LookUpChannel(const IrcChannel& channel);
  // Hands a private message to the private observer, now or, while its
  // sender is looked up, once the look-up ends.
  void HearPrivate(const IrcMessage& message, const std::string& text);
  void HandleWhoReply(const IrcMessage& message);  // 354
  void EndOfWho(const IrcMessage& message);        // 315
  void FinishLookup(const std::string& folded_nick);
  void FinishLookups();
  void Join(const IrcChannel& channel);

  // Writes a control line (registration, PONG, JOIN, MODE, QUIT) at once;
  // lost when there is no link, since each is made again on reconnecting.
  void WriteNow(std::string_view command, const std::vector<std::string>& params);
  // Queues a line on `queue` for the bucket; returns its sequence number.
  std::uint64_t Enqueue(IrcOutQueue& queue, std::string wire, std::string echo);
  // Sends what the bucket allows, taking the queues in turn.
  void Pump();
  // The queue of turn `turn`: 0 the private one, then each channel's.
  IrcOutQueue& QueueOfTurn(std::size_t turn);
  bool CanSend(std::size_t turn) const;
  void Report(IrcStatus status, const std::string& text);

  EventLoop& loop_;
  IrcTransportFactory connect_;
  IrcClientSettings settings_;
  std::vector<std::unique_ptr<IrcChannel>> channels_;

  std::unique_ptr<IrcTransport> transport_;
  // Closed transports, deleted in a task of their own, or with the client
  // when the loop quits before that task runs (as it does on a fatal error).
  std::vector<std::unique_ptr<IrcTransport>> closed_;
  IrcLineReader reader_;
  std::string nick_;
  int nick_attempt_ = 0;
  bool connected_ = false;
  bool registered_ = false;
  bool given_up_ = false;  // Quit or a fatal error: no more reconnecting
  std::vector<std::string> offered_caps_;
  bool sasl_pending_ = false;
  int cap_replies_due_ = 0;     // CAP REQs not yet answered
  bool sasl_acked_ = false;
  std::vector<std::string> acked_caps_;
  // Folded nick to account, from extended-join and account-notify; only
  // for people in a channel served (forgotten when they leave one).
  std::map<std::string, std::string> accounts_;
  bool whox_ = false;  // the server's ISUPPORT names WHOX
  struct HeldMessage {
    std::string prefix;
    std::string text;
  };
  struct AccountLookup {
    std::string account;  // from the answer, empty until then or when none
    std::vector<HeldMessage> held;
    EventLoop::TimerId timeout = 0;
  };
  // Private messages waiting for a WHO of their sender, by folded nick.
  std::map<std::string, AccountLookup> lookups_;

  char callerid_mode_ = 0;  // 0 when the server has no caller-ID mode
  bool callerid_set_ = false;  // the mode is on at the server

  Micros last_heard_ = 0;
  bool ping_sent_ = false;
  EventLoop::TimerId liveness_timer_ = 0;
  EventLoop::TimerId reconnect_timer_ = 0;
  EventLoop::TimerId settle_timer_ = 0;  // resets the backoff once the link proves good
  EventLoop::TimerId pump_timer_ = 0;
  Micros pump_due_ = 0;
  // Folded current nick -> reported name, for the people who changed nick.
  std::map<std::string, std::string> reported_names_;
  static constexpr std::size_t kMostRenamedPeople = 1'000;
  ReconnectBackoff backoff_;
  TokenBucket bucket_;

  IrcOutQueue private_queue_;  // private messages and notices
  std::size_t next_turn_ = 0;  // the queue the next token is offered to first

  StatusObserver status_observer_;
  PrivateObserver private_observer_;
  // Tasks and timers this client scheduled find it gone through this.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace zorvik
