#include "input/QvMath.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "base/ScriptedPrompts.h"

namespace karvelo {
namespace {

constexpr double M = SentinelMissing;

// ---- ParseReal ----------------------------------------------------------------------------

struct RealCase {
  const char* text;
  bool ok;
  double value;
};

TEST(ParseRealTest, AcceptsDecimalFormsAndRejectsEverythingElse) {
  const RealCase cases[] = {
      {"0", true, 0},       {"7", true, 7},          {"-12.5", true, -12.5}, {"+3", true, 3},
      {"1.", true, 1},      {".5", true, 0.5},       {"-.5", true, -0.5},    {"1e3", true, 1000},
      {"1E+3", true, 1000}, {"2.5e-2", true, 0.025}, {"007", true, 7},       {"1e-400", true, 0},
      {"", false, 0},       {".", false, 0},         {"+", false, 0},        {"-", false, 0},
      {"e5", false, 0},     {"1e", false, 0},        {"1e+", false, 0},      {"1.2.3", false, 0},
      {"1,5", false, 0},    {"12abc", false, 0},     {" 1", false, 0},       {"1 ", false, 0},
      {"inf", false, 0},    {"-inf", false, 0},      {"nan", false, 0},      {"0x1A", false, 0},
      {"1e999", false, 0},  {"++1", false, 0},       {"1-2", false, 0},      {"*", false, 0},
  };
  for (const auto& c : cases) {
    double v = 42;
    EXPECT_EQ(ParseReal(c.text, v), c.ok) << "'" << c.text << "'";
    EXPECT_DOUBLE_EQ(v, c.ok ? c.value : 42) << "'" << c.text << "'";
  }
}

// ---- ParseRealLine / ReadRealLine ---------------------------------------------------------

struct LineCase {
  const char* line;
  int count;
  bool ok;
  std::vector<double> values;  // the first slots; every later slot must be missing
};

TEST(ParseRealLineTest, TokenisesAndMarksBadOrMissingFields) {
  const LineCase cases[] = {
      {"1.5,2.5\t3.5", 3, true, {1.5, 2.5, 3.5}},
      {"10 * 30", 3, true, {10, M, 30}},
      {"10 20", 3, false, {10, 20, M}},
      {"10 abc 30", 3, false, {10, M, 30}},
      {"  4   5\t\t6  ", 3, true, {4, 5, 6}},
      {"1, 2,  3", 3, true, {1, 2, 3}},
      {"1,,3", 3, false, {1, M, 3}},  // an empty field is not a number
      {"1 2 3 junk more", 3, true, {1, 2, 3}},
      {"1 2 3", 2, true, {1, 2}},
      {"", 1, false, {}},
      {"\t \r", 1, false, {}},
      {"-1e2 .5 7.", 3, true, {-100, 0.5, 7}},
  };
  for (const auto& c : cases) {
    LineValueArray values{};
    std::string text;
    EXPECT_EQ(ParseRealLine(c.line, c.count, values, text), c.ok) << c.line;
    for (std::size_t i = 0; i < values.size(); ++i) {
      const double want = i < c.values.size() ? c.values[i] : M;
      EXPECT_DOUBLE_EQ(values[i], want) << c.line << " slot " << i;
    }
  }
}

TEST(ParseRealLineTest, StoresTheTrimmedLine) {
  LineValueArray values{};
  std::string text;
  ASSERT_TRUE(ParseRealLine(" \t 1 2 \r", 2, values, text));
  EXPECT_EQ(text, "1 2");
}

TEST(ReadRealLineTest, ReadsLineByLineAndFailsAtEndOfFile) {
  TextLines file("1 2\r\n3 x\r\n");
  LineValueArray values{};
  std::string text;
  EXPECT_TRUE(ReadRealLine(file, 2, values, text));
  EXPECT_EQ(values[1], 2);
  EXPECT_FALSE(ReadRealLine(file, 2, values, text));
  EXPECT_EQ(values[0], 3);
  EXPECT_EQ(values[1], M);
  EXPECT_EQ(text, "3 x");
  EXPECT_FALSE(ReadRealLine(file, 2, values, text));
  EXPECT_EQ(values[0], M);
}

TEST(ReadRealLineTest, TooManyValuesIsReportedAndReadsNothing) {
  ScriptedPrompts prompts;
  ScopedPrompts guard(prompts);
  TextLines file("1 2\n5\n");
  LineValueArray values{};
  LineIntArray ints{};
  std::string text;
  EXPECT_FALSE(ReadRealLine(file, 51, values, text));
  EXPECT_FALSE(ReadIntegerLine(file, 51, ints, text));
  const std::string msg = "ERROR (QvMath): Attempt to read too many real variables! (max=50)";
  ASSERT_EQ(prompts.texts.size(), 2u);
  EXPECT_EQ(prompts.texts[0], msg);
  EXPECT_EQ(prompts.texts[1], msg);
  EXPECT_EQ(prompts.messages[0].kind, MessageKind::Error);
  // The file position did not move.
  EXPECT_TRUE(ReadRealLine(file, 2, values, text));
  EXPECT_EQ(values[0], 1);
}

TEST(ReadRealLineTest, FiftyValuesFitInOneLine) {
  std::string line;
  for (int i = 1; i <= 50; ++i) line += FormatInt(i) + " ";
  LineValueArray values{};
  std::string text;
  ASSERT_TRUE(ParseRealLine(line, 50, values, text));
  EXPECT_EQ(values[49], 50);
}

// ---- ReadIntegerLine ----------------------------------------------------------------------

TEST(ReadIntegerLineTest, RoundsHalvesToEvenAndHasNoMissingMarker) {
  struct Case {
    const char* line;
    int count;
    bool ok;
    std::vector<std::int32_t> values;
  };
  const Case cases[] = {
      {"2.6 -1.5", 2, true, {3, -2}}, {"0.5 1.5 2.5", 3, true, {0, 2, 2}},
      {"4 * 6", 3, false, {4, 0, 6}}, {"1e10 3", 2, false, {0, 3}},  // beyond 32 bits
      {"7", 2, false, {7, 0}},
  };
  for (const auto& c : cases) {
    TextLines file(c.line);
    LineIntArray values{};
    std::string text;
    EXPECT_EQ(ReadIntegerLine(file, c.count, values, text), c.ok) << c.line;
    for (std::size_t i = 0; i < c.values.size(); ++i) {
      EXPECT_EQ(values[i], c.values[i]) << c.line << " slot " << i;
    }
  }
}

// ---- ReadRealField ------------------------------------------------------------------------

TEST(ReadRealFieldTest, ReadsNumbersByPositionWithinTheLine) {
  LineCursor single{"7"};
  double v = 0;
  EXPECT_TRUE(ReadRealField(single, v));
  EXPECT_EQ(v, 7);
  EXPECT_FALSE(ReadRealField(single, v));

  LineCursor c{"x= 1.5, y=-2e1;z 3"};
  std::vector<double> got;
  while (ReadRealField(c, v)) got.push_back(v);
  EXPECT_EQ(got, (std::vector<double>{1.5, -20, 3}));
}

TEST(ReadRealFieldTest, BadNumberFailsAndLeavesTheTargetAlone) {
  struct Case {
    const char* text;
    bool ok;
    double value;
  };
  const Case cases[] = {
      {"abc", false, 99},   {"", false, 99},    {"  - 5", false, 99},
      {"1.2.3", false, 99}, {"12E", false, 99}, {"  .25 ", true, 0.25},
  };
  for (const auto& c : cases) {
    LineCursor cur{c.text};
    double v = 99;
    EXPECT_EQ(ReadRealField(cur, v), c.ok) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
  }
  // After a bad number reading carries on behind it.
  LineCursor cur{"- 5"};
  double v = 0;
  EXPECT_FALSE(ReadRealField(cur, v));
  EXPECT_TRUE(ReadRealField(cur, v));
  EXPECT_EQ(v, 5);
}

// ---- Formatting ---------------------------------------------------------------------------

TEST(FormatTest, FormatRealUsesJustTheDecimalsNeeded) {
  const std::pair<double, const char*> cases[] = {
      {1500, "1500"},
      {0.25, "0.25"},
      {-12.5, "-12.5"},
      {0, "0"},
      {-0.0, "0"},
      {100, "100"},
      {0.001, "0.001"},
      {1e-12, "0"},
      {12.5, "12.5"},
      {1.0 / 3, "0.333333333"},
      {2.0 / 3, "0.666666667"},
      {123456.789, "123456.789"},
      {3.14159265358979, "3.14159265"},
      {1e20, "100000000000000000000"},
      {-0.000123, "-0.000123"},
  };
  for (const auto& [x, want] : cases) EXPECT_EQ(FormatReal(x), want) << x;
}

TEST(FormatTest, DecimalsNeeded) {
  const std::pair<double, int> cases[] = {
      {12.5, 1},   {100, 0},   {0.001, 3}, {0.000000000001, 0}, {-12.5, 1}, {1.0 / 3, 9},
      {6e-10, 10}, {4e-10, 0}, {0, 0},
  };
  for (const auto& [x, want] : cases) EXPECT_EQ(DecimalsNeeded(x), want) << x;
}

TEST(FormatTest, FormatScientificRoundsAndCarries) {
  struct Case {
    int digits;
    double x;
    const char* want;
  };
  const Case cases[] = {
      {3, 9995, "1.00E4"},       {3, 1234.5, "1.23E3"},      {3, -1234.5, "-1.23E3"},
      {9, 12.5, "1.25000000E1"}, {12, 12.5, "1.25000000E1"}, {4, 0.00123456, "1.235E-3"},
      {2, 1.25, "1.2E0"},        {2, 1.35, "1.4E0"},         {2, 1.45, "1.4E0"},
      {3, 1.2341, "1.23E0"},     {2, 2.5000001, "2.5E0"},    {2, 0.255, "2.6E-1"},
      {3, 0, "0.00E0"},          {1, 1234.5, "1.E3"},        {3, 1e-300, "1.00E-300"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatScientific(c.digits, c.x), c.want) << c.x;
}

TEST(FormatTest, FormatIntAndFixed) {
  EXPECT_EQ(FormatInt(0), "0");
  EXPECT_EQ(FormatInt(-40000), "-40000");
  EXPECT_EQ(FormatFixed(2.5, 2), "2.50");
  EXPECT_EQ(FormatFixed(-1.0, 0), "-1");
}

TEST(FormatTest, NonFiniteValuesAreReportedNotCrashed) {
  ScriptedPrompts prompts;
  ScopedPrompts guard(prompts);
  const std::string s = FormatReal(std::numeric_limits<double>::infinity());
  EXPECT_FALSE(s.empty());
  ASSERT_FALSE(prompts.texts.empty());
  EXPECT_EQ(prompts.texts[0], "error in real conversion: ");
}

TEST(FormatTest, RoundTripsThroughParseReal) {
  for (double x : {0.1, 1234.5678, -0.000987654321, 98765432.1, 1e-8}) {
    double back = 0;
    ASSERT_TRUE(ParseReal(FormatReal(x), back));
    EXPECT_NEAR(back, x, std::fabs(x) * 1e-8) << x;
  }
}

// A comma-decimal locale must change nothing in file numbers.
TEST(LocaleTest, CommaDecimalLocaleChangesNothing) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  const char* candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "de_DE",       "de_DE@euro",
                              "fr_FR.UTF-8", "fr_FR.utf8", "sv_SE.UTF-8", "nl_NL.UTF-8"};
  bool active = false;
  for (const char* name : candidates) {
    if (std::setlocale(LC_ALL, name) != nullptr &&
        std::string(std::localeconv()->decimal_point) == ",") {
      active = true;
      break;
    }
  }
  if (!active) {
    std::setlocale(LC_ALL, saved.c_str());
    GTEST_SKIP() << "no comma-decimal locale installed (generate de_DE.UTF-8 with locale-gen)";
  }
  LineValueArray values{};
  std::string text;
  const bool ok = ParseRealLine("1.5 2,5 -0.25", 3, values, text);
  const std::string formatted = FormatReal(-12.5) + " " + FormatScientific(3, 1234.5);
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_TRUE(ok);
  EXPECT_EQ(values[0], 1.5);
  EXPECT_EQ(values[1], 2);  // "2,5" is two fields, as in any locale
  EXPECT_EQ(values[2], 5);
  EXPECT_EQ(formatted, "-12.5 1.23E3");
}

// ---- Rounding and arithmetic --------------------------------------------------------------

TEST(RoundHalfEvenTest, TiesGoToEven) {
  const std::pair<double, long long> cases[] = {
      {0.5, 0},
      {1.5, 2},
      {2.5, 2},
      {-0.5, 0},
      {-1.5, -2},
      {-2.5, -2},
      {2.4, 2},
      {2.6, 3},
      {-2.6, -3},
      {0, 0},
      {1e300, std::numeric_limits<long long>::max()},
      {-1e300, std::numeric_limits<long long>::min()},
      {std::nan(""), 0},
  };
  for (const auto& [x, want] : cases) EXPECT_EQ(RoundHalfEven(x), want) << x;
}

TEST(ArithmeticTest, Log10AndPow10) {
  EXPECT_NEAR(Log10(1000), 3, 1e-12);
  EXPECT_NEAR(Pow10(2), 100, 1e-10);
  EXPECT_NEAR(Pow10(Log10(37.5)), 37.5, 1e-10);
}

// ---- Interpolation ------------------------------------------------------------------------

TEST(InterpolateTableTest, LinearInsideOutsideFlaggedOutside) {
  const double X[] = {0, 10, 20, 40};
  const double Y[] = {100, 110, 90, 90};
  const std::pair<double, double> inside[] = {{0, 100},  {5, 105}, {10, 110},
                                              {15, 100}, {30, 90}, {40, 90}};
  for (const auto& [x, want] : inside) {
    bool outside = false;
    EXPECT_DOUBLE_EQ(InterpolateTable(4, X, Y, outside, x), want) << x;
    EXPECT_FALSE(outside) << x;
  }
  for (double x : {-0.001, 40.001}) {
    bool outside = false;
    EXPECT_EQ(InterpolateTable(4, X, Y, outside, x), 0);
    EXPECT_TRUE(outside);
  }
  bool outside = false;
  EXPECT_EQ(InterpolateTable(1, X, Y, outside, 0), 100);
  EXPECT_FALSE(outside);
  EXPECT_EQ(InterpolateTable(0, X, Y, outside, 0), 0);
  EXPECT_TRUE(outside);
}

TEST(InterpolateTest, LinearAndBilinearPropagateTheMissingMarker) {
  EXPECT_DOUBLE_EQ(InterpolateLinear(20, 10, 2, 1, 1.5), 15);
  EXPECT_EQ(InterpolateLinear(GridMissing, 10, 2, 1, 1.5), GridMissing);
  EXPECT_EQ(InterpolateLinear(20, 10, GridMissing, 1, 1.5), GridMissing);
  EXPECT_EQ(InterpolateLinear(20, 10, 1, 1, 1), 10);  // no slope, no NaN

  // Corners a(e,g)=0, b(f,g)=10, c(e,h)=20, d(f,h)=30 over x in [0,1], z in [0,2].
  // Note the argument order: first-row values a, b come first, the query (l, m) last.
  const double a = 0, b = 10, c = 20, d = 30;
  EXPECT_DOUBLE_EQ(InterpolateBilinear(a, b, c, d, 0, 1, 0, 2, 0.5, 1), 15);
  EXPECT_DOUBLE_EQ(InterpolateBilinear(a, b, c, d, 0, 1, 0, 2, 0, 0), a);
  EXPECT_DOUBLE_EQ(InterpolateBilinear(a, b, c, d, 0, 1, 0, 2, 1, 0), b);
  EXPECT_DOUBLE_EQ(InterpolateBilinear(a, b, c, d, 0, 1, 0, 2, 1, 2), d);
  EXPECT_DOUBLE_EQ(InterpolateBilinear(a, b, c, d, 0, 1, 0, 2, 0.25, 2), 22.5);
  EXPECT_EQ(InterpolateBilinear(GridMissing, b, c, d, 0, 1, 0, 2, 0.5, 1), GridMissing);
  // Along the second row the first row is not involved.
  EXPECT_DOUBLE_EQ(InterpolateBilinear(GridMissing, b, c, d, 0, 1, 0, 2, 0.5, 2), 25);
}

TEST(SplineTest, NaturalSplineThroughTheKnots) {
  const int n = 5;
  const double x[n] = {0, 1, 2, 3, 4};
  const double y[n] = {0, 1, 0, 1, 0};
  double y2[n];
  double h[n];
  SplineSetup(n, x, y, y2, h);
  EXPECT_EQ(y2[0], 0);
  EXPECT_EQ(y2[n - 1], 0);
  EXPECT_EQ(h[0], 1);
  // Hand-solved tridiagonal system: 4 m1 + m2 = -12, m1 + 4 m2 + m3 = 12, m2 + 4 m3 = -12.
  EXPECT_NEAR(y2[1], -30.0 / 7, 1e-12);
  EXPECT_NEAR(y2[2], 36.0 / 7, 1e-12);
  EXPECT_NEAR(y2[3], -30.0 / 7, 1e-12);
  for (int i = 0; i < n; ++i) {
    bool outside = false;
    EXPECT_NEAR(SplineValue(n, x, y, y2, h, x[i], outside), y[i], 1e-12);
    EXPECT_FALSE(outside);
  }
  bool outside = false;
  // Midpoint of the first interval: the chord plus the cubic's bulge (a = b = 0.5, h = 1).
  EXPECT_NEAR(SplineValue(n, x, y, y2, h, 0.5, outside), 0.5 + (-0.375 * (-30.0 / 7)) / 6, 1e-12);
  EXPECT_FALSE(outside);
  SplineValue(n, x, y, y2, h, 4 + 0.5e-6, outside);
  EXPECT_FALSE(outside);  // within the tolerance
  SplineValue(n, x, y, y2, h, 4 + 2e-6, outside);
  EXPECT_TRUE(outside);
  outside = false;
  SplineValue(n, x, y, y2, h, -2e-6, outside);
  EXPECT_TRUE(outside);
}

TEST(SplineTest, StraightLineStaysStraight) {
  const int n = 4;
  const double x[n] = {1, 2, 4, 7};
  const double y[n] = {3, 5, 9, 15};
  double y2[n];
  double h[n];
  SplineSetup(n, x, y, y2, h);
  for (double q : {1.0, 1.7, 3.3, 6.9}) {
    bool outside = false;
    EXPECT_NEAR(SplineValue(n, x, y, y2, h, q, outside), 2 * q + 1, 1e-12);
  }
}

}  // namespace
}  // namespace karvelo

namespace karvelo {
namespace {

// Plain decimals take a fast path; it must give the very same double as the general
// conversion, for every length of mantissa and fraction it accepts and just beyond.
TEST(ParseRealTest, PlainDecimalsReadExactlyAsTheGeneralConversion) {
  std::mt19937_64 rng(12345);
  for (int i = 0; i < 200000; ++i) {
    const int intDigits = static_cast<int>(rng() % 10);
    const int fracDigits = static_cast<int>(rng() % 18);
    std::string text;
    for (int d = 0; d < intDigits; ++d) text += static_cast<char>('0' + rng() % 10);
    if (fracDigits > 0 || text.empty()) text += '.';
    for (int d = 0; d < fracDigits; ++d) text += static_cast<char>('0' + rng() % 10);
    if (text == ".") text = "0.5";
    double expected = 0, got = -1;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    ASSERT_TRUE(ParseReal(text, got)) << text;
    ASSERT_EQ(got, expected) << text;
    ASSERT_TRUE(ParseReal("-" + text, got)) << text;
    ASSERT_EQ(got, -expected) << text;
  }
}

}  // namespace
}  // namespace karvelo
