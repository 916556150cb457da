#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "forms_runtime/conversions.h"
#include "forms_runtime/errors.h"
#include "forms_runtime/text.h"

namespace kivo::forms {
namespace {

const NumberFormat kDot{};
const NumberFormat kComma{",", "."};

ErrorKind KindOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& error) {
        return error.kind();
    }
    ADD_FAILURE() << "no error raised";
    return ErrorKind::InvalidArgument;
}

TEST(ConversionsTest, IntegersRoundHalvesToEven) {
    EXPECT_EQ(CInt(2.5), 2);
    EXPECT_EQ(CInt(3.5), 4);
    EXPECT_EQ(CInt(-2.5), -2);
    EXPECT_EQ(CInt(100.5), 100);
    EXPECT_EQ(CInt(101.5), 102);
    EXPECT_EQ(CInt(2.5000001), 3);
    EXPECT_EQ(CLng(62.5), 62);
    EXPECT_EQ(CLng(187.5), 188);
    EXPECT_EQ(CLng(-0.5), 0);
}

TEST(ConversionsTest, IntegersOverflowOutsideTheirRangeAfterRounding) {
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_EQ(CInt(-32768.5), -32768);  // rounds to the even -32768, which fits
    EXPECT_EQ(KindOf([] { CInt(32767.5); }), ErrorKind::Overflow);
    EXPECT_EQ(KindOf([] { CInt(-32769); }), ErrorKind::Overflow);
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    EXPECT_EQ(KindOf([] { CLng(2147483647.5); }), ErrorKind::Overflow);
    EXPECT_EQ(KindOf([] { CLng(1e300); }), ErrorKind::Overflow);
    EXPECT_EQ(KindOf([] { CLng(std::nan("")); }), ErrorKind::Overflow);
}

TEST(ConversionsTest, IntRoundsDown) {
    EXPECT_EQ(Int(2.9), 2);
    EXPECT_EQ(Int(-2.1), -3);
    EXPECT_EQ(Int(0.99999994f * 3), 2);
}

TEST(ConversionsTest, ValTakesTheNumberAtTheStart) {
    EXPECT_EQ(Val("1234"), 1234);
    EXPECT_EQ(Val("  1234 5678"), 1234);
    EXPECT_EQ(Val("12abc"), 12);
    EXPECT_EQ(Val(":1234"), 0);
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("-12.5"), -12.5);
    EXPECT_EQ(Val("1.5e2x"), 150);
    EXPECT_EQ(Val("2,5"), 2) << "the locale plays no part";
}

TEST(ConversionsTest, NumericTestFollowsTheLocale) {
    for (const char* text : {"3", " 2.5 ", "-5", "+0.001", "1,000", "1e3", "2.50", ".5"}) {
        EXPECT_TRUE(IsNumeric(text, kDot)) << text;
    }
    for (const char* text : {"", " ", "abc", ".", "1.2.3", "1e", "--1", "3 秒", "0x10"}) {
        EXPECT_FALSE(IsNumeric(text, kDot)) << text;
    }
    EXPECT_TRUE(IsNumeric("2,5", kComma));
    EXPECT_EQ(CDbl("2,5", kComma), 2.5);
    EXPECT_EQ(CDbl("1.000,5", kComma), 1000.5);
    EXPECT_EQ(CDbl("0.001", kDot), 0.001);
    EXPECT_EQ(KindOf([] { CDbl("abc", kDot); }), ErrorKind::TypeMismatch);
}

TEST(ConversionsTest, BooleanFromText) {
    EXPECT_TRUE(CBool("True", kDot));
    EXPECT_TRUE(CBool("true", kDot));
    EXPECT_FALSE(CBool("FALSE", kDot));
    EXPECT_TRUE(CBool("1", kDot));
    EXPECT_TRUE(CBool("-1", kDot));
    EXPECT_TRUE(CBool("0.5", kDot));
    EXPECT_FALSE(CBool("0", kDot));
    EXPECT_EQ(KindOf([] { CBool("yes", kDot); }), ErrorKind::TypeMismatch);
    EXPECT_EQ(KindOf([] { CBool("", kDot); }), ErrorKind::TypeMismatch);
}

TEST(ConversionsTest, ErrorsNameWhatFailed) {
    try {
        CDbl("abc", kDot);
        FAIL();
    } catch (const RuntimeError& error) {
        EXPECT_NE(std::string(error.what()).find("abc"), std::string::npos);
    }
}

TEST(TextTest, CountsCharactersNotBytes) {
    EXPECT_EQ(Mid("/s", 2, 1), "s");
    EXPECT_EQ(Mid("s", 2, 1), "");
    EXPECT_EQ(Mid("", 2, 1), "");
    EXPECT_EQ(Mid("/p 1234", 3), " 1234");
    EXPECT_EQ(Mid("写真\\壁紙", 2, 2), "真\\");
    EXPECT_EQ(Mid("C:", 1, 3), "C:");
    EXPECT_EQ(Len("壁紙"), 2);
    EXPECT_EQ(UCase("/p ａｂ é"), "/P ＡＢ é");
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("\t1\t"), "\t1\t") << "only blanks are trimmed";
}

}  // namespace
}  // namespace kivo::forms
