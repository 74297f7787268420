#include "core/entry.h"

#include "core/number_text.h"

#include <cctype>

bool LastCharValid(const std::string& text, const std::string& valid) {
    if (text.empty())
        return false;
    const char last = static_cast<char>(std::toupper(static_cast<unsigned char>(text.back())));
    return valid.find(last) != std::string::npos;
}

namespace {

bool Allowed(char c, const std::string& valid) {
    const bool ascii = static_cast<unsigned char>(c) < 0x80; // a code point of one byte
    return ascii && valid.find(static_cast<char>(std::toupper(c))) != std::string::npos;
}

// Where the code point that ends text[0, end) starts.
std::size_t StartOfLast(std::string_view text, std::size_t end) {
    std::size_t start = end - 1;
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
        --start;
    return start;
}

std::size_t CodePoints(std::string_view text) {
    std::size_t n = 0;
    for (std::size_t end = text.size(); end > 0; end = StartOfLast(text, end))
        ++n;
    return n;
}

} // namespace

std::size_t RefusedBeforeCaret(std::string_view before, std::string_view after,
                               const std::string& valid) {
    // A character after the caret ends the trimmed text whatever goes: everything before goes.
    const std::size_t lastAfter = after.find_last_not_of(' ');
    if (lastAfter != std::string_view::npos)
        return Allowed(after[lastAfter], valid) ? 0 : CodePoints(before);
    std::size_t removed = 0;
    std::size_t end = before.size();
    while (end > 0) {
        const std::size_t last = before.find_last_not_of(' ', end - 1);
        if (last == std::string_view::npos)
            return removed + end; // only blanks are left, and go one by one
        if (Allowed(before[last], valid))
            return removed;
        removed += end - last; // each blank after the refused character, and the character
        end = StartOfLast(before, last + 1);
    }
    return removed;
}

EntryLimits LimitsFor(EntryBox box, Units units) {
    constexpr UnitPair<std::int32_t> kRoomMinimum{4, 1200};
    constexpr UnitPair<std::int32_t> kRoomMaximum{1000, 300000};
    constexpr UnitPair<std::int32_t> kCeilingMinimum{12, 3600};
    constexpr UnitPair<std::int32_t> kCeilingMaximum{100, 30000};
    if (box == EntryBox::CeilingHeight)
        return {kCeilingMinimum(units), kCeilingMaximum(units)};
    return {kRoomMinimum(units), kRoomMaximum(units)};
}

EntryValue ReadEntry(std::string_view text, EntryLimits limits) {
    const double v = RoundHalfEven(ReadLeadingNumber(text));
    if (v < limits.minimum)
        return {limits.minimum, EntryVerdict::BelowMinimum};
    if (v > limits.maximum)
        return {limits.maximum, EntryVerdict::AboveMaximum};
    return {static_cast<std::int32_t>(v), EntryVerdict::Accepted};
}

std::string EntryMessage(EntryBox box, Units units, EntryVerdict verdict) {
    const EntryLimits limits = LimitsFor(box, units);
    const bool below = verdict == EntryVerdict::BelowMinimum;
    const std::string limit = std::to_string(below ? limits.minimum : limits.maximum);
    const std::string unit = units == Units::Feet ? " feet" : " millimeters";
    if (box == EntryBox::CeilingHeight)
        return "The structural ceiling should be " + std::string(below ? "at least " : "at most ") +
               limit + unit + ".";
    return "The dimension needs to be " + limit + unit + (below ? " or larger." : " or smaller.");
}

std::string EntryTitle(EntryBox box) {
    switch (box) {
    case EntryBox::Length:
        return "Room Length";
    case EntryBox::Width:
        return "Room Width";
    default:
        return "Ceiling Height";
    }
}
