// Catalogue arithmetic: columns by level, shrinking when too many levels or
// classes do not fit, subjects taken by position, the school-year label.
#include <gtest/gtest.h>

#include "gradebook/data_folders.hpp"
#include "shell/catalogue.hpp"
#include "shell/catalogue_layout.hpp"

namespace {
std::array<int, 14> Counts(std::initializer_list<std::pair<int, int>> levels) {
    std::array<int, 14> c{};
    for (auto [level, n] : levels) c[level] = n;
    return c;
}
}  // namespace

TEST(CatalogueLayout, ExampleCatalogueOnFullHd) {
    const KatalogLayout l = BerechneKatalogLayout(Counts({{5, 2}, {10, 1}}), 1920, 1080);
    EXPECT_EQ(l.u, 2);
    EXPECT_EQ(l.m, 2);
    EXPECT_EQ(l.w, 228);
    EXPECT_EQ(l.h, 114);
    EXPECT_EQ(l.x0, 724);
    EXPECT_EQ(l.x0 + l.w + kKatalogAbstand, 968);
    EXPECT_EQ(l.oben, 598);
    EXPECT_EQ(l.optionenX, 846);
    EXPECT_EQ(l.optionenY, 123);
}

TEST(CatalogueLayout, ColumnsAndRowsShrinkToFit) {
    struct Case {
        std::array<int, 14> counts;
        int W, H, w, h;
    };
    std::array<int, 14> all{};
    all.fill(1);
    const Case cases[] = {
        {all, 1024, 768, (1024 - 13 * 16) / 14, 114},              // 14 levels, level 0 included: 58 wide
        {Counts({{7, 10}}), 1920, 1080, 228, (720 - 9 * 16) / 10},  // ten 7th classes: 57 high
        {Counts({{7, 4}}), 1920, 1080, 228, 114},                   // 4 * 114 + 48 = 504 fits in 720
        {Counts({{7, 50}}), 1920, 1080, 228, static_cast<int>((720.0 - 49 * 16) / 50)},  // no lower limit
    };
    for (const Case& c : cases) {
        const KatalogLayout l = BerechneKatalogLayout(c.counts, c.W, c.H);
        EXPECT_EQ(l.w, c.w);
        EXPECT_EQ(l.h, c.h);
        // The columns exactly fill or stay inside the window.
        EXPECT_LE(l.u * l.w + (l.u - 1) * kKatalogAbstand, c.W);
    }
    EXPECT_EQ(BerechneKatalogLayout(all, 1024, 768).w, 58);
}

TEST(CatalogueLayout, EmptyDataFolderLeavesOnlyTheOptionsTile) {
    const KatalogLayout l = BerechneKatalogLayout(Counts({}), 1920, 1080);
    EXPECT_EQ(l.u, 0);
    EXPECT_EQ(l.w, 228);
    EXPECT_EQ(l.optionenX, 846);
}

TEST(CatalogueLayout, SubjectIsTakenByPosition) {
    struct Case { const char16_t* datei; const char16_t* ordner; const char16_t* fach; };
    const Case cases[] = {
        {u"7b/7b Mathe.slk", u"7b", u"Mathe"},
        {u"7b/7b Mathe.SLK", u"7b", u"Mathe"},
        {u"7b/Mathe.slk", u"7b", u"he"},
        {u"10c/10c Erdkunde bili.slk", u"10c", u"Erdkunde bili"},
        {u"7b/7b.slk", u"7b", u""},
        {u"Q1/Q1 Physik.slk", u"Q1", u"Physik"},
    };
    for (const Case& c : cases) EXPECT_EQ(FachAusKlassendatei(c.datei, c.ordner), c.fach) << Utf8FromText(c.datei);
}

TEST(CatalogueLayout, SchoolYearTurnsInAugust) {
    EXPECT_EQ(Katalog::SchuljahrText(2026, 12), u"2026/27");
    EXPECT_EQ(Katalog::SchuljahrText(2027, 7), u"2026/27");
    EXPECT_EQ(Katalog::SchuljahrText(2027, 8), u"2027/28");
    EXPECT_EQ(Katalog::SchuljahrText(2099, 9), u"2099/00");
    EXPECT_EQ(Katalog::SchuljahrText(2008, 1), u"2007/08");
}
