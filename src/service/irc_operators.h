// Who may steer the IRC host by private message, and how the host keeps
// from answering everyone else without end.
//
// An operator is named by services account (the sender must be logged in
// to it; the server tells which account a message comes from) or by a
// full "nick!user@host" mask, where * stands for any run of characters and
// ? for any one. Both compare as IRC names do (ASCII case, and "[]\~" as
// the capitals of "{}|^"). A nick alone never makes an operator: a mask
// must name hosts, not only match them all.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/loop/event_loop.h"

namespace zorvik {

struct IrcOperator {
  std::string account;  // services account; empty when by mask
  std::string mask;     // nick!user@host with wildcards; empty when by account
};

// Whether `text` matches the wildcard `pattern` (* any run, ? any one
// character), in IRC case.
bool IrcWildcardMatch(std::string_view pattern, std::string_view text);

// Why `mask` cannot name an operator, or empty when it can.
std::string IrcMaskProblem(std::string_view mask);

// Whether the sender `prefix` ("nick!user@host"), logged in to `account`
// (empty: to none), is one of `operators`.
bool IsIrcOperator(const std::vector<IrcOperator>& operators, std::string_view prefix,
                   std::string_view account);

// Decides whether a refused sender hears why. Each host hears it once, and
// then nothing for `quiet`; however many hosts ask, at most `most` are
// answered within any `quiet`. The memory it keeps is bounded.
class RefusalGate {
 public:
  explicit RefusalGate(Micros quiet = 10 * 60 * kMicrosPerSecond, std::size_t most = 20);
  // Whether the sender `prefix` is to be answered at `now`.
  bool Answer(std::string_view prefix, Micros now);

 private:
  Micros quiet_;
  std::size_t most_;
  std::map<std::string, Micros> answered_;  // folded host -> when
};

}  // namespace zorvik
