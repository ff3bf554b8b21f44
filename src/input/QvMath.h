#pragma once

// Numbers in text: reading whitespace-, tab- or comma-separated numbers from text
// lines, writing reals with just as many decimals as they need, and the interpolation
// helpers of the renderers. Every text format of the program is read and written
// through here, never through the C locale, so "." is the decimal separator whatever
// the user's regional settings.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/Files.h"
#include "base/PlotState.h"

namespace karvelo {

using LineValueArray = std::array<double, MaxLineValues>;
using LineIntArray = std::array<std::int32_t, MaxLineValues>;

// The text without leading and trailing blanks and control characters: how every
// line of the program's text files is trimmed before it is read.
std::string_view TrimBlanks(std::string_view s);

// Converts a whole token as a decimal real ("." separator, optional sign and exponent).
// False (value unchanged) for anything else, including "inf" and "nan".
bool ParseReal(std::string_view token, double& value);

// A read position inside one line of text, for ReadRealField.
struct LineCursor {
  std::string_view text;
  std::size_t pos = 0;
  bool AtEnd() const { return pos >= text.size(); }
};

// Reads the next number of the line from the cursor on, without leaving the line.
bool ReadRealField(LineCursor& cursor, double& value);

// Parses the first `count` numbers of one line of text (already read) into `values`
// and stores the trimmed line in `lineText`. The building block of ReadRealLine.
bool ParseRealLine(std::string_view line, int count, LineValueArray& values, std::string& lineText);
bool ParseIntegerLine(std::string_view line, int count, LineIntArray& values,
                      std::string& lineText);

// Reads one whole line of `file` and parses its first `count` numbers (1..50).
bool ReadRealLine(TextLines& file, int count, LineValueArray& values, std::string& lineText);
bool ReadIntegerLine(TextLines& file, int count, LineIntArray& values, std::string& lineText);

std::string FormatInt(long long value);
std::string FormatScientific(int digits, double x);
int DecimalsNeeded(double x);
std::string FormatReal(double x);
// The general number format: up to 15 significant digits, no trailing zeros, an
// exponent only where needed and written "1E-5" / "1E20" (no "+", no leading zeros).
std::string FormatGeneral(double x);
// Fixed-point text with `decimals` decimals, independent of the locale.
std::string FormatFixed(double x, int decimals);

double Log10(double x);
double Pow10(double x);

// Rounds to the nearest integer, halves to even: the rounding of every layout rule.
long long RoundHalfEven(double x);

// Piecewise-linear lookup in an ascending table X[0..n-1]; outside sets `outside` and
// returns 0.
double InterpolateTable(int n, const double* X, const double* Y, bool& outside, double x);

// The pseudosection grid's missing marker.
inline constexpr double GridMissing = -32768.0;

double InterpolateLinear(double y1, double y0, double x1, double x0, double x);
double InterpolateBilinear(double a, double b, double c, double d, double e, double f, double g,
                           double h, double l, double m);

// Natural cubic spline through n <= 200 knots (x ascending): SplineSetup fills the
// second derivatives y2 and the knot intervals h (each with n entries); SplineValue
// evaluates it and sets `outside` beyond the knots.
inline constexpr int MaxSplineKnots = 200;
void SplineSetup(int n, const double* x, const double* y, double* y2, double* h);
double SplineValue(int n, const double* x, const double* y, const double* y2, const double* h,
                   double xq, bool& outside);

}  // namespace karvelo
