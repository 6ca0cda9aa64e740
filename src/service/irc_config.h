// The IRC host's config file (TOML), for running it as a service:
//
//   server = "ircs://irc.example.net:6697/#battles"
//   nick = "zorvikhost"
//   user = "zorvik"                 # optional, as is everything below
//   realname = "zorvik battle host"
//   feedback_nick = "vandor"
//   [sasl]
//   enabled = true
//   account = "zorvikhost"
//   password_file = "/etc/zorvik/password"   # readable by its owner only
//   [tls]
//   ca_file = "/etc/ssl/certs/net-ca.pem"
//   insecure_skip_verify = false
//   [flood]
//   burst = 4
//   lines_per_second = 1.0
//   operators_may_exit = false      # (before the first table)
//   [[operator]]
//   account = "alice"               # a services account, or:
//   [[operator]]
//   mask = "bob!*@admin.example.net"
//
// The file is read before the command line, whose options then override
// it. A key the reader does not know is an error, as is a value of the
// wrong kind or outside its range: the host does not start on a file it
// does not fully understand.
#pragma once

#include <string>

#include "service/irc_options.h"

namespace zorvik {

// Where the service looks for its config when none is named.
inline constexpr const char* kDefaultIrcConfig = "/etc/zorvik/zorvik.toml";

// Reads the config file `path` into `options`. Returns the problem as
// "FILE:LINE: WHAT" (or "cannot open FILE: REASON" for a file that cannot
// be read at all, REASON the system's), or empty.
std::string ReadIrcConfig(const std::string& path, IrcOptions& options);

// Parses TOML text `text` as if read from `path` (which only names it in
// errors). Returns the problem or empty, as ReadIrcConfig.
std::string ParseIrcConfig(std::string_view text, const std::string& path, IrcOptions& options);

// Reads the password from `path`, which its owner alone may read: a file
// that others can read is refused, saying so. The first line is the
// password (without its line end). Returns the problem or empty.
std::string ReadPasswordFile(const std::string& path, std::string& password);

}  // namespace zorvik
