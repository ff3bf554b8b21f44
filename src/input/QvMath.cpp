#include "input/QvMath.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <vector>

#include "base/Prompts.h"

namespace karvelo {

namespace {

constexpr const char* TooManyValuesText =
    "ERROR (QvMath): Attempt to read too many real variables! (max=50)";

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Blanks and control characters, the characters a line trim removes.
bool IsBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

std::string_view TrimBlanks(std::string_view s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && IsBlankOrControl(s[b])) ++b;
  while (e > b && IsBlankOrControl(s[e - 1])) --e;
  return s.substr(b, e - b);
}

namespace {

// Splits off the next token: it ends at the first space, tab or comma, which is
// consumed; the rest is trimmed so that runs of blanks, and a blank after a comma,
// count as one separator.
std::string_view NextToken(std::string_view& rest) {
  std::size_t end = 0;
  while (end < rest.size() && rest[end] != ' ' && rest[end] != '\t' && rest[end] != ',') ++end;
  const std::string_view token = rest.substr(0, end);
  rest = end < rest.size() ? TrimBlanks(rest.substr(end + 1)) : std::string_view();
  return token;
}

// The order of magnitude of a validated decimal text, used only to tell an overflow
// from an underflow when the conversion falls outside the range of a double.
bool OutOfRangeIsOverflow(std::string_view digits, long long exponent) {
  long long order = 0;
  bool seenPoint = false;
  bool seenNonZero = false;
  for (char c : digits) {
    if (c == '.') {
      seenPoint = true;
    } else if (!seenNonZero && c == '0') {
      if (seenPoint) --order;
    } else {
      if (!seenNonZero && seenPoint) --order;
      seenNonZero = true;
      if (!seenPoint) ++order;
    }
  }
  return order + exponent > 0;
}

// Checks the decimal grammar: digits with an optional point (at least one digit in
// all), then an optional exponent with optional sign and at least one digit.
// Returns the length of the mantissa part, or npos when the text is not a number.
std::size_t CheckDecimalGrammar(std::string_view s, long long& exponent) {
  std::size_t i = 0;
  int mantissaDigits = 0;
  bool point = false;
  while (i < s.size() && (IsDigit(s[i]) || (s[i] == '.' && !point))) {
    if (s[i] == '.') {
      point = true;
    } else {
      ++mantissaDigits;
    }
    ++i;
  }
  if (mantissaDigits == 0) return std::string_view::npos;
  const std::size_t mantissaEnd = i;
  exponent = 0;
  if (i == s.size()) return mantissaEnd;
  if (s[i] != 'E' && s[i] != 'e') return std::string_view::npos;
  ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i == s.size()) return std::string_view::npos;
  for (; i < s.size(); ++i) {
    if (!IsDigit(s[i])) return std::string_view::npos;
    if (exponent < 100000) exponent = exponent * 10 + (s[i] - '0');
  }
  if (negative) exponent = -exponent;
  return mantissaEnd;
}

bool ParseRounded(std::string_view token, std::int32_t& value) {
  double v = 0;
  if (!ParseReal(token, v)) return false;
  const long long r = RoundHalfEven(v);
  if (r < std::numeric_limits<std::int32_t>::min() || r > std::numeric_limits<std::int32_t>::max())
    return false;
  value = static_cast<std::int32_t>(r);
  return true;
}

// The shared body of the two line parsers: `convert` turns one token into its slot.
template <typename T, typename Convert>
bool ParseLine(std::string_view line, int count, std::array<T, MaxLineValues>& values,
               std::string& lineText, T missing, Convert convert) {
  values.fill(missing);
  if (count > MaxLineValues) {
    CurrentPrompts().Message(TooManyValuesText, MessageKind::Error);
    return false;
  }
  std::string_view rest = TrimBlanks(line);
  lineText.assign(rest);
  bool ok = true;
  for (int i = 0; i < count; ++i) {
    if (rest.empty()) return false;
    const std::string_view token = NextToken(rest);
    if (!convert(token, values[static_cast<std::size_t>(i)])) {
      values[static_cast<std::size_t>(i)] = missing;
      ok = false;
    }
  }
  return ok;
}

std::string ToCharsText(double x, std::chars_format fmt, int precision) {
  char buf[400];
  const auto r = std::to_chars(buf, buf + sizeof buf, x, fmt, precision);
  if (r.ec != std::errc()) return std::string();
  return std::string(buf, r.ptr);
}

}  // namespace

namespace {

// Survey files are millions of short plain decimals ("12.5", "0.0034"): those are read
// exactly without the general conversion. With at most 15 significant digits the digits
// form an exact integer and 10^k (k <= 22) is exact too, so one division is correctly
// rounded (Clinger's fast path). Anything else (exponents, long mantissas) returns false
// and takes the general path.
bool ParsePlainDecimal(std::string_view s, double& value) {
  static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                      1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  std::uint64_t digits = 0;
  int significant = 0, fraction = 0;
  bool point = false, any = false;
  for (const char c : s) {
    if (c >= '0' && c <= '9') {
      any = true;
      if (significant > 0 || c != '0') ++significant;
      if (significant > 15) return false;
      digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
      if (point) ++fraction;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  if (!any || fraction > 22) return false;
  value = static_cast<double>(digits) / kPow10[fraction];
  return true;
}

}  // namespace

bool ParseReal(std::string_view token, double& value) {
  std::string_view s = token;
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  if (double plain = 0; ParsePlainDecimal(s, plain)) {
    value = negative ? -plain : plain;
    return true;
  }
  long long exponent = 0;
  const std::size_t mantissaEnd = CheckDecimalGrammar(s, exponent);
  if (mantissaEnd == std::string_view::npos) return false;
  double v = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    // Too large for a double is an error; too small is zero.
    if (OutOfRangeIsOverflow(s.substr(0, mantissaEnd), exponent)) return false;
    v = 0;
  } else if (r.ec != std::errc() || r.ptr != s.data() + s.size()) {
    return false;
  }
  value = negative ? -v : v;
  return true;
}

bool ReadRealField(LineCursor& cursor, double& value) {
  const std::string_view t = cursor.text;
  auto isStart = [](char c) { return c == '+' || c == '-' || c == '.' || IsDigit(c); };
  auto isPart = [&](char c) { return isStart(c) || c == 'E' || c == 'e'; };
  if (cursor.AtEnd()) return false;
  while (cursor.pos < t.size() && !isStart(t[cursor.pos])) ++cursor.pos;
  if (cursor.AtEnd()) return false;
  const std::size_t begin = cursor.pos;
  while (cursor.pos < t.size() && isPart(t[cursor.pos])) ++cursor.pos;
  const std::string_view number = t.substr(begin, cursor.pos - begin);
  // The character that ended the number belongs to it.
  if (cursor.pos < t.size()) ++cursor.pos;
  return ParseReal(number, value);
}

bool ParseRealLine(std::string_view line, int count, LineValueArray& values,
                   std::string& lineText) {
  return ParseLine<double>(line, count, values, lineText, SentinelMissing,
                           [](std::string_view token, double& slot) {
                             if (token == "*") {
                               slot = SentinelMissing;
                               return true;
                             }
                             return ParseReal(token, slot);
                           });
}

bool ParseIntegerLine(std::string_view line, int count, LineIntArray& values,
                      std::string& lineText) {
  return ParseLine<std::int32_t>(line, count, values, lineText, 0, ParseRounded);
}

bool ReadRealLine(TextLines& file, int count, LineValueArray& values, std::string& lineText) {
  values.fill(SentinelMissing);
  if (count > MaxLineValues) {
    CurrentPrompts().Message(TooManyValuesText, MessageKind::Error);
    return false;
  }
  std::string line;
  if (!file.ReadLine(line)) return false;
  return ParseRealLine(line, count, values, lineText);
}

bool ReadIntegerLine(TextLines& file, int count, LineIntArray& values, std::string& lineText) {
  values.fill(0);
  if (count > MaxLineValues) {
    CurrentPrompts().Message(TooManyValuesText, MessageKind::Error);
    return false;
  }
  std::string line;
  if (!file.ReadLine(line)) return false;
  return ParseIntegerLine(line, count, values, lineText);
}

std::string FormatInt(long long value) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, r.ptr);
}

std::string FormatScientific(int digits, double x) {
  const int c = std::clamp(digits, 1, 9);
  if (!std::isfinite(x)) {
    CurrentPrompts().Message("error in real conversion: ", MessageKind::Error);
    return ToCharsText(x, std::chars_format::general, 6);
  }
  // "d.ddddddddddddddddde+XX": one digit, point, 17 digits, exponent.
  const std::string form = ToCharsText(std::fabs(x), std::chars_format::scientific, 17);
  const std::size_t ePos = form.find('e');
  // First digit and the next c - 1 digits, a point and the digit after them.
  const std::string_view formView(form);
  std::string head(formView.substr(0, 1));
  head.append(formView.substr(2, static_cast<std::size_t>(c - 1)));
  head += '.';
  head += form[static_cast<std::size_t>(c) + 1];
  double rounded = 0;
  if (!ParseReal(head, rounded)) {
    CurrentPrompts().Message("error in real conversion: ", MessageKind::Error);
  }
  // A "5" after the kept digits is a tie only when nothing but zeros follows it;
  // otherwise the value lies above the half and rounds up (1.23456 -> 1.235).
  const std::size_t tailBegin = static_cast<std::size_t>(c) + 2;
  const bool tailNonZero = form[static_cast<std::size_t>(c) + 1] == '5' && tailBegin < ePos &&
                           form.find_first_not_of('0', tailBegin) < ePos;
  if (tailNonZero) rounded = std::floor(rounded) + 1;
  std::string integer = FormatInt(RoundHalfEven(rounded));
  int exponent = 0;
  const std::string_view expText = std::string_view(form).substr(ePos + 1);
  const char* expBegin = expText.data() + (expText[0] == '+' ? 1 : 0);
  if (std::from_chars(expBegin, expText.data() + expText.size(), exponent).ec != std::errc()) {
    CurrentPrompts().Message("error in integer conversion", MessageKind::Error);
  }
  // Rounding may carry into one more digit (9.995 -> 1000): the mantissa then starts
  // one decade higher.
  if (static_cast<int>(integer.size()) > c) ++exponent;
  // Zero has a single digit; pad it so every mantissa shows c digits.
  if (static_cast<int>(integer.size()) < c)
    integer.append(static_cast<std::size_t>(c) - integer.size(), '0');
  std::string result = x < 0 ? "-" : "";
  const std::string_view digitsView(integer);
  result.append(digitsView.substr(0, 1));
  result += '.';
  result.append(digitsView.substr(1, static_cast<std::size_t>(c - 1)));
  result += 'E';
  result += FormatInt(exponent);
  return result;
}

int DecimalsNeeded(double x) {
  const double ax = std::fabs(x);
  if (!std::isfinite(ax)) return 0;
  const std::string text = FormatScientific(9, ax);
  const std::size_t ePos = text.find('E');
  int exponent = 0;
  const auto r = std::from_chars(text.data() + ePos + 1, text.data() + text.size(), exponent);
  if (r.ec != std::errc()) {
    const std::string msg =
        "error in exponent conversion: " + FormatInt(r.ptr - (text.data() + ePos)) + "\n";
    std::fputs(msg.c_str(), stdout);
  }
  const std::string_view mantissa = std::string_view(text).substr(0, ePos);
  int zeros = 0;
  for (std::size_t i = mantissa.size(); i > 0 && mantissa[i - 1] == '0'; --i) ++zeros;
  if (ax < 1 && RoundHalfEven(ax * 1e9) == 0) return 0;
  return std::max(0, 8 - zeros - exponent);
}

std::string FormatFixed(double x, int decimals) {
  if (x == 0) x = 0;  // no "-0"
  if (!std::isfinite(x)) return ToCharsText(x, std::chars_format::general, 6);
  return ToCharsText(x, std::chars_format::fixed, std::max(0, decimals));
}

std::string FormatReal(double x) {
  if (!std::isfinite(x)) {
    CurrentPrompts().Message("error in real conversion: ", MessageKind::Error);
    return ToCharsText(x, std::chars_format::general, 6);
  }
  return FormatFixed(x, DecimalsNeeded(x));
}

double Log10(double x) {
  return std::log(x) / std::log(10.0);
}

double Pow10(double x) {
  return std::exp(std::log(10.0) * x);
}

long long RoundHalfEven(double x) {
  // Values beyond the integer range saturate rather than overflow.
  constexpr double Limit = 9.2e18;
  if (std::isnan(x)) return 0;
  if (x >= Limit) return std::numeric_limits<long long>::max();
  if (x <= -Limit) return std::numeric_limits<long long>::min();
  const double f = std::floor(x);
  const double diff = x - f;
  auto r = static_cast<long long>(f);
  if (diff > 0.5 || (diff == 0.5 && (r % 2) != 0)) ++r;
  return r;
}

double InterpolateTable(int n, const double* X, const double* Y, bool& outside, double x) {
  if (n <= 0 || x < X[0] || x > X[n - 1]) {
    outside = true;
    return 0;
  }
  if (n == 1) return Y[0];
  // Bisection for the first i >= 1 with X[i-1] <= x <= X[i].
  int lo = 0;
  int hi = n - 1;
  while (hi - lo > 1) {
    const int mid = (lo + hi) / 2;
    if (X[mid] >= x) {
      hi = mid;
    } else {
      lo = mid;
    }
  }
  const double dx = X[hi] - X[lo];
  if (dx == 0) return Y[lo];
  return Y[lo] + (Y[hi] - Y[lo]) * (x - X[lo]) / dx;
}

double InterpolateLinear(double y1, double y0, double x1, double x0, double x) {
  if (y1 == GridMissing || y0 == GridMissing || x1 == GridMissing || x0 == GridMissing)
    return GridMissing;
  // Coinciding abscissas give no slope; the nearer value is the only sound answer.
  if (x1 == x0) return y0;
  return y0 + (y1 - y0) * (x - x0) / (x1 - x0);
}

double InterpolateBilinear(double a, double b, double c, double d, double e, double f, double g,
                           double h, double l, double m) {
  if (m != h) {
    if (m != g) {
      d = InterpolateLinear(d, b, h, g, m);
      c = InterpolateLinear(c, a, h, g, m);
    } else {
      c = a;
      d = b;
    }
  }
  if (l == f) return d;
  if (l == e) return c;
  return InterpolateLinear(d, c, f, e, l);
}

void SplineSetup(int n, const double* x, const double* y, double* y2, double* h) {
  if (n <= 0) return;
  for (int i = 0; i < n; ++i) {
    y2[i] = 0;
    h[i] = i + 1 < n ? x[i + 1] - x[i] : 0;
  }
  if (n < 3) return;
  // Natural spline: zero second derivative at both ends; tridiagonal elimination.
  std::vector<double> u(static_cast<std::size_t>(n), 0.0);
  for (int i = 1; i < n - 1; ++i) {
    const double span = x[i + 1] - x[i - 1];
    if (h[i - 1] == 0 || h[i] == 0 || span == 0) continue;
    const double sig = h[i - 1] / span;
    const double p = sig * y2[i - 1] + 2.0;
    y2[i] = (sig - 1.0) / p;
    const double slopes = (y[i + 1] - y[i]) / h[i] - (y[i] - y[i - 1]) / h[i - 1];
    u[static_cast<std::size_t>(i)] =
        (6.0 * slopes / span - sig * u[static_cast<std::size_t>(i - 1)]) / p;
  }
  y2[n - 1] = 0;
  for (int k = n - 2; k >= 0; --k) y2[k] = y2[k] * y2[k + 1] + u[static_cast<std::size_t>(k)];
}

double SplineValue(int n, const double* x, const double* y, const double* y2, const double* h,
                   double xq, bool& outside) {
  (void)h;
  if (n <= 0) {
    outside = true;
    return 0;
  }
  if (n == 1) {
    if (xq != x[0]) outside = true;
    return y[0];
  }
  if (xq < x[0] - 1e-6 * (x[1] - x[0]) || xq > x[n - 1] + 1e-6 * (x[n - 1] - x[n - 2])) {
    outside = true;
    return 0;
  }
  int lo = 0;
  int hi = n - 1;
  while (hi - lo > 1) {
    const int mid = (lo + hi) / 2;
    if (x[mid] > xq) {
      hi = mid;
    } else {
      lo = mid;
    }
  }
  const double step = x[hi] - x[lo];
  if (step == 0) return y[lo];
  const double a = (x[hi] - xq) / step;
  const double b = (xq - x[lo]) / step;
  return a * y[lo] + b * y[hi] +
         ((a * a * a - a) * y2[lo] + (b * b * b - b) * y2[hi]) * (step * step) / 6.0;
}

std::string FormatGeneral(double x) {
  if (x == 0) return "0";
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 15);
  std::string text(buf, r.ptr);
  const std::size_t e = text.find('e');
  if (e == std::string::npos) return text;
  // "1e-05" -> "1E-5", "1e+15" -> "1E15".
  std::string exponent = text.substr(e + 1);
  const bool negative = exponent.front() == '-';
  if (exponent.front() == '+' || negative) exponent.erase(0, 1);
  exponent.erase(0, std::min(exponent.find_first_not_of('0'), exponent.size() - 1));
  return text.substr(0, e) + "E" + (negative ? "-" : "") + exponent;
}

}  // namespace karvelo
