// Tests of number/text conversions, case mapping, trimming, substrings and
// the unseeded random numbers.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "platform/conversions.hpp"
#include "platform/randomness.hpp"

namespace {

std::string Ascii(const Text& t) { return Utf8FromText(t); }

}  // namespace

TEST(Conversions, IntFromText) {
    struct Case {
        Text text;
        int value;
    };
    const Case cases[] = {
        {u"  -12abc", -12}, {u"$1F", 31},      {u"$ff", 255},      {u"%101", 5},       {u"abc", 0},
        {u"+7", 7},         {u"", 0},          {u"-", 0},          {u"$", 0},          {u"%", 0},
        {u"%102", 2},       {u"$1G", 1},       {u"-$10", -16},     {u"\t 42", 42},     {u"12 34", 12},
        {u"1.9", 1},        {u"0015", 15},     {u"- 5", 0},        {u"+-5", 0},        {u"$-5", 0},
        {u"2147483647", INT_MAX},              {u"-2147483648", INT_MIN},
        {u"2147483648", INT_MIN},              // wraps like a 32-bit register
        {u"4294967297", 1},                    {u"$FFFFFFFF", -1},
        {u"$100000001", 1},                    {u"\u0663", 0},  // non-ASCII digits are no digits
    };
    for (const Case& c : cases) EXPECT_EQ(IntFromText(c.text), c.value) << Ascii(c.text);
}

TEST(Conversions, FloatFromText) {
    struct Case {
        Text text;
        double value;
    };
    const Case cases[] = {
        {u"1.5", 1.5},      {u"-2", -2.0},       {u".5", 0.5},        {u"1e3", 1000.0},  {u"  2.25xyz", 2.25},
        {u"abc", 0.0},      {u"", 0.0},          {u".", 0.0},         {u"-.", 0.0},      {u"+3.", 3.0},
        {u"1,5", 1.0},      {u"1e", 1.0},        {u"1e+", 1.0},       {u"2E-2", 0.02},   {u"1.5e2x", 150.0},
        {u"-0.25", -0.25},  {u"\t3", 3.0},       {u"0.1", 0.1},       {u"1e400", HUGE_VAL},
        {u"-1e400", -HUGE_VAL},                  {u"1e-400", 0.0},    {u"0e999", 0.0},
        {u"1e0000000000002", 100.0},             {u"0.000001e400", HUGE_VAL},
        {u"$10", 0.0},      {u"inf", 0.0},       {u"nan", 0.0},
    };
    for (const Case& c : cases) EXPECT_EQ(FloatFromText(c.text), c.value) << Ascii(c.text);
}

TEST(Conversions, TextFromFloatTable) {
    struct Case {
        double value;
        const char16_t* text;
    };
    const Case cases[] = {
        {1.5, u"1.50000000"},
        {2.0 / 3, u"0.666666667"},
        {0.0, u"0.00000000"},
        {-0.0, u"-0.00000000"},
        {-2.7, u"-2.70000000"},
        {100.0, u"100.000000"},
        {123456789.0, u"123456789."},
        {1234567890.0, u"1.23456789e+09"},
        {0.0001, u"0.000100000000"},
        {0.00001, u"1.00000000e-05"},
        {9.9999999995, u"10.0000000"},
        // Rounding carries into a new digit and so into the exponent form.
        // (glibc's printf prints "1.e+09" here, dropping the kept zeros.)
        {999999999.5, u"1.00000000e+09"},
        {1e100, u"1.00000000e+100"},
        {-1.0 / 3, u"-0.333333333"},
        {HUGE_VAL, u"inf"},
        {-HUGE_VAL, u"-inf"},
    };
    for (const Case& c : cases) EXPECT_EQ(TextFromFloat(c.value), c.text) << c.value;
}

// The hand-made formatting must agree with printf in the C locale everywhere,
// including rounding ties and the switch between fixed and exponent form.
TEST(Conversions, TextFromFloatMatchesPrintf) {
    std::mt19937_64 gen(12345);
    std::uniform_int_distribution<int> exp10(-12, 14);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    auto check = [](double v) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%#.9g", v);
        ASSERT_EQ(Ascii(TextFromFloat(v)), buf) << "value " << v;
    };
    for (int i = 0; i < 20000; ++i) check(mantissa(gen) * std::pow(10.0, exp10(gen)));
    for (double v : {0.5, 0.125, 1e-5, 9.99999999e-5, 9.999999995e-5, 999999999.4, 99999999.95,
                     0.1 + 0.2, DBL_MIN, DBL_MAX, DBL_TRUE_MIN, 5e-324, 1.0000000005, 2.5e-9})
        check(v);
    // Grade averages: multiples of 1/12 and 1/100.
    for (int i = 0; i <= 1800; ++i) check(i / 12.0), check(i / 100.0);
}

TEST(Conversions, TextFromFloatRoundTripsThroughFloatFromText) {
    for (double v : {1.5, 2.0 / 3, 1e-7, 123.456, -42.0})
        EXPECT_NEAR(FloatFromText(TextFromFloat(v)), v, std::abs(v) * 1e-8);
}

TEST(Conversions, TextFromInt) {
    EXPECT_EQ(TextFromInt(0), u"0");
    EXPECT_EQ(TextFromInt(-15), u"-15");
    EXPECT_EQ(TextFromInt(LLONG_MIN), u"-9223372036854775808");
}

TEST(Conversions, TruncToInt) {
    struct Case {
        double value;
        int result;
    };
    const Case cases[] = {
        {2.7, 2},      {-2.7, -2},   {0.999, 0},          {-0.999, 0},         {5.0, 5},
        {1e10, INT_MAX},             {-1e10, INT_MIN},    {2147483647.9, INT_MAX},
        {-2147483648.9, INT_MIN},    {HUGE_VAL, INT_MAX}, {-HUGE_VAL, INT_MIN},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(TruncToInt(c.value), c.result) << c.value;
}

TEST(Conversions, CaseMapping) {
    struct Case {
        Text upper, lower;
    };
    // Pairs that map both ways.
    const Case cases[] = {
        {u"ÄÖÜ", u"äöü"},
        {u"MÜLLER-LÜDENSCHEIDT 5A", u"müller-lüdenscheidt 5a"},
        {u"ÀÁÂÃÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕØÙÚÛÝÞ", u"àáâãåæçèéêëìíîïðñòóôõøùúûýþ"},
        {u"ĀĂĄĆČĎĐĘĚĞĲĶĹĻĽŁŃŇŊŐŒŘŚŞŠŢŤŮŰŲŴŶŸŹŻŽ", u"āăąćčďđęěğĳķĺļľłńňŋőœřśşšţťůűųŵŷÿźżž"},
        {u"ΑΒΓΩΆΈΌΏ", u"αβγωάέόώ"},
        {u"АБВЯЁЇ", u"абвяёї"},
        {u"123 .,;-_×", u"123 .,;-_×"},  // no letters, and × is no letter
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LowerCase(c.upper), c.lower) << Ascii(c.upper);
        EXPECT_EQ(UpperCase(c.lower), c.upper) << Ascii(c.lower);
    }
    // One-way mappings.
    EXPECT_EQ(LowerCase(u"ẞ"), u"ß");
    EXPECT_EQ(UpperCase(u"ß"), u"ß");
    EXPECT_EQ(UpperCase(u"÷"), u"÷");
    EXPECT_EQ(LowerCase(u"İ"), u"i");
    EXPECT_EQ(UpperCase(u"ı"), u"I");
    EXPECT_EQ(UpperCase(u"ς"), u"Σ");
    EXPECT_EQ(LowerCase(u"ĸŉ"), u"ĸŉ");
}

TEST(Conversions, CaseMappingLeavesNonLettersAloneInAllOfLatin1) {
    for (char16_t c = 0; c < 0x100; ++c) {
        bool upper = (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
        bool lower = (c >= u'a' && c <= u'z') || (c >= 0xDF && c <= 0xFF && c != 0xF7);
        Text t(1, c);
        if (!upper) {
            EXPECT_EQ(LowerCase(t), t) << int(c);
        }
        if (!lower) {
            EXPECT_EQ(UpperCase(t), t) << int(c);
        }
    }
}

TEST(Conversions, Trim) {
    struct Case {
        Text in, out;
    };
    const Case cases[] = {
        {u"  Müller  ", u"Müller"},
        {u"\t\r\n x y \t", u"x y"},
        {Text(u"\0a\0", 3), u"a"},
        {u"\x1F" u"a" u"\x01", u"a"},
        {u"   ", u""},
        {u"", u""},
        {u"\u00A0a\u00A0", u"\u00A0a\u00A0"},  // no-break space is above 32
    };
    for (const Case& c : cases) EXPECT_EQ(Trim(c.in), c.out) << Ascii(c.in);
}

TEST(Conversions, Substrings) {
    const Text t = u"Kladde";
    struct Case {
        int pos, count;
        Text mid;
    };
    const Case mids[] = {
        {1, -1, u"Kladde"}, {2, 3, u"lad"},  {6, 1, u"e"},      {7, 1, u""},     {6, 10, u"e"},
        {0, 2, u"K"},       {-5, 7, u"K"},   {-5, 3, u""},      {3, 0, u""},     {3, -7, u"adde"},
        {INT_MAX, 5, u""},  {INT_MIN, INT_MAX, u""},             {2, INT_MAX, u"ladde"},
        {INT_MIN, -1, u"Kladde"},
    };
    for (const Case& c : mids) EXPECT_EQ(Mid(t, c.pos, c.count), c.mid) << c.pos << "," << c.count;
    EXPECT_EQ(Mid(t, 4), u"dde");

    struct Side {
        int n;
        Text left, right;
    };
    const Side sides[] = {
        {0, u"", u""}, {2, u"Kl", u"de"}, {6, t, t}, {99, t, t}, {-3, u"", u""}, {INT_MIN, u"", u""}, {INT_MAX, t, t},
    };
    for (const Side& s : sides) {
        EXPECT_EQ(Left(t, s.n), s.left) << s.n;
        EXPECT_EQ(Right(t, s.n), s.right) << s.n;
    }
    EXPECT_EQ(Mid(u"", 1, 1), u"");
    EXPECT_EQ(Left(u"", 3), u"");
}

TEST(Conversions, Instr) {
    struct Case {
        Text hay, needle;
        int start, pos;
    };
    const Case cases[] = {
        {u"1-2 2-3", u"-", 1, 2},  {u"1-2 2-3", u"-", 3, 6}, {u"1-2 2-3", u"-", 7, 0}, {u"abc", u"x", 1, 0},
        {u"abc", u"abc", 1, 1},    {u"abc", u"abcd", 1, 0},  {u"abc", u"c", -4, 3},    {u"abc", u"c", 100, 0},
        {u"abc", u"", 2, 2},       {u"", u"a", 1, 0},        {u"Mündl.", u"dl", 1, 4}, {u"abc", u"a", INT_MAX, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Instr(c.hay, c.needle, c.start), c.pos) << Ascii(c.hay) << " / " << Ascii(c.needle) << " @" << c.start;
    EXPECT_EQ(Instr(u"x.y", u"."), 2);
}

TEST(Randomness, RandomIntCoversBothBoundsAndNothingElse) {
    int counts[2] = {0, 0};
    for (int i = 0; i < 2000; ++i) {
        int v = RandomInt(0, 1);
        ASSERT_TRUE(v == 0 || v == 1) << v;
        ++counts[v];
    }
    EXPECT_GT(counts[0], 800);
    EXPECT_GT(counts[1], 800);
    for (int i = 0; i < 200; ++i) {
        int v = RandomInt(5, -5);  // reversed bounds
        ASSERT_GE(v, -5);
        ASSERT_LE(v, 5);
    }
    EXPECT_EQ(RandomInt(3, 3), 3);
}

TEST(Randomness, RandomFloatStaysBetweenTheBounds) {
    double sum = 0, lowest = 1, highest = 0;
    for (int i = 0; i < 5000; ++i) {
        double v = RandomFloat(1.0, 0.0);  // the program's order of arguments
        ASSERT_GE(v, 0.0);
        ASSERT_LT(v, 1.0);
        sum += v;
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
    }
    EXPECT_NEAR(sum / 5000, 0.5, 0.03);
    EXPECT_LT(lowest, 0.01);
    EXPECT_GT(highest, 0.99);
    EXPECT_EQ(RandomFloat(2.5, 2.5), 2.5);
    for (int i = 0; i < 100; ++i) {
        double v = RandomFloat(-3.0, 7.0);
        ASSERT_GE(v, -3.0);
        ASSERT_LT(v, 7.0);
    }
}
