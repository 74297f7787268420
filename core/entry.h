// The rules of the three numeric entry boxes: the character filter applied as the user types,
// and how a box's text becomes the whole number that is stored when the box is left, with the
// minimum and maximum each box accepts.
#pragma once

#include "core/unit_pair.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Whether the last character of text (upper-cased) is one of valid. Only the last character
// decides; an empty text is refused.
bool LastCharValid(const std::string& text, const std::string& valid);

// How many characters (UTF-8 code points) before the caret the filter takes away, one Backspace
// per refused last character: while the text with its blanks trimmed ends in a character not in
// valid, or is empty, the character before the caret goes. Reached in one pass over the text,
// so that a long paste costs no more than its length.
std::size_t RefusedBeforeCaret(std::string_view before, std::string_view after,
                               const std::string& valid);

enum class EntryBox { Length, Width, CeilingHeight };

struct EntryLimits {
    std::int32_t minimum;
    std::int32_t maximum;
};

// The smallest and largest value a box stores, in the unit in force. The maxima lie beyond any
// real room (1000 ft, 300 m) and structural ceiling (100 ft, 30 m); they keep every row count,
// speaker count, drawing and printed position exact and quick, and the ceiling height within
// 16 bits.
EntryLimits LimitsFor(EntryBox box, Units units);

enum class EntryVerdict { Accepted, BelowMinimum, AboveMaximum };

struct EntryValue {
    std::int32_t value;
    EntryVerdict verdict;
};

// Reads the number a text begins with, rounds it to a whole unit (halves to even) and raises
// it to the minimum or lowers it to the maximum, saying which.
EntryValue ReadEntry(std::string_view text, EntryLimits limits);

// The information message for a value that was raised or lowered.
std::string EntryMessage(EntryBox box, Units units, EntryVerdict verdict);
// Its title: "Room Length", "Room Width" or "Ceiling Height".
std::string EntryTitle(EntryBox box);
