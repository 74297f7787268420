// Reading a CSV file row by row as it streams in, whatever a spreadsheet wrote: quoted fields
// with commas, quotes and line feeds inside, CR, LF or CRLF line ends, and a UTF-8 byte-order
// mark. Each row comes with the number of the line it starts on, for messages about it. A row
// that cannot be read is reported and the reading goes on at the line after its first one, so
// that one stray quote costs one row, not the rest of the file.
#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <string>
#include <vector>

struct CsvRow {
    long line = 0; // where the row starts
    std::vector<std::string> fields;
    std::string error; // why the row could not be read; fields then holds those before it
};
using CsvRowHandler = std::function<void(const CsvRow& row)>;

// A line longer than this is refused unread, so that a huge field costs no time or memory.
inline constexpr std::size_t kMaxCsvLineBytes = 64 * 1024;

enum class CsvEncoding { Utf8, Utf16 };

// Calls onRow for every row that is not blank, unless the file is UTF-16 (by its byte-order
// mark or its NUL bytes), which is returned without reading any row.
CsvEncoding ReadCsvRows(std::istream& in, const CsvRowHandler& onRow);

// A field as a CSV writer writes it: quoted when it holds a comma, a quote or a line end.
std::string CsvField(const std::string& text);
