// Tests of the date and time texts the program shows and stores.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "platform/datetime.hpp"

TEST(DateTime, FormatDateText) {
    struct Case {
        int y, m, d;
        Text text;
    };
    const Case cases[] = {
        {2026, 12, 6, u"06 Dec 2026"}, {2025, 1, 31, u"31 Jan 2025"}, {2024, 2, 29, u"29 Feb 2024"},
        {2027, 3, 1, u"01 Mar 2027"},  {2027, 4, 10, u"10 Apr 2027"}, {2027, 5, 2, u"02 May 2027"},
        {2027, 6, 2, u"02 Jun 2027"},  {2027, 7, 2, u"02 Jul 2027"},  {2027, 8, 2, u"02 Aug 2027"},
        {2027, 9, 2, u"02 Sep 2027"},  {2027, 10, 2, u"02 Oct 2027"}, {2027, 11, 2, u"02 Nov 2027"},
        {999, 1, 1, u"01 Jan 0999"},   // the year always has four digits
        {2026, 0, 1, u""},             {2026, 13, 1, u""},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatDateText(c.y, c.m, c.d), c.text) << c.y << "-" << c.m << "-" << c.d;
}

TEST(DateTime, FormatTimeText) {
    EXPECT_EQ(FormatTimeText(0, 0, 0), u"00:00:00");
    EXPECT_EQ(FormatTimeText(9, 5, 7), u"09:05:07");
    EXPECT_EQ(FormatTimeText(23, 59, 59), u"23:59:59");
    EXPECT_EQ(FormatTimeText(14, 30, 0), u"14:30:00");
}

namespace {

bool LooksLikeDate(const Text& t) {
    static const Text months[] = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                  u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
    if (t.size() != 11 || t[2] != u' ' || t[6] != u' ') return false;
    for (int i : {0, 1, 7, 8, 9, 10})
        if (t[i] < u'0' || t[i] > u'9') return false;
    for (const Text& m : months)
        if (t.compare(3, 3, m) == 0) return true;
    return false;
}

}  // namespace

TEST(DateTime, CurrentTextsHaveTheFixedForm) {
    // A German locale must not turn "Dec" into "Dez".
    const char* previous = std::setlocale(LC_TIME, nullptr);
    std::string saved = previous ? previous : "C";
    std::setlocale(LC_TIME, "de_DE.UTF-8");

    Text date = CurrentDateText();
    EXPECT_TRUE(LooksLikeDate(date)) << Utf8FromText(date);
    Text time = CurrentTimeText();
    ASSERT_EQ(time.size(), 8u) << Utf8FromText(time);
    EXPECT_EQ(time[2], u':');
    EXPECT_EQ(time[5], u':');
    int h = (time[0] - u'0') * 10 + (time[1] - u'0');
    int m = (time[3] - u'0') * 10 + (time[4] - u'0');
    int s = (time[6] - u'0') * 10 + (time[7] - u'0');
    EXPECT_TRUE(h >= 0 && h < 24 && m >= 0 && m < 60 && s >= 0 && s <= 60) << Utf8FromText(time);

    std::setlocale(LC_TIME, saved.c_str());
}
