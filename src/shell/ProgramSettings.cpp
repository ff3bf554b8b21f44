#include "shell/ProgramSettings.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/Files.h"
#include "input/QvMath.h"
#include "shell/ShellEnv.h"

namespace karvelo::shell {

std::string ProgramSettingsPath() {
  return GetAppDataFolder() + "/HedbySoft/Karvelo.ini";
}

std::string FormatSettingsReal(double x) {
  if (!std::isfinite(x)) x = 0;
  char buf[64];
  const auto r =
      std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
  std::string s(buf, r.ptr);  // d.ddddddddddddddde[+-]xx
  const auto e = s.find('e');
  const std::string mantissa = s.substr(0, e);
  const char sign = s[e + 1];
  const int exponent = std::atoi(s.c_str() + e + 2);
  std::string digits = std::to_string(exponent);
  while (digits.size() < 4) digits.insert(digits.begin(), '0');
  return std::string(x < 0 ? "-" : " ") + mantissa + "E" + sign + digits;
}

SettingsReadResult ReadProgramSettings(const std::string& path, TProgramSettings& settings,
                                       std::string* problem) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return SettingsReadResult::Missing;
  TextLines file;
  if (!file.Open(path)) {
    if (problem) *problem = "the file cannot be opened";
    return SettingsReadResult::Damaged;
  }
  std::string line;
  file.ReadLine(line);
  settings.WorkDir = line;
  if (file.Eof()) return SettingsReadResult::Read;

  file.ReadLine(line);
  LineCursor cursor{line};
  double size = 0;
  if (!ReadRealField(cursor, size) || !(size > 0) || !std::isfinite(size)) {
    if (problem) *problem = "line 2 is not a relative font size: \"" + line + "\"";
    return SettingsReadResult::Damaged;
  }
  settings.RelativeFontSize = size;
  if (file.Eof()) return SettingsReadResult::Read;

  file.ReadLine(line);
  settings.FontName = line;
  return SettingsReadResult::Read;
}

bool WriteProgramSettings(const std::string& path, const TProgramSettings& settings,
                          std::string* problem) {
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  if (ec) {
    if (problem) *problem = "the folder " + folder.string() + " cannot be created: " + ec.message();
    return false;
  }
  const std::string text = settings.WorkDir + "\n" + FormatSettingsReal(settings.RelativeFontSize) +
                           "\n" + settings.FontName + "\n";
  return WriteFileAtomically(path, text, problem);
}

}  // namespace karvelo::shell
