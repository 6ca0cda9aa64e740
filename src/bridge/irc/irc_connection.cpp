#include "bridge/irc/irc_connection.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <cerrno>
#include <cstring>

namespace zorvik {

namespace {

constexpr Micros kConnectTimeout = 30 * kMicrosPerSecond;
constexpr std::size_t kMostPending = 1 << 20;
// Reads per readiness callback, so a flood from the server cannot keep the
// loop from running timers and other descriptors.
constexpr int kReadsPerWake = 8;
constexpr std::size_t kReadChunk = 16 * 1024;

std::string OpenSslErrors() {
  std::string text;
  while (const unsigned long code = ERR_get_error()) {
    char buffer[256];
    ERR_error_string_n(code, buffer, sizeof buffer);
    if (!text.empty()) text += "; ";
    text += buffer;
  }
  return text.empty() ? "no detail" : text;
}

bool IsIpAddress(const std::string& host) {
  in6_addr address6;
  in_addr address4;
  return inet_pton(AF_INET, host.c_str(), &address4) == 1 ||
         inet_pton(AF_INET6, host.c_str(), &address6) == 1;
}

}  // namespace

struct IrcConnection::Tls {
  SSL_CTX* context = nullptr;
  SSL* ssl = nullptr;
  ~Tls() {
    if (ssl) SSL_free(ssl);
    if (context) SSL_CTX_free(context);
  }
};

IrcConnection::IrcConnection(EventLoop& loop, IrcEndpoint endpoint)
    : loop_(loop), endpoint_(std::move(endpoint)) {}

IrcConnection::~IrcConnection() {
  Close();
  *alive_ = false;
}

void IrcConnection::Report(std::function<void()> call) {
  loop_.Post([alive = std::weak_ptr<bool>(alive_), call = std::move(call)] {
    const auto still = alive.lock();
    if (still && *still) call();
  });
}

void IrcConnection::Open(Handlers handlers) {
  handlers_ = std::move(handlers);
  Report([this] { Connect(); });
  connect_timer_ =
      loop_.ScheduleAfter(kConnectTimeout, [alive = std::weak_ptr<bool>(alive_), this] {
        const auto still = alive.lock();
        if (!still || !*still) return;
        connect_timer_ = 0;
        if (!established_) Fail("timed out connecting to " + endpoint_.host);
      });
}

void IrcConnection::Connect() {
  if (closed_) return;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const std::string port = std::to_string(endpoint_.port);
  const int lookup = getaddrinfo(endpoint_.host.c_str(), port.c_str(), &hints, &found);
  if (lookup != 0) return Fail("cannot find " + endpoint_.host + ": " + gai_strerror(lookup));
  std::string last_error = "no address";
  for (addrinfo* address = found; address; address = address->ai_next) {
    const int fd = socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                          address->ai_protocol);
    if (fd < 0) {
      last_error = std::strerror(errno);
      continue;
    }
    if (connect(fd, address->ai_addr, address->ai_addrlen) == 0 || errno == EINPROGRESS) {
      fd_ = fd;
      break;
    }
    last_error = std::strerror(errno);
    close(fd);
  }
  freeaddrinfo(found);
  if (fd_ < 0) return Fail("cannot connect to " + endpoint_.host + ": " + last_error);
  const int on = 1;
  setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  loop_.WatchWritable(fd_, [this] { OnConnectReady(); });
}

void IrcConnection::OnConnectReady() {
  int error = 0;
  socklen_t length = sizeof error;
  if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
  if (error == EINPROGRESS) return;
  loop_.UnwatchWritable(fd_);
  if (error != 0) {
    return Fail("cannot connect to " + endpoint_.host + ": " + std::strerror(error));
  }
  if (endpoint_.tls) return StartTls();
  Established();
}

void IrcConnection::StartTls() {
  tls_ = std::make_unique<Tls>();
  tls_->context = SSL_CTX_new(TLS_client_method());
  if (!tls_->context) return Fail("cannot start TLS: " + OpenSslErrors());
  SSL_CTX_set_min_proto_version(tls_->context, TLS1_2_VERSION);
  if (endpoint_.skip_verify) {
    SSL_CTX_set_verify(tls_->context, SSL_VERIFY_NONE, nullptr);
  } else {
    SSL_CTX_set_verify(tls_->context, SSL_VERIFY_PEER, nullptr);
    const int loaded =
        endpoint_.ca_file.empty()
            ? SSL_CTX_set_default_verify_paths(tls_->context)
            : SSL_CTX_load_verify_locations(tls_->context, endpoint_.ca_file.c_str(), nullptr);
    if (loaded != 1) {
      return Fail("cannot load the trusted certificates" +
                  (endpoint_.ca_file.empty() ? std::string() : " from " + endpoint_.ca_file) +
                  ": " + OpenSslErrors());
    }
  }
  tls_->ssl = SSL_new(tls_->context);
  if (!tls_->ssl) return Fail("cannot start TLS: " + OpenSslErrors());
  SSL_set_mode(tls_->ssl, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
  SSL_set_fd(tls_->ssl, fd_);
  if (IsIpAddress(endpoint_.host)) {
    X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(tls_->ssl), endpoint_.host.c_str());
  } else {
    SSL_set_tlsext_host_name(tls_->ssl, endpoint_.host.c_str());
    SSL_set1_host(tls_->ssl, endpoint_.host.c_str());
  }
  DriveHandshake();
}

void IrcConnection::DriveHandshake() {
  ERR_clear_error();
  const int result = SSL_connect(tls_->ssl);
  if (result == 1) {
    loop_.UnwatchWritable(fd_);
    return Established();
  }
  const int error = SSL_get_error(tls_->ssl, result);
  if (error == SSL_ERROR_WANT_READ) {
    loop_.UnwatchWritable(fd_);
    loop_.WatchReadable(fd_, [this] { DriveHandshake(); });
    return;
  }
  if (error == SSL_ERROR_WANT_WRITE) {
    loop_.WatchWritable(fd_, [this] { DriveHandshake(); });
    return;
  }
  const long verify = SSL_get_verify_result(tls_->ssl);
  if (verify != X509_V_OK) {
    return Fail(std::string("the server's certificate is not trusted: ") +
                X509_verify_cert_error_string(verify));
  }
  Fail("TLS handshake with " + endpoint_.host + " failed: " + OpenSslErrors());
}

void IrcConnection::Established() {
  established_ = true;
  if (connect_timer_) loop_.Cancel(connect_timer_);
  connect_timer_ = 0;
  loop_.WatchReadable(fd_, [this] { OnReadable(); });
  // Called from a descriptor callback, which is already the loop's
  // dispatch: the handler may run here.
  if (handlers_.connected) handlers_.connected();
  if (!closed_ && !pending_.empty()) Flush();
}

void IrcConnection::OnReadable() {
  if (write_wants_read_) {
    write_wants_read_ = false;
    Flush();
    if (closed_) return;
  }
  char buffer[kReadChunk];
  for (int i = 0; i < kReadsPerWake; ++i) {
    if (tls_) {
      ERR_clear_error();
      const int got = SSL_read(tls_->ssl, buffer, sizeof buffer);
      if (got <= 0) {
        const int error = SSL_get_error(tls_->ssl, got);
        if (error == SSL_ERROR_ZERO_RETURN) return Fail("the server closed the connection");
        if (error == SSL_ERROR_WANT_READ) return;
        if (error == SSL_ERROR_WANT_WRITE) {
          // Rare (a renegotiation): go on once the socket takes data.
          loop_.WatchWritable(fd_, [this] {
            loop_.UnwatchWritable(fd_);
            OnReadable();
          });
          return;
        }
        if (error == SSL_ERROR_SYSCALL && ERR_peek_error() == 0) {
          return Fail("the server closed the connection");
        }
        return Fail("TLS read failed: " + OpenSslErrors());
      }
      handlers_.received(std::string_view(buffer, static_cast<std::size_t>(got)));
    } else {
      const ssize_t got = read(fd_, buffer, sizeof buffer);
      if (got == 0) return Fail("the server closed the connection");
      if (got < 0) {
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return;
        return Fail(std::string("read failed: ") + std::strerror(errno));
      }
      handlers_.received(std::string_view(buffer, static_cast<std::size_t>(got)));
    }
    if (closed_) return;
  }
  // Bytes TLS has already taken off the socket would not wake the loop.
  if (tls_ && SSL_pending(tls_->ssl) > 0) Report([this] { OnReadable(); });
}

void IrcConnection::Write(std::string_view bytes) {
  if (closed_) return;
  if (pending_.size() + bytes.size() > kMostPending) {
    // Reported later, as the contract says: never inside Write.
    Report([this] { Fail("the server takes nothing: too much waits to be sent"); });
    return;
  }
  pending_.append(bytes);
  if (established_) Flush();
}

void IrcConnection::Flush() {
  while (!pending_.empty()) {
    std::size_t sent = 0;
    if (tls_) {
      ERR_clear_error();
      const int length = static_cast<int>(std::min<std::size_t>(pending_.size(), 1 << 20));
      const int result = SSL_write(tls_->ssl, pending_.data(), length);
      if (result <= 0) {
        const int error = SSL_get_error(tls_->ssl, result);
        if (error == SSL_ERROR_WANT_WRITE) {
          loop_.WatchWritable(fd_, [this] { Flush(); });
          return;
        }
        if (error == SSL_ERROR_WANT_READ) {
          write_wants_read_ = true;
          return;
        }
        return Report([this] { Fail("TLS write failed: " + OpenSslErrors()); });
      }
      sent = static_cast<std::size_t>(result);
    } else {
      const ssize_t result = send(fd_, pending_.data(), pending_.size(), MSG_NOSIGNAL);
      if (result < 0) {
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
          loop_.WatchWritable(fd_, [this] { Flush(); });
          return;
        }
        const std::string reason = std::string("write failed: ") + std::strerror(errno);
        return Report([this, reason] { Fail(reason); });
      }
      sent = static_cast<std::size_t>(result);
    }
    pending_.erase(0, sent);
  }
  loop_.UnwatchWritable(fd_);
}

void IrcConnection::Fail(const std::string& reason) {
  if (closed_) return;
  Shut();
  // A failure found inside a descriptor callback is already in dispatch,
  // but one found by a timer or a posted task is too: report it now.
  if (handlers_.closed) {
    auto closed = handlers_.closed;
    closed(reason);
  }
}

void IrcConnection::Close() {
  if (closed_) return;
  Shut();
}

void IrcConnection::Shut() {
  closed_ = true;
  if (connect_timer_) loop_.Cancel(connect_timer_);
  connect_timer_ = 0;
  if (fd_ >= 0) {
    loop_.Unwatch(fd_);
    if (tls_ && tls_->ssl && established_) {
      // Best effort, without waiting: the close_notify goes out if the
      // socket takes it at once.
      ERR_clear_error();
      SSL_shutdown(tls_->ssl);
    }
    close(fd_);
    fd_ = -1;
  }
  tls_.reset();
  pending_.clear();
}

}  // namespace zorvik
