#pragma once

#include <QStringList>

namespace karvelo::cli {

// Parses the command line and runs it. Returns the exit status: 0 done, 1 the file is
// not a readable survey or the drawing failed, 2 the file could not be opened or the
// command line is wrong, 3 the output could not be written.
int RunPlotCommand(const QStringList& arguments);

}  // namespace karvelo::cli
