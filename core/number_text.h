// How numbers become texts and texts become numbers, everywhere in the program: the reading of
// a typed entry, the whole-number rounding of entries and spacings, the signed text inside the
// result lines, and the number patterns of the printed report.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Nearest whole number; an exact half goes to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double x);

// The number a text begins with. Blanks, tabs and line feeds are skipped wherever they stand;
// then an optional sign, digits and at most one decimal point; reading stops at the first
// character that does not fit. A text that does not begin with a number reads 0. Only plain
// decimals are read: an exponent or a radix prefix ends the number. A number too large for a
// double reads as infinity with its sign.
double ReadLeadingNumber(std::string_view text);

// The signed text of a number: a blank where a minus sign would stand, then the number. Whole
// numbers are written without a decimal point; a single-precision value with at most seven
// significant digits and no trailing zeros (3.5f -> " 3.5").
std::string SignedText(std::int64_t x);
std::string SignedText(float x);

// The report's number patterns, rounding halves away from zero on the value as stored:
// "####0", "###0", "##0", "#0" the whole number ("0" for zero); "####" the same but empty for
// zero; "#0.0" one decimal place; "##.0" one decimal place with no digit before the point
// below 1 (".5", ".0").
std::string PatternText(std::string_view pattern, double x);

// Lower-cases the ASCII letters of a text.
std::string Lower(std::string text);

// Removes leading and trailing blanks.
std::string Trim(std::string_view text);
