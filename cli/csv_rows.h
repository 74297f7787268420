// Reading a CSV file row by row as it streams in, whatever a spreadsheet wrote: quoted fields
// with commas, quotes and line feeds inside, CRLF or LF line ends, and a UTF-8 byte-order mark.
// Each row comes with the number of the line it starts on, for messages about it.
#pragma once

#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <vector>

using CsvRowHandler = std::function<void(long line, const std::vector<std::string>& fields)>;

// Calls onRow for every row that is not blank. Returns the first line that cannot be read,
// as "17: reason", or nothing when the whole stream was read.
std::optional<std::string> ReadCsvRows(std::istream& in, const CsvRowHandler& onRow);

// A field as a CSV writer writes it: quoted when it holds a comma, a quote or a line end.
std::string CsvField(const std::string& text);
