// Group rules of deleting and moving columns, the limits of average groups
// and the date of a new report column, case by case.
#include <gtest/gtest.h>

#include "gradebook/column_groups.hpp"
#include "gradebook/report_dates.hpp"
#include "platform/text.hpp"

namespace {

// Column types from a short code: A Arbeit, M Mündl., Z Zeugnis, s
// schriftl., o sonst., H HauptF., N NebenF.; column 0 is the name column.
std::vector<Text> Typen(const std::string& code) {
    std::vector<Text> t{u"7a"};
    for (char c : code) {
        switch (c) {
            case 'A': t.push_back(u"Arbeit"); break;
            case 'M': t.push_back(u"Mündl."); break;
            case 'Z': t.push_back(u"Zeugnis"); break;
            case 's': t.push_back(u"schriftl."); break;
            case 'o': t.push_back(u"sonst."); break;
            case 'H': t.push_back(u"HauptF."); break;
            case 'N': t.push_back(u"NebenF."); break;
            default: ADD_FAILURE() << c;
        }
    }
    return t;
}

struct Loeschfall {
    const char* spalten;
    int k;
    Spaltenbereich soll;
};

struct Rueckfall {
    const char* spalten;
    int k;
    std::optional<Linksverschiebung> soll;
};

Linksverschiebung V(int a, int b, int l1, int l2) { return {{a, b}, {l1, l2}}; }

}  // namespace

TEST(ColumnGroups, DeleteTakesAWholeGroupFromAnyMemberAndOtherColumnsAlone) {
    const Loeschfall faelle[] = {
        {"AMsoHM", 3, {3, 5}}, {"AMsoHM", 4, {3, 5}}, {"AMsoHM", 5, {3, 5}},  // every member of a group
        {"AMsoHM", 2, {2, 2}}, {"AMsoHM", 6, {6, 6}},                        // neighbours of the group alone
        {"AMsoHM", 1, {1, 1}},
        {"soNA", 1, {1, 3}},   {"soNA", 2, {1, 3}},   {"soNA", 3, {1, 3}},    // a group at columns 1 to 3
        {"soNA", 4, {4, 4}},
        {"A", 1, {1, 1}},                                                    // the only grade column
        {"AsoHMsoH", 5, {5, 5}}, {"AsoHMsoH", 4, {2, 4}}, {"AsoHMsoH", 6, {6, 8}}, {"AsoHMsoH", 8, {6, 8}},
        {"AsoHsoH", 4, {2, 4}},  {"AsoHsoH", 5, {5, 7}},                     // two groups side by side
        {"soA", 1, {1, 1}},    {"soA", 2, {2, 2}},                            // an incomplete group is no group
        {"AosH", 3, {3, 3}},   {"AosH", 4, {4, 4}},
    };
    for (const Loeschfall& f : faelle)
        EXPECT_EQ(LoeschBereich(Typen(f.spalten), f.k), f.soll) << f.spalten << " column " << f.k;
}

TEST(ColumnGroups, MoveLeftKeepsGroupsWholeOnBothSides) {
    const Rueckfall faelle[] = {
        {"AMsoHM", 1, std::nullopt},              // the first grade column stays
        {"AMsoHM", 2, V(2, 2, 1, 1)},
        {"AMsoHM", 3, V(3, 5, 2, 2)},             // first, middle or last member: the whole group moves
        {"AMsoHM", 4, V(3, 5, 2, 2)},
        {"AMsoHM", 5, V(3, 5, 2, 2)},
        {"AMsoHM", 6, V(6, 6, 3, 5)},             // a column right of a group passes the whole group
        {"soNA", 1, std::nullopt},                // a group at columns 1 to 3 cannot move further
        {"soNA", 2, std::nullopt},
        {"soNA", 3, std::nullopt},
        {"soNA", 4, V(4, 4, 1, 3)},
        {"AsoHsoH", 5, V(5, 7, 2, 4)},            // a group passes a group
        {"AsoHsoH", 7, V(5, 7, 2, 4)},
        {"AsoHsoH", 2, V(2, 4, 1, 1)},
        {"A", 1, std::nullopt},
    };
    for (const Rueckfall& f : faelle)
        EXPECT_EQ(LinksBereich(Typen(f.spalten), f.k), f.soll) << f.spalten << " column " << f.k;
}

TEST(ColumnGroups, OrderAfterAMove) {
    EXPECT_EQ(SpaltenfolgeNach(5, V(4, 4, 1, 3)), (std::vector<int>{0, 4, 1, 2, 3}));
    EXPECT_EQ(SpaltenfolgeNach(7, V(3, 5, 2, 2)), (std::vector<int>{0, 1, 3, 4, 5, 2, 6}));
    EXPECT_EQ(SpaltenfolgeNach(8, V(5, 7, 2, 4)), (std::vector<int>{0, 1, 5, 6, 7, 2, 3, 4}));
    EXPECT_EQ(SpaltenfolgeNach(3, V(2, 2, 1, 1)), (std::vector<int>{0, 2, 1}));
}

TEST(ColumnGroups, AtMostTwoGroupsOfOneWeighting) {
    struct Fall {
        const char* spalten;
        const char16_t* neu;
        Gruppenzulassung soll;
    };
    const Fall faelle[] = {
        {"AM", u"HauptF.", Gruppenzulassung::Erlaubt},
        {"AM", u"NebenF.", Gruppenzulassung::Erlaubt},
        {"", u"HauptF.", Gruppenzulassung::Erlaubt},
        {"AsoHM", u"HauptF.", Gruppenzulassung::Erlaubt},
        {"AsoNM", u"NebenF.", Gruppenzulassung::Erlaubt},
        {"AsoHM", u"NebenF.", Gruppenzulassung::Gemischt},
        {"AsoNM", u"HauptF.", Gruppenzulassung::Gemischt},
        {"AsoHMsoH", u"HauptF.", Gruppenzulassung::ZweiVorhanden},
        {"AsoHMsoH", u"NebenF.", Gruppenzulassung::ZweiVorhanden},
        {"AsoNMsoN", u"NebenF.", Gruppenzulassung::ZweiVorhanden},
    };
    for (const Fall& f : faelle) EXPECT_EQ(NeueGruppePruefen(Typen(f.spalten), f.neu), f.soll) << f.spalten;
}

TEST(ReportDates, FollowTheLastReportOrToday) {
    struct Fall {
        std::optional<Text> letztes;
        const char16_t* heute;
        const char16_t* soll;
    };
    const Fall faelle[] = {
        {std::nullopt, u"20.10.15", u"31.01.16"},  // autumn: the half-year report of the next year
        {std::nullopt, u"05.01.16", u"31.01.16"},  // January: this month's
        {std::nullopt, u"03.03.16", u"15.07.16"},  // spring and summer: the end of the year
        {std::nullopt, u"31.08.16", u"15.07.16"},
        {std::nullopt, u"01.09.99", u"31.01.00"},  // across the century
        {Text(u"31.01.16"), u"20.10.15", u"15.07.16"},
        {Text(u"15.07.16"), u"20.10.15", u"31.01.17"},
        {Text(u"15.07.99"), u"20.10.15", u"31.01.00"},
        {Text(u"20.12.15"), u"20.10.15", u"15.07.16"},  // an autumn report: next is the coming summer's
        {Text(u"1.2.16"), u"03.03.16", u"15.07.16"},    // not a full date: today decides
        {Text(u""), u"20.10.15", u"31.01.16"},
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(NaechstesZeugnisdatum(f.letztes, f.heute), f.soll)
            << Utf8FromText(f.letztes.value_or(u"-")) << " " << Utf8FromText(f.heute);
}
