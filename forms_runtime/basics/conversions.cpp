#include "forms_runtime/basics/conversions.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

#include "forms_runtime/basics/errors.h"
#include "forms_runtime/basics/text.h"

namespace kivo::forms {

namespace {

std::string NumberText(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

template <typename Int>
Int RoundChecked(double value) {
    const double rounded = std::nearbyint(value);  // the default rounding mode: halves to even
    if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<Int>::max()))) {
        throw RuntimeError(ErrorKind::Overflow, NumberText(value));
    }
    return static_cast<Int>(rounded);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool StartsWith(std::string_view text, std::size_t at, std::string_view part) {
    return !part.empty() && text.substr(at, part.size()) == part;
}

// Parses the whole text as a locale number; nullopt when it is not one.
std::optional<double> ParseLocaleNumber(std::string_view text, const NumberFormat& format) {
    const std::string trimmed = Trim(text);
    std::string plain;  // the number rewritten with '.' and without group separators
    std::size_t i = 0;
    if (i < trimmed.size() && (trimmed[i] == '+' || trimmed[i] == '-')) {
        plain += trimmed[i++];
    }
    int digits = 0;
    while (i < trimmed.size()) {
        if (IsDigit(trimmed[i])) {
            plain += trimmed[i++];
            ++digits;
        } else if (digits > 0 && StartsWith(trimmed, i, format.thousands_separator) &&
                   format.thousands_separator != format.decimal_separator) {
            i += format.thousands_separator.size();
        } else {
            break;
        }
    }
    if (StartsWith(trimmed, i, format.decimal_separator)) {
        i += format.decimal_separator.size();
        plain += '.';
        while (i < trimmed.size() && IsDigit(trimmed[i])) {
            plain += trimmed[i++];
            ++digits;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < trimmed.size() && (trimmed[i] == 'e' || trimmed[i] == 'E')) {
        std::string exponent = "e";
        std::size_t j = i + 1;
        if (j < trimmed.size() && (trimmed[j] == '+' || trimmed[j] == '-')) {
            exponent += trimmed[j++];
        }
        const std::size_t first_digit = j;
        while (j < trimmed.size() && IsDigit(trimmed[j])) {
            exponent += trimmed[j++];
        }
        if (j == first_digit) {
            return std::nullopt;
        }
        plain += exponent;
        i = j;
    }
    if (i != trimmed.size()) {
        return std::nullopt;
    }
    const double value = std::strtod(plain.c_str(), nullptr);
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::int16_t CInt(double value) {
    return RoundChecked<std::int16_t>(value);
}
std::int32_t CLng(double value) {
    return RoundChecked<std::int32_t>(value);
}

std::int16_t CInt(std::string_view text, const NumberFormat& format) {
    return CInt(CDbl(text, format));
}
std::int32_t CLng(std::string_view text, const NumberFormat& format) {
    return CLng(CDbl(text, format));
}

double Int(double value) {
    return std::floor(value);
}

double Val(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        number += text[i++];
    }
    int digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        number += text[i++];
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        number += text[i++];
        while (i < text.size() && IsDigit(text[i])) {
            number += text[i++];
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (text[j] == '+' || text[j] == '-') {
            exponent += text[j++];
        }
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) {
                exponent += text[j++];
            }
            number += exponent;
        }
    }
    return std::strtod(number.c_str(), nullptr);
}

bool IsNumeric(std::string_view text, const NumberFormat& format) {
    return ParseLocaleNumber(text, format).has_value();
}

double CDbl(std::string_view text, const NumberFormat& format) {
    if (const auto value = ParseLocaleNumber(text, format)) {
        return *value;
    }
    throw RuntimeError(ErrorKind::TypeMismatch, "「" + std::string(text) + "」");
}

bool CBool(std::string_view text, const NumberFormat& format) {
    const std::string word = UCase(Trim(text));
    if (word == "TRUE") {
        return true;
    }
    if (word == "FALSE") {
        return false;
    }
    if (const auto value = ParseLocaleNumber(text, format)) {
        return *value != 0;
    }
    throw RuntimeError(ErrorKind::TypeMismatch, "「" + std::string(text) + "」");
}

std::string CStr(long long value) {
    return std::to_string(value);
}

}  // namespace kivo::forms
