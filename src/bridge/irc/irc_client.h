// IrcClient: the host's chat client on IRC. The room is one channel: a chat
// line becomes a PRIVMSG to it, and the channel's PRIVMSG lines from others
// are the room lines (nick, text), in the order the server relays them. The
// host's own lines are not reported back as room lines (IRC does not echo
// them); the sent-line observer shows them to the operator instead.
//
// The link, on the event loop (no threads):
// - On connecting: CAP LS 302, then NICK and USER; SASL PLAIN when asked
//   for (the server must offer it, or the client gives up: logging in
//   without the account could get the host's nick taken); otherwise a
//   password, if any, goes as the server password (PASS). The account
//   capabilities (account-tag, account-notify, extended-join) are asked
//   for where offered, so that private messages come with the services
//   account of their sender. A nick in use
//   during registration is tried again with "_", "__", then digits.
// - Once registered it joins the channel, and joins again after a kick.
// - PING from the server is answered at once. When the server has been
//   silent for a minute the client pings it; after two minutes of silence
//   the link counts as dead.
// - A lost link is made again after a backoff (ReconnectBackoff: 1 s
//   doubling to 5 min, with jitter), reset once a link has stayed up for a
//   minute. The match goes on across it: lines sent meanwhile wait in a
//   bounded queue (the oldest are dropped beyond it, and the operator is
//   told how many) and go out once the channel is joined again.
// - Private messages and notices from people are shown to the operator
//   while instant messages are on. InstantMessagesOff stops showing them
//   and, where the server's ISUPPORT names CALLERID, sets that user mode
//   (the server then blocks them); InstantMessagesOn undoes both. CTCP is
//   ignored, except that VERSION gets a reply.
// - SendMail sends the mail as private messages to the recipient (or to
//   the feedback nick of the settings): the subject, then each line.
//
// Flood control: channel lines, private messages and notices go through a
// TokenBucket (default burst 4, then one line a second). ChatSend waits,
// dispatching, until the bucket has let its line go, then takes its usual
// 0.51 s. Lines longer than the server allows are split on UTF-8
// boundaries; CR, LF and NUL never reach the wire.
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

struct IrcClientSettings {
  std::string nick;
  std::string channel;  // with its '#' (or other channel sign)
  std::string user = "zorvik";
  std::string realname = "zorvik battle host";
  std::string password;      // empty: none
  bool sasl = false;         // the password logs into an account with SASL PLAIN
  std::string sasl_account;  // empty: the nick
  double burst = 4;          // lines that may go at once after a quiet spell
  double lines_per_second = 1;
  std::size_t queue_limit = 100;  // lines kept while the channel cannot be reached
  std::string feedback_nick;      // empty: the recipient SendMail is given
  std::string version = "zorvik";
  std::uint64_t jitter_seed = 0;
  // Private messages are wanted even while instant messages are off (the
  // operators steer the host by them): the caller-ID mode is never set.
  bool keep_private_messages = false;
};

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

class IrcClient : public ChatClient, public RoomFeed {
 public:
  using StatusObserver = std::function<void(IrcStatus status, const std::string& text)>;
  using PrivateObserver = std::function<void(const IrcSender& sender, const std::string& text)>;

  // `loop` must outlive the client; `connect` makes a new transport for
  // every attempt.
  IrcClient(EventLoop& loop, IrcTransportFactory connect, IrcClientSettings settings);
  ~IrcClient() override;

  // Starts the first connection. Does not dispatch.
  void Start();

  // Says goodbye (QUIT with `message`) if connected and closes the link for
  // good. Does not dispatch.
  void Quit(const std::string& message);

  void SetStatusObserver(StatusObserver observer) { status_observer_ = std::move(observer); }
  // Called with (nick, text) for every channel line as it goes on the wire.
  void SetSentObserver(LineObserver observer) { sent_observer_ = std::move(observer); }
  // Called for every private message (not notice, not CTCP) from a person
  // to the host, whether instant messages are on or off.
  void SetPrivateObserver(PrivateObserver observer) { private_observer_ = std::move(observer); }

  // Sends `text` to `nick` as notices, through the flood bucket. Does not
  // dispatch.
  void SendNotice(const std::string& nick, const std::string& text);

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

  // The nick the server knows us by (the one asked for until registered).
  const std::string& nick() const { return nick_; }
  bool registered() const { return registered_; }
  bool joined() const { return joined_; }
  // Lines waiting for the bucket or for the channel.
  std::size_t queued() const { return queue_.size(); }
  // Lines dropped from a full queue since the client was made.
  std::size_t dropped() const { return dropped_total_; }

 private:
  struct Outgoing {
    std::uint64_t seq;
    std::string wire;  // the whole line, CR LF included
    std::string echo;  // channel lines: the text, for the sent observer
    bool to_channel;   // waits for the channel to be joined
  };

  void Connect();
  void OnConnected();
  void OnReceived(std::string_view bytes);
  void OnClosed(const std::string& reason);
  void Handle(const IrcMessage& message);
  void HandleCap(const IrcMessage& message);
  void HandlePrivmsg(const IrcMessage& message, bool notice);
  void Registered(const IrcMessage& message);
  void Joined();
  void TryNextNick();
  void SendSaslCredentials();
  void Fatal(const std::string& reason);
  void Drop(const std::string& reason);
  void CheckLiveness();
  void ApplyCallerId();
  void RequestCaps();
  void CapsSettled();
  bool HasCap(std::string_view cap) const;
  // The account of the sender of `message`: its account tag when the
  // server tags messages, else what JOIN and ACCOUNT lines told.
  std::string AccountOf(const IrcMessage& message) const;
  void TrackAccounts(const IrcMessage& message);

  // Writes a control line (registration, PONG, JOIN, MODE, QUIT) at once;
  // lost when there is no link, since each is made again on reconnecting.
  void WriteNow(std::string_view command, const std::vector<std::string>& params);
  // Queues a line for the bucket; returns its sequence number.
  std::uint64_t Enqueue(std::string wire, std::string echo, bool to_channel);
  void Pump();
  bool CanSend(const Outgoing& line) const;
  void Report(IrcStatus status, const std::string& text);

  EventLoop& loop_;
  IrcTransportFactory connect_;
  IrcClientSettings settings_;

  std::unique_ptr<IrcTransport> transport_;
  // Closed transports, deleted in a task of their own, or with the client
  // when the loop quits before that task runs (as it does on a fatal error).
  std::vector<std::unique_ptr<IrcTransport>> closed_;
  IrcLineReader reader_;
  std::string nick_;
  int nick_attempt_ = 0;
  bool connected_ = false;
  bool registered_ = false;
  bool joined_ = false;
  bool given_up_ = false;  // Quit or a fatal error: no more reconnecting
  std::vector<std::string> offered_caps_;
  bool sasl_pending_ = false;
  int cap_replies_due_ = 0;     // CAP REQs not yet answered
  bool sasl_acked_ = false;
  std::vector<std::string> acked_caps_;
  // Folded nick to account, from extended-join and account-notify; only
  // for people in the channel (forgotten when they leave it).
  std::map<std::string, std::string> accounts_;

  char callerid_mode_ = 0;  // 0 when the server has no caller-ID mode
  bool im_off_ = false;
  bool callerid_set_ = false;  // the mode is on at the server

  Micros last_heard_ = 0;
  bool ping_sent_ = false;
  EventLoop::TimerId liveness_timer_ = 0;
  EventLoop::TimerId reconnect_timer_ = 0;
  EventLoop::TimerId settle_timer_ = 0;  // resets the backoff once the link proves good
  EventLoop::TimerId rejoin_timer_ = 0;
  EventLoop::TimerId pump_timer_ = 0;
  Micros pump_due_ = 0;
  ReconnectBackoff backoff_;
  TokenBucket bucket_;

  std::deque<Outgoing> queue_;
  std::uint64_t next_seq_ = 0;
  std::uint64_t sent_seq_ = 0;  // every line up to it has gone or been dropped
  std::size_t dropped_total_ = 0;
  std::size_t dropped_unreported_ = 0;

  std::map<SubscriptionId, LineObserver> observers_;
  SubscriptionId last_subscription_ = 0;
  StatusObserver status_observer_;
  LineObserver sent_observer_;
  PrivateObserver private_observer_;
  // Tasks and timers this client scheduled find it gone through this.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace zorvik
