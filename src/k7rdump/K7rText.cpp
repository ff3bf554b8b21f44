#include "k7rdump/K7rText.h"

#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <string_view>
#include <system_error>

namespace k7rdump {
namespace {

constexpr int kSignificantDigits = 6;

// Drops trailing zeros of a fraction and then a bare decimal point ("1.500" -> "1.5",
// "2.000" -> "2"). Texts without a decimal point are left alone.
void StripFractionZeros(std::string& digits) {
  if (digits.find('.') == std::string::npos) return;
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (!digits.empty() && digits.back() == '.') digits.pop_back();
}

std::string ToCharsText(double value, std::chars_format format, int precision) {
  // 3.4e38 in fixed notation needs 40 digits plus sign and fraction; doubles up to
  // 1.8e308 would need more, so size for the worst case of a double.
  std::array<char, 400> buffer{};
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision);
  if (result.ec != std::errc()) return "0";
  return std::string(buffer.data(), result.ptr);
}

std::string TwoDigits(unsigned value) {
  std::string text(2, '0');
  text[0] = static_cast<char>('0' + (value / 10) % 10);
  text[1] = static_cast<char>('0' + value % 10);
  return text;
}

}  // namespace

std::string FormatG(double value) {
  if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";

  // The exponent of the value rounded to six digits decides the notation, exactly as
  // printf's %g does (so 999999.5 becomes "1e+06", not "1000000").
  std::string scientific =
      ToCharsText(value, std::chars_format::scientific, kSignificantDigits - 1);
  const auto ePos = scientific.find('e');
  if (ePos == std::string::npos) return scientific;
  const std::string_view expText(scientific.data() + ePos + 1, scientific.size() - ePos - 1);
  int exponent = 0;
  const bool negativeExp = !expText.empty() && expText.front() == '-';
  const std::string_view expDigits =
      (!expText.empty() && (expText.front() == '-' || expText.front() == '+')) ? expText.substr(1)
                                                                               : expText;
  std::from_chars(expDigits.data(), expDigits.data() + expDigits.size(), exponent);
  if (negativeExp) exponent = -exponent;

  if (exponent < -4 || exponent >= kSignificantDigits) {
    std::string mantissa = scientific.substr(0, ePos);
    StripFractionZeros(mantissa);
    return mantissa + scientific.substr(ePos);
  }
  std::string fixed =
      ToCharsText(value, std::chars_format::fixed, kSignificantDigits - 1 - exponent);
  StripFractionZeros(fixed);
  return fixed;
}

std::string FormatInt(std::int64_t value) {
  std::array<char, 24> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), result.ptr);
}

std::int32_t CreationSeconds(std::uint32_t stored) {
  // The stored value counts seconds from 1901-01-01 00:00 at UTC+9. Adding
  // 2117514496 - 32400 modulo 2^32 is the same as subtracting 2177485200; values
  // before 1970 come out negative and are reported as not valid.
  const std::uint32_t shifted = stored + 2117514496u - 32400u;
  return static_cast<std::int32_t>(shifted);
}

std::string CreationTimeLines(std::uint32_t stored) {
  using namespace std::chrono;
  static constexpr std::array<std::string_view, 7> kWeekdays = {"Sun", "Mon", "Tue", "Wed",
                                                                "Thu", "Fri", "Sat"};
  static constexpr std::array<std::string_view, 12> kMonths = {
      "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

  const std::int32_t seconds = CreationSeconds(stored);
  if (seconds < 0) return "Creation time: (not valid " + FormatInt(seconds) + "\n";

  const sys_seconds moment{std::chrono::seconds{seconds}};
  const sys_days day = floor<days>(moment);
  const year_month_day date{day};
  const hh_mm_ss<std::chrono::seconds> time{moment - day};
  const weekday dayOfWeek{day};

  std::string text = "Creation time: ";
  text += kWeekdays[dayOfWeek.c_encoding()];
  text += ' ';
  text += kMonths[static_cast<unsigned>(date.month()) - 1];
  text += ' ';
  text += TwoDigits(static_cast<unsigned>(date.day()));
  text += ' ';
  text += TwoDigits(static_cast<unsigned>(time.hours().count())) + ':';
  text += TwoDigits(static_cast<unsigned>(time.minutes().count())) + ':';
  text += TwoDigits(static_cast<unsigned>(time.seconds().count())) + ' ';
  text += FormatInt(static_cast<int>(date.year()));
  text += "\n\n";
  return text;
}

}  // namespace k7rdump
