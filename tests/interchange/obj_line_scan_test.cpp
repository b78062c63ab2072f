#include "interchange/gx_packed.h"
#include "interchange/obj/obj_lexer.h"
#include "interchange/obj/obj_line_scan.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <sstream>

namespace {

// What from_chars makes of a number token: the reading every number had before numbers were
// parsed by hand.
bool fromChars(std::string_view token, float &value) {
  if (!token.empty() && token[0] == '+')
    token.remove_prefix(1);
  const auto result = std::from_chars(token.data(), token.data() + token.size(), value);
  return result.ec == std::errc() && result.ptr == token.data() + token.size() &&
         std::isfinite(value);
}

std::string digits(std::mt19937 &random, int count) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += char('0' + random() % 10);
  return text;
}

// A number token: sign, digits around a decimal point, exponent, each in the forms files use
// and in the forms at the edges of exact float arithmetic (2^24 digits, powers of ten past 10).
std::string numberToken(std::mt19937 &random) {
  static const char *const kEdges[] = {
      "16777216", "-16777217", "16777215", "33554431", "0.1",   "1e10", "1e11",     "1e-10",
      "1e-11",    "3.4e38",    "3.5e38",   "1e-45",    "1e-46", "-0",   "0.000000", "1."};
  if (random() % 8 == 0)
    return kEdges[random() % std::size(kEdges)];
  std::string text = random() % 3 == 0 ? (random() % 2 ? "-" : "+") : "";
  if (random() % 6 == 0)
    text += std::string(random() % 30, '0'); // leading zeros
  const int whole = int(random() % 10), fraction = int(random() % 10);
  text += digits(random, whole);
  if (fraction > 0 || whole == 0 || random() % 4 == 0)
    text += "." + digits(random, whole == 0 && fraction == 0 ? 1 : fraction);
  if (random() % 3 == 0) {
    text += random() % 2 ? 'e' : 'E';
    if (random() % 2)
      text += random() % 2 ? '-' : '+';
    text += digits(random, random() % 8 ? 1 : 3);
  }
  return text;
}

TEST(ObjNumbers, EveryNumberIsTheNearestFloatAsFromCharsGivesIt) {
  std::mt19937 random(20);
  for (int i = 0; i < 400000; ++i) {
    const std::string token = numberToken(random);
    float expected = 0, got = 0;
    const bool usable = fromChars(token, expected);
    ASSERT_EQ(parseObjNumber(token, got), usable) << token;
    if (usable) {
      ASSERT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << token << " " << got;
    }
  }
}

TEST(ObjNumbers, TextThatIsNoWholeNumberIsRefused) {
  float value = 0;
  for (const char *text : {"", "+", "-", ".", "+-1", "-+1", "1e", "1e+", "e5", ".e1", "1.5x", "1/2",
                           "0x1p3", "inf", "nan", "1e39", "-1e39", "1 ", " 1"})
    EXPECT_FALSE(parseObjNumber(text, value)) << text;
  const std::string huge = "1" + std::string(5000, '0') + "e-4990"; // 1e10, spelled long
  ASSERT_TRUE(parseObjNumber(huge, value));
  EXPECT_EQ(value, 1e10f);
}

// Lines that the simple reading takes and lines it must leave to the lexer, with odd spacing,
// signs, exponents, continuations, comments and corners of every form.
std::string oddToken(std::mt19937 &random) {
  static const char *const kOdd[] = {
      "1e",  "+-1", "nan",     "inf",        "1e40",        "3#",        "1.5x", "0x1p3", "1/",
      "/2",  "1//", "1/x",     "0",          "+0",          "-0",        "#",    "\\",    "a",
      "1/-", "1/+", "1/2/3/4", "1234567890", "-2147483649", "999999999", "/"};
  return kOdd[random() % std::size(kOdd)];
}

// A corner naming one of the entries of lists this long (mostly one that exists, counted from
// either end), now and then in a form that is no corner or only half a one.
std::string corner(std::mt19937 &random, int32_t lines) {
  static const char *const kOddTails[] = {"/",  "//",  "/x",  "/-", "/+", "x",   ".5",
                                          "e2", "/2x", "/2/", "#",  "\\", "/+2", "/-1/"};
  auto index = [&] {
    const int32_t n = 1 + int32_t(random() % uint32_t(lines + 2));
    return std::to_string(random() % 4 ? n : -n);
  };
  switch (random() % 6) {
  case 0:
    return index() + kOddTails[random() % std::size(kOddTails)];
  case 1:
    return index() + "/" + index() + "/" + index();
  case 2:
    return index() + "//" + index();
  case 3:
    return index() + "/" + index();
  default:
    return (random() % 10 == 0 ? "+" : "") + index();
  }
}

std::string blanks(std::mt19937 &random) {
  static const char *const kBlanks[] = {" ", " ", " ", "\t", "  ", " \r", "\f", " \v "};
  return kBlanks[random() % std::size(kBlanks)];
}

std::string document(std::mt19937 &random) {
  static const char *const kWords[] = {"v",  "v",  "v",       "f", "f",        "f",
                                       "vt", "vn", "g group", "o", "usemtl m", "mtllib m.mtl",
                                       "#",  "",   "s 1",     "7"};
  static const char *const kEnds[] = {"\n",   "\n",        "\n",    "\n", "\r\n",
                                      "\r\n", " # note\n", " \\\n", "#\n"};
  std::string text;
  int32_t entries = 0; // "v" or "vt" lines so far, roughly
  const int lines = 1 + int(random() % 40);
  for (int line = 0; line < lines; ++line) {
    if (random() % 8 == 0)
      text += blanks(random);
    const std::string word = kWords[random() % std::size(kWords)];
    text += word;
    // Corners on the face lines and on lines of other words, numbers on the rest.
    const bool corners = word == "f" || (word[0] != 'v' && random() % 2);
    entries += word[0] == 'v';
    const int usual = word == "vt" ? 2 : word[0] == 'v' ? 3 : 3 + int(random() % 2);
    const int tokens = random() % 4 ? usual : int(random() % 6);
    for (int t = 0; t < tokens; ++t)
      text += blanks(random) + (random() % 12 == 0 ? oddToken(random)
                                : corners          ? corner(random, entries)
                                                   : numberToken(random));
    if (random() % 6 == 0)
      text += blanks(random);
    if (line + 1 < lines || random() % 2)
      text += kEnds[random() % std::size(kEnds)];
  }
  return text;
}

// Two trees are the same: the same dump, and every packed number bit for bit the same.
void expectSameTree(const GxElement &a, const GxElement &b, const std::string &text) {
  ASSERT_EQ(a.children().size(), b.children().size()) << text;
  for (size_t i = 0; i < a.children().size(); ++i) {
    const GxElement &bodyA = *a.children()[i], &bodyB = *b.children()[i];
    ASSERT_EQ(bodyA.children().size(), bodyB.children().size()) << text;
    for (size_t k = 0; k < bodyA.children().size(); ++k) {
      const GxElement *listA = bodyA.children()[k], *listB = bodyB.children()[k];
      const std::vector<float> *floatsA = nullptr, *floatsB = nullptr;
      if (auto *vertices = dynamic_cast<const GxVec3List *>(listA)) {
        floatsA = vertices->packed();
        floatsB = dynamic_cast<const GxVec3List &>(*listB).packed();
      } else if (auto *uvs = dynamic_cast<const GxUvList *>(listA)) {
        floatsA = uvs->packed();
        floatsB = dynamic_cast<const GxUvList &>(*listB).packed();
      }
      if (floatsA) {
        ASSERT_TRUE(floatsB && floatsA->size() == floatsB->size()) << text;
        EXPECT_TRUE(floatsA->empty() || std::memcmp(floatsA->data(), floatsB->data(),
                                                    floatsA->size() * sizeof(float)) == 0)
            << text;
      }
    }
  }
  std::ostringstream dumpA, dumpB;
  a.writeText(dumpA, 0);
  b.writeText(dumpB, 0);
  EXPECT_EQ(dumpA.str(), dumpB.str()) << text;
}

TEST(ObjLineScan, SimpleLinesReadAsTheLexerReadsThem) {
  std::mt19937 random(7);
  for (int i = 0; i < 3000; ++i) {
    const std::string text = document(random);
    std::ostringstream fastDiag, lexerDiag;
    GxPtr fast(readObjLines(text, nullptr, fastDiag, true));
    GxPtr lexer(readObjLines(text, nullptr, lexerDiag, false));
    ASSERT_TRUE(fast && lexer);
    ASSERT_EQ(fastDiag.str(), lexerDiag.str()) << text;
    expectSameTree(*fast, *lexer, text);
  }
}

} // namespace
