// Any text a user can type or paste into a numeric box goes through the character filter and,
// when the box is left, through the leading-number reading, the whole-number rounding and the
// box's limits. For every text, every box and both unit systems: nothing crashes, the stored
// value lies within the box's limits, the verdict says truly whether the number was raised,
// lowered or taken as it was, and the number stored is whole.
#include "core/entry.h"
#include "core/number_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Require(bool holds, const char* what, const std::string& text) {
    if (holds)
        return;
    std::fprintf(stderr, "broken: %s, for the text \"%s\"\n", what, text.c_str());
    std::abort();
}

bool Same(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

void CheckRounding(double x, const std::string& text) {
    const double r = RoundHalfEven(x);
    if (std::isinf(x)) {
        Require(r == x, "rounding changed an infinite reading", text);
        return;
    }
    Require(r == std::floor(r), "the rounding is not whole", text);
    Require(std::fabs(r - x) <= 0.5, "the rounding is not to the nearest whole number", text);
    if (std::fabs(r - x) == 0.5)
        Require(std::fmod(r, 2.0) == 0, "a half did not go to the even neighbour", text);
}

void CheckEntry(const std::string& text, EntryBox box, bool feet) {
    const EntryLimits limits = LimitsFor(box, feet);
    const double rounded = RoundHalfEven(ReadLeadingNumber(text));
    const EntryValue v = ReadEntry(text, limits);
    Require(v.value >= limits.minimum && v.value <= limits.maximum, "a value beyond the limits",
            text);
    switch (v.verdict) {
    case EntryVerdict::Accepted:
        Require(rounded == v.value, "an accepted value is not the number typed", text);
        break;
    case EntryVerdict::BelowMinimum:
        Require(rounded < limits.minimum && v.value == limits.minimum,
                "raised without being below the minimum", text);
        break;
    case EntryVerdict::AboveMaximum:
        Require(rounded > limits.maximum && v.value == limits.maximum,
                "lowered without being above the maximum", text);
        break;
    }
}

bool PlainDecimal(const std::string& text) {
    int points = 0, digits = 0;
    for (const char c : text) {
        if (c == '.')
            ++points;
        else if (c >= '0' && c <= '9')
            ++digits;
        else
            return false;
    }
    return points <= 1 && digits > 0;
}

std::string WithoutBlanks(const std::string& text) {
    std::string kept;
    for (const char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            kept += c;
    return kept;
}

// The filter as the user meets it: after each change, one Backspace at the caret while the
// trimmed text ends in a refused character or is empty.
std::size_t BackspacesOneByOne(std::string before, const std::string& after) {
    std::size_t n = 0;
    for (;;) {
        std::int16_t posit = 0;
        CharValid(Trim(before + after), "0123456789.", posit);
        if (posit == 1 || before.empty())
            return n;
        std::size_t start = before.size() - 1; // one code point goes
        while (start > 0 && (static_cast<unsigned char>(before[start]) & 0xC0) == 0x80)
            --start;
        before.erase(start);
        ++n;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const double reading = ReadLeadingNumber(text);
    Require(!std::isnan(reading), "the reading is not a number", text);
    CheckRounding(reading, text);
    Require(Same(ReadLeadingNumber(WithoutBlanks(text)), reading), "blanks changed the reading",
            text);
    // Whatever follows a character that no number has is not read.
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    Require(Same(ReadLeadingNumber(text.substr(0, cut) + "x" + text.substr(cut)),
                 ReadLeadingNumber(text.substr(0, cut))),
            "the reading went past a letter", text);
    if (PlainDecimal(text))
        Require(reading == std::strtod(text.c_str(), nullptr), "a plain decimal misread", text);

    for (const bool feet : {true, false})
        for (const EntryBox box : {EntryBox::Length, EntryBox::Width, EntryBox::CeilingHeight})
            CheckEntry(text, box, feet);

    std::int16_t posit = -1;
    CharValid(text, "0123456789.", posit);
    const char last = text.empty() ? '\0' : text.back();
    Require(posit == ((last >= '0' && last <= '9') || last == '.' ? 1 : 0),
            "the filter judged the last character wrongly", text);
    if (size <= 512)
        Require(RefusedBeforeCaret(text.substr(0, cut), text.substr(cut), "0123456789.") ==
                    BackspacesOneByOne(text.substr(0, cut), text.substr(cut)),
                "the filter's Backspaces are not those sent one by one", text);
    CharValid(text, "", posit);
    Require(posit == 0, "a character passed an empty filter", text);
    return 0;
}
