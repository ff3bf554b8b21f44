#pragma once

// The --info report: what a load put into the plot state, as one JSON object.

#include <QJsonObject>
#include <string>
#include <vector>

namespace karvelo::cli {

enum class FileKind { Data, Model };

// Builds the report from the plot state as the load left it. `file` is the path as the
// user gave it; `messages` every message text the load showed, in order.
QJsonObject BuildInfoReport(const std::string& file, FileKind kind,
                            const std::vector<std::string>& messages);

}  // namespace karvelo::cli
