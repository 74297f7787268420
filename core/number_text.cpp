#include "core/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>

double RoundHalfEven(double x) {
    // The default floating-point rounding mode is to nearest, ties to even.
    return std::nearbyint(x);
}

double ReadLeadingNumber(std::string_view text) {
    std::string number;
    bool seenDigitOrPoint = false;
    bool seenPoint = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n')
            continue;
        if ((c == '+' || c == '-') && number.empty()) {
            number += c;
            continue;
        }
        if (c >= '0' && c <= '9') {
            number += c;
            seenDigitOrPoint = true;
            continue;
        }
        if (c == '.' && !seenPoint) {
            number += c;
            seenPoint = true;
            seenDigitOrPoint = true;
            continue;
        }
        break;
    }
    if (!seenDigitOrPoint)
        return 0;
    const bool negative = number[0] == '-';
    const std::size_t start = (number[0] == '+' || number[0] == '-') ? 1 : 0;
    std::string digits = number.substr(start);
    if (digits.find_first_of("0123456789") == std::string::npos)
        return 0; // a lone point
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value,
                                              std::chars_format::fixed);
    (void)end;
    // Out of range is either too large (digits before the point) or too small to tell from 0.
    if (error == std::errc::result_out_of_range)
        value = digits.substr(0, digits.find('.')).find_first_not_of('0') != std::string::npos
                    ? std::numeric_limits<double>::infinity()
                    : 0.0;
    return negative ? -value : value;
}

std::string SignedText(std::int64_t x) {
    return (x < 0 ? "-" : " ") + std::to_string(x < 0 ? -x : x);
}

std::string SignedText(float x) {
    const double magnitude = std::fabs(static_cast<double>(x));
    char buffer[64];
    if (magnitude >= 1e7) {
        std::snprintf(buffer, sizeof buffer, "%.0f", magnitude);
    } else {
        std::snprintf(buffer, sizeof buffer, "%.7g", magnitude);
    }
    return (x < 0 ? "-" : " ") + std::string(buffer);
}

namespace {

std::string WholeDigits(double x) {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", std::round(x));
    return buffer;
}

} // namespace

std::string PatternText(std::string_view pattern, double x) {
    if (pattern == "####0" || pattern == "###0" || pattern == "##0" || pattern == "#0") {
        const std::string digits = WholeDigits(x);
        return digits == "-0" ? "0" : digits;
    }
    if (pattern == "####") {
        const std::string digits = WholeDigits(x);
        return (digits == "0" || digits == "-0") ? "" : digits;
    }
    if (pattern == "#0.0" || pattern == "##.0") {
        // Tenths of a single-precision value are exact in double, so the half is seen as stored.
        const double tenths = std::round(x * 10.0);
        const bool negative = tenths < 0;
        std::string digits = WholeDigits(std::fabs(tenths));
        if (digits.size() < 2)
            digits.insert(0, 2 - digits.size(), '0');
        std::string whole = digits.substr(0, digits.size() - 1);
        if (pattern == "##.0" && whole == "0")
            whole.clear();
        return (negative ? "-" : "") + whole + "." + digits.back();
    }
    throw std::invalid_argument("unknown number pattern");
}

std::string Lower(std::string text) {
    // ASCII only, whatever locale the window has set: the texts lowered are the program's own.
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}
