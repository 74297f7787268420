// The scan walks the file once as pairs of lines (group code, value), keeping the structure of
// sections, blocks and entities, and writes the kept parts out again for dxflib.
#include "floorplan/plan_scan.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>

namespace floorplan {
namespace {

// dxflib reads lines into a buffer of 1024 characters.
constexpr size_t kLongestLine = 1000;
constexpr int kLastGroupCode = 1071;

struct Pair {
    int code = 0;
    std::string_view value;
    int line = 0; // of the value
};

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text.substr(0, 40)) + (text.size() > 40 ? "...\"" : "\"");
}

PlanError AtLine(int line, const std::string& message) {
    return {"line " + std::to_string(line) + ": " + message};
}

class Lines {
  public:
    explicit Lines(std::string_view bytes) : m_bytes(bytes) {}

    bool atEnd() const { return m_at >= m_bytes.size(); }
    int number() const { return m_number; }

    std::string_view next() {
        const size_t end = std::min(m_bytes.find('\n', m_at), m_bytes.size());
        std::string_view line = m_bytes.substr(m_at, end - m_at);
        m_at = end + 1;
        ++m_number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        return line;
    }

  private:
    std::string_view m_bytes;
    size_t m_at = 0;
    int m_number = 0;
};

std::optional<long long> WholeNumber(std::string_view text) {
    // Most group codes and counts are a few plain digits: read them without a copy.
    const std::string_view trimmed = Trimmed(text);
    const bool negative = !trimmed.empty() && trimmed.front() == '-';
    const std::string_view magnitude = trimmed.substr(negative ? 1 : 0);
    if (!magnitude.empty() && magnitude.size() <= 18 &&
        std::all_of(magnitude.begin(), magnitude.end(),
                    [](char c) { return c >= '0' && c <= '9'; })) {
        long long value = 0;
        for (const char c : magnitude) {
            value = value * 10 + (c - '0');
        }
        return negative ? -value : value;
    }
    const std::string digits(trimmed);
    if (digits.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(digits.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') {
        return std::nullopt;
    }
    return value;
}

bool IsRealCode(int code) {
    return (code >= 10 && code <= 59) || (code >= 110 && code <= 149) ||
           (code >= 210 && code <= 239) || (code >= 460 && code <= 469);
}

bool IsIntegerCode(int code) {
    return (code >= 60 && code <= 99) || (code >= 170 && code <= 179) ||
           (code >= 270 && code <= 299) || (code >= 370 && code <= 389) ||
           (code >= 400 && code <= 409) || (code >= 420 && code <= 429) ||
           (code >= 440 && code <= 449);
}

bool IsDrawn(std::string_view type) {
    static const std::set<std::string_view> drawn = {
        "LINE", "LWPOLYLINE", "POLYLINE", "VERTEX", "SEQEND", "TEXT", "MTEXT", "ATTRIB", "INSERT"};
    return drawn.count(type) == 1;
}

// The numbers the plan has dxflib read of each entity: the scan checks every number but passes
// on only these, so dxflib converts no coordinate the plan never looks at (a line's ends, a
// text's height). A lightweight polyline's corners and an insert's numbers the scan keeps itself.
bool IsReadReal(std::string_view type, int code) {
    if (code == 210 || code == 220 || code == 230) {
        return type != "LINE"; // the extrusion, which may mirror the entity
    }
    if (type == "LINE" || type == "SEQEND" || type == "LWPOLYLINE" || type == "INSERT") {
        return false;
    }
    if (code == 10 || code == 20) {
        return true;
    }
    if (type == "VERTEX") {
        return code == 42;
    }
    if (type == "TEXT" || type == "ATTRIB") {
        return code == 11 || code == 21;
    }
    if (type == "MTEXT") { // its height, width, direction and angle place its middle
        return code == 40 || code == 41 || code == 11 || code == 21 || code == 50;
    }
    return false;
}

// Groups the plan never reads: subclass markers, owners and reactors, and handles, of which the
// scan keeps only the outlines'.
bool IsUnreadGroup(int code) {
    return code == 5 || code == 100 || code == 102 || code == 330 || code == 360;
}

bool IsKeptVariable(std::string_view name) {
    return name == "$ACADVER" || name == "$DWGCODEPAGE" || name == "$INSUNITS";
}

class Scanner {
  public:
    explicit Scanner(std::string_view bytes) : m_lines(bytes) { m_out.dxf.reserve(bytes.size()); }

    ScannedPlan run() {
        Pair pair = firstPair();
        while (!(pair.code == 0 && Trimmed(pair.value) == "EOF")) {
            if (pair.code == 0 && Trimmed(pair.value) == "SECTION") {
                section();
            } else if (pair.code != 999) {
                throw AtLine(pair.line, "a SECTION or the end of the file was expected, not " +
                                            Quoted(pair.value));
            }
            if (m_lines.atEnd()) {
                throw AtLine(m_lines.number(),
                             "the file ends without its EOF marker; it looks truncated");
            }
            pair = next();
        }
        m_out.dxf += "0\nEOF\n";
        return std::move(m_out);
    }

  private:
    Pair firstPair() {
        const PlanError notDxf{"This is not a DXF file: it does not begin with a SECTION."};
        while (!m_lines.atEnd()) {
            const std::string_view code = Trimmed(m_lines.next());
            if (m_lines.atEnd()) {
                break;
            }
            const std::string_view value = m_lines.next();
            if (code == "0" && Trimmed(value) == "SECTION") {
                return {0, value, m_lines.number()};
            }
            if (code != "999") {
                break;
            }
        }
        throw notDxf;
    }

    Pair next() {
        const std::string_view codeLine = m_lines.next();
        const int codeLineNumber = m_lines.number();
        const std::optional<long long> code = WholeNumber(codeLine);
        if (!code) {
            throw AtLine(codeLineNumber,
                         "group code " + Quoted(Trimmed(codeLine)) + " is not a number");
        }
        if (*code < 0 || *code > kLastGroupCode) {
            throw AtLine(codeLineNumber,
                         "group code " + std::to_string(*code) + " is not one a DXF file uses");
        }
        if (m_lines.atEnd()) {
            throw AtLine(codeLineNumber,
                         "the file ends after a group code, without its value; it looks truncated");
        }
        return {int(*code), m_lines.next(), m_lines.number()};
    }

    Pair nextInSection(const std::string& name) {
        if (m_lines.atEnd()) {
            throw AtLine(m_lines.number(),
                         "the file ends inside the " + name + " section; it looks truncated");
        }
        return next();
    }

    void section() {
        const Pair namePair = nextInSection("unnamed");
        const std::string name(Trimmed(namePair.value));
        if (namePair.code != 2) {
            throw AtLine(namePair.line, "a section name was expected, not " + Quoted(name));
        }
        const bool kept = name == "HEADER" || name == "ENTITIES" || name == "BLOCKS";
        if (kept) {
            m_out.dxf += "0\nSECTION\n2\n" + name + "\n";
        }
        Pair pair = nextInSection(name);
        if (name == "HEADER") {
            pair = header(pair);
        } else if (name == "ENTITIES" || name == "BLOCKS") {
            pair = entities(pair, name);
        }
        while (!(pair.code == 0 && Trimmed(pair.value) == "ENDSEC")) {
            pair = nextInSection(name);
        }
        if (kept) {
            m_out.dxf += "0\nENDSEC\n";
        }
    }

    Pair header(Pair pair) {
        bool keep = false;
        while (pair.code != 0) {
            if (pair.code == 9) {
                keep = IsKeptVariable(Trimmed(pair.value));
            }
            if (keep) {
                emit(pair);
            }
            pair = nextInSection("HEADER");
        }
        return pair;
    }

    // Entities of the ENTITIES section, or blocks and their entities in the BLOCKS section.
    Pair entities(Pair pair, const std::string& section) {
        const bool blocks = section == "BLOCKS";
        bool inBlock = false;
        while (!(pair.code == 0 && Trimmed(pair.value) == "ENDSEC")) {
            if (pair.code != 0) {
                pair = nextInSection(section); // stray groups belong to no entity
                continue;
            }
            const std::string_view type = Trimmed(pair.value);
            m_entity.clear();
            m_entity.push_back(pair);
            pair = nextInSection(section);
            while (pair.code != 0) {
                m_entity.push_back(pair);
                pair = nextInSection(section);
            }
            if (blocks && (type == "BLOCK" || type == "ENDBLK")) {
                if (inBlock) {
                    m_out.dxf += "0\nENDBLK\n";
                }
                inBlock = type == "BLOCK";
                if (inBlock) {
                    entity(type);
                }
            } else if (IsDrawn(type) && (inBlock || !blocks)) {
                entity(type);
            }
        }
        if (inBlock) {
            m_out.dxf += "0\nENDBLK\n";
        }
        return pair;
    }

    void entity(std::string_view type) {
        m_out.dxf.append("0\n").append(type).append("\n");
        const bool lightweight = type == "LWPOLYLINE";
        const bool outline = lightweight || type == "POLYLINE", insert = type == "INSERT";
        if (lightweight) {
            cornerCount();
        }
        ScannedOutline scanned{"", lightweight, m_out.corners.size(), 0};
        ScannedPlacement placement;
        bool cornerSeen = false;
        for (size_t i = 1; i < m_entity.size(); ++i) {
            const Pair& pair = m_entity[i];
            cornerSeen = cornerSeen || pair.code == 10;
            const bool skipped =
                pair.code >= 1000 || IsUnreadGroup(pair.code) ||
                (lightweight && (pair.code == 90 || (pair.code == 42 && !cornerSeen)));
            if (outline && pair.code == 5) {
                scanned.handle = Trimmed(pair.value);
            } else if (skipped) {
                check(pair);
            } else if (lightweight && (pair.code == 10 || pair.code == 20 || pair.code == 42)) {
                corner(pair, scanned);
            } else if (insert && keptInPlacement(pair, placement)) {
                continue;
            } else {
                emit(pair, IsReadReal(type, pair.code));
            }
        }
        if (outline) {
            m_out.outlines.push_back(std::move(scanned));
            numbered(m_out.outlines.size());
        } else if (insert) {
            m_out.placements.push_back(placement);
            numbered(m_out.placements.size());
        }
    }

    // As dxflib takes them: each 10 starts a corner; a 20 or 42 sets the last one's.
    void corner(const Pair& pair, ScannedOutline& scanned) {
        const double value = real(pair).value;
        if (pair.code == 10) {
            m_out.corners.push_back({value, 0, 0});
            ++scanned.cornerCount;
        } else if (scanned.cornerCount > 0) {
            (pair.code == 20 ? m_out.corners.back().y : m_out.corners.back().bulge) = value;
        }
    }

    // Whether the group is one of the insert's numbers, which the placement then holds.
    bool keptInPlacement(const Pair& pair, ScannedPlacement& placement) {
        double* const number = pair.code == 10   ? &placement.x
                               : pair.code == 20 ? &placement.y
                               : pair.code == 41 ? &placement.scaleX
                               : pair.code == 42 ? &placement.scaleY
                               : pair.code == 50 ? &placement.angle
                               : pair.code == 44 ? &placement.columnSpacing
                               : pair.code == 45 ? &placement.rowSpacing
                                                 : nullptr;
        if (number) {
            *number = real(pair).value;
        }
        return number != nullptr;
    }

    void numbered(size_t position) {
        char text[24];
        m_out.dxf.append(text, size_t(std::snprintf(text, sizeof text, "5\n%zX\n", position)));
    }

    // dxflib sizes a lightweight polyline's corners by its count (group 90), so the count must
    // be there before the corners and agree with them.
    void cornerCount() {
        long long corners = 0;
        for (const Pair& pair : m_entity) {
            corners += pair.code == 10 ? 1 : 0;
        }
        for (const Pair& pair : m_entity) {
            if (pair.code != 90) {
                continue;
            }
            const std::optional<long long> count = WholeNumber(pair.value);
            if (!count) {
                throw AtLine(pair.line, "the corner count " + Quoted(Trimmed(pair.value)) +
                                            " is not a whole number");
            }
            if (*count != corners) {
                throw AtLine(pair.line, "the polyline's corner count is " + std::to_string(*count) +
                                            ", but it lists " + std::to_string(corners));
            }
        }
        m_out.dxf += "90\n" + std::to_string(corners) + "\n";
    }

    // A number's checks, for a group the plan does not read.
    void check(const Pair& pair) {
        if (IsRealCode(pair.code)) {
            real(pair);
        }
    }

    void emit(const Pair& pair, bool readReal = true) {
        if (IsRealCode(pair.code) && !readReal) {
            return check(pair);
        }
        char code[16];
        char* const end = std::to_chars(code, code + sizeof code, pair.code).ptr;
        *end = '\n';
        m_out.dxf.append(code, end + 1);
        if (IsRealCode(pair.code)) {
            const Real number = real(pair);
            if (number.plain) {
                m_out.dxf.append(Trimmed(pair.value)).append("\n");
            } else {
                char text[32];
                m_out.dxf.append(text,
                                 size_t(std::snprintf(text, sizeof text, "%.17g\n", number.value)));
            }
        } else if (IsIntegerCode(pair.code)) {
            const std::optional<long long> value = WholeNumber(pair.value);
            if (!value || *value < -2147483647LL || *value > 2147483647LL) {
                throw AtLine(pair.line, Quoted(Trimmed(pair.value)) + " is not a whole number");
            }
            m_out.dxf.append(std::to_string(*value)).append("\n");
        } else {
            if (pair.value.size() > kLongestLine) {
                throw AtLine(pair.line,
                             "a line longer than " + std::to_string(kLongestLine) + " characters");
            }
            m_out.dxf.append(pair.value).append("\n");
        }
    }

    struct Real {
        double value = 0;
        // Written with digits, a point, signs and an exponent only, short enough for dxflib's
        // line: dxflib reads the text itself as the same number.
        bool plain = false;
    };

    static Real real(const Pair& pair) {
        const std::string_view text = Trimmed(pair.value);
        // Coordinates are copied to the stack for strtod; only a very long one takes a string.
        char shortCopy[64];
        std::string longCopy;
        char* digits = shortCopy;
        if (text.size() < sizeof shortCopy) {
            text.copy(shortCopy, text.size());
            shortCopy[text.size()] = '\0';
        } else {
            longCopy.assign(text);
            digits = longCopy.data();
        }
        std::replace(digits, digits + text.size(), ',', '.');
        char* end = nullptr;
        const double value = text.empty() ? 0 : std::strtod(digits, &end);
        if (text.empty() || *end != '\0') {
            throw AtLine(pair.line, Quoted(text) + " is not a number");
        }
        if (!std::isfinite(value)) {
            throw AtLine(pair.line, Quoted(text) + " is not a finite number");
        }
        const bool plain = text.size() <= 32 &&
                           text.find_first_not_of("0123456789.+-eE") == std::string_view::npos;
        return {value, plain};
    }

    Lines m_lines;
    ScannedPlan m_out;
    std::vector<Pair> m_entity;
};

bool StartsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

std::optional<PlanError> WrongKindOfFile(std::string_view bytes) {
    if (StartsWith(bytes, "AC10") && bytes.size() >= 6 && std::isdigit((unsigned char)bytes[4]) &&
        std::isdigit((unsigned char)bytes[5])) {
        return PlanError{"DWG files are not read; save the plan as DXF."};
    }
    if (StartsWith(bytes, "AutoCAD Binary DXF")) {
        return PlanError{"Binary DXF files are not read; save the plan as ASCII DXF."};
    }
    // In UTF-16 a DXF's first character, a digit or a blank, has a zero byte.
    if (StartsWith(bytes, "\xFF\xFE") || StartsWith(bytes, "\xFE\xFF") ||
        bytes.substr(0, 2).find('\0') != std::string_view::npos) {
        return PlanError{"The file is in UTF-16; save the plan as a DXF in ASCII or UTF-8."};
    }
    return std::nullopt;
}

} // namespace

std::variant<ScannedPlan, PlanError> ScanPlan(std::string_view bytes) {
    if (std::optional<PlanError> error = WrongKindOfFile(bytes)) {
        return *error;
    }
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    if (const size_t nul = bytes.find('\0'); nul != std::string_view::npos) {
        const auto line = 1 + std::count(bytes.begin(), bytes.begin() + long(nul), '\n');
        return AtLine(int(line), "a NUL byte; this is not a text file");
    }
    try {
        return Scanner(bytes).run();
    } catch (const PlanError& error) {
        return error;
    }
}

} // namespace floorplan
