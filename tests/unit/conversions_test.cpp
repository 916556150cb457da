#include <gtest/gtest.h>

#include <cmath>

#include "forms_runtime/basics/command_line.h"
#include "forms_runtime/basics/conversions.h"
#include "forms_runtime/basics/errors.h"

namespace kivo::forms {
namespace {

const NumberFormat kDot{};
const NumberFormat kComma{",", "."};

template <typename Action>
void ExpectError(ErrorKind kind, const std::string& named, Action action) {
    try {
        action();
        ADD_FAILURE() << "no error raised";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.kind(), kind);
        EXPECT_NE(std::string(error.what()).find(named), std::string::npos) << error.what();
    }
}

TEST(ConversionsTest, IntegersRoundHalvesToEvenAndOverflowOutsideTheirRange) {
    const std::vector<std::pair<double, int>> integers = {
        {2.5, 2},       {3.5, 4},         {-2.5, -2},        {101.5, 102},
        {2.5000001, 3}, {32767.4, 32767}, {-32768.5, -32768}};
    for (const auto& [value, expected] : integers) {
        EXPECT_EQ(CInt(value), expected) << value;
        EXPECT_EQ(CLng(value), expected) << value;
    }
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    for (const double value : {32767.5, -32769.0}) {
        ExpectError(ErrorKind::Overflow, "", [&] { CInt(value); });
    }
    for (const double value : {2147483647.5, 1e300, std::nan("")}) {
        ExpectError(ErrorKind::Overflow, "", [&] { CLng(value); });
    }
    EXPECT_EQ(Int(2.9), 2);
    EXPECT_EQ(Int(-2.1), -3);
}

TEST(ConversionsTest, ValTakesTheNumberAtTheStartWhateverTheLocale) {
    const std::vector<std::pair<const char*, double>> texts = {
        {"1234", 1234}, {"  1234 5678", 1234}, {"12abc", 12},   {":1234", 0},
        {"", 0},        {"-12.5", -12.5},      {"1.5e2x", 150}, {"2,5", 2}};
    for (const auto& [text, expected] : texts) {
        EXPECT_EQ(Val(text), expected) << text;
    }
}

TEST(ConversionsTest, NumbersAndBooleansFromTextFollowTheLocale) {
    for (const char* text : {"3", " 2.5 ", "-5", "+0.001", "1,000", "1e3", "2.50", ".5"}) {
        EXPECT_TRUE(IsNumeric(text, kDot)) << text;
    }
    for (const char* text : {"", " ", "abc", ".", "1.2.3", "1e", "--1", "3 秒", "0x10"}) {
        EXPECT_FALSE(IsNumeric(text, kDot)) << text;
    }
    EXPECT_TRUE(IsNumeric("2,5", kComma));
    EXPECT_EQ(CDbl("1.000,5", kComma), 1000.5);
    ExpectError(ErrorKind::TypeMismatch, "abc", [] { CDbl("abc", kDot); });

    const std::vector<std::pair<const char*, bool>> booleans = {
        {"True", true}, {"true", true}, {"FALSE", false}, {"1", true},
        {"-1", true},   {"0.5", true},  {"0", false}};
    for (const auto& [text, expected] : booleans) {
        EXPECT_EQ(CBool(text, kDot), expected) << text;
    }
    for (const char* text : {"yes", ""}) {
        ExpectError(ErrorKind::TypeMismatch, text, [&] { CBool(text, kDot); });
    }
}

TEST(TextTest, ArgumentTextDropsTheProgramNameAndTheBlanksAfterIt) {
    const std::vector<std::pair<const wchar_t*, const wchar_t*>> lines = {
        {L"Kivo.scr /s", L"/s"},
        {L"\"C:\\Program Files\\Kivo.scr\"   /p 1234", L"/p 1234"},
        {L"\"C:\\a b\\Kivo.scr\"/s", L"/s"},
        {L"Kivo.scr \"two  words\" x", L"\"two  words\" x"},
        {L"\"Kivo.scr\"   ", L""},
        {L"\"unterminated quote /s", L""}};
    for (const auto& [line, arguments] : lines) {
        EXPECT_EQ(ArgumentText(line), arguments);
    }
}

}  // namespace
}  // namespace kivo::forms
