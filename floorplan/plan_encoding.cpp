// Code page conversion through glibc's iconv, one converter per plan, and the escapes that
// name characters by number.
#include "floorplan/plan_encoding.h"

#include <cctype>
#include <cerrno>
#include <map>
#include <optional>
#include <vector>

namespace floorplan {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD"; // U+FFFD

// The length of the valid UTF-8 character at the start of text, or 0 when it is not one
// (overlong forms, surrogates and values above U+10FFFF are not).
size_t Utf8Length(std::string_view text) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    size_t length = 0;
    unsigned low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

bool IsUtf8(std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        const size_t length = Utf8Length(text.substr(at));
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

std::string ReplaceInvalidUtf8(std::string_view text) {
    std::string out;
    for (size_t at = 0; at < text.size();) {
        const size_t length = Utf8Length(text.substr(at));
        out += length == 0 ? kReplacement : std::string(text.substr(at, length));
        at += length == 0 ? 1 : length;
    }
    return out;
}

// The number of a "\U+XXXX" escape at the start of text.
std::optional<unsigned> Escape(std::string_view text) {
    if (text.size() < 7 || text[0] != '\\' ||
        std::toupper(static_cast<unsigned char>(text[1])) != 'U' || text[2] != '+') {
        return std::nullopt;
    }
    unsigned value = 0;
    for (size_t i = 3; i < 7; ++i) {
        if (!std::isxdigit(static_cast<unsigned char>(text[i]))) {
            return std::nullopt;
        }
        value = value * 16 + unsigned(std::stoi(std::string(1, text[i]), nullptr, 16));
    }
    return value;
}

// Characters written as "\U+XXXX", with surrogate pairs joined; a lone surrogate or a NUL is
// not a character and becomes U+FFFD.
std::string ResolveEscapes(std::string_view text) {
    std::string out;
    for (size_t at = 0; at < text.size();) {
        const std::optional<unsigned> code = Escape(text.substr(at));
        if (!code) {
            out += text[at++];
            continue;
        }
        at += 7;
        unsigned codePoint = *code;
        if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
            const std::optional<unsigned> low = Escape(text.substr(at));
            if (low && *low >= 0xDC00 && *low <= 0xDFFF) {
                codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (*low - 0xDC00);
                at += 7;
            }
        }
        const bool character = codePoint != 0 && (codePoint < 0xD800 || codePoint > 0xDFFF);
        out += character ? Utf8(codePoint) : kReplacement;
    }
    return out;
}

} // namespace

std::string Utf8(unsigned codePoint) {
    std::string bytes;
    if (codePoint < 0x80) {
        bytes += char(codePoint);
    } else if (codePoint < 0x800) {
        bytes += char(0xC0 | (codePoint >> 6));
        bytes += char(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        bytes += char(0xE0 | (codePoint >> 12));
        bytes += char(0x80 | ((codePoint >> 6) & 0x3F));
        bytes += char(0x80 | (codePoint & 0x3F));
    } else {
        bytes += char(0xF0 | (codePoint >> 18));
        bytes += char(0x80 | ((codePoint >> 12) & 0x3F));
        bytes += char(0x80 | ((codePoint >> 6) & 0x3F));
        bytes += char(0x80 | (codePoint & 0x3F));
    }
    return bytes;
}

std::string IconvCodePage(std::string_view dwgCodePage) {
    std::string name;
    for (char c : dwgCodePage) {
        name += char(std::toupper(static_cast<unsigned char>(c)));
    }
    static const std::map<std::string, std::string> special = {
        {"ANSI_936", "GBK"}, {"ANSI_950", "BIG5"}, {"ANSI_1361", "JOHAB"},
        {"UTF-8", "UTF-8"},  {"UTF8", "UTF-8"},
    };
    if (const auto found = special.find(name); found != special.end()) {
        return found->second;
    }
    for (const std::string prefix : {"ANSI_", "DOS", "ISO8859_"}) {
        if (name.rfind(prefix, 0) == 0 && name.size() > prefix.size() &&
            name.find_first_not_of("0123456789", prefix.size()) == std::string::npos) {
            const std::string number = name.substr(prefix.size());
            return prefix == "ISO8859_" ? "ISO-8859-" + number : "CP" + number;
        }
    }
    return "";
}

TextDecoder::TextDecoder(const std::string& iconvCodePage) {
    if (iconvCodePage == "UTF-8") {
        return;
    }
    if (!iconvCodePage.empty()) {
        m_iconv = iconv_open("UTF-8", iconvCodePage.c_str());
    }
    if (m_iconv == iconv_t(-1)) {
        m_utf8First = true;
        m_iconv = iconv_open("UTF-8", "CP1252");
    }
}

TextDecoder::~TextDecoder() {
    if (m_iconv != iconv_t(-1)) {
        iconv_close(m_iconv);
    }
}

std::string TextDecoder::operator()(std::string_view bytes) const {
    const bool asUtf8 = m_iconv == iconv_t(-1) || (m_utf8First && IsUtf8(bytes));
    return ResolveEscapes(asUtf8 ? ReplaceInvalidUtf8(bytes) : converted(bytes));
}

std::string TextDecoder::converted(std::string_view bytes) const {
    iconv(m_iconv, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    std::vector<char> buffer(bytes.size() * 4 + 16);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outAt = buffer.data();
        size_t outLeft = buffer.size();
        const size_t result = iconv(m_iconv, &in, &inLeft, &outAt, &outLeft);
        out.append(buffer.data(), size_t(outAt - buffer.data()));
        if (result == size_t(-1) && errno != E2BIG) {
            // A byte the code page does not define, or a character cut off at the end.
            out += kReplacement;
            ++in;
            --inLeft;
            iconv(m_iconv, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return ReplaceInvalidUtf8(out);
}

} // namespace floorplan
