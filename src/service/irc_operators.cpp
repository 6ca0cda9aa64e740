#include "service/irc_operators.h"

#include "bridge/irc/irc_message.h"

namespace zorvik {

bool IrcWildcardMatch(std::string_view pattern, std::string_view text) {
  // Greedy with one backtrack point: the last '*' seen. Linear in practice,
  // at worst the product of the lengths, with no recursion.
  std::size_t p = 0, t = 0;
  std::size_t star = std::string_view::npos, resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = t;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || FoldIrcChar(pattern[p]) == FoldIrcChar(text[t]))) {
      ++p;
      ++t;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::string IrcMaskProblem(std::string_view mask) {
  const std::size_t bang = mask.find('!');
  const std::size_t at = mask.find('@', bang == std::string_view::npos ? 0 : bang);
  if (bang == std::string_view::npos || at == std::string_view::npos || bang == 0 ||
      at == bang + 1 || at + 1 == mask.size()) {
    return "a mask is nick!user@host in full (wildcards * and ? allowed)";
  }
  for (const char c : mask) {
    if (static_cast<unsigned char>(c) <= ' ' || c == 0x7f) return "a mask holds no spaces or controls";
  }
  if (mask.substr(at + 1).find_first_not_of("*?.") == std::string_view::npos) {
    return "the mask's host part matches every host, so any nick would do; name the hosts";
  }
  return {};
}

bool IsIrcOperator(const std::vector<IrcOperator>& operators, std::string_view prefix,
                   std::string_view account) {
  // A prefix without user and host is a server's or a forgery's.
  const std::size_t bang = prefix.find('!');
  if (bang == std::string_view::npos || prefix.find('@', bang) == std::string_view::npos) {
    return false;
  }
  for (const IrcOperator& op : operators) {
    if (!op.account.empty() && !account.empty() && SameIrcName(op.account, account)) return true;
    if (!op.mask.empty() && IrcMaskProblem(op.mask).empty() &&
        IrcWildcardMatch(op.mask, prefix)) {
      return true;
    }
  }
  return false;
}

RefusalGate::RefusalGate(Micros quiet, std::size_t most) : quiet_(quiet), most_(most) {}

bool RefusalGate::Answer(std::string_view prefix, Micros now) {
  for (auto it = answered_.begin(); it != answered_.end();) {
    it = now - it->second >= quiet_ ? answered_.erase(it) : std::next(it);
  }
  // Keyed by host: a new nick on the same host is the same asker.
  const std::size_t at = prefix.rfind('@');
  const std::string host = FoldIrcName(at == std::string_view::npos ? prefix : prefix.substr(at + 1));
  if (answered_.count(host) || answered_.size() >= most_) return false;
  answered_[host] = now;
  return true;
}

}  // namespace zorvik
