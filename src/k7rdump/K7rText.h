#pragma once

// Number and time texts of the K7R dump. They follow the C printf conventions the dump
// format was defined with, but never depend on the process locale: the dump is read
// back by the field-data converter, which expects "." as the decimal separator.

#include <cstdint>
#include <string>

namespace k7rdump {

// "%g": six significant digits, fixed or exponent notation (whichever printf's %g
// picks), trailing zeros and a bare decimal point removed; "nan", "inf" with sign.
std::string FormatG(double value);

// "%u" / "%i" / "%li" / "%lu" of the integer widths the file holds.
std::string FormatInt(std::int64_t value);

// The seconds since 1970-01-01 00:00 UTC that a stored creation time stands for.
std::int32_t CreationSeconds(std::uint32_t stored);

// The creation-time line(s), line breaks included: "Creation time: Thu Jan 01 00:00:00
// 1970\n\n" for a valid time, "Creation time: (not valid -2077485200\n" for a time
// before 1970.
std::string CreationTimeLines(std::uint32_t stored);

}  // namespace k7rdump
