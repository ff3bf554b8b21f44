#pragma once

// The program settings file Karvelo.ini: three plain text lines (work folder, relative
// font size, font name) kept between runs in the user's configuration folder.

#include <string>

namespace karvelo::shell {

struct TProgramSettings {
  std::string WorkDir;
  double RelativeFontSize = 0.03;
  std::string FontName;  // empty: keep the current face
};

enum class SettingsReadResult {
  Missing,  // no file: every default stays
  Read,     // every line present was read
  Damaged   // the file could not be read, or its size line is not a number
};

// GetAppDataFolder() + "/HedbySoft/Karvelo.ini".
std::string ProgramSettingsPath();

// A real as line 2 is written: a blank (or the minus sign), one digit, the point, 14
// decimals, "E", the exponent's sign and four digits: 0.03 gives " 3.00000000000000E-0002".
std::string FormatSettingsReal(double x);

// Reads the file into `settings`. Line 1 is the work folder; lines 2 and 3 are optional.
// When the file is damaged the lines read before the fault are kept and the rest keep
// the values `settings` held; `problem` then says what went wrong.
SettingsReadResult ReadProgramSettings(const std::string& path, TProgramSettings& settings,
                                       std::string* problem = nullptr);

// Creates the folder when it is missing and writes the three lines atomically. False
// (old file untouched) when that fails; `problem` then says why.
bool WriteProgramSettings(const std::string& path, const TProgramSettings& settings,
                          std::string* problem = nullptr);

}  // namespace karvelo::shell
