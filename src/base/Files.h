#pragma once

// File helpers shared by every layer: companion files found without regard to letter
// case, files written atomically, and 8-bit text read line by line.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace karvelo {

// The existing file whose name matches `path` ignoring letter case in its last
// component (the folder part must exist as given). An exact match wins over other
// spellings. Returns nothing when no such file exists.
std::optional<std::string> FindFileNoCase(const std::string& path);

// FindFileNoCase, or `path` itself when nothing matches (callers then report it).
std::string ResolveFileNoCase(const std::string& path);

bool FileExistsNoCase(const std::string& path);

// Writes `contents` to a temporary file beside `path` and renames it over `path`, so a
// crash or a full disk never leaves a half-written file. If a file of another letter
// case already stands for `path`, that file is replaced. Returns false (and leaves any
// old file untouched) when the write fails; `error` then says why.
bool WriteFileAtomically(const std::string& path, std::string_view contents,
                         std::string* error = nullptr);

// Reads a whole file as bytes. Returns nothing when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Upper-cases ASCII letters (file extensions are compared this way).
std::string UpperCase(std::string_view s);
bool SameTextNoCase(std::string_view a, std::string_view b);

// Path pieces in the program's own conventions: the base name is everything before the
// first "." of the file name; the extension is from the last "." on (with the dot).
std::string FolderOf(const std::string& path);     // with a trailing separator, or ""
std::string FileNameOf(const std::string& path);   // without folder
std::string BaseNameOf(const std::string& path);   // file name up to its first "."
std::string ExtensionOf(const std::string& path);  // from the last "." of the file name

// An 8-bit text file read line by line. Lines end in CR LF, LF or a lone CR; the last
// line needs no line break; a Ctrl-Z byte ends the text, as old DOS tools wrote it.
class TextLines {
 public:
  TextLines() = default;
  explicit TextLines(std::string contents) : text_(std::move(contents)) { Trim(); }

  // Loads the file; false when it cannot be opened.
  bool Open(const std::string& path);

  bool Eof() const { return pos_ >= text_.size(); }
  // Next line without its line break; false at the end of the text.
  bool ReadLine(std::string& line);
  // 1-based number of the line last returned by ReadLine (0 before the first).
  int LineNumber() const { return lineNumber_; }
  // Bytes of text held (the bound of any line count).
  std::size_t Size() const { return text_.size(); }
  // Back to the first line.
  void Rewind() {
    pos_ = 0;
    lineNumber_ = 0;
  }

 private:
  void Trim();
  std::string text_;
  std::size_t pos_ = 0;
  int lineNumber_ = 0;
};

}  // namespace karvelo
