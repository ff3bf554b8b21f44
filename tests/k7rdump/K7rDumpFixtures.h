#pragma once

// Shared helpers of the K7R dump tests: dumping bytes to text and picking lines.

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "k7rdump/K7rDump.h"
#include "k7rdump/K7rWriter.h"

namespace k7rtest {

inline std::string Dump(const std::vector<unsigned char>& bytes) {
  std::ostringstream out;
  k7rdump::WriteDump(std::span<const unsigned char>(bytes.data(), bytes.size()), out);
  return out.str();
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// The lines that start with `prefix`, in order.
inline std::vector<std::string> LinesStartingWith(const std::string& text,
                                                  std::string_view prefix) {
  std::vector<std::string> found;
  for (const auto& line : Lines(text)) {
    if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
  }
  return found;
}

inline std::size_t CountLines(const std::string& text, std::string_view exact) {
  std::size_t n = 0;
  for (const auto& line : Lines(text)) n += line == exact ? 1 : 0;
  return n;
}

inline bool HasLineStartingWith(const std::string& text, std::string_view prefix) {
  return !LinesStartingWith(text, prefix).empty();
}

}  // namespace k7rtest
