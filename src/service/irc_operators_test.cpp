#include "service/irc_operators.h"

#include <gtest/gtest.h>

namespace zorvik {
namespace {

// Who counts as an operator: by account only when logged in to it, by mask
// only with the whole prefix matching; a nick alone never does.
TEST(IrcOperatorsTest, MatchesAccountsAndMasks) {
  const std::vector<IrcOperator> operators = {
      {"Alice", ""}, {"", "bob!*@*.admin.example"}, {"", "c?rol!~c*@10.0.0.*"}};
  const struct {
    const char* prefix;
    const char* account;
    bool is;
  } cases[] = {
      {"alice!a@anywhere", "alice", true},       // account, in IRC case
      {"someone!x@y", "ALICE", true},            // the nick does not matter
      {"alice!a@anywhere", "", false},           // the nick alone is nothing
      {"alice!a@anywhere", "alicex", false},
      {"alice", "alice", false},                 // not a person's prefix
      {"BOB!u@ops.admin.example", "", true},
      {"bob!u@admin.example", "", false},        // "*." needs the dot
      {"bob!u@ops.admin.example.evil", "", false}, {"bobby!u@ops.admin.example", "", false},
      {"carol!~cm@10.0.0.7", "", true},
      {"caarol!~cm@10.0.0.7", "", false},        // ? is one character
      {"carol!cm@10.0.0.7", "", false}, {"c[rol!~c@10.0.0.1", "", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsIrcOperator(operators, c.prefix, c.account), c.is) << c.prefix << " " << c.account;
  }
  EXPECT_TRUE(IrcWildcardMatch("a*b*c", "axxbyyc"));
  EXPECT_TRUE(IrcWildcardMatch("*", ""));
  EXPECT_FALSE(IrcWildcardMatch("a*b*c", "axxbyy"));
  EXPECT_TRUE(IrcWildcardMatch("{x}", "[X]"));
  // Many stars against a long near-miss still ends quickly.
  EXPECT_FALSE(IrcWildcardMatch(std::string(200, '*') + "b", std::string(5000, 'a')));
}

// One refusal per host, then silence for the quiet spell; never more than
// `most` within it, however many hosts ask.
TEST(IrcOperatorsTest, RefusalsDoNotAmplify) {
  constexpr Micros kQuiet = 100;
  RefusalGate gate(kQuiet, 3);
  EXPECT_TRUE(gate.Answer("a!u@one", 0));
  EXPECT_FALSE(gate.Answer("a!u@one", 10));
  EXPECT_FALSE(gate.Answer("renamed!v@ONE", 20));  // a new nick on the same host
  EXPECT_TRUE(gate.Answer("b!u@two", 30));
  EXPECT_TRUE(gate.Answer("c!u@three", 40));
  EXPECT_FALSE(gate.Answer("d!u@four", 50));  // the cap
  EXPECT_TRUE(gate.Answer("a!u@one", 100));   // one's quiet spell is over
  EXPECT_FALSE(gate.Answer("d!u@four", 110));
  EXPECT_TRUE(gate.Answer("d!u@four", 130));
}

}  // namespace
}  // namespace zorvik
