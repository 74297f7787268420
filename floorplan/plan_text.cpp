// Cleaning a plan's text: one pass over the characters, copying what is shown and dropping the
// codes that only say how it is shown.
#include "floorplan/plan_text.h"

#include "floorplan/plan_encoding.h"

#include <cctype>

namespace floorplan {
namespace {

class Cleaner {
  public:
    explicit Cleaner(std::string_view text) : m_text(text) {}

    std::string run() {
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (c == '\\') {
                formatCode();
            } else if (c == '%' && m_text.substr(m_at, 2) == "%%") {
                controlCode();
            } else if (c == '{' || c == '}') {
                ++m_at;
            } else if (c == '\n' || c == '\r' || c == '\t') {
                blank(1);
            } else {
                m_out += c;
                ++m_at;
            }
        }
        return collapsed(m_out);
    }

  private:
    void blank(size_t skip) {
        m_out += ' ';
        m_at += skip;
    }

    // Codes that run to the next ';': fonts, heights, widths, slants, tracking, colours,
    // alignment and paragraph settings.
    void skipToSemicolon() {
        const size_t end = m_text.find(';', m_at);
        m_at = end == std::string_view::npos ? m_text.size() : end + 1;
    }

    // "\Sa^b;" and its "a/b" and "a#b" forms show a stacked fraction, read as "a/b".
    void stack() {
        const size_t end = m_text.find(';', m_at);
        const std::string_view body = m_text.substr(
            m_at, end == std::string_view::npos ? std::string_view::npos : end - m_at);
        m_at = end == std::string_view::npos ? m_text.size() : end + 1;
        for (char c : body) {
            m_out += (c == '^' || c == '#') ? '/' : c;
        }
    }

    void formatCode() {
        if (m_at + 1 >= m_text.size()) {
            ++m_at;
            return;
        }
        const char code = m_text[m_at + 1];
        m_at += 2;
        switch (code) {
        case 'A':
        case 'H':
        case 'W':
        case 'Q':
        case 'T':
        case 'C':
        case 'c':
        case 'f':
        case 'F':
        case 'p':
            skipToSemicolon();
            break;
        case 'S':
            stack();
            break;
        case 'P':
        case 'X':
        case 'N':
        case '~':
            m_out += ' ';
            break;
        case 'L':
        case 'l':
        case 'O':
        case 'o':
        case 'K':
        case 'k':
            break;
        default: // "\\", "\{", "\}" and any other escaped character stand for themselves
            m_out += code;
        }
    }

    // "%%d" degree, "%%p" plus-minus, "%%c" diameter, "%%%" percent, "%%nnn" a character by
    // number; "%%u", "%%o", "%%k" switch underline, overline, strike-through.
    void controlCode() {
        const std::string_view rest = m_text.substr(m_at + 2);
        if (rest.size() >= 3 && std::isdigit(static_cast<unsigned char>(rest[0])) &&
            std::isdigit(static_cast<unsigned char>(rest[1])) &&
            std::isdigit(static_cast<unsigned char>(rest[2]))) {
            const unsigned number = unsigned(std::stoi(std::string(rest.substr(0, 3))));
            m_out += number < 32 ? std::string(" ") : Utf8(number);
            m_at += 5;
            return;
        }
        const char code =
            rest.empty() ? '\0' : char(std::tolower(static_cast<unsigned char>(rest[0])));
        switch (code) {
        case 'd':
            m_out += "\u00B0";
            break;
        case 'p':
            m_out += "\u00B1";
            break;
        case 'c':
            m_out += "\u2300";
            break;
        case '%':
            m_out += '%';
            break;
        case 'u':
        case 'o':
        case 'k':
            break;
        default: // a lone "%%" is shown as it is
            m_out += "%%";
            m_at += 2;
            return;
        }
        m_at += 3;
    }

    static std::string collapsed(const std::string& text) {
        std::string out;
        for (char c : text) {
            if (c == ' ' && (out.empty() || out.back() == ' ')) {
                continue;
            }
            out += c;
        }
        if (!out.empty() && out.back() == ' ') {
            out.pop_back();
        }
        return out;
    }

    std::string_view m_text;
    size_t m_at = 0;
    std::string m_out;
};

} // namespace

std::string CleanText(std::string_view text) {
    return Cleaner(text).run();
}

} // namespace floorplan
