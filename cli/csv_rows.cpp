#include "cli/csv_rows.h"

#include <csv.h>

#include <algorithm>
#include <deque>
#include <memory>

namespace {

// One physical line with its line end, which the parser needs to end rows and keeps inside
// quoted fields.
struct Line {
    long number = 0;
    std::string text;
    bool tooLong = false;
    bool Blank() const { return text.find_first_not_of("\r\n") == std::string::npos; }
};

class LineSource {
  public:
    // start: the bytes already taken from the stream to see what it holds.
    LineSource(std::streambuf& buf, std::string start) : m_buf(buf), m_start(std::move(start)) {}

    // CR, LF and CRLF each end one line; false at the end of the file.
    bool Next(Line& line) {
        line = {++m_number, {}, false};
        for (int c = Get(); c != EOF; c = Get()) {
            Keep(line, static_cast<char>(c));
            if (c == '\r' && Peek() == '\n')
                Keep(line, static_cast<char>(Get()));
            if (c == '\r' || c == '\n')
                return true;
        }
        return !line.text.empty() || line.tooLong;
    }

  private:
    int Get() {
        if (m_taken == m_start.size())
            return m_buf.sbumpc();
        return static_cast<unsigned char>(m_start[m_taken++]);
    }
    int Peek() {
        return m_taken == m_start.size() ? m_buf.sgetc()
                                         : static_cast<unsigned char>(m_start[m_taken]);
    }

    static void Keep(Line& line, char c) {
        if (line.text.size() < kMaxCsvLineBytes)
            line.text += c;
        else
            line.tooLong = true;
    }

    std::streambuf& m_buf;
    std::string m_start;
    std::size_t m_taken = 0;
    long m_number = 0;
};

struct ParserDeleter {
    void operator()(csv_parser* p) const {
        csv_free(p);
        delete p;
    }
};
using Parser = std::unique_ptr<csv_parser, ParserDeleter>;

Parser NewParser() {
    Parser parser(new csv_parser);
    csv_init(parser.get(), CSV_STRICT | CSV_STRICT_FINI | CSV_APPEND_NULL);
    return parser;
}

class Reader {
  public:
    Reader(LineSource lines, const CsvRowHandler& onRow)
        : m_lines(std::move(lines)), m_onRow(onRow) {}

    void Run() {
        Line line;
        do {
            while (NextLine(line))
                Feed(line);
        } while (!Finished());
    }

  private:
    bool NextLine(Line& line) {
        if (m_replay.empty())
            return m_lines.Next(line);
        line = std::move(m_replay.front());
        m_replay.pop_front();
        return true;
    }

    // False when the last row runs to the end of the file in a quoted field: the lines after
    // its first one are read again.
    bool Finished() {
        if (csv_fini(m_parser.get(), EndField, EndRow, this) == 0)
            return true;
        Broken("a quoted field is not closed");
        return false;
    }

    void Feed(Line& line) {
        if (m_rowLines.empty()) {
            if (line.Blank())
                return;
            m_row.line = line.number;
            m_rowBytes = 0;
        }
        m_rowBytes += line.text.size();
        m_rowLines.push_back(std::move(line));
        const Line& fed = m_rowLines.back();
        if (fed.tooLong || m_rowBytes > kMaxCsvLineBytes)
            return Broken("the row is longer than " + std::to_string(kMaxCsvLineBytes) + " bytes");
        if (csv_parse(m_parser.get(), fed.text.data(), fed.text.size(), EndField, EndRow, this) !=
            fed.text.size())
            return Broken(
                m_rowLines.size() > 1
                    ? "a quoted field is not closed"
                    : "a quote stands inside a field (quote the field and double its quotes)");
        if (m_rowEnded)
            m_rowLines.clear();
        m_rowEnded = false;
    }

    // Reports the row and reads again from the line after its first one.
    void Broken(const std::string& reason) {
        m_row.error = reason;
        m_onRow(m_row);
        m_row = {};
        m_parser = NewParser();
        for (auto it = m_rowLines.rbegin(); it + 1 < m_rowLines.rend(); ++it)
            m_replay.push_front(std::move(*it));
        m_rowLines.clear();
    }

    static void EndField(void* text, std::size_t length, void* data) {
        auto& reader = *static_cast<Reader*>(data);
        const char* begin = static_cast<const char*>(text);
        reader.m_row.fields.push_back(begin ? std::string(begin, length) : std::string());
    }

    static void EndRow(int, void* data) {
        auto& reader = *static_cast<Reader*>(data);
        const auto& fields = reader.m_row.fields;
        if (std::any_of(fields.begin(), fields.end(),
                        [](const std::string& f) { return !f.empty(); }))
            reader.m_onRow(reader.m_row);
        reader.m_row = {};
        reader.m_rowEnded = true; // its lines are dropped once the parser is done with them
    }

    LineSource m_lines;
    const CsvRowHandler& m_onRow;
    Parser m_parser = NewParser();
    CsvRow m_row;
    std::vector<Line> m_rowLines; // the lines of the row being read
    std::size_t m_rowBytes = 0;
    bool m_rowEnded = false;
    std::deque<Line> m_replay; // lines to read again after a row that could not be read
};

} // namespace

CsvEncoding ReadCsvRows(std::istream& in, const CsvRowHandler& onRow) {
    std::streambuf& buf = *in.rdbuf();
    std::string start(3, '\0');
    start.resize(static_cast<std::size_t>(buf.sgetn(start.data(), 3)));
    const std::size_t got = start.size();
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(start[i]); };
    // A byte-order mark of either order, or the NUL half of a first character in ASCII.
    if (got >= 2 && ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF) ||
                     (byte(0) == 0) != (byte(1) == 0)))
        return CsvEncoding::Utf16;
    if (start == "\xEF\xBB\xBF")
        start.clear();
    Reader(LineSource(buf, std::move(start)), onRow).Run();
    return CsvEncoding::Utf8;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted(text.size() * 2 + 2, '\0');
    quoted.resize(csv_write(quoted.data(), quoted.size(), text.data(), text.size()));
    return quoted;
}
