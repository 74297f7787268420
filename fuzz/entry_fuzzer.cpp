// Any text a user can type or paste into a numeric box goes through the character filter and,
// when the box is left, through the leading-number reading, the whole-number rounding and the
// box's limits. For every text, every box and both unit systems: nothing crashes, the reading
// ignores blanks and stops at a character no number has, a plain decimal reads as itself, the
// rounding goes to the nearest whole number with halves to even, the stored value lies within
// the box's limits, the verdict says truly whether the number was raised, lowered or taken as
// it was, and the filter removes what a user's Backspaces one by one would.
#include "core/entry.h"
#include "core/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// The filter as the user meets it: after each change, one Backspace at the caret while the
// trimmed text ends in a refused character or is empty.
std::size_t BackspacesOneByOne(std::string before, const std::string& after) {
    std::size_t n = 0;
    for (; !before.empty() && !LastCharValid(Trim(before + after), "0123456789."); ++n) {
        while (before.size() > 1 && (before.back() & 0xC0) == 0x80) // one code point goes
            before.pop_back();
        before.pop_back();
    }
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto require = [&](bool holds, const char* what) {
        if (holds)
            return;
        std::fprintf(stderr, "broken: %s, for \"%s\"\n", what, text.c_str());
        std::abort();
    };
    std::string kept; // without blanks
    for (const char c : text)
        kept += c == ' ' || c == '\t' || c == '\n' ? "" : std::string(1, c);
    const bool plain = text.find_first_not_of("0123456789.") == std::string::npos &&
                       std::count(text.begin(), text.end(), '.') <= 1;
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    const std::string before = text.substr(0, cut), after = text.substr(cut);

    const double reading = ReadLeadingNumber(text), rounded = RoundHalfEven(reading);
    require(ReadLeadingNumber(kept) == reading, "the reading is not a number or blanks changed it");
    require(ReadLeadingNumber(before + "x" + after) == ReadLeadingNumber(before),
            "the reading went past a letter");
    require(!plain || reading == std::strtod(text.c_str(), nullptr), "a plain decimal misread");
    require(std::isinf(reading)
                ? rounded == reading
                : rounded == std::floor(rounded) && std::fabs(rounded - reading) <= 0.5 &&
                      (std::fabs(rounded - reading) < 0.5 || std::fmod(rounded, 2.0) == 0),
            "the rounding is not to the nearest whole number, halves to even");
    for (int k = 0; k < 6; ++k) { // each box in feet, then in millimetres
        const EntryLimits l = LimitsFor(EntryBox(k % 3), k < 3 ? Units::Feet : Units::Millimetres);
        const EntryValue v = ReadEntry(text, l);
        require(v.verdict == EntryVerdict::Accepted
                    ? rounded == v.value && rounded >= l.minimum && rounded <= l.maximum
                : v.verdict == EntryVerdict::BelowMinimum
                    ? rounded < l.minimum && v.value == l.minimum
                    : rounded > l.maximum && v.value == l.maximum,
                "the value is beyond the limits or the verdict does not say how it was taken");
    }
    const char last = text.empty() ? '\0' : text.back();
    require(LastCharValid(text, "0123456789.") == ((last >= '0' && last <= '9') || last == '.') &&
                !LastCharValid(text, ""),
            "the filter judged the last character wrongly");
    require(size > 512 || RefusedBeforeCaret(before, after, "0123456789.") ==
                              BackspacesOneByOne(before, after),
            "the filter's Backspaces are not those sent one by one");
    return 0;
}
