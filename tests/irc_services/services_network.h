// A small IRC network with accounts, as real networks have them: InspIRCd
// with its SASL and account modules, and Atheme services (NickServ,
// SaslServ) linked to it as a server of their own. Both run as this test's
// processes on free loopback ports, with their configs, logs and database in
// a temporary folder that goes when the network does.
#pragma once

#include <sys/types.h>

#include <string>

#include "irc_harness.h"

namespace zorvik::irc_test {

class ServicesNetwork {
 public:
  ServicesNetwork();
  ~ServicesNetwork();
  ServicesNetwork(const ServicesNetwork&) = delete;
  ServicesNetwork& operator=(const ServicesNetwork&) = delete;

  // Whether both programs are installed.
  static bool Installed();

  // Starts the server and the services and waits until NickServ answers;
  // false (with the reason in `problem`) if that does not happen in time.
  bool Start(std::string& problem);

  // Registers `account` (also the nick it registers from) with `password`
  // through NickServ; false if NickServ does not confirm it.
  bool Register(const std::string& account, const std::string& password);

  int port() const { return port_; }
  const std::string& dir() const { return dir_; }
  // The end of both programs' logs, for a failure's report.
  std::string Logs() const;

 private:
  bool StartServer();
  // Sends `text` to NickServ as `client` until NickServ answers (while the
  // services still link, the server says there is no such nick); returns
  // the answer, empty after a timeout.
  std::string AskNickServ(TestClient& client, const std::string& text);
  void WriteConfigs(int link_port) const;

  std::string dir_;
  int port_ = 0;
  pid_t server_ = -1;
  pid_t services_ = -1;
};

}  // namespace zorvik::irc_test
