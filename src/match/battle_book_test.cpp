#include "match/battle_book.h"

#include <array>
#include <cmath>

#include <gtest/gtest.h>

#include "match/chat_text.h"

namespace zorvik {
namespace {

TEST(BattleBookTest, CheerLines) {
  const std::array<std::string, 5> expected = {
      "pikachu, thundershock!", "pikachu, hit him with your thundershock attack!",
      "let's finish this! thundershock!", "you can do it pikachu, thundershock!",
      "hang in there pikachu try thundershock attack!"};
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(CheerLine(k, "pikachu", "thundershock"), expected[k - 1]);
  // Texts are used as passed: no case change, no trimming.
  EXPECT_EQ(CheerLine(1, "", "Tackle "), ", Tackle !");
  EXPECT_EQ(CheerLine(3, "pikachu", "swift").find("pikachu"), std::string::npos);
}

// The smallest and the largest draws stay inside the rows and the faces.
TEST(BattleBookTest, DrawsMapOntoTheirRange) {
  const double largest = std::nextafter(1.0, 0.0);
  EXPECT_EQ((std::array{CheerRow(0.0), CheerRow(0.2), CheerRow(largest)}), (std::array{1, 2, 5}));
  EXPECT_EQ((std::array{RollDie(0.0), RollDie(0.5), RollDie(largest)}), (std::array{1, 21, 40}));
}

// Two 40-sided dice: 2 to 80, every value possible, 41 the most likely,
// a mean of 41; and the source starts from the same state every run.
TEST(BattleBookTest, DamageFollowsTwoDice) {
  RandomSource random;
  std::array<int, 81> counts{};
  constexpr int kRolls = 400'000;
  double sum = 0;
  for (int i = 0; i < kRolls; ++i) {
    const int damage = RollDamage(random);
    ASSERT_GE(damage, 2);
    ASSERT_LE(damage, 80);
    ++counts[static_cast<std::size_t>(damage)];
    sum += damage;
  }
  for (int value = 2; value <= 80; ++value)
    EXPECT_GT(counts[static_cast<std::size_t>(value)], 0) << value;
  EXPECT_NEAR(sum / kRolls, 41.0, 0.2);
  // 41 is expected 40/1600 of the time, 2 and 80 only 1/1600.
  EXPECT_NEAR(counts[41] / double(kRolls), 40.0 / 1600, 0.002);
  EXPECT_NEAR(counts[2] / double(kRolls), 1.0 / 1600, 0.0004);

  RandomSource a, b;
  for (int i = 0; i < 100; ++i) EXPECT_EQ(a.NextRandom(), b.NextRandom());
  RandomSource seeded(11);
  EXPECT_NE(RandomSource().NextRandom(), seeded.NextRandom());
}

TEST(ChatTextTest, LowerCase) {
  EXPECT_EQ(LowerCase("AliceSmith -JOIN"), "alicesmith -join");
  EXPECT_EQ(LowerCase("\u00c9MILE \u00d8RJAN \u00d7"), "\u00e9mile \u00f8rjan \u00d7");
  // Invalid UTF-8 passes byte for byte, including a lead byte at the end.
  EXPECT_EQ(LowerCase("A\xff\xfe\xc3"), "a\xff\xfe\xc3");
  EXPECT_EQ(LowerCase(std::string("N\0UL", 4)), std::string("n\0ul", 4));
  EXPECT_TRUE(SameLowerCase("\u00c9mile", "\u00e9MILE"));
  EXPECT_FALSE(SameLowerCase("\u00d7", "\u00f7"));  // × has no small form
  // SameLowerCase compares without lowering copies; it must agree with
  // them, C3 bytes at the end and in runs included.
  const std::string_view texts[] = {"Ann",      "aNN",          "ann ",         "\u00c9mile",
                                    "\u00e9MILE", "\xc3",         "A\xc3",        "a\xc3",
                                    "\xc3\xc3\x80", "\xc3\xc3\xa0", "\xc3\x80\xc3", "\xc3\xa0\xc3"};
  for (std::string_view a : texts) {
    for (std::string_view b : texts) {
      EXPECT_EQ(SameLowerCase(a, b), LowerCase(a) == LowerCase(b)) << a << " / " << b;
    }
  }
}

TEST(ChatTextTest, TrimSpacesAndHitPoints) {
  EXPECT_EQ(TrimSpaces("  tackle "), "tackle");
  EXPECT_EQ(TrimSpaces("\ttackle\t"), "\ttackle\t");
  EXPECT_EQ(TrimSpaces("   "), "");
  EXPECT_EQ(ReadHitPoints("500"), 500);
  EXPECT_EQ(ReadHitPoints("-17"), -17);
  // Anything but a plain whole number in range reads as 0.
  for (const char* text : {"0", "", " 5", "5 ", "+5", "4.5", "1e3", "-", "99999999999999999999"})
    EXPECT_EQ(ReadHitPoints(text), 0) << text;
}

}  // namespace
}  // namespace zorvik
