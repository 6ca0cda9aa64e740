#include "bridge/irc/token_bucket.h"

#include <vector>

#include <gtest/gtest.h>

#include "bridge/irc/reconnect_backoff.h"

namespace zorvik {
namespace {

constexpr Micros kSecond = kMicrosPerSecond;

// Sends as fast as the bucket allows and returns the send times (seconds
// since the start, to the microsecond).
std::vector<double> SendTimes(TokenBucket& bucket, Micros start, int lines) {
  std::vector<double> times;
  Micros now = start;
  for (int i = 0; i < lines; ++i) {
    now = bucket.ReadyAt(now);
    EXPECT_TRUE(bucket.Take(now));
    times.push_back(static_cast<double>(now - start) / kSecond);
  }
  return times;
}

// The default bucket lets four lines go at once, then one a second; a
// pause refills it, but never beyond the burst; a fractional rate paces
// exactly; bad settings fall back to sane ones.
TEST(TokenBucketTest, BurstThenSteadyRate) {
  TokenBucket bucket(4, 1, 0);
  EXPECT_EQ(SendTimes(bucket, 0, 7), (std::vector<double>{0, 0, 0, 0, 1, 2, 3}));
  EXPECT_FALSE(bucket.Take(3 * kSecond));
  EXPECT_EQ(bucket.ReadyAt(3 * kSecond + kSecond / 2), 4 * kSecond);

  // An hour of silence gives four tokens, not 3600.
  EXPECT_EQ(SendTimes(bucket, 3603 * kSecond, 6), (std::vector<double>{0, 0, 0, 0, 1, 2}));

  TokenBucket fast(2, 2.5, 0);
  EXPECT_EQ(SendTimes(fast, 0, 5), (std::vector<double>{0, 0, 0.4, 0.8, 1.2}));

  TokenBucket odd(0, -1, 0);  // taken as burst 1, one line an hour
  EXPECT_EQ(SendTimes(odd, 0, 2), (std::vector<double>{0, 3600}));
}

// In any window of time the bucket lets through at most burst + rate ×
// window lines, whatever the pattern of attempts.
TEST(TokenBucketTest, NeverExceedsItsRate) {
  TokenBucket bucket(4, 1, 0);
  std::vector<Micros> sent;
  Micros now = 0;
  for (int i = 0; i < 2000; ++i) {
    now += (i * 7919) % 700'000;  // irregular attempts, often too early
    if (bucket.Take(now)) sent.push_back(now);
  }
  ASSERT_GT(sent.size(), 100u);
  for (std::size_t a = 0; a < sent.size(); ++a) {
    for (std::size_t b = a; b < sent.size() && b < a + 20; ++b) {
      const double window = static_cast<double>(sent[b] - sent[a]) / kSecond;
      EXPECT_LE(static_cast<double>(b - a + 1), 4 + window + 1e-9);
    }
  }
}

// Delays start near a second and double up to five minutes, always between
// three quarters of the nominal delay and all of it; Reset starts over; two
// hosts with different seeds do not retry in step.
TEST(ReconnectBackoffTest, DoublesWithJitterUpToFiveMinutes) {
  ReconnectBackoff backoff(7);
  const std::vector<Micros> nominal = {1, 2, 4, 8, 16, 32, 64, 128, 256, 300, 300, 300};
  for (Micros seconds : nominal) {
    const Micros delay = backoff.Next();
    EXPECT_GE(delay, seconds * kSecond * 3 / 4);
    EXPECT_LE(delay, seconds * kSecond);
  }
  for (int i = 0; i < 1000; ++i) EXPECT_LE(backoff.Next(), ReconnectBackoff::kLongest);
  backoff.Reset();
  EXPECT_LE(backoff.Next(), kSecond);

  ReconnectBackoff a(1), b(2);
  int same = 0;
  for (int i = 0; i < 10; ++i) same += a.Next() == b.Next();
  EXPECT_LT(same, 3);
}

}  // namespace
}  // namespace zorvik
