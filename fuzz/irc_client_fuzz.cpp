// libFuzzer target for the IRC client's reaction to whatever a server
// sends: the input is the server's side of a connection, fed to a client
// that runs in virtual time, in pieces with pauses between them, so that
// registration, SASL, joins, kicks, pings, time-outs and reconnections all
// happen. Nothing crashes, and what the client hands on holds its promises:
// every line it writes is one line (CR LF at its end, no CR, LF or NUL
// inside), and the names and texts it reports are UTF-8.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "bridge/irc/irc_client.h"
#include "bridge/irc/irc_message.h"
#include "bridge/irc/irc_transport.h"
#include "bridge/loop/virtual_loop.h"

namespace {

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

bool IsUtf8(const std::string& text) {
  return zorvik::ToUtf8(text) == text;
}

// The server's end: takes the client's lines and hands it the input.
class Server {
 public:
  class Transport : public zorvik::IrcTransport {
   public:
    Transport(Server& server, zorvik::EventLoop& loop) : server_(server), loop_(loop) {}
    ~Transport() override { Close(); }
    void Open(Handlers handlers) override {
      handlers_ = std::move(handlers);
      server_.live_ = this;
      loop_.Post([this] {
        if (!closed_) handlers_.connected();
      });
    }
    void Write(std::string_view bytes) override {
      Check(bytes.size() >= 2 && bytes.substr(bytes.size() - 2) == "\r\n");
      const std::string_view lines = bytes.substr(0, bytes.size() - 2);
      // Several lines may come in one write; each is whole.
      for (std::size_t start = 0; start <= lines.size();) {
        const std::size_t end = std::min(lines.find("\r\n", start), lines.size());
        const std::string_view line = lines.substr(start, end - start);
        Check(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos);
        start = end + 2;
      }
    }
    void Close() override {
      closed_ = true;
      if (server_.live_ == this) server_.live_ = nullptr;
    }
    void Receive(std::string_view bytes) {
      if (!closed_) handlers_.received(bytes);
    }
    void Hangup() {
      if (closed_) return;
      Close();
      handlers_.closed("reset by the fuzzer");
    }

   private:
    Server& server_;
    zorvik::EventLoop& loop_;
    Handlers handlers_;
    bool closed_ = false;
  };

  zorvik::IrcTransportFactory Factory(zorvik::EventLoop& loop) {
    return [this, &loop] { return std::make_unique<Transport>(*this, loop); };
  }
  Transport* live() const { return live_; }

 private:
  Transport* live_ = nullptr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  zorvik::VirtualLoop loop;
  Server server;
  zorvik::IrcClientSettings settings;
  settings.nick = "host";
  settings.channel = "#battles";
  settings.more_channels = {zorvik::IrcChannelSettings{"#two", "key"}};
  settings.password = "secret";
  settings.sasl = (data[0] & 1) != 0;
  settings.keep_private_messages = (data[0] & 2) != 0;
  zorvik::IrcClient client(loop, server.Factory(loop), settings);
  client.SetStatusObserver([](zorvik::IrcStatus, const std::string& text) { Check(IsUtf8(text)); });
  client.SetPrivateObserver([](const zorvik::IrcSender& sender, const std::string& text) {
    Check(IsUtf8(sender.prefix) && IsUtf8(sender.account) && IsUtf8(text));
  });
  for (std::size_t i = 0; i < client.channel_count(); ++i) {
    zorvik::IrcChannel& channel = client.channel(i);
    channel.Subscribe([](const std::string& nick, const std::string& text) {
      Check(IsUtf8(nick) && IsUtf8(text));
    });
    channel.SetPresenceObserver([](const std::string& nick, bool) { Check(IsUtf8(nick)); });
  }
  client.Start();

  // The input in pieces: each piece's first byte says how long it is and
  // how long the server then keeps quiet; a piece that starts with 0xFF
  // hangs up instead, and the host says a line now and then.
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::size_t at = 0;
  while (at < bytes.size()) {
    const auto control = static_cast<unsigned char>(bytes[at++]);
    loop.Wait(zorvik::Micros{control % 16} * 250'000);
    if (control == 0xFF) {
      if (Server::Transport* live = server.live()) live->Hangup();
      continue;
    }
    if (control % 7 == 0) loop.Post([&client] { client.channel(0).ChatSend("-=|[tick]|=-"); });
    const std::size_t length = std::min<std::size_t>(1 + control / 2, bytes.size() - at);
    if (Server::Transport* live = server.live()) live->Receive(bytes.substr(at, length));
    at += length;
  }
  // Long enough for a silent server to be pinged and given up on.
  loop.Wait(3 * 60 * zorvik::kMicrosPerSecond);
  client.Quit("fuzzed");
  return 0;
}
