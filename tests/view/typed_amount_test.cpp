#include "view/typed_amount.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

float valueOf(const std::string &text) {
  float v = -12345;
  EXPECT_EQ(AmountError::None, evaluateAmount(text, v)) << text;
  return v;
}
AmountError errorOf(const std::string &text) {
  float v = -12345;
  const AmountError e = evaluateAmount(text, v);
  EXPECT_EQ(-12345, v) << text << ": a refusal leaves the value alone";
  return e;
}
bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(TypedAmount, NumbersReadAsTheNearestFloat) {
  EXPECT_TRUE(sameBits(2.5f, valueOf("2.5")));
  EXPECT_TRUE(sameBits(0.1f, valueOf("0.1")));
  EXPECT_TRUE(sameBits(0.5f, valueOf(".5")));
  EXPECT_TRUE(sameBits(3.0f, valueOf("3.")));
  EXPECT_TRUE(sameBits(-0.25f, valueOf("-0.25")));
  EXPECT_TRUE(sameBits(1e-3f, valueOf("1e-3")));
  EXPECT_TRUE(sameBits(1.2f, valueOf(" 1.2 ")));
  EXPECT_TRUE(sameBits(0.0f, valueOf("1e-60"))); // below the float range: zero
}

TEST(TypedAmount, ArithmeticHasThePrecedenceItIsWrittenWith) {
  EXPECT_EQ(7, valueOf("1+2*3"));
  EXPECT_EQ(9, valueOf("(1+2)*3"));
  EXPECT_EQ(1, valueOf("8/4/2")); // left to right
  EXPECT_EQ(2, valueOf("5-2-1"));
  EXPECT_TRUE(sameBits(float(1.0 / 3), valueOf("1/3"))); // worked in double, rounded once
  EXPECT_TRUE(sameBits(1.5f, valueOf("2*0.75")));
  EXPECT_EQ(30, valueOf("90 / 3"));
  EXPECT_EQ(6, valueOf("2x3"));
  EXPECT_EQ(6, valueOf("2\u00d73"));
  EXPECT_EQ(2, valueOf("6\u00f73"));
  EXPECT_EQ(1, valueOf("3\u22122"));
  EXPECT_EQ(2e3f, valueOf("2e3*1"));
}

TEST(TypedAmount, UnaryMinusBindsTighterThanTheOperators) {
  EXPECT_EQ(-2, valueOf("-2"));
  EXPECT_EQ(2, valueOf("--2"));
  EXPECT_EQ(-6, valueOf("-2*3"));
  EXPECT_EQ(-1, valueOf("2*-0.5"));
  EXPECT_EQ(-4, valueOf("-(1+3)"));
  EXPECT_EQ(1, valueOf("3+-2"));
  EXPECT_EQ(5, valueOf("+5"));
  EXPECT_EQ(-1, valueOf("\u22121"));
}

TEST(TypedAmount, DivisionByZeroGarbageAndOverflowAreRefused) {
  EXPECT_EQ(AmountError::DivisionByZero, errorOf("1/0"));
  EXPECT_EQ(AmountError::DivisionByZero, errorOf("2/(1-1)"));
  EXPECT_EQ(AmountError::DivisionByZero, errorOf("0/0"));
  EXPECT_EQ(AmountError::TooLarge, errorOf("1e39"));
  EXPECT_EQ(AmountError::TooLarge, errorOf("-1e39"));
  EXPECT_EQ(AmountError::TooLarge, errorOf("1e30*1e30"));
  EXPECT_EQ(AmountError::TooLarge, errorOf("1e400"));
  for (const char *garbage : {"abc", "2.5.3", "1+", "*2", "(1+2", "1+2)", "2(3)", "1e", "inf",
                              "nan", "0x1p3", "-", ".", "1..2", "2 3", "1,5"})
    EXPECT_EQ(AmountError::NotANumber, errorOf(garbage)) << garbage;
  EXPECT_EQ(AmountError::Empty, errorOf(""));
  EXPECT_EQ(AmountError::Empty, errorOf("   "));
  EXPECT_EQ("not a number: 2.5.3", amountRefusal(AmountError::NotANumber, "2.5.3"));
  EXPECT_EQ("not a number: 1/0 (division by zero)",
            amountRefusal(AmountError::DivisionByZero, "1/0"));
  EXPECT_EQ("not a number: 1e39 (too large)", amountRefusal(AmountError::TooLarge, "1e39"));
}

// Nesting deeper than any typed entry can be (the command line's text has no limit) is refused
// rather than run out of stack.
TEST(TypedAmount, DeepNestingIsRefused) {
  EXPECT_EQ(AmountError::NotANumber, errorOf(std::string(100000, '(') + "1"));
  EXPECT_EQ(AmountError::NotANumber, errorOf(std::string(100000, '-') + "1"));
  EXPECT_EQ(-1, valueOf(std::string(31, '-') + "1"));
  EXPECT_EQ(1, valueOf(std::string(31, '(') + "1" + std::string(31, ')')));
}

TEST(AmountEntry, KeepsAtMostSixtyThreeCharactersAndClosesWhenEmptied) {
  AmountEntry entry;
  EXPECT_FALSE(entry.type('1')); // closed
  entry.start();
  for (int i = 0; i < 100; ++i)
    entry.type('(');
  EXPECT_EQ(AmountEntry::kMaxCharacters, entry.text().size());
  EXPECT_FALSE(entry.type('1'));
  entry.start();
  EXPECT_TRUE(entry.type(U'\u00d7'));
  EXPECT_FALSE(entry.type(U'\n'));
  EXPECT_FALSE(entry.type(0xD800));
  EXPECT_EQ("\u00d7", entry.text());
  EXPECT_EQ(1u, entry.characters());
  EXPECT_TRUE(entry.type('2'));
  EXPECT_TRUE(entry.erase());
  EXPECT_EQ("\u00d7", entry.text()); // a whole character goes
  EXPECT_TRUE(entry.erase());
  EXPECT_FALSE(entry.open());
  EXPECT_FALSE(entry.erase());
}

} // namespace
