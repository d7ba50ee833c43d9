// Grade distribution of a column: counting by whole grade on both scales,
// what is left out, the rounded average and the one-third limit of 5 and 6.
#include <gtest/gtest.h>

#include "gradebook/grade_distribution.hpp"

namespace {
TEST(Notenverteilung, CountsOnBothScales) {
    // Tendencies and intermediates count by their leading digit; n.f., free texts, texts of the other scale
    // and a grade with a blank are listed apart; empty cells are nothing.
    auto v = NotenverteilungBerechnen({u"1+", u"1", u"1-2", u"2+", u"2-", u"2-3", u"3", u"4-", u"5+", u"5-6", u"6",
                                       u"n.f.", u"n.f.", u"krank", u"6-", u" 2", u"15", u""},
                                      0);
    EXPECT_EQ(v.Noten, (std::array<int, 6>{3, 3, 1, 1, 2, 1}));
    EXPECT_EQ(v.Benotet, 11);
    EXPECT_EQ(v.NichtGefertigt, 2);
    EXPECT_EQ(v.AndererText, 4);
    EXPECT_EQ(v.FuenfUndSechs, 3);

    v = NotenverteilungBerechnen({u"15", u"13", u"12", u"10", u"10", u"9", u"7", u"6", u"4", u"3", u"1", u"0", u"n.f.",
                                  u"1+", u""},
                                 1);
    EXPECT_EQ(v.Noten, (std::array<int, 6>{2, 3, 2, 2, 2, 1}));
    std::array<int, 16> punkte{};
    for (int p : {15, 13, 12, 10, 10, 9, 7, 6, 4, 3, 1, 0}) ++punkte[static_cast<size_t>(p)];
    EXPECT_EQ(v.Punkte, punkte);
    EXPECT_EQ(v.Benotet, 12);
    EXPECT_EQ(v.NichtGefertigt, 1);
    EXPECT_EQ(v.AndererText, 1);
    EXPECT_EQ(v.FuenfUndSechs, 3);  // 3, 1 and 0 points
}

TEST(Notenverteilung, AverageInHundredthsRoundedHalfUp) {
    struct Fall {
        std::vector<Text> zellen;
        int skala, hundertstel;
    };
    const Fall faelle[] = {
        {{u"1-", u"2+", u"2-3"}, 0, 183},      // 5.5 / 3
        {{u"1", u"2", u"2"}, 0, 167},          // 5 / 3
        {{u"2", u"2-"}, 0, 213},               // 2.125
        {{u"2", u"n.f.", u"x", u""}, 0, 200},  // only counted grades enter
        {{u"15", u"10", u"8"}, 1, 1100},
        {{u"0", u"1", u"1"}, 1, 67},
        {{u"n.f."}, 0, -1},
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(DurchschnittHundertstel(NotenverteilungBerechnen(f.zellen, f.skala)), f.hundertstel)
            << f.zellen.size() << " cells, scale " << f.skala;
}

TEST(Notenverteilung, ShareOfFiveAndSixAndTheThirdLimit) {
    struct Fall {
        int n, k, prozent;
        bool drittel;
    };
    const Fall faelle[] = {{9, 3, 33, false}, {30, 10, 33, false}, {30, 11, 37, true}, {11, 4, 36, true},
                           {25, 4, 16, false}, {8, 1, 13, false},  {0, 0, 0, false}};
    for (const Fall& f : faelle)
        for (int skala : {0, 1}) {
            std::vector<Text> z(static_cast<size_t>(f.n), skala ? u"9" : u"3");
            for (int i = 0; i < f.k; ++i) z[static_cast<size_t>(i)] = skala ? u"0" : u"5-";
            z.push_back(u"n.f.");  // no 6 here: changes neither share nor limit
            const auto v = NotenverteilungBerechnen(z, skala);
            EXPECT_EQ(FuenfUndSechsProzent(v), f.prozent) << f.k << " of " << f.n;
            EXPECT_EQ(MehrAlsEinDrittel(v), f.drittel) << f.k << " of " << f.n;
        }
}
}  // namespace
