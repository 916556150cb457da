#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kivo::forms {

// How the user's locale writes numbers; text-to-number conversions and the numeric test use it.
struct NumberFormat {
    std::string decimal_separator = ".";
    std::string thousands_separator = ",";
};

// Rounds to the nearest integer, halves to the even neighbour, then checks the range: a value
// outside it raises an overflow error naming the value.
std::int16_t CInt(double value);
std::int32_t CLng(double value);

// Text forms: the text is converted as a number in the user's locale first (type mismatch when it
// is not one).
std::int16_t CInt(std::string_view text, const NumberFormat& format);
std::int32_t CLng(std::string_view text, const NumberFormat& format);

// Rounds down to the integer not above the value.
double Int(double value);

// The number at the start of a text, after leading blanks: sign, digits, a '.' fraction and an
// exponent; 0 when the text does not start with a number. The locale plays no part.
double Val(std::string_view text);

// Whether the text, blanks at both ends removed, is a number in the user's locale: a sign, digits
// with optional thousands separators, an optional decimal separator with digits, an optional
// exponent. At least one digit.
bool IsNumeric(std::string_view text, const NumberFormat& format);

// The text as a number in the user's locale; a type-mismatch error naming the text otherwise.
double CDbl(std::string_view text, const NumberFormat& format);

// "True"/"False" in any case, or a number (non-zero is true); a type-mismatch error otherwise.
bool CBool(std::string_view text, const NumberFormat& format);

// Decimal text of an integer, without a leading blank.
std::string CStr(long long value);

}  // namespace kivo::forms
