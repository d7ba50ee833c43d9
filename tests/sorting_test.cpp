// Name order of the student rows: folding of umlauts and case, stability,
// the per-student texts travelling with their rows, closing a removed row's
// gap, and the tiles' heights after the sort.
#include <gtest/gtest.h>

#include "gradebook_fixture.hpp"

namespace {

class Sorting : public GradebookTest {
protected:
    // A class with the given (surname, first names) rows in this order; each
    // student's phone entry names the student, so that mix-ups show.
    std::shared_ptr<TSchulklasse> Klasse(const std::vector<std::pair<Text, Text>>& namen) {
        auto k = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
        Spalte(*k, u"Arbeit", u"01.10.15");
        for (const auto& [n, v] : namen) Schueler(*k, n, v, {u"Note " + n + v}, u"Tel " + n + v, u"Notiz " + n + v);
        return k;
    }
    static std::vector<Text> Reihenfolge(const TSchulklasse& k) {
        std::vector<Text> out;
        for (int i = 1; i < k.Schueleranzahl; ++i) out.push_back(k.Zelle(i, 0).Text[0] + u"," + k.Zelle(i, 0).Text[1]);
        return out;
    }
    static void Zusammengehoerig(const TSchulklasse& k) {
        ASSERT_EQ(k.Zensurzeile.size(), static_cast<size_t>(k.Schueleranzahl));
        ASSERT_EQ(k.Telefonnummer.size(), static_cast<size_t>(k.Schueleranzahl));
        ASSERT_EQ(k.Notizen.size(), static_cast<size_t>(k.Schueleranzahl));
        ASSERT_EQ(k.VergesseneHA.size(), static_cast<size_t>(k.Schueleranzahl));
        for (int i = 1; i < k.Schueleranzahl; ++i) {
            const Text wer = k.Zelle(i, 0).Text[0] + k.Zelle(i, 0).Text[1];
            EXPECT_EQ(k.Telefonnummer[i], u"Tel " + wer);
            EXPECT_EQ(k.Notizen[i], u"Notiz " + wer);
            EXPECT_EQ(k.Zelle(i, 1).Text[0], u"Note " + wer);
            for (const auto& kachel : k.Zensurzeile[i]->Kachel) EXPECT_EQ(kachel->y, 46 + 84 * i);
        }
    }
};

}  // namespace

TEST_F(Sorting, RowsFollowTheFoldedNames) {
    struct Fall { const char* name; std::vector<std::pair<Text, Text>> vorher; std::vector<Text> nachher; };
    const Fall faelle[] = {
        {"umlaut folds to ae", {{u"Ahrens", u"A"}, {u"\u00C4rger", u"B"}, {u"Adler", u"C"}},
         {u"Adler,C", u"\u00C4rger,B", u"Ahrens,A"}},
        {"equal keys keep their order", {{u"M\u00FCller", u"Jan"}, {u"Mueller", u"Jan"}, {u"Abt", u"X"}},
         {u"Abt,X", u"M\u00FCller,Jan", u"Mueller,Jan"}},
        {"equal keys the other way round", {{u"Mueller", u"Jan"}, {u"M\u00FCller", u"Jan"}},
         {u"Mueller,Jan", u"M\u00FCller,Jan"}},
        {"same surname by first names", {{u"Berg", u"Zoe"}, {u"berg", u"Anna"}, {u"Berg", u"Max"}},
         {u"berg,Anna", u"Berg,Max", u"Berg,Zoe"}},
        {"sharp s and case", {{u"Strau\u00DF", u"A"}, {u"STRAUSS", u"A"}, {u"Strauch", u"A"}},
         {u"Strauch,A", u"Strau\u00DF,A", u"STRAUSS,A"}},
        {"prefix first", {{u"Zorn", u""}, {u"Ab", u""}, {u"A", u""}}, {u"A,", u"Ab,", u"Zorn,"}},
        {"letters with diacritics among their base letters",
         {{u"Zimmermann", u"Tom"}, {u"\u00C7elik", u"Ay\u015Fe"}, {u"\u00C9lodie", u"Mia"}, {u"\u00D1\u00FA\u00F1ez", u"Ana"},
          {u"Dietrich", u"Udo"}, {u"Nowak", u"Ida"}, {u"Bauer", u"Eva"}, {u"Elster", u"Jo"}},
         {u"Bauer,Eva", u"\u00C7elik,Ay\u015Fe", u"Dietrich,Udo", u"\u00C9lodie,Mia", u"Elster,Jo", u"Nowak,Ida",
          u"\u00D1\u00FA\u00F1ez,Ana", u"Zimmermann,Tom"}},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        auto k = Klasse(f.vorher);
        EXPECT_EQ(k->NachNamenSortieren(0), 0);
        EXPECT_EQ(Reihenfolge(*k), f.nachher);
        Zusammengehoerig(*k);
        EXPECT_EQ(k->Zelle(0, 0).Text[0], u"7a");  // the header row stays row 0
    }
}

TEST_F(Sorting, ARemovedRowLeavesNoGap) {
    auto k = Klasse({{u"Adler", u"A"}, {u"Berger", u"B"}, {u"Cem", u"C"}, {u"Dorn", u"D"}});
    const int yCem = k->Zelle(3, 0).y;
    // What deleting Berger leaves: the entry cleared, the count lowered.
    k->Zensurzeile[2].reset();
    --k->Schueleranzahl;
    k->NachNamenSortieren(0);
    EXPECT_EQ(Reihenfolge(*k), (std::vector<Text>{u"Adler,A", u"Cem,C", u"Dorn,D"}));
    EXPECT_EQ(k->Zelle(2, 0).y, yCem - 84);
    Zusammengehoerig(*k);
}

TEST_F(Sorting, AClassWithoutStudentsStaysAsItIs) {
    auto k = Klasse({});
    k->NachNamenSortieren(0);
    EXPECT_EQ(k->Schueleranzahl, 1);
    EXPECT_EQ(k->Zensurzeile.size(), 1u);
    EXPECT_EQ(k->Zelle(0, 1).y, 8);
    EXPECT_EQ(k->Telefonnummer, (std::vector<Text>{u""}));
}

TEST_F(Sorting, ManyRowsInReverseOrder) {
    std::vector<std::pair<Text, Text>> namen;
    for (int n = 60; n >= 1; --n) namen.push_back({u"Name" + TextFromUtf8(std::to_string(1000 + n)), u"V"});
    auto k = Klasse(namen);
    k->NachNamenSortieren(0);
    for (int i = 1; i <= 60; ++i) EXPECT_EQ(k->Zelle(i, 0).Text[0], u"Name" + TextFromUtf8(std::to_string(1000 + i)));
    Zusammengehoerig(*k);
}
