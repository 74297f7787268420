// Any text a user can type or paste into a numeric box goes through the character filter and,
// when the box is left, through the leading-number reading, the whole-number rounding and the
// box's limits. For every text, every box and both unit systems: nothing crashes, the reading
// ignores blanks and stops at a character no number has, a plain decimal reads as itself, the
// rounding goes to the nearest whole number with halves to even, the stored value lies within
// the box's limits, the verdict says truly whether the number was raised, lowered or taken as
// it was, and the filter removes what a user's Backspaces one by one would.
#include "core/entry.h"
#include "core/number_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string g_text;

void Require(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "broken: %s, for the text \"%s\"\n", what, g_text.c_str());
    std::abort();
}

bool Same(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

// The filter as the user meets it: after each change, one Backspace at the caret while the
// trimmed text ends in a refused character or is empty.
std::size_t BackspacesOneByOne(std::string before, const std::string& after) {
    for (std::size_t n = 0;; ++n) {
        if (LastCharValid(Trim(before + after), "0123456789.") || before.empty())
            return n;
        std::size_t start = before.size() - 1; // one code point goes
        while (start > 0 && (static_cast<unsigned char>(before[start]) & 0xC0) == 0x80)
            --start;
        before.erase(start);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    g_text = text;
    std::string kept; // without blanks
    int points = 0, digits = 0, others = 0;
    for (const char c : text) {
        kept += c == ' ' || c == '\t' || c == '\n' ? std::string() : std::string(1, c);
        points += c == '.', digits += c >= '0' && c <= '9';
    }
    others = int(size) - points - digits;

    const double reading = ReadLeadingNumber(text), rounded = RoundHalfEven(reading);
    Require(!std::isnan(reading), "the reading is not a number");
    Require(Same(ReadLeadingNumber(kept), reading), "blanks changed the reading");
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    Require(Same(ReadLeadingNumber(text.substr(0, cut) + "x" + text.substr(cut)),
                 ReadLeadingNumber(text.substr(0, cut))),
            "the reading went past a letter");
    Require(others || points > 1 || !digits || reading == std::strtod(text.c_str(), nullptr),
            "a plain decimal misread");
    Require(std::isinf(reading)
                ? rounded == reading
                : rounded == std::floor(rounded) && std::fabs(rounded - reading) <= 0.5 &&
                      (std::fabs(rounded - reading) < 0.5 || std::fmod(rounded, 2.0) == 0),
            "the rounding is not to the nearest whole number, halves to even");

    for (const bool feet : {true, false})
        for (const EntryBox box : {EntryBox::Length, EntryBox::Width, EntryBox::CeilingHeight}) {
            const EntryLimits l = LimitsFor(box, feet);
            const EntryValue v = ReadEntry(text, l);
            Require(v.value >= l.minimum && v.value <= l.maximum, "a value beyond the limits");
            Require(v.verdict == EntryVerdict::Accepted ? rounded == v.value
                    : v.verdict == EntryVerdict::BelowMinimum
                        ? rounded < l.minimum && v.value == l.minimum
                        : rounded > l.maximum && v.value == l.maximum,
                    "the verdict does not say how the number was taken");
        }

    const char last = text.empty() ? '\0' : text.back();
    Require(LastCharValid(text, "0123456789.") == ((last >= '0' && last <= '9') || last == '.'),
            "the filter judged the last character wrongly");
    if (size <= 512)
        Require(RefusedBeforeCaret(text.substr(0, cut), text.substr(cut), "0123456789.") ==
                    BackspacesOneByOne(text.substr(0, cut), text.substr(cut)),
                "the filter's Backspaces are not those sent one by one");
    Require(!LastCharValid(text, ""), "a character passed an empty filter");
    return 0;
}
