#pragma once

// The data summary of the file loaded last: the hint of a diagram window (tooltip and
// status bar) and, in a shorter form, of the settings dialog.

#include <string>

namespace karvelo::shell {

// The diagram window's hint: data file, number of data, x range, spacing range, depth or
// pseudo-depth range, resistivity range and, for IP data, the IP range. Lines are
// separated by "\n"; the last has no line break.
std::string DiagramSummary();

// The settings dialog's hint: "No of data: " first, the upper spacing and the
// pseudo-depths with two decimals, no depth line.
std::string SettingsSummary();

}  // namespace karvelo::shell
