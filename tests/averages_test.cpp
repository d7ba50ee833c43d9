// Average cells: the groups by position, the weights of main and minor
// subjects and half-years, the four-character display, and which cells change.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "gradebook/averages.hpp"
#include "gradebook/grade_scale.hpp"
#include "gradebook/grade_types.hpp"
#include "gradebook/schulklasse.hpp"
#include "headless_fixture.hpp"
#include "platform/conversions.hpp"
#include "platform/text.hpp"
#include "gradebook/program_state.hpp"

namespace {

using Farbe = std::array<int, 3>;

constexpr int kNoten = 0;
constexpr int kPunkte = 1;
constexpr float kLeer = std::numeric_limits<float>::quiet_NaN();

// What an average cell holds before a recomputation, so that every write and
// every clear is visible.
const Text kAlt = u"alt";
const Farbe kAltFarbe{1, 2, 3};

const Text kMuendl = u"M\u00FCndl.";
const Text kHUe = u"H\u00DC";

std::string Zeige(const Text& t) { return "\"" + Utf8FromText(t) + "\""; }

// A grade column (type, this student's grade). In the case tables a type of
// "HauptF." or "NebenF." stands for a whole average group ending in it.
using Spalte = std::pair<Text, Text>;
const Spalte kHaupt{u"HauptF.", u""};
const Spalte kNeben{u"NebenF.", u""};

std::vector<Spalte> GruppenAusschreiben(const std::vector<Spalte>& spalten) {
    std::vector<Spalte> aus;
    for (const auto& [typ, note] : spalten) {
        if (IstGesamtdurchschnitt(typ)) {
            aus.push_back({u"schriftl.", kAlt});
            aus.push_back({u"sonst.", kAlt});
            aus.push_back({typ, kAlt});
        } else {
            aus.push_back({typ, note});
        }
    }
    return aus;
}

// A gradebook built from tiles as the grid holds them: headings as combined
// tiles (type first), every cell a text tile whose first text is its content.
// zeilen[i][j] is the text of student i + 1 in grade column j + 1.
std::shared_ptr<TSchulklasse> Notenbuch(const std::vector<Text>& typen, const std::vector<std::vector<Text>>& zeilen) {
    auto k = std::make_shared<TSchulklasse>();
    k->Titel = {u"7a", u"Mathe"};
    k->Schueleranzahl = static_cast<int>(zeilen.size()) + 1;
    k->Notenanzahl = static_cast<int>(typen.size()) + 1;

    auto kopf = std::make_shared<TZensurzeile>();
    kopf->Kachel.push_back(TTextKachel::bauen({u"7a", u"Mathe"}, {Schrift32, Schrift32}, 8, 8, 0, 0, 0, 0, 228, 114,
                                              {56, 48, 64}, {255, 255, 255}, 1, 200));
    for (size_t j = 0; j < typen.size(); ++j) {
        const int x = 160 + 80 * static_cast<int>(j + 1);
        const auto farbe = Typfarbe(typen[j]);
        std::vector<Text> zeilenText{typen[j], Typsymbol(typen[j])};
        if (!IstDurchschnittstyp(typen[j])) zeilenText.push_back(u"06.12.26");
        kopf->Kachel.push_back(TKombiKachel::bauen(zeilenText, {Schrift16, Symbolschrift, Schrift16}, x, 8, 0, 0, 0, 1,
                                                   76, 114, {farbe.begin(), farbe.end()}, {255, 255, 255}, 1, 200));
    }
    k->Zensurzeile.push_back(kopf);

    for (size_t i = 0; i < zeilen.size(); ++i) {
        const int y = 46 + 84 * static_cast<int>(i + 1);
        auto z = std::make_shared<TZensurzeile>();
        const Text vorname = u"Sch\u00FCler " + TextFromInt(static_cast<long long>(i + 1));
        z->Kachel.push_back(TTextKachel::bauen({u"Muster", vorname}, {Schrift32, Schrift16},
                                               8, y, 0, 0, 0, 2, 228, 76, {84, 72, 96}, {255, 255, 255}, 1, 200));
        for (size_t j = 0; j < typen.size(); ++j) {
            const Text note = j < zeilen[i].size() ? zeilen[i][j] : Text();
            const auto farbe = Typfarbe(typen[j]);
            const Farbe schrift = IstDurchschnittstyp(typen[j]) ? kAltFarbe : Notenfarbe(note);
            z->Kachel.push_back(TTextKachel::bauen({note}, {Schrift32}, 160 + 80 * static_cast<int>(j + 1), y, 0, 0, 0,
                                                   3, 76, 76, {farbe[0] / 2, farbe[1] / 2, farbe[2] / 2},
                                                   {schrift.begin(), schrift.end()}, 1, 200));
        }
        z->Note.assign(typen.size() + 1, 0.0f);
        k->Zensurzeile.push_back(z);
    }
    k->Telefonnummer.assign(k->Schueleranzahl, kPlatzhalterTelefon);
    k->Notizen.assign(k->Schueleranzahl, kPlatzhalterNotizen);
    k->VergesseneHA.assign(k->Schueleranzahl, kPlatzhalterVergesseneHA);
    k->Telefonnummer[0] = k->Notizen[0] = k->VergesseneHA[0] = Text();
    return k;
}

// One student from a case's column list.
std::shared_ptr<TSchulklasse> Notenbuch(const std::vector<Spalte>& spalten) {
    std::vector<Text> typen, noten;
    for (const auto& [typ, note] : GruppenAusschreiben(spalten)) {
        typen.push_back(typ);
        noten.push_back(note);
    }
    return Notenbuch(typen, {noten});
}

Text Typ(const TSchulklasse& k, int j) { return k.Zelle(0, j).Text[0]; }

// The average cells of row i, left to right.
std::vector<TKachel*> Durchschnittszellen(const TSchulklasse& k, int i) {
    std::vector<TKachel*> zellen;
    for (int j = 1; j < k.Notenanzahl; ++j)
        if (IstDurchschnittstyp(Typ(k, j))) zellen.push_back(&k.Zelle(i, j));
    return zellen;
}

// Everything a drawing of the grid could show of one tile.
struct Abbild {
    std::vector<Text> text;
    Farbe schrift;
    Farbe hinten;
    size_t fonts;
    bool operator==(const Abbild&) const = default;
};

std::vector<Abbild> Abbilden(const TSchulklasse& k) {
    std::vector<Abbild> a;
    for (int i = 0; i < k.Schueleranzahl; ++i)
        for (int j = 0; j < k.Notenanzahl; ++j) {
            const auto& t = dynamic_cast<const TTextKachel&>(k.Zelle(i, j));
            a.push_back({t.Text, t.Text_RGB, t.RGB, t.Font.size()});
        }
    return a;
}

// An expected average cell: its text, and the unrounded value whose colour it
// shows (kLeer: cleared, colour kept).
struct Zelle {
    Text text;
    float wert;
};
const Zelle kGeleert{u"", kLeer};

struct Fall {
    const char* name;
    std::vector<Spalte> spalten;
    std::vector<Zelle> erwartet;  // the average cells, left to right
};

class Durchschnitte : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        Schrift32 = LoadFontFrom(u"incbin::media/fonts/segoeui.ttf", 32);
        Schrift16 = LoadFontFrom(u"incbin::media/fonts/segoeui.ttf", 16);
        Symbolschrift = LoadFontFrom(u"incbin::media/fonts/MySymbolFont.ttf", 48);
        ASSERT_TRUE(Schrift32 && Schrift16 && Symbolschrift);
        alteSkala = Notenskala;
    }
    void TearDown() override {
        Notenskala = alteSkala;
        HeadlessTest::TearDown();
    }

    void Pruefen(const Fall& f, int skala) {
        SCOPED_TRACE(f.name);
        Notenskala = skala;
        auto k = Notenbuch(f.spalten);
        EXPECT_EQ(k->Durchschnittsnotenberechnung(1), 0);
        const auto zellen = Durchschnittszellen(*k, 1);
        ASSERT_EQ(zellen.size(), f.erwartet.size());
        for (size_t c = 0; c < zellen.size(); ++c) {
            SCOPED_TRACE("average cell " + std::to_string(c));
            const Zelle& e = f.erwartet[c];
            ASSERT_EQ(zellen[c]->Text.size(), 1u);
            EXPECT_EQ(zellen[c]->Text[0], e.text) << Zeige(zellen[c]->Text[0]) << " vs " << Zeige(e.text);
            const Farbe farbe = std::isnan(e.wert) ? kAltFarbe : Durchschnittsfarbe(e.wert, skala);
            EXPECT_EQ(zellen[c]->Text_RGB, farbe);
        }
    }

    int alteSkala = 0;
};

// ------------------------------------------------------------ display

TEST(AverageDisplay, CutToFourCharactersNeverRounded) {
    const struct {
        float wert;
        Text anzeige;
    } faelle[] = {
        {2.0f, u"2.00"},   {2.3333f, u"2.33"},  {1.996f, u"1.99"}, {12.5f, u"12.5"},
        {10.0f, u"10.0"},  {0.5f, u"0.50"},     {2.66666f, u"2.66"}, {0.0f, u"0.00"},
        {15.0f, u"15.0"},  {0.75f, u"0.75"},    {6.0f, u"6.00"},   {9.999f, u"9.99"},
        {14.999f, u"14.9"},
        // 11.5 / 5 in 32 bits is 2.29999995, a true 2.3: float noise is no reason to show 2.29.
        {11.5f / 5.0f, u"2.30"}, {7.0f / 3.0f, u"2.33"}, {1.9999f, u"1.99"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.wert);
        EXPECT_EQ(Durchschnittsanzeige(f.wert), f.anzeige) << Zeige(Durchschnittsanzeige(f.wert));
    }
}

// ------------------------------------------------------------ groups

TEST(AverageGroups, FoundByTheirLastColumnFromTheRight) {
    const struct {
        const char* name;
        std::vector<Text> typen;
        int g1, g2;
    } faelle[] = {
        {"title only", {u"7a"}, 0, 0},
        {"grade columns only", {u"7a", u"Arbeit", kMuendl}, 0, 0},
        {"members without overall column", {u"7a", u"Arbeit", u"schriftl.", u"sonst."}, 0, 0},
        {"overall column at 2 is no group", {u"7a", u"Arbeit", u"HauptF."}, 0, 0},
        {"group at columns 1-3", {u"7a", u"schriftl.", u"sonst.", u"HauptF."}, 0, 3},
        {"grades after the group", {u"7a", u"Arbeit", u"schriftl.", u"sonst.", u"NebenF.", u"Arbeit"}, 0, 4},
        {"two groups",
         {u"7a", u"Arbeit", u"schriftl.", u"sonst.", u"HauptF.", kMuendl, u"schriftl.", u"sonst.", u"HauptF."},
         4, 8},
        {"adjacent groups", {u"7a", u"schriftl.", u"sonst.", u"HauptF.", u"schriftl.", u"sonst.", u"HauptF."}, 3, 6},
        {"earlier overall column at 1 is no group", {u"7a", u"HauptF.", u"Arbeit", u"schriftl.", u"sonst.", u"HauptF."},
         0, 5},
        {"exact text only", {u"7a", u"Arbeit", u"schriftl.", u"sonst.", u"hauptf.", u"HauptF. "}, 0, 0},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        const Durchschnittsgruppen g = GruppenFinden(f.typen);
        EXPECT_EQ(g.g1, f.g1);
        EXPECT_EQ(g.g2, f.g2);
    }
}

// ------------------------------------------------------------ one half-year

TEST_F(Durchschnitte, OneHalfYearOnTheGradeScale) {
    const Fall faelle[] = {
        {"main subject: written and other 1 : 1",
         {{u"Arbeit", u"2"}, {kMuendl, u"3"}, kHaupt},
         {{u"2.00", 2.0f}, {u"3.00", 3.0f}, {u"2.50", 2.5f}}},
        {"minor subject: written and other 1 : 2",
         {{u"Arbeit", u"2"}, {kMuendl, u"3"}, kNeben},
         {{u"2.00", 2.0f}, {u"3.00", 3.0f}, {u"2.66", 8.0f / 3.0f}}},
        {"only written grades: other empty, overall = written",
         {{u"Arbeit", u"2"}, {u"Arbeit", u"3-"}, {kMuendl, u""}, kHaupt},
         {{u"2.62", 2.625f}, kGeleert, {u"2.62", 2.625f}}},
        {"only other grades: written empty, overall = other",
         {{u"Arbeit", u""}, {kMuendl, u"1"}, {kHUe, u"2+"}, kNeben},
         {kGeleert, {u"1.37", 1.375f}, {u"1.37", 1.375f}}},
        {"row without any grade",
         {{u"Arbeit", u""}, {kMuendl, u""}, kHaupt},
         {kGeleert, kGeleert, kGeleert}},
        {"n.f. counts as 6; \"?\", \" 2\" and \"6-\" count not at all",
         {{u"Arbeit", u"n.f."}, {kMuendl, u"?"}, {u"Test", u" 2"}, {kHUe, u"6-"}, kHaupt},
         {{u"6.00", 6.0f}, kGeleert, {u"6.00", 6.0f}}},
        {"10h-Test is written; free names and the other types are other",
         {{u"10h-Test", u"1"}, {u"Arbeit", u"2"}, {u"", u"3"}, {u"Referat", u"4"}, {u"Projekt", u"5"}, kHaupt},
         {{u"1.50", 1.5f}, {u"4.00", 4.0f}, {u"2.75", 2.75f}}},
        {"Zeugnis never counts",
         {{u"Zeugnis", u"1"}, {u"Arbeit", u"3"}, {u"Zeugnis", u"1"}, {kMuendl, u"3"}, kHaupt},
         {{u"3.00", 3.0f}, {u"3.00", 3.0f}, {u"3.00", 3.0f}}},
        {"grade columns after the last group count for nothing yet",
         {{u"Arbeit", u"2"}, {kMuendl, u"3"}, kHaupt, {u"Arbeit", u"6"}, {kMuendl, u"6"}},
         {{u"2.00", 2.0f}, {u"3.00", 3.0f}, {u"2.50", 2.5f}}},
        {"intermediate grades and 1+ count by value",
         {{u"Arbeit", u"2-3"}, {kMuendl, u"1+"}, kHaupt},
         {{u"2.50", 2.5f}, {u"0.75", 0.75f}, {u"1.62", 1.625f}}},
        {"overall from the displayed 2.62 and 1.37, not from 2.625 and 1.375",
         {{u"Arbeit", u"2"}, {u"Arbeit", u"3-"}, {kMuendl, u"1"}, {kMuendl, u"2+"}, kHaupt},
         {{u"2.62", 2.625f}, {u"1.37", 1.375f}, {u"1.99", (2.62f + 1.37f) / 2.0f}}},
        {"32-bit mean 11.5 / 5 shows 2.30",
         {{u"Arbeit", u"2"}, {u"Arbeit", u"2"}, {u"Arbeit", u"2"}, {u"Arbeit", u"3+"}, {u"Arbeit", u"3+"}, kHaupt},
         {{u"2.30", 11.5f / 5.0f}, kGeleert, {u"2.30", 11.5f / 5.0f}}},
        {"2.66666 shows 2.66",
         {{kMuendl, u"2"}, {u"Test", u"3"}, {kHUe, u"3"}, kNeben},
         {kGeleert, {u"2.66", 8.0f / 3.0f}, {u"2.66", 8.0f / 3.0f}}},
        {"group at columns 1-3 has no grades",
         {kHaupt},
         {kGeleert, kGeleert, kGeleert}},
    };
    for (const Fall& f : faelle) Pruefen(f, kNoten);
}

TEST_F(Durchschnitte, OneHalfYearOnThePointsScale) {
    const Fall faelle[] = {
        {"main subject; overall from the displayed 11.3 and 12.6 (unrounded would be 12.0)",
         {{u"Arbeit", u"11"}, {u"Arbeit", u"11"}, {u"Arbeit", u"12"},
          {kMuendl, u"12"}, {kMuendl, u"13"}, {kMuendl, u"13"}, kHaupt},
         {{u"11.3", 34.0f / 3.0f}, {u"12.6", 38.0f / 3.0f}, {u"11.9", (11.3f + 12.6f) / 2.0f}}},
        {"minor subject",
         {{u"Arbeit", u"12"}, {kMuendl, u"9"}, kNeben},
         {{u"12.0", 12.0f}, {u"9.00", 9.0f}, {u"10.0", 10.0f}}},
        {"n.f. counts as 0; \"1+\" is no grade here",
         {{u"Arbeit", u"n.f."}, {u"Arbeit", u"9"}, {kMuendl, u"1+"}, {kMuendl, u"0"}, kHaupt},
         {{u"4.50", 4.5f}, {u"0.00", 0.0f}, {u"2.25", 2.25f}}},
        {"only other grades",
         {{u"Arbeit", u"2-3"}, {kMuendl, u"15"}, kHaupt},
         {kGeleert, {u"15.0", 15.0f}, {u"15.0", 15.0f}}},
        {"only written grades",
         {{u"Arbeit", u"12"}, {u"10h-Test", u"13"}, {kMuendl, u"?"}, kNeben},
         {{u"12.5", 12.5f}, kGeleert, {u"12.5", 12.5f}}},
        {"row without any grade",
         {{u"Arbeit", u""}, {u"Zeugnis", u"12"}, kHaupt},
         {kGeleert, kGeleert, kGeleert}},
    };
    for (const Fall& f : faelle) Pruefen(f, kPunkte);
}

// ------------------------------------------------------------ two half-years

TEST_F(Durchschnitte, TwoHalfYearsOnTheGradeScale) {
    const Fall faelle[] = {
        {"written 3 then 1: the second half-year counts twice",
         {{u"Arbeit", u"3"}, kHaupt, {u"Arbeit", u"1"}, kHaupt},
         {{u"3.00", 3.0f}, kGeleert, {u"3.00", 3.0f}, {u"1.66", 5.0f / 3.0f}, kGeleert, {u"1.66", 5.0f / 3.0f}}},
        {"second half-year without written grades: its written average stays empty",
         {{u"Arbeit", u"2"}, {kMuendl, u"4"}, kHaupt, {kMuendl, u"3"}, kHaupt},
         {{u"2.00", 2.0f}, {u"4.00", 4.0f}, {u"3.00", 3.0f},
          kGeleert, {u"3.33", 10.0f / 3.0f}, {u"3.33", 10.0f / 3.0f}}},
        {"second half-year without other grades",
         {{u"Arbeit", u"3"}, {kMuendl, u"1"}, kHaupt, {u"Arbeit", u"2"}, kHaupt},
         {{u"3.00", 3.0f}, {u"1.00", 1.0f}, {u"2.00", 2.0f},
          {u"2.33", 7.0f / 3.0f}, kGeleert, {u"2.33", 7.0f / 3.0f}}},
        {"first half-year without grades: the second stands alone",
         {{u"Arbeit", u""}, kHaupt, {u"Arbeit", u"2"}, {kMuendl, u"3"}, kHaupt},
         {kGeleert, kGeleert, kGeleert, {u"2.00", 2.0f}, {u"3.00", 3.0f}, {u"2.50", 2.5f}}},
        {"second half-year without grades: its group is empty",
         {{u"Arbeit", u"2"}, {kMuendl, u"3"}, kHaupt, {u"Arbeit", u""}, kHaupt},
         {{u"2.00", 2.0f}, {u"3.00", 3.0f}, {u"2.50", 2.5f}, kGeleert, kGeleert, kGeleert}},
        {"adjacent groups",
         {{u"Arbeit", u"2"}, {kMuendl, u"3"}, kHaupt, kHaupt},
         {{u"2.00", 2.0f}, {u"3.00", 3.0f}, {u"2.50", 2.5f}, kGeleert, kGeleert, kGeleert}},
        {"minor subject: first overall unrounded, last from the displayed 1.33 and 2.33",
         {{u"Arbeit", u"2"}, {kMuendl, u"3"}, kNeben, {u"Arbeit", u"1"}, {kMuendl, u"2"}, kNeben},
         {{u"2.00", 2.0f}, {u"3.00", 3.0f}, {u"2.66", 8.0f / 3.0f},
          {u"1.33", 4.0f / 3.0f}, {u"2.33", 7.0f / 3.0f}, {u"1.99", (1.33f + 2.0f * 2.33f) / 3.0f}}},
        {"first group's overall from 2.625 and 1.375, not from what they show",
         {{u"Arbeit", u"2"}, {u"Arbeit", u"3-"}, {kMuendl, u"1"}, {kMuendl, u"2+"}, kHaupt, {u"Arbeit", u""}, kHaupt},
         {{u"2.62", 2.625f}, {u"1.37", 1.375f}, {u"2.00", 2.0f}, kGeleert, kGeleert, kGeleert}},
        {"a Zeugnis between the half-years counts in neither",
         {{u"Arbeit", u"2"}, kHaupt, {u"Zeugnis", u"6"}, {u"Arbeit", u"4"}, kHaupt, {u"Zeugnis", u"1"}},
         {{u"2.00", 2.0f}, kGeleert, {u"2.00", 2.0f}, {u"3.33", 10.0f / 3.0f}, kGeleert, {u"3.33", 10.0f / 3.0f}}},
        {"n.f. and placeholders in both half-years",
         {{u"Arbeit", u"n.f."}, {kMuendl, u"?"}, kHaupt, {u"Arbeit", u"n.f."}, {kMuendl, u"1"}, kHaupt},
         {{u"6.00", 6.0f}, kGeleert, {u"6.00", 6.0f}, {u"6.00", 6.0f}, {u"1.00", 1.0f}, {u"3.50", 3.5f}}},
    };
    for (const Fall& f : faelle) Pruefen(f, kNoten);
}

TEST_F(Durchschnitte, TwoHalfYearsOnThePointsScale) {
    const Fall faelle[] = {
        {"minor subject, n.f. counts as 0",
         {{u"Arbeit", u"9"}, {kMuendl, u"12"}, kNeben,
          {u"Arbeit", u"12"}, {kMuendl, u"n.f."}, {u"Referat", u"15"}, kNeben},
         {{u"9.00", 9.0f}, {u"12.0", 12.0f}, {u"11.0", 11.0f},
          {u"11.0", 11.0f}, {u"9.00", 9.0f}, {u"9.66", 29.0f / 3.0f}}},
        {"second half-year with other grades only",
         {{u"Arbeit", u"3"}, {kMuendl, u"6"}, kHaupt, {kMuendl, u"12"}, kHaupt},
         {{u"3.00", 3.0f}, {u"6.00", 6.0f}, {u"4.50", 4.5f}, kGeleert, {u"10.0", 10.0f}, {u"10.0", 10.0f}}},
        {"second half-year without grades",
         {{u"Arbeit", u"13"}, kHaupt, {u"Arbeit", u"1+"}, kHaupt},
         {{u"13.0", 13.0f}, kGeleert, {u"13.0", 13.0f}, kGeleert, kGeleert, kGeleert}},
    };
    for (const Fall& f : faelle) Pruefen(f, kPunkte);
}

// ------------------------------------------------------------ colours

// The colour comes from the value itself; the cut display would differ by one step.
TEST_F(Durchschnitte, TextColourOfTheUnroundedValue) {
    Notenskala = kNoten;
    auto k = Notenbuch({{u"Arbeit", u"2"}, {u"Arbeit", u"3-"}, {kMuendl, u"1"}, {kMuendl, u"2+"}, kHaupt});
    k->Durchschnittsnotenberechnung(1);
    const auto z = Durchschnittszellen(*k, 1);
    EXPECT_EQ(z[0]->Text_RGB, (Farbe{80, 255, 0}));   // 2.625, not 2.62 (79)
    EXPECT_EQ(z[1]->Text_RGB, (Farbe{0, 255, 80}));   // 1.375, not 1.37 (81)
    EXPECT_EQ(z[2]->Text_RGB, (Farbe{0, 255, 1}));    // 1.99499989, not 1.99 (2) nor 2.0 (0, 255, 0)

    Notenskala = kPunkte;
    k = Notenbuch({{u"Arbeit", u"0"}, {kMuendl, u"n.f."}, kNeben});
    k->Durchschnittsnotenberechnung(1);
    for (TKachel* c : Durchschnittszellen(*k, 1)) EXPECT_EQ(c->Text_RGB, (Farbe{255, 0, 128}));
}

// ------------------------------------------------------------ which cells change

TEST_F(Durchschnitte, WritingKeepsFontsAndClearingKeepsColours) {
    Notenskala = kNoten;
    auto k = Notenbuch({{u"Arbeit", u"2"}, {kMuendl, u""}, kHaupt});
    k->Durchschnittsnotenberechnung(-1);
    for (TKachel* c : Durchschnittszellen(*k, 1)) {
        const auto& t = dynamic_cast<TTextKachel&>(*c);
        ASSERT_EQ(t.Font.size(), 1u);
        EXPECT_EQ(t.Font[0], Schrift32);
        EXPECT_EQ(t.Zeilen, 1);
    }
    const auto z = Durchschnittszellen(*k, 1);
    EXPECT_EQ(z[1]->Text, std::vector<Text>{u""});
    EXPECT_EQ(z[1]->Text_RGB, kAltFarbe);
}

TEST_F(Durchschnitte, OnlyAverageCellsChange) {
    Notenskala = kNoten;
    auto k = Notenbuch({u"Arbeit", kMuendl, u"Zeugnis", u"schriftl.", u"sonst.", u"HauptF.", u"Arbeit"},
                       {{u"2", u"3", u"1", kAlt, kAlt, kAlt, u"5"},
                        {u"n.f.", u"?", u"", kAlt, kAlt, kAlt, u""}});
    const auto vorher = Abbilden(*k);
    k->Durchschnittsnotenberechnung(-1);
    const auto nachher = Abbilden(*k);
    ASSERT_EQ(vorher.size(), nachher.size());
    for (int i = 0; i < k->Schueleranzahl; ++i)
        for (int j = 0; j < k->Notenanzahl; ++j) {
            const size_t n = static_cast<size_t>(i * k->Notenanzahl + j);
            SCOPED_TRACE("tile " + std::to_string(i) + "," + std::to_string(j));
            const bool durchschnitt = i >= 1 && IstDurchschnittstyp(Typ(*k, j));
            if (durchschnitt)
                EXPECT_EQ(vorher[n].hinten, nachher[n].hinten);
            else
                EXPECT_EQ(vorher[n], nachher[n]);
        }
}

TEST_F(Durchschnitte, ClassWithoutGroupIsLeftUnchanged) {
    Notenskala = kNoten;
    const struct {
        const char* name;
        std::vector<Text> typen;
        std::vector<Text> noten;
    } faelle[] = {
        {"grade columns only", {u"Arbeit", kMuendl}, {u"2", u"3"}},
        {"overall column at index 2", {u"Arbeit", u"HauptF."}, {u"2", kAlt}},
        {"members without their overall column", {u"Arbeit", u"schriftl.", u"sonst."}, {u"2", kAlt, kAlt}},
        {"title only", {}, {}},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.name);
        auto k = Notenbuch(f.typen, {f.noten, f.noten});
        const auto vorher = Abbilden(*k);
        EXPECT_EQ(k->Durchschnittsnotenberechnung(-1), 0);
        EXPECT_EQ(k->Durchschnittsnotenberechnung(1), 0);
        EXPECT_EQ(Abbilden(*k), vorher);
    }
}

TEST_F(Durchschnitte, GroupAtColumnsOneToThreeClearsEveryRow) {
    Notenskala = kNoten;
    auto k = Notenbuch({u"schriftl.", u"sonst.", u"NebenF.", u"Arbeit"},
                       {{kAlt, kAlt, kAlt, u"1"}, {kAlt, kAlt, kAlt, u"2"}, {kAlt, kAlt, kAlt, u"3"}});
    k->Durchschnittsnotenberechnung(-1);
    for (int i = 1; i <= 3; ++i)
        for (TKachel* c : Durchschnittszellen(*k, i)) EXPECT_EQ(c->Text[0], u"") << "row " << i;
}

// Rows 1..3 all have grades; a row counts as recomputed when its overall cell
// no longer holds the stale text.
TEST_F(Durchschnitte, RowSelection) {
    Notenskala = kNoten;
    const struct {
        int zeile;
        std::vector<bool> neu;  // rows 1..3
    } faelle[] = {
        {1, {true, false, false}}, {2, {false, true, false}}, {3, {false, false, true}},
        {0, {true, true, true}},   {-1, {true, true, true}},  {-7, {true, true, true}},
        {4, {false, false, false}},  // one past the last student
        {99, {false, false, false}},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.zeile);
        auto k = Notenbuch({u"Arbeit", u"schriftl.", u"sonst.", u"HauptF."},
                           {{u"1", kAlt, kAlt, kAlt}, {u"2", kAlt, kAlt, kAlt}, {u"3", kAlt, kAlt, kAlt}});
        EXPECT_EQ(k->Durchschnittsnotenberechnung(f.zeile), 0);
        for (int i = 1; i <= 3; ++i) {
            const Text erwartet = f.neu[i - 1] ? u"" + TextFromInt(i) + u".00" : kAlt;
            EXPECT_EQ(k->Zelle(i, 4).Text[0], erwartet) << "row " << i;
        }
    }
}

// Every call recomputes from the current texts: deleting grades empties the
// cells they fed, in either group, and a repeated call changes nothing.
TEST_F(Durchschnitte, RecomputationFollowsTheCurrentGrades) {
    Notenskala = kNoten;
    auto k = Notenbuch({u"Arbeit", kMuendl, u"schriftl.", u"sonst.", u"HauptF.",
                        u"Arbeit", kMuendl, u"schriftl.", u"sonst.", u"HauptF."},
                       {{u"2", u"3", kAlt, kAlt, kAlt, u"1", u"4", kAlt, kAlt, kAlt}});
    auto texte = [&] {
        std::vector<Text> t;
        for (TKachel* c : Durchschnittszellen(*k, 1)) t.push_back(c->Text[0]);
        return t;
    };
    auto setzen = [&](int j, const Text& note) { k->Zelle(1, j).change({note}, {}, {}, 1); };

    k->Durchschnittsnotenberechnung(1);
    // second half-year: written (1+1+2)/3, other (4+4+3)/3, overall (1.33+3.66)/2 shows 2.49, not 2.50
    const std::vector<Text> voll{u"2.00", u"3.00", u"2.50", u"1.33", u"3.66", u"2.49"};
    EXPECT_EQ(texte(), voll);
    k->Durchschnittsnotenberechnung(1);
    EXPECT_EQ(texte(), voll);

    setzen(7, u"");  // last other grade of the second half-year
    k->Durchschnittsnotenberechnung(1);
    EXPECT_EQ(texte(), (std::vector<Text>{u"2.00", u"3.00", u"2.50", u"1.33", u"", u"1.33"}));

    setzen(1, u"");  // last written grade of the first half-year
    k->Durchschnittsnotenberechnung(1);
    EXPECT_EQ(texte(), (std::vector<Text>{u"", u"3.00", u"3.00", u"1.00", u"", u"1.00"}));

    setzen(2, u"");
    setzen(7, u"?");
    k->Durchschnittsnotenberechnung(-1);
    EXPECT_EQ(texte(), (std::vector<Text>{u"", u"", u"", u"1.00", u"", u"1.00"}));

    setzen(7, u"2");
    setzen(6, u"");
    k->Durchschnittsnotenberechnung(0);
    EXPECT_EQ(texte(), (std::vector<Text>{u"", u"", u"", u"", u"2.00", u"2.00"}));

    setzen(7, u"");
    k->Durchschnittsnotenberechnung(1);
    EXPECT_EQ(texte(), (std::vector<Text>(6, u"")));
}

// The scale is the one of the open class: the same texts give other averages.
TEST_F(Durchschnitte, ActiveScaleDecides) {
    const std::vector<Spalte> spalten{{u"Arbeit", u"5"}, {u"Arbeit", u"15"}, {kMuendl, u"1+"}, kHaupt};
    Notenskala = kNoten;
    auto k = Notenbuch(spalten);
    k->Durchschnittsnotenberechnung(1);
    auto z = Durchschnittszellen(*k, 1);
    EXPECT_EQ(z[0]->Text[0], u"5.00");
    EXPECT_EQ(z[1]->Text[0], u"0.75");

    Notenskala = kPunkte;
    k->Durchschnittsnotenberechnung(1);
    EXPECT_EQ(z[0]->Text[0], u"10.0");
    EXPECT_EQ(z[1]->Text[0], u"");
    EXPECT_EQ(z[2]->Text[0], u"10.0");
    EXPECT_EQ(z[2]->Text_RGB, Durchschnittsfarbe(10.0f, kPunkte));
}

// ------------------------------------------------------------ pure row computation

TEST(AverageRow, CellsInWritingOrder) {
    const std::vector<Text> typen{u"7a", u"Arbeit", u"schriftl.", u"sonst.", u"NebenF.", kMuendl,
                                  u"schriftl.", u"sonst.", u"NebenF."};
    const std::vector<Text> noten{u"", u"4", u"", u"", u"", u"2", u"", u"", u""};
    const std::vector<Durchschnittszelle> erwartet{
        {2, 4.0f}, {3, std::nullopt}, {4, 4.0f}, {6, std::nullopt}, {7, 2.0f}, {8, 2.0f}};
    EXPECT_EQ(Zeilendurchschnitte(typen, noten, kNoten), erwartet);
    EXPECT_TRUE(Zeilendurchschnitte({u"7a", u"Arbeit"}, {u"", u"1"}, kNoten).empty());
}

TEST(AverageRow, HalfYearSumsAndCounts) {
    const std::vector<Text> typen{u"7a", u"Arbeit", kMuendl, u"10h-Test", u"Zeugnis", u"HA."};
    const std::vector<Text> noten{u"", u"1", u"2", u"4", u"6", u"n.f."};
    const struct {
        int von, bis;
        std::optional<float> w, o;
    } faelle[] = {
        {1, 5, 2.5f, 4.0f}, {1, 2, 1.0f, 2.0f}, {3, 4, 4.0f, std::nullopt},
        {4, 4, std::nullopt, std::nullopt}, {2, 1, std::nullopt, std::nullopt},
        {0, 9, 2.5f, 4.0f},  // a range beyond the row is clipped
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(std::to_string(f.von) + ".." + std::to_string(f.bis));
        const Teilschnitte t = HalbjahrMitteln(typen, noten, f.von, f.bis, kNoten);
        EXPECT_EQ(t.schriftlich, f.w);
        EXPECT_EQ(t.sonstig, f.o);
    }
}

}  // namespace
