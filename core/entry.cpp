#include "core/entry.h"

#include "core/number_text.h"

#include <cctype>

void CharValid(const std::string& StrTest, const std::string& StrChk, std::int16_t& Posit) {
    Posit = 0;
    if (StrTest.empty())
        return;
    const char last = static_cast<char>(std::toupper(static_cast<unsigned char>(StrTest.back())));
    Posit = StrChk.find(last) != std::string::npos ? 1 : 0;
}

EntryLimits LimitsFor(EntryBox box, bool measFeet) {
    constexpr UnitPair<std::int32_t> kRoomMinimum{4, 1200};
    constexpr UnitPair<std::int32_t> kRoomMaximum{1000, 300000};
    constexpr UnitPair<std::int32_t> kCeilingMinimum{12, 3600};
    constexpr UnitPair<std::int32_t> kCeilingMaximum{100, 30000};
    if (box == EntryBox::CeilingHeight)
        return {kCeilingMinimum(measFeet), kCeilingMaximum(measFeet)};
    return {kRoomMinimum(measFeet), kRoomMaximum(measFeet)};
}

EntryValue ReadEntry(std::string_view text, EntryLimits limits) {
    const double v = RoundHalfEven(ReadLeadingNumber(text));
    if (v < limits.minimum)
        return {limits.minimum, EntryVerdict::BelowMinimum};
    if (v > limits.maximum)
        return {limits.maximum, EntryVerdict::AboveMaximum};
    return {static_cast<std::int32_t>(v), EntryVerdict::Accepted};
}

std::string EntryMessage(EntryBox box, bool measFeet, EntryVerdict verdict) {
    const EntryLimits limits = LimitsFor(box, measFeet);
    const bool below = verdict == EntryVerdict::BelowMinimum;
    const std::string limit = std::to_string(below ? limits.minimum : limits.maximum);
    const std::string unit = measFeet ? " feet" : " millimeters";
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
