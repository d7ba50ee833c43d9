// Grade values and cell colours on the grade and the points scale, with the
// 32-bit float bounds of the average colours probed one ulp on either side.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "gradebook/grade_scale.hpp"
#include "platform/text.hpp"
#include "gradebook/program_state.hpp"

namespace {

using Farbe = std::array<int, 3>;

constexpr int kNoten = 0;
constexpr int kPunkte = 1;

float Unter(float x) { return std::nextafter(x, -std::numeric_limits<float>::infinity()); }
float Ueber(float x) { return std::nextafter(x, std::numeric_limits<float>::infinity()); }

std::string Zeige(const Text& t) { return "\"" + Utf8FromText(t) + "\""; }

struct WertFall {
    Text note;
    float wert;
};

struct FarbFall {
    Text note;
    Farbe farbe;
};

struct DurchschnittFall {
    float wert;
    Farbe farbe;
};

// ---------------------------------------------------------------- Notenwert

TEST(GradeScaleValue, EveryGradeOfTheGradeScale) {
    const WertFall faelle[] = {
        {u"1+", 0.75f}, {u"1", 1.0f}, {u"1-", 1.25f},
        {u"2+", 1.75f}, {u"2", 2.0f}, {u"2-", 2.25f},
        {u"3+", 2.75f}, {u"3", 3.0f}, {u"3-", 3.25f},
        {u"4+", 3.75f}, {u"4", 4.0f}, {u"4-", 4.25f},
        {u"5+", 4.75f}, {u"5", 5.0f}, {u"5-", 5.25f},
        {u"6", 6.0f},   {u"n.f.", 6.0f},
        {u"1-2", 1.5f}, {u"2-3", 2.5f}, {u"3-4", 3.5f}, {u"4-5", 4.5f}, {u"5-6", 5.5f},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(Zeige(f.note));
        EXPECT_EQ(Notenwert(f.note, kNoten), f.wert);
    }
}

TEST(GradeScaleValue, EveryGradeOfThePointsScale) {
    const WertFall faelle[] = {
        {u"15", 15.0f}, {u"14", 14.0f}, {u"13", 13.0f}, {u"12", 12.0f}, {u"11", 11.0f},
        {u"10", 10.0f}, {u"9", 9.0f},   {u"8", 8.0f},   {u"7", 7.0f},   {u"6", 6.0f},
        {u"5", 5.0f},   {u"4", 4.0f},   {u"3", 3.0f},   {u"2", 2.0f},   {u"1", 1.0f},
        {u"0", 0.0f},   {u"n.f.", 0.0f},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(Zeige(f.note));
        EXPECT_EQ(Notenwert(f.note, kPunkte), f.wert);
    }
}

TEST(GradeScaleValue, TextsThatAreNoGradeOfTheScaleAreMinusOne) {
    const Text keineNoten[] = {
        u"", u"6+", u"6-", u"0", u"7", u"15", u"1-3", u"2-1", u"6-7", u"0-1",
        u" 2", u"2 ", u"N.F.", u"n.f", u"nf", u"?", u"1,5", u"1.5", u"2.0", u"+1", u"-", u"+",
    };
    for (const Text& t : keineNoten) {
        SCOPED_TRACE(Zeige(t));
        EXPECT_EQ(Notenwert(t, kNoten), -1.0f);
    }
    const Text keinePunkte[] = {
        u"", u"1+", u"1-", u"2-3", u"16", u"-1", u"05", u"00", u" 5", u"5 ",
        u"15.0", u"N.F.", u"6+", u"?",
    };
    for (const Text& t : keinePunkte) {
        SCOPED_TRACE(Zeige(t));
        EXPECT_EQ(Notenwert(t, kPunkte), -1.0f);
    }
}

TEST(GradeScaleValue, NichtFeststellbarIsTheWorstValueOfEitherScale) {
    EXPECT_EQ(Notenwert(u"n.f.", kNoten), Notenwert(u"6", kNoten));
    EXPECT_EQ(Notenwert(u"n.f.", kPunkte), Notenwert(u"0", kPunkte));
}

// The one-argument forms follow the global scale of the open class.
class GradeScaleActive : public ::testing::Test {
protected:
    void SetUp() override { gemerkt_ = Notenskala; }
    void TearDown() override { Notenskala = gemerkt_; }
    int gemerkt_ = 0;
};

TEST_F(GradeScaleActive, FunctionsWithoutScaleReadNotenskala) {
    Notenskala = 0;
    EXPECT_EQ(Notenwert(u"1+"), 0.75f);
    EXPECT_EQ(Notenwert(u"15"), -1.0f);
    EXPECT_EQ(Notenwert(u"n.f."), 6.0f);
    EXPECT_EQ(Notenfarbe(u"4-"), (Farbe{255, 128, 0}));
    EXPECT_EQ(Notenfarbe(u"12"), (Farbe{255, 255, 255}));
    EXPECT_EQ(Durchschnittsfarbe(6.0f), (Farbe{255, 0, 128}));
    EXPECT_EQ(Durchschnittsfarbe(0.0f), (Farbe{255, 255, 255}));

    Notenskala = 1;
    EXPECT_EQ(Notenwert(u"1+"), -1.0f);
    EXPECT_EQ(Notenwert(u"15"), 15.0f);
    EXPECT_EQ(Notenwert(u"n.f."), 0.0f);
    EXPECT_EQ(Notenfarbe(u"4-"), (Farbe{255, 255, 255}));
    EXPECT_EQ(Notenfarbe(u"12"), (Farbe{0, 255, 0}));
    EXPECT_EQ(Durchschnittsfarbe(6.0f), (Farbe{212, 255, 0}));
    EXPECT_EQ(Durchschnittsfarbe(0.0f), (Farbe{255, 0, 128}));
}

// ---------------------------------------------------------------- Notenfarbe

TEST(GradeScaleColour, EveryGradeOfTheGradeScale) {
    const FarbFall faelle[] = {
        {u"1+", {0, 255, 128}},   {u"1", {0, 255, 128}},   {u"1-", {0, 255, 128}},
        {u"2+", {0, 255, 0}},     {u"2", {0, 255, 0}},     {u"2-", {0, 255, 0}},
        {u"3+", {128, 255, 0}},   {u"3", {128, 255, 0}},   {u"3-", {128, 255, 0}},
        {u"4+", {255, 255, 0}},   {u"4", {255, 255, 0}},   {u"4-", {255, 128, 0}},
        {u"5+", {255, 0, 0}},     {u"5", {255, 0, 0}},     {u"5-", {255, 0, 0}},
        {u"6", {255, 0, 128}},    {u"n.f.", {255, 0, 128}},
        // Intermediate grades have a value but no colour of their own.
        {u"1-2", {255, 255, 255}}, {u"2-3", {255, 255, 255}}, {u"3-4", {255, 255, 255}},
        {u"4-5", {255, 255, 255}}, {u"5-6", {255, 255, 255}},
        {u"", {255, 255, 255}},    {u"6-", {255, 255, 255}},  {u"6+", {255, 255, 255}},
        {u"15", {255, 255, 255}},  {u"0", {255, 255, 255}},   {u" 1", {255, 255, 255}},
        {u"?", {255, 255, 255}},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(Zeige(f.note));
        EXPECT_EQ(Notenfarbe(f.note, kNoten), f.farbe);
    }
}

TEST(GradeScaleColour, EveryGradeOfThePointsScale) {
    const FarbFall faelle[] = {
        {u"15", {0, 255, 128}},  {u"14", {0, 255, 128}},  {u"13", {0, 255, 128}},
        {u"12", {0, 255, 0}},    {u"11", {0, 255, 0}},    {u"10", {0, 255, 0}},
        {u"9", {128, 255, 0}},   {u"8", {128, 255, 0}},   {u"7", {128, 255, 0}},
        {u"6", {255, 255, 0}},   {u"5", {255, 255, 0}},
        {u"4", {255, 128, 0}},
        {u"3", {255, 0, 0}},     {u"2", {255, 0, 0}},     {u"1", {255, 0, 0}},
        {u"0", {255, 0, 128}},   {u"n.f.", {255, 0, 128}},
        {u"", {255, 255, 255}},  {u"16", {255, 255, 255}}, {u"1+", {255, 255, 255}},
        {u"4-", {255, 255, 255}}, {u"05", {255, 255, 255}}, {u"3-4", {255, 255, 255}},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(Zeige(f.note));
        EXPECT_EQ(Notenfarbe(f.note, kPunkte), f.farbe);
    }
}

TEST(GradeScaleColour, IntermediateGradeIsWhiteDespiteItsValue) {
    EXPECT_EQ(Notenwert(u"3-4", kNoten), 3.5f);
    EXPECT_EQ(Notenfarbe(u"3-4", kNoten), (Farbe{255, 255, 255}));
}

// ---------------------------------------------------------------- Durchschnittsfarbe

TEST(GradeScaleAverageColour, GradeScaleRulesAndTheirBounds) {
    const DurchschnittFall faelle[] = {
        // not clamped above 6
        {7.0f, {255, 0, 256}},
        {6.0f, {255, 0, 128}},
        {5.5f, {255, 0, 64}},
        {Ueber(5.0f), {255, 0, 0}},
        {5.0f, {255, 0, 0}},
        {Unter(5.0f), {255, 1, 0}},
        {4.5f, {255, 86, 0}},          // 128 - T(42.67)
        {Ueber(4.25f), {255, 128, 0}},
        {4.25f, {255, 128, 0}},
        {Unter(4.25f), {255, 129, 0}},
        {4.125f, {255, 192, 0}},       // 255 - T(63.5)
        {Ueber(4.0f), {255, 255, 0}},
        {4.0f, {255, 255, 0}},
        {Unter(4.0f), {254, 255, 0}},
        {3.5f, {191, 255, 0}},
        {Ueber(3.0f), {128, 255, 0}},
        {3.0f, {128, 255, 0}},
        {Unter(3.0f), {127, 255, 0}},
        {2.5f, {64, 255, 0}},
        {Ueber(2.0f), {0, 255, 0}},
        {2.0f, {0, 255, 0}},
        {Unter(2.0f), {0, 255, 1}},
        {1.5f, {0, 255, 64}},
        {1.0f, {0, 255, 128}},
        // below 1 the blue grows past 128: T truncates toward zero
        {0.9f, {0, 255, 140}},         // 128 - T(-12.8)
        {Ueber(0.75f), {0, 255, 159}},  // T(-31.99999) is -31, not -32
        {0.75f, {0, 255, 160}},
        {Unter(0.75f), {255, 255, 255}},
        {0.0f, {255, 255, 255}},
        {-1.0f, {255, 255, 255}},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(testing::Message() << "v = " << std::hexfloat << f.wert);
        EXPECT_EQ(Durchschnittsfarbe(f.wert, kNoten), f.farbe);
    }
}

// The bounds are the floats nearest to 15.000001, 10.999999, 7.999999,
// 4.999999, 3.999999, 1.999999 and -0.000001; probed at, one ulp below and
// one ulp above. Computing them in double would move every bound.
TEST(GradeScaleAverageColour, PointsScaleRulesAndTheirFloatBounds) {
    const DurchschnittFall faelle[] = {
        {Ueber(15.000001f), {255, 255, 255}},
        {15.000001f, {0, 255, 168}},
        {15.0f, {0, 255, 168}},
        {13.0f, {0, 255, 84}},
        {12.0f, {0, 255, 42}},
        {11.0f, {0, 255, 0}},
        {Ueber(10.999999f), {0, 255, 0}},
        {10.999999f, {2, 255, 0}},
        {Unter(10.999999f), {3, 255, 0}},
        {10.0f, {44, 255, 0}},
        {9.5f, {65, 255, 0}},
        {9.0f, {86, 255, 0}},
        {8.0f, {128, 255, 0}},
        {Ueber(7.999999f), {128, 255, 0}},
        {7.999999f, {128, 255, 0}},
        {Unter(7.999999f), {127, 255, 0}},
        {6.0f, {212, 255, 0}},
        {5.0f, {255, 255, 0}},
        {Ueber(4.999999f), {255, 255, 0}},
        {4.999999f, {255, 255, 0}},
        {Unter(4.999999f), {255, 254, 0}},
        {4.5f, {255, 191, 0}},
        {4.0f, {255, 128, 0}},
        {Ueber(3.999999f), {255, 128, 0}},
        {3.999999f, {255, 128, 0}},
        {Unter(3.999999f), {255, 127, 0}},
        {3.0f, {255, 64, 0}},
        {2.0f, {255, 0, 0}},
        {Ueber(1.999999f), {255, 0, 0}},
        {1.999999f, {255, 0, 0}},
        {Unter(1.999999f), {255, 0, 1}},
        {1.0f, {255, 0, 64}},
        {0.0f, {255, 0, 128}},
        {Ueber(-0.000001f), {255, 0, 128}},
        {-0.000001f, {255, 0, 128}},
        {Unter(-0.000001f), {255, 255, 255}},
        {-1.0f, {255, 255, 255}},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(testing::Message() << "v = " << std::hexfloat << f.wert);
        EXPECT_EQ(Durchschnittsfarbe(f.wert, kPunkte), f.farbe);
    }
}

TEST(GradeScaleAverageColour, WholeGradesLookLikeTheirGradeCell) {
    // An average that lands on a whole grade shows the colour of that grade.
    const Text noten[] = {u"1", u"2", u"3", u"4", u"5"};
    for (const Text& n : noten) {
        SCOPED_TRACE(Zeige(n));
        EXPECT_EQ(Durchschnittsfarbe(Notenwert(n, kNoten), kNoten), Notenfarbe(n, kNoten));
    }
    const Text punkte[] = {u"11", u"8", u"5", u"4", u"2", u"0"};
    for (const Text& n : punkte) {
        SCOPED_TRACE(Zeige(n));
        EXPECT_EQ(Durchschnittsfarbe(Notenwert(n, kPunkte), kPunkte), Notenfarbe(n, kPunkte));
    }
}

}  // namespace
