// IrcConnection: the real IrcTransport, a TCP stream to the server with
// optional TLS (OpenSSL), non-blocking and driven by the event loop's
// descriptor watches: no threads, and nothing here ever blocks on the
// network once connected. (The server's name is looked up with the
// system's resolver when Open's task runs, which may block briefly.)
//
// TLS verifies the server's certificate by default, against the system's
// trusted authorities or the one CA file given, and checks that it was made
// out to the host name (or IP address) connected to. `skip_verify` turns
// both checks off: the link is then encrypted but anyone in the middle can
// read it.
//
// Memory is bounded: at most 1 MiB waits to be written (more closes the
// stream: a server that takes nothing for that long is as good as gone).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "bridge/loop/event_loop.h"
#include "bridge/irc/irc_transport.h"

namespace zorvik {

struct IrcEndpoint {
  std::string host;
  std::uint16_t port = 6667;
  bool tls = false;
  std::string ca_file;       // empty: the system's trusted authorities
  bool skip_verify = false;  // TLS without checking the certificate at all
};

class IrcConnection : public IrcTransport {
 public:
  // `loop` must outlive the connection.
  IrcConnection(EventLoop& loop, IrcEndpoint endpoint);
  ~IrcConnection() override;

  void Open(Handlers handlers) override;
  void Write(std::string_view bytes) override;
  void Close() override;

 private:
  struct Tls;  // OpenSSL's state, kept out of this header

  void Connect();
  void OnConnectReady();
  void StartTls();
  void DriveHandshake();
  void Established();
  void OnReadable();
  void Flush();
  // Watches for what the TLS layer asked for after an operation that could
  // not finish; false means the error was real and the stream has failed.
  bool AwaitTls(int result, const char* doing);
  void Fail(const std::string& reason);
  void Report(std::function<void()> call);
  void Shut();

  EventLoop& loop_;
  IrcEndpoint endpoint_;
  Handlers handlers_;
  int fd_ = -1;
  std::unique_ptr<Tls> tls_;
  bool established_ = false;
  bool closed_ = false;
  bool write_wants_read_ = false;  // a TLS write waits for readability
  std::string pending_;            // bytes not yet taken by the stream
  EventLoop::TimerId connect_timer_ = 0;
  // Tasks this connection posted find it gone through this.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace zorvik
