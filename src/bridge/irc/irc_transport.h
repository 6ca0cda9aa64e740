// The byte stream under the IRC client. Abstract so that the client's
// protocol runs unchanged on a real socket (IrcConnection: TCP, optionally
// TLS) and, in tests, on a scripted server driven on the virtual loop.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace zorvik {

class IrcTransport {
 public:
  struct Handlers {
    // The stream is up (and, for TLS, the server has proved who it is):
    // lines may be written from now on.
    std::function<void()> connected;
    // Bytes from the server, in order, in pieces of any size.
    std::function<void(std::string_view bytes)> received;
    // The stream is gone, or could not be made: why, for the operator.
    // Nothing is called after it.
    std::function<void(const std::string& reason)> closed;
  };

  IrcTransport() = default;
  IrcTransport(const IrcTransport&) = delete;
  IrcTransport& operator=(const IrcTransport&) = delete;
  virtual ~IrcTransport() = default;

  // Starts connecting. The handlers are called from the event loop's
  // dispatch, never inside Open, Write or Close. A handler may call Write
  // and Close, but must not destroy the transport: close it, and destroy
  // it from a task of its own.
  virtual void Open(Handlers handlers) = 0;

  // Queues bytes for the server; they go as soon as the stream takes them
  // (bytes written before `connected` wait for it). Never dispatches. A
  // failure is reported through `closed`, later.
  virtual void Write(std::string_view bytes) = 0;

  // Ends the stream at once; no handler is called any more.
  virtual void Close() = 0;
};

using IrcTransportFactory = std::function<std::unique_ptr<IrcTransport>()>;

}  // namespace zorvik
