// Grade types (icons, heading colours, categories), column dates and backup
// time stamps, the name order of students, class levels and path endings.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <string>
#include <vector>

#include "gradebook/class_level.hpp"
#include "gradebook/dates.hpp"
#include "gradebook/grade_types.hpp"
#include "gradebook/names.hpp"
#include "platform/conversions.hpp"
#include "platform/datetime.hpp"
#include "platform/text.hpp"

namespace {

using Farbe = std::array<int, 3>;

std::string Zeige(const Text& t) { return "\"" + Utf8FromText(t) + "\""; }

const Text kBilder = u"incbin::media/images/";

// ---------------------------------------------------------------- grade types

struct TypFall {
    Text typ;
    Text symbol;  // file name below media/images
    Farbe farbe;
    Typkategorie kategorie;
};

// Every type of the column-type menu (which holds all of the change-type
// menu) plus the generated average types and texts that merely look alike.
const TypFall kTypen[] = {
    {u"Arbeit", u"Arbeit.png", {96, 48, 48}, Typkategorie::Schriftlich},
    {u"10h-Test", u"10h-Test.png", {96, 48, 48}, Typkategorie::Schriftlich},
    {u"H\u00DC", u"HUe.png", {96, 84, 54}, Typkategorie::Sonstig},
    {u"Test", u"Test.png", {96, 84, 54}, Typkategorie::Sonstig},
    {u"M\u00FCndl.", u"Muendl.png", {48, 102, 48}, Typkategorie::Sonstig},
    {u"Abfrage", u"Abfrage.png", {54, 96, 84}, Typkategorie::Sonstig},
    {u"Gruppen.", u"Gruppen.png", {54, 96, 84}, Typkategorie::Sonstig},
    {u"HA.", u"HA.png", {84, 96, 54}, Typkategorie::Sonstig},
    {u"Referat", u"Referat.png", {36, 64, 36}, Typkategorie::Sonstig},
    {u"Pr\u00E4sent.", u"Praesentation.png", {36, 64, 36}, Typkategorie::Sonstig},
    {u"Vortrag", u"Vortrag.png", {36, 64, 36}, Typkategorie::Sonstig},
    {u"Heft", u"Heft.png", {84, 96, 54}, Typkategorie::Sonstig},
    {u"", u"Fragezeichen.png", {84, 84, 84}, Typkategorie::Sonstig},
    {u"NebenF.", u"Durchschnitt.png", {48, 48, 48}, Typkategorie::Durchschnitt},
    {u"HauptF.", u"Durchschnitt.png", {48, 48, 48}, Typkategorie::Durchschnitt},
    {u"Zeugnis", u"Zeugnis.png", {32, 32, 32}, Typkategorie::Zeugnis},
    // average columns have their own colours but no icon of their own here
    {u"schriftl.", u"Fragezeichen.png", {64, 32, 32}, Typkategorie::Durchschnitt},
    {u"sonst.", u"Fragezeichen.png", {32, 64, 64}, Typkategorie::Durchschnitt},
    // free names, including near misses of the fixed words
    {u"Klausur", u"Fragezeichen.png", {84, 84, 84}, Typkategorie::Sonstig},
    {u"arbeit", u"Fragezeichen.png", {84, 84, 84}, Typkategorie::Sonstig},
    {u"Arbeit ", u"Fragezeichen.png", {84, 84, 84}, Typkategorie::Sonstig},
    {u" Arbeit", u"Fragezeichen.png", {84, 84, 84}, Typkategorie::Sonstig},
    {u"HUe", u"Fragezeichen.png", {84, 84, 84}, Typkategorie::Sonstig},
    {u"Muendl.", u"Fragezeichen.png", {84, 84, 84}, Typkategorie::Sonstig},
    {u"M\u00FCndl", u"Fragezeichen.png", {84, 84, 84}, Typkategorie::Sonstig},
    {u"Praesent.", u"Fragezeichen.png", {84, 84, 84}, Typkategorie::Sonstig},
    {u"zeugnis", u"Fragezeichen.png", {84, 84, 84}, Typkategorie::Sonstig},
    {u"hauptf.", u"Fragezeichen.png", {84, 84, 84}, Typkategorie::Sonstig},
    {u"Schriftl.", u"Fragezeichen.png", {84, 84, 84}, Typkategorie::Sonstig},
    {u"?", u"Fragezeichen.png", {84, 84, 84}, Typkategorie::Sonstig},
};

TEST(GradeVocabularyTypes, IconOfEveryType) {
    for (const TypFall& f : kTypen) {
        SCOPED_TRACE(Zeige(f.typ));
        EXPECT_EQ(Typsymbol(f.typ), kBilder + f.symbol);
    }
}

TEST(GradeVocabularyTypes, HeadingColourOfEveryType) {
    for (const TypFall& f : kTypen) {
        SCOPED_TRACE(Zeige(f.typ));
        EXPECT_EQ(Typfarbe(f.typ), f.farbe);
    }
}

TEST(GradeVocabularyTypes, AverageCategoryOfEveryType) {
    for (const TypFall& f : kTypen) {
        SCOPED_TRACE(Zeige(f.typ));
        EXPECT_EQ(KategorieVonTyp(f.typ), f.kategorie);
    }
}

TEST(GradeVocabularyTypes, ReservedAverageWords) {
    struct Fall {
        Text typ;
        bool durchschnitt;
        bool gesamt;
    };
    const Fall faelle[] = {
        {u"schriftl.", true, false}, {u"sonst.", true, false},  {u"HauptF.", true, true},
        {u"NebenF.", true, true},    {u"Zeugnis", false, false}, {u"Arbeit", false, false},
        {u"", false, false},         {u"HauptF", false, false},  {u"nebenF.", false, false},
        {u"sonst", false, false},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(Zeige(f.typ));
        EXPECT_EQ(IstDurchschnittstyp(f.typ), f.durchschnitt);
        EXPECT_EQ(IstGesamtdurchschnitt(f.typ), f.gesamt);
    }
}

// ---------------------------------------------------------------- dates

struct DatumFall {
    Text datum;
    int tage;
    Text ergebnis;
};

TEST(GradeVocabularyDates, TodayInTheColumnForm) {
    const DatumFall faelle[] = {
        {u"06 Dec 2026", 0, u"06.12.26"},
        {u"06.12.26", 0, u"06.12.26"},
        {u"06.12.2026", 0, u"06.12.26"},
        {u"01 Jan 2000", 0, u"01.01.00"},
        {u"09 Sep 1909", 0, u"09.09.09"},
        // every English month name, exact case only; others count as January
        {u"15 Jan 2025", 0, u"15.01.25"}, {u"15 Feb 2025", 0, u"15.02.25"},
        {u"15 Mar 2025", 0, u"15.03.25"}, {u"15 Apr 2025", 0, u"15.04.25"},
        {u"15 May 2025", 0, u"15.05.25"}, {u"15 Jun 2025", 0, u"15.06.25"},
        {u"15 Jul 2025", 0, u"15.07.25"}, {u"15 Aug 2025", 0, u"15.08.25"},
        {u"15 Sep 2025", 0, u"15.09.25"}, {u"15 Oct 2025", 0, u"15.10.25"},
        {u"15 Nov 2025", 0, u"15.11.25"}, {u"15 Dec 2025", 0, u"15.12.25"},
        {u"15 Mai 2025", 0, u"15.01.25"}, {u"15 dec 2025", 0, u"15.01.25"},
        {u"15 DEC 2025", 0, u"15.01.25"},
    };
    for (const DatumFall& f : faelle) {
        SCOPED_TRACE(Zeige(f.datum) + " " + std::to_string(f.tage));
        EXPECT_EQ(DatumVerschieben(f.datum, f.tage), f.ergebnis);
    }
}

TEST(GradeVocabularyDates, StepsAcrossMonthYearAndLeapDay) {
    const DatumFall faelle[] = {
        // month ends forward and backward
        {u"31 Jan 2025", 1, u"01.02.25"},  {u"01 Feb 2025", -1, u"31.01.25"},
        {u"30 Apr 2025", 1, u"01.05.25"},  {u"01 May 2025", -1, u"30.04.25"},
        {u"30 Jun 2025", 1, u"01.07.25"},  {u"31 Jul 2025", 1, u"01.08.25"},
        {u"31 Aug 2025", 1, u"01.09.25"},  {u"30 Sep 2025", 1, u"01.10.25"},
        {u"31 Oct 2025", 1, u"01.11.25"},  {u"30 Nov 2025", 1, u"01.12.25"},
        {u"01 Dec 2025", -1, u"30.11.25"}, {u"15 May 2025", 20, u"04.06.25"},
        // year end
        {u"31 Dec 2026", 1, u"01.01.27"},  {u"01 Jan 2027", -1, u"31.12.26"},
        {u"31.12.15", 1, u"01.01.16"},     {u"30 Dec 2026", 3, u"02.01.27"},
        // February, common and leap years
        {u"28 Feb 2023", 1, u"01.03.23"},  {u"01 Mar 2023", -1, u"28.02.23"},
        {u"28 Feb 2024", 1, u"29.02.24"},  {u"29 Feb 2024", 1, u"01.03.24"},
        {u"29 Feb 2024", 0, u"29.02.24"},  {u"29 Feb 2024", -1, u"28.02.24"},
        {u"01 Mar 2024", -1, u"29.02.24"}, {u"01.03.16", -1, u"29.02.16"},
        {u"28.02.2024", 1, u"29.02.24"},
        // only the two-digit year counts: 00 is a leap year, 1900 included
        {u"28 Feb 2000", 1, u"29.02.00"},  {u"01 Mar 2000", -1, u"29.02.00"},
        {u"28 Feb 1900", 1, u"29.02.00"},  {u"01 Mar 1900", -1, u"29.02.00"},
        {u"28 Feb 2100", 1, u"29.02.00"},
        // February is re-evaluated after a change of year in either direction
        {u"31 Dec 2023", 60, u"29.02.24"}, {u"01 Mar 2025", -366, u"29.02.24"},
        {u"31 Dec 2024", 60, u"01.03.25"}, {u"01 Mar 2024", -367, u"28.02.23"},
        // whole years
        {u"01 Jan 2023", 365, u"01.01.24"}, {u"01 Jan 2024", 366, u"01.01.25"},
        {u"01.01.24", -1461, u"01.01.20"},
        // the two-digit year wraps around the century
        {u"31.12.99", 1, u"01.01.00"},     {u"01.01.00", -1, u"31.12.99"},
    };
    for (const DatumFall& f : faelle) {
        SCOPED_TRACE(Zeige(f.datum) + " " + std::to_string(f.tage));
        EXPECT_EQ(DatumVerschieben(f.datum, f.tage), f.ergebnis);
    }
}

Text Spaltendatum(std::chrono::year_month_day d) {
    auto zwei = [](unsigned v) { Text t = TextFromInt(v); return t.size() == 1 ? u"0" + t : t; };
    return zwei(static_cast<unsigned>(d.day())) + u"." + zwei(static_cast<unsigned>(d.month())) + u"." +
           zwei(static_cast<unsigned>(static_cast<int>(d.year()) % 100));
}

// Within 2001..2099 the two-digit leap rule is the Gregorian one, so the
// calendar of the standard library can check every day of a leap cycle.
TEST(GradeVocabularyDates, AgreesWithTheCalendarThroughALeapCycle) {
    using namespace std::chrono;
    const int schritte[] = {-400, -59, -1, 0, 1, 30, 366};
    const sys_days erster = sys_days{year{2024} / January / 1};
    for (sys_days tag = erster; tag < erster + days{4 * 365 + 1}; tag += days{1}) {
        year_month_day ymd{tag};
        Text platform = FormatDateText(static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                                       static_cast<int>(static_cast<unsigned>(ymd.day())));
        Text deutsch = Spaltendatum(ymd);
        for (int n : schritte) {
            Text erwartet = Spaltendatum(year_month_day{tag + days{n}});
            ASSERT_EQ(DatumVerschieben(platform, n), erwartet) << Utf8FromText(platform) << " " << n;
            ASSERT_EQ(DatumVerschieben(deutsch, n), erwartet) << Utf8FromText(deutsch) << " " << n;
        }
    }
}

TEST(GradeVocabularyDates, TimeStampOfAGivenMoment) {
    struct Fall {
        Text datum, zeit, stempel;
    };
    const Fall faelle[] = {
        {u"06 Dec 2026", u"18:42:59", u"26-12-06-18-42-59"},
        {u"23 Nov 2015", u"14:05:09", u"15-11-23-14-05-09"},
        {u"01 Jan 2027", u"00:00:00", u"27-01-01-00-00-00"},
        {u"29 Feb 2024", u"23:59:59", u"24-02-29-23-59-59"},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(Zeige(f.datum) + " " + Zeige(f.zeit));
        EXPECT_EQ(ZeitstempelAus(f.datum, f.zeit), f.stempel);
    }
}

TEST(GradeVocabularyDates, TimeStampsSortChronologically) {
    // Given in chronological order; their stamps must sort the same way.
    const std::pair<Text, Text> momente[] = {
        {u"31 Dec 2025", u"23:59:59"}, {u"01 Jan 2026", u"00:00:00"}, {u"01 Jan 2026", u"00:00:01"},
        {u"01 Jan 2026", u"09:59:59"}, {u"01 Jan 2026", u"10:00:00"}, {u"09 Feb 2026", u"08:00:00"},
        {u"10 Feb 2026", u"07:00:00"}, {u"01 Oct 2026", u"12:00:00"}, {u"06 Dec 2026", u"18:42:59"},
    };
    std::vector<Text> stempel;
    for (const auto& [datum, zeit] : momente) stempel.push_back(ZeitstempelAus(datum, zeit));
    EXPECT_TRUE(std::is_sorted(stempel.begin(), stempel.end()));
    EXPECT_EQ(std::adjacent_find(stempel.begin(), stempel.end()), stempel.end());
}

TEST(GradeVocabularyDates, TimeStampOfNowHasTheBackupForm) {
    Text vorher = ZeitstempelAus(CurrentDateText(), CurrentTimeText());
    Text jetzt = Zeitstempel();
    Text nachher = ZeitstempelAus(CurrentDateText(), CurrentTimeText());
    ASSERT_EQ(jetzt.size(), 17u);
    for (size_t i = 0; i < jetzt.size(); ++i) {
        if (i % 3 == 2) EXPECT_EQ(jetzt[i], u'-') << i;
        else EXPECT_TRUE(jetzt[i] >= u'0' && jetzt[i] <= u'9') << i;
    }
    EXPECT_LE(vorher, jetzt);
    EXPECT_LE(jetzt, nachher);
}

// ---------------------------------------------------------------- names

TEST(GradeVocabularyNames, SortKeyFoldsEveryLetterWithADiacriticToItsBase) {
    const std::pair<Text, Text> faelle[] = {
        {u"\u00C7elik", u"celik"},         {u"\u00C9lodie", u"elodie"},      {u"\u00D1\u00FA\u00F1ez", u"nunez"},
        {u"\u00D8re", u"ore"},             {u"\u00C5se", u"ase"},            {u"\u00C6belt\u00F8ft", u"aebeltoft"},
        {u"\u00C0\u00C1\u00C2\u00C3", u"aaaa"}, {u"\u00C8\u00CA\u00CB", u"eee"}, {u"\u00CC\u00CD\u00CE\u00CF", u"iiii"},
        {u"\u00D2\u00D3\u00D4\u00D5", u"oooo"}, {u"\u00D9\u00DA\u00DB", u"uuu"}, {u"\u00DD\u00FF", u"yy"},
        {u"\u00D0", u"d"},                 {u"\u00DEor", u"\u00FEor"},       {u"a\u00D7b\u00F7c", u"a\u00D7b\u00F7c"},
        // beyond Latin-1 (folder names): the same base letters as everywhere
        {u"\u0141\u00F3d\u017A", u"lodz"},    {u"\u0152uvre", u"oeuvre"},      {u"\u03A9", u"\u03C9"},
    };
    for (const auto& [name, schluessel] : faelle) {
        SCOPED_TRACE(Zeige(name));
        EXPECT_EQ(Namensschluessel(name), schluessel);
    }
}

TEST(GradeVocabularyNames, SortKeyFoldsCaseUmlautsAndSharpS) {
    const std::pair<Text, Text> faelle[] = {
        {u"M\u00FCller", u"mueller"},       {u"M\u00DCLLER", u"mueller"},
        {u"Mueller", u"mueller"},           {u"\u00C4rger", u"aerger"},
        {u"\u00D6zil", u"oezil"},           {u"Stra\u00DFe", u"strasse"},
        {u"STRA\u1E9EE", u"strasse"},       {u"Gr\u00F6\u00DFer", u"groesser"},
        {u"\u00DCbel \u00E4u\u00DFerst", u"uebel aeusserst"},
        {u"O'Neill-Smith", u"o'neill-smith"},
        {u"", u""},
    };
    for (const auto& [name, schluessel] : faelle) {
        SCOPED_TRACE(Zeige(name));
        EXPECT_EQ(Namensschluessel(name), schluessel);
    }
}

struct NamenFall {
    Text nachnameA, vornamenA, nachnameB, vornamenB;
    bool aNachB;
};

TEST(GradeVocabularyNames, ComparesSurnamesThenFirstNames) {
    const NamenFall faelle[] = {
        // umlauts and sharp s fold to their spellings
        {u"M\u00FCller", u"Hans", u"Mueller", u"Hans", false},
        {u"Mueller", u"Hans", u"M\u00FCller", u"Hans", false},
        {u"\u00D6zil", u"Mesut", u"Ober", u"Mesut", true},
        {u"Ober", u"Mesut", u"\u00D6zil", u"Mesut", false},
        {u"\u00C4rger", u"", u"Adler", u"", true},
        {u"\u00C4rger", u"", u"Ahrens", u"", false},
        {u"Strau\u00DF", u"Eva", u"Strauss", u"Eva", false},
        {u"Strauss", u"Eva", u"Strau\u00DF", u"Eva", false},
        {u"Strau\u00DF", u"", u"Straub", u"", true},
        {u"Stra\u00DFer", u"", u"Strasser", u"", false},
        // case does not matter
        {u"m\u00FCller", u"hans", u"M\u00DCLLER", u"HANS", false},
        {u"abel", u"", u"Bauer", u"", false},
        {u"Bauer", u"", u"abel", u"", true},
        // a name that is a prefix of the other sorts first
        {u"Meier", u"", u"Meierhofer", u"", false},
        {u"Meierhofer", u"", u"Meier", u"", true},
        {u"Schmidt", u"Anna", u"Schmidt", u"Anna Lena", false},
        {u"Schmidt", u"Anna Lena", u"Schmidt", u"Anna", true},
        // empty keys sort before any other
        {u"", u"", u"A", u"", false},
        {u"A", u"", u"", u"", true},
        {u"", u"Zoe", u"A", u"", false},
        {u"", u"", u"", u"", false},
        {u"Schmidt", u"", u"Schmidt", u"Anna", false},
        {u"Schmidt", u"Anna", u"Schmidt", u"", true},
        // first names decide only on equal surnames
        {u"Schmidt", u"Bernd", u"Schmidt", u"Anna", true},
        {u"Schmidt", u"Anna", u"Schmidt", u"Bernd", false},
        {u"Abel", u"Zoe", u"Bauer", u"Anna", false},
        {u"Bauer", u"Anna", u"Abel", u"Zoe", true},
        {u"M\u00FCller", u"J\u00FCrgen", u"Mueller", u"Juergen", false},
        {u"M\u00FCller", u"J\u00FCrgen", u"Mueller", u"Jurgen", false},
        {u"M\u00FCller", u"Jurgen", u"Mueller", u"J\u00FCrgen", true},
        // plain code order: blank and digits before letters; accents fold
        {u"Van Dyk", u"", u"Vandyk", u"", false},
        {u"Vandyk", u"", u"Van Dyk", u"", true},
        {u"007", u"", u"Anton", u"", false},
        {u"\u00C9lodie", u"", u"Zorn", u"", false},
        {u"Zorn", u"", u"\u00C9lodie", u"", true},
        {u"\u00C7elik", u"", u"Dietrich", u"", false},
        {u"\u00C7elik", u"", u"Bauer", u"", true},
    };
    for (const NamenFall& f : faelle) {
        SCOPED_TRACE(Zeige(f.nachnameA) + "," + Zeige(f.vornamenA) + " vs " + Zeige(f.nachnameB) + "," +
                     Zeige(f.vornamenB));
        EXPECT_EQ(NamenVergleich(f.nachnameA, f.vornamenA, f.nachnameB, f.vornamenB), f.aNachB);
    }
}

TEST(GradeVocabularyNames, StableSortGivesTheClassOrder) {
    struct Schueler {
        Text nachname, vornamen;
        int nr;
    };
    std::vector<Schueler> klasse = {
        {u"Ahrens", u"Tim", 0},   {u"\u00C4rger", u"Lea", 1}, {u"Mueller", u"Paul", 2},
        {u"Adler", u"Ida", 3},    {u"M\u00FCller", u"Paul", 4}, {u"Ahrens", u"Ben", 5},
        {u"\u00D6zil", u"Can", 6}, {u"Ober", u"Jan", 7},
    };
    std::stable_sort(klasse.begin(), klasse.end(), [](const Schueler& a, const Schueler& b) {
        return NamenVergleich(b.nachname, b.vornamen, a.nachname, a.vornamen);
    });
    std::vector<int> reihenfolge;
    for (const Schueler& s : klasse) reihenfolge.push_back(s.nr);
    // Mueller and Müller keep their order; Ahrens Ben before Ahrens Tim.
    EXPECT_EQ(reihenfolge, (std::vector<int>{3, 1, 5, 0, 2, 4, 7, 6}));
}

TEST(GradeVocabularyNames, PathWithoutTrailingSeparator) {
    const std::pair<Text, Text> faelle[] = {
        {u"/home/lehrer/Kladdorix/", u"/home/lehrer/Kladdorix"},
        {u"/home/lehrer/Kladdorix", u"/home/lehrer/Kladdorix"},
        {u"C:\\Kladdorix\\", u"C:\\Kladdorix"},
        {u"Noten//", u"Noten/"},
        {u"Noten/\\", u"Noten/"},
        {u"Noten\\/", u"Noten\\"},
        {u"/", u""},
        {u"", u""},
        {u"Noten/ ", u"Noten/ "},
    };
    for (const auto& [pfad, ergebnis] : faelle) {
        SCOPED_TRACE(Zeige(pfad));
        EXPECT_EQ(OhneEndtrenner(pfad), ergebnis);
    }
}

// ---------------------------------------------------------------- class level

TEST(GradeVocabularyLevels, LevelFromTheLeadingDigits) {
    const std::pair<Text, int> faelle[] = {
        {u"7b", 7},   {u"10a", 10}, {u"13", 13}, {u"1c", 1},  {u"Q1", 0},
        // 14 is no level: the leading "1" alone counts
        {u"14a", 1},  {u"19", 1},
        // a leading zero is not a digit 2..9 and "05" is not 10..13
        {u"05", 0},   {u"0", 0},    {u"09b", 0},
        {u"2", 2},    {u"5a", 5},   {u"9z", 9},  {u"99", 9},   {u"11", 11}, {u"12b", 12},
        {u"1", 1},    {u"10", 10},  {u"1 2", 1},
        {u"", 0},     {u"a7", 0},   {u" 7", 0},  {u" 11", 0},  {u"+1", 0},  {u"-7", 0},
        // a path that begins with the class name
        {u"10a/10a Deutsch.slk", 10}, {u"7b/7b Mathematik.slk", 7}, {u"11/11 Physik.slk", 11},
    };
    for (const auto& [klasse, stufe] : faelle) {
        SCOPED_TRACE(Zeige(klasse));
        EXPECT_EQ(ExtrahiereStufe(klasse), stufe);
    }
}

}  // namespace
