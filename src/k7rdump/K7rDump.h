#pragma once

// The text dump of a binary K7R field-data file (TVM1000/4000 instruments).
//
// The field-data converter of the windowed program parses this text line by line, so
// labels, line order and number formats are an interface and must not change.
//
// The input is read once, front to back, field by field. A field that cannot be read
// completely keeps the bytes of its previous value beyond those read (its whole previous
// value at the end of the input; 0 for header fields). The record loop only checks for
// the end before a record's separator line, and the end is only noticed after a read
// fell short, so the dump of a well-formed file ends with one extra record that repeats
// the last one (with its value options printed as 0). Readers drop that copy.

#include <cstddef>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace k7rdump {

// Writes the header lines, the "=" line and the records of the K7R data in `input`.
// Everything after the "FILE:" line; never reads past the end and never loops longer
// than the input allows, whatever counts the input claims.
void WriteDump(std::streambuf& input, std::ostream& out);
void WriteDump(std::istream& input, std::ostream& out);
void WriteDump(std::span<const unsigned char> bytes, std::ostream& out);

// The whole dump of a file as the tool writes it: "FILE:" + path and the dump, or
// "Can't open file " + path when it cannot be opened for reading.
void WriteFileDump(const std::string& inputPath, std::ostream& out);

// The text of a fixed-width text field: up to its first zero byte, all of it otherwise.
std::string_view FieldText(const char* field, std::size_t width);

}  // namespace k7rdump
