#pragma once

// The desktop program's ties to its surroundings: the fixed number and date formats,
// developer mode, the special folders, where the program's resources live, running a
// child process while the windows stay alive, handing a document to the desktop, and
// the conversion of the program's 8-bit texts at the Qt boundary.

#include <QString>
#include <string>
#include <string_view>

namespace karvelo::shell {

// Numbers and dates the program formats or parses itself never follow the user's
// regional settings: "." as decimal separator (C runtime and Qt alike), no digit
// grouping, the C conventions for times. Qt's application object switches the C runtime
// to the user's locale when it starts, so this runs after it, and again before every
// file open and diagram-type command.
void ForceLocaleFormats();

// Developer mode: the upper-cased program path, with "/" read as "\", contains
// "\RES\2D\KARVELO.WIN".
bool IsDeveloperPath(const std::string& programPath);
// Decided once at start from the program's own path; tests may set it.
bool DeveloperMode();
void SetDeveloperMode(bool on);

// The user's roaming configuration folder (XDG_CONFIG_HOME or ~/.config), the shared
// documents folder (the user's documents on this platform) and the system's programs
// folder; no trailing separator.
std::string GetAppDataFolder();
std::string GetCommonDocumentsFolder();
std::string GetProgramFilesFolder();

// The palette folder inside the program's resources (base/Resources.h), with a
// trailing separator.
std::string PaletteFolderPath();
// Where the global default label files (PSEUDO.TXT, MODSEC.TXT) are written and read:
// the program's settings folder, because the program's own folder is not writable once
// installed. Trailing separator.
std::string GlobalLabelFolder();

// Starts the command line (program and arguments, double quotes group) as a child
// process and returns when it has ended, while the program's windows keep processing
// their events. False when it could not be started at all (nothing is waited for).
// The exit code is not reported: callers look for the files the program should write.
bool RunAndWait(const std::string& commandLine);

// Asks the desktop to open a document or start a program with its default action.
// A relative file is taken in `workingFolder`. Reports nothing.
void OpenDocument(const std::string& file, const std::string& parameters,
                  const std::string& workingFolder, int showMode = 1);

// The program's 8-bit text as shown by Qt (UTF-8 when valid, otherwise Windows-1252),
// and the way back: Latin-1 when every character fits, UTF-8 otherwise.
QString ToQt(std::string_view text);
std::string FromQt(const QString& text);
// File paths: the file system's own encoding.
QString PathToQt(const std::string& path);
std::string PathFromQt(const QString& path);

// Message texts break lines with "\n\r"; Qt shows a bare "\n" as the line break.
QString MessageText(std::string_view text);

}  // namespace karvelo::shell
