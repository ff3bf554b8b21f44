#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "k7rdump/K7rDump.h"
#include "k7rdump/K7rText.h"

namespace {

using k7rdump::CreationTimeLines;
using k7rdump::FormatG;

struct GCase {
  double value;
  const char* text;
};

TEST(K7rFormatG, MatchesPrintfGeneralFormat) {
  const GCase cases[] = {
      {0.0, "0"},
      {-0.0, "-0"},
      {1.0, "1"},
      {-2.5, "-2.5"},
      {47.25, "47.25"},
      {100000.0, "100000"},
      {123456.0, "123456"},
      {1234567.0, "1.23457e+06"},
      {1e6, "1e+06"},
      {999999.4, "999999"},
      {999999.5, "1e+06"},  // rounding to six digits moves it to exponent form
      {0.0001, "0.0001"},
      {0.00012345678, "0.000123457"},
      {0.00001, "1e-05"},
      {-1.5e-7, "-1.5e-07"},
      {static_cast<double>(1.1f), "1.1"},  // widened float keeps six digits
      {static_cast<double>(0.02f), "0.02"},
      {static_cast<double>(std::numeric_limits<float>::max()), "3.40282e+38"},
      {static_cast<double>(std::numeric_limits<float>::denorm_min()), "1.4013e-45"},
      {1e38, "1e+38"},
      {-1e35, "-1e+35"},
      {32767.0, "32767"},
      {0.5, "0.5"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatG(c.value), c.text) << "value " << c.value;
  }
}

TEST(K7rFormatG, NonFiniteValues) {
  EXPECT_EQ(FormatG(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(FormatG(-std::numeric_limits<double>::infinity()), "-inf");
  EXPECT_EQ(FormatG(std::numeric_limits<double>::quiet_NaN()), "nan");
  EXPECT_EQ(FormatG(-std::numeric_limits<double>::quiet_NaN()), "-nan");
}

struct TimeCase {
  std::uint32_t stored;
  const char* lines;
};

TEST(K7rCreationTime, ThreeRangesOfTheStoredValue) {
  const TimeCase cases[] = {
      // The stored epoch of 1970.
      {2177485200u, "Creation time: Thu Jan 01 00:00:00 1970\n\n"},
      // Before 1970: no breakdown, and the parenthesis stays open.
      {100000000u, "Creation time: (not valid -2077485200\n"},
      {2177485199u, "Creation time: (not valid -1\n"},
      // Small values wrap around into 2037.
      {0u, "Creation time: Thu Feb 05 21:28:16 2037\n\n"},
      // A typical recording time; the day of the month keeps its leading zero.
      {2177485200u + 365u * 86400u + 13u * 3600u + 7u * 60u + 5u,
       "Creation time: Fri Jan 01 13:07:05 1971\n\n"},
      {2177485200u + 1234567890u, "Creation time: Fri Feb 13 23:31:30 2009\n\n"},
      // The largest value still ahead of 1970.
      {0xFFFFFFFFu, "Creation time: Thu Feb 05 21:28:15 2037\n\n"},
      // The last second a signed 32-bit count reaches, and the one after it.
      {30001551u, "Creation time: Tue Jan 19 03:14:07 2038\n\n"},
      {30001552u, "Creation time: (not valid -2147483648\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CreationTimeLines(c.stored), c.lines) << "stored " << c.stored;
  }
}

TEST(K7rFieldText, StopsAtZeroOrWidth) {
  const char full[4] = {'W', 'E', 'N', 'X'};
  EXPECT_EQ(k7rdump::FieldText(full, 4), "WENX");
  EXPECT_EQ(k7rdump::FieldText(full, 3), "WEN");
  const char padded[6] = {'a', 'b', 0, 'c', 0, 0};
  EXPECT_EQ(k7rdump::FieldText(padded, 6), "ab");
  EXPECT_EQ(k7rdump::FieldText(padded, 0), "");
}

}  // namespace
