#pragma once

// Where the program's own files are: its folder, and the resource folder that holds the
// palettes ("palette/"), the fill patterns ("BITMAP/") and the demo survey ("demo/").

#include <string>

namespace karvelo {

// The folder of the running executable, with a trailing separator.
std::string ProgramFolder();

// The resource folder, with a trailing separator: $KARVELO_RESOURCES when set; else
// "../share/karvelo/" beside the executable when it exists (an installed program);
// else the source tree's resources/ folder (a program run from its build tree).
std::string ResourceFolder();

}  // namespace karvelo
