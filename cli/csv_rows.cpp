#include "cli/csv_rows.h"

#include <csv.h>

#include <algorithm>
#include <memory>

namespace {

constexpr std::size_t kChunk = 64 * 1024;
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

struct Rows {
    const CsvRowHandler& onRow;
    std::vector<std::string> fields;
    long line = 1;     // the line being parsed
    long rowStart = 0; // the line the current row started on
};

void EndField(void* text, std::size_t length, void* data) {
    auto& rows = *static_cast<Rows*>(data);
    const char* begin = static_cast<const char*>(text);
    std::string field = begin ? std::string(begin, length) : std::string();
    // The first field ends on the line being parsed; line feeds inside it go back to its start.
    if (rows.fields.empty())
        rows.rowStart = rows.line - std::count(field.begin(), field.end(), '\n');
    rows.fields.push_back(std::move(field));
}

void EndRow(int, void* data) {
    auto& rows = *static_cast<Rows*>(data);
    const bool blank = std::all_of(rows.fields.begin(), rows.fields.end(),
                                   [](const std::string& f) { return f.empty(); });
    if (!blank)
        rows.onRow(rows.rowStart, rows.fields);
    rows.fields.clear();
}

struct ParserDeleter {
    void operator()(csv_parser* p) const {
        csv_free(p);
        delete p;
    }
};

} // namespace

std::optional<std::string> ReadCsvRows(std::istream& in, const CsvRowHandler& onRow) {
    std::unique_ptr<csv_parser, ParserDeleter> parser(new csv_parser);
    if (csv_init(parser.get(), CSV_STRICT | CSV_STRICT_FINI | CSV_APPEND_NULL) != 0)
        return "1: out of memory";
    Rows rows{onRow, {}, 1, 1};
    std::string chunk(kChunk, '\0');
    bool first = true;
    while (in) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        std::size_t size = static_cast<std::size_t>(in.gcount());
        std::size_t from = 0;
        if (first && size >= 3 && chunk.compare(0, 3, kByteOrderMark) == 0)
            from = 3;
        first = false;
        // Fed one line at a time, so that the parser's callbacks know the line they are on.
        while (from < size) {
            const std::size_t end = std::min(chunk.find('\n', from), size - 1) + 1;
            const std::size_t length = end - from;
            if (csv_parse(parser.get(), chunk.data() + from, length, EndField, EndRow, &rows) !=
                length)
                return std::to_string(rows.line) + (csv_error(parser.get()) == CSV_EPARSE
                                                        ? ": a quote stands inside a field"
                                                        : ": the line is too long");
            if (chunk[end - 1] == '\n')
                ++rows.line;
            from = end;
        }
    }
    if (in.bad())
        return std::to_string(rows.line) + ": the file could not be read";
    // An unclosed quote is reported on the line of the row it belongs to.
    if (csv_fini(parser.get(), EndField, EndRow, &rows) != 0)
        return std::to_string(rows.fields.empty() ? rows.line : rows.rowStart) +
               ": a quoted field is not closed";
    return std::nullopt;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted(text.size() * 2 + 2, '\0');
    quoted.resize(csv_write(quoted.data(), quoted.size(), text.data(), text.size()));
    return quoted;
}
