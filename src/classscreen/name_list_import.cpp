// "Namensliste importieren": students added from a name list, each sorted
// into place; names the class file cannot hold are adapted and counted.
#include "classscreen/class_commands.hpp"
#include "gradebook/class_file.hpp"
#include "gradebook/grid_tiles.hpp"
#include "gradebook/name_list.hpp"
#include "gradebook/program_state.hpp"
#include "platform/conversions.hpp"
#include "platform/file_bytes.hpp"
#include "platform/files.hpp"
#include "platform/requesters.hpp"
#include "platform/system_services.hpp"
#include "tiles/info_box.hpp"
#include "tiles/user.hpp"

namespace {
// A class list is a few kilobytes; anything far larger is not one.
constexpr size_t kHoechstgroesse = 4u << 20;

void Box(const ::Text& titel, const FarbArg& farbe, const std::vector<::Text>& zeilen) {
    TInfoBox::bauen(titel, farbe, zeilen, {kOkSchalter})->verwenden();
    User::flush();
}

::Text Mangeltext(Namenslistenmangel m) {
    switch (m) {
        case Namenslistenmangel::Steuerzeichen: return u"Sie enthält Steuerzeichen.";
        case Namenslistenmangel::LangeZeile:
            return u"Eine Zeile ist länger als " + TextFromInt(kNamenslisteHoechstzeile) + u" Zeichen.";
        case Namenslistenmangel::ZuVieleNamen:
            return u"Sie enthält mehr als " + TextFromInt(kNamenslisteHoechstnamen) + u" Namen.";
        case Namenslistenmangel::Keiner: break;
    }
    return ::Text();
}

// The lines of the note about adapted names: the count, each change (old ->
// new) up to six, then how many more.
std::vector<::Text> AnpassungsZeilen(const std::vector<::Text>& aenderungen) {
    constexpr size_t kGezeigt = 6;
    const size_t n = aenderungen.size();
    std::vector<::Text> zeilen{n == 1 ? u"1 Name wurde beim Import angepasst:"
                                      : TextFromInt(static_cast<int>(n)) + u" Namen wurden beim Import angepasst:"};
    for (size_t i = 0; i < n && i < kGezeigt; ++i) zeilen.push_back(aenderungen[i]);
    if (n > kGezeigt) zeilen.push_back(u"und " + TextFromInt(static_cast<int>(n - kGezeigt)) + u" weitere");
    zeilen.push_back(u"Buchstaben, die eine Klassendatei nicht speichern kann,");
    zeilen.push_back(u"haben ihren Akzent verloren, andere Zeichen wurden weggelassen.");
    return zeilen;
}

int ZeileVon(const TSchulklasse& k, const ::Text& nachname, const ::Text& vornamen) {
    for (int i = 1; i < k.Schueleranzahl; ++i) {
        const auto& t = k.Zelle(i, 0).Text;
        if (t.size() >= 2 && t[0] == nachname && t[1] == vornamen) return i;
    }
    return -1;
}

// Appends the student as the last row and sorts it into place.
void SchuelerAnfuegen(TSchulklasse& k, const ::Text& nachname, const ::Text& vornamen) {
    const int n = k.Schueleranzahl;
    auto zeile = TZensurzeile::bauen(k.Notenanzahl);
    zeile->Kachel[0] = NamenskachelBauen(nachname, vornamen, n, 0, ZeilenY(n));
    for (int j = 1; j < k.Notenanzahl; ++j)
        zeile->Kachel[j] = NotenzelleBauen(u"", n, j, k.Zelle(0, j).RGB, 0, ZeilenY(n));
    k.Zensurzeile.resize(static_cast<size_t>(n));
    k.Zensurzeile.push_back(zeile);
    k.Telefonnummer.resize(static_cast<size_t>(n));
    k.Telefonnummer.push_back(kPlatzhalterTelefon);
    k.Notizen.resize(static_cast<size_t>(n));
    k.Notizen.push_back(kPlatzhalterNotizen);
    k.VergesseneHA.resize(static_cast<size_t>(n));
    k.VergesseneHA.push_back(kPlatzhalterVergesseneHA);
    ++k.Schueleranzahl;
    k.NachNamenSortieren(0);
    const int neu = ZeileVon(k, nachname, vornamen);
    if (neu < 0) RaiseError(u"Fehler in der Namensänderung!");
    k.OrganisiereOffsetGrenzen(neu, -1);
}
}  // namespace

int NamenslisteImportieren(TSchulklasse& klasse) {
    ::Text start = StartOrdner;
    if (!start.ends_with(u"/") && !start.ends_with(u"\\")) start += u"/";
    const ::Text pfad = RequestFile(u"Wählen Sie die Textdatei mit den aufgelisteten Namen",
                                    u"Textdatei oder CSV-Datei:txt,csv", 0, start);
    if (pfad.empty() || PathKind(pfad) != 1) return 0;
    NamenslisteAusDatei(klasse, pfad);
    return 0;
}

int NamenslisteAusDatei(TSchulklasse& klasse, const ::Text& pfad) {
    const ::Text endung = LowerCase(Right(pfad, 4));
    if (endung != u".txt" && endung != u".csv") {
        Box(u"Fehler", {255, 255, 0},
            {u"Sie müssen eine einfache Textdatei (.txt) oder eine CSV-Datei (.csv) wählen,",
             u"in der die Namen in einzelnen Zeilen aufgelistet sind:",
             u"in jeder Zeile erst der Nachname, dann die Vornamen."});
        return 0;
    }
    std::string bytes;
    if (!ReadFileBytes(pfad, bytes, kHoechstgroesse)) {
        Box(u"Fehler", {255, 0, 0}, {u"Die Namensliste", pfad, u"konnte nicht gelesen werden."});
        return 0;
    }
    const bool csv = endung == u".csv";
    // A picture or document renamed to .txt would add hundreds of garbage rows.
    const Namenslistenmangel mangel = NamenslisteMangel(bytes, csv);
    if (mangel != Namenslistenmangel::Keiner) {
        Box(u"Fehler", {255, 0, 0}, {u"Die Datei", pfad, u"ist keine Namensliste: " + Mangeltext(mangel),
                                     u"Es wurde niemand hinzugefügt."});
        return 0;
    }
    int hinzugefuegt = 0, zuviel = 0;
    std::vector<::Text> angepasst;
    for (const NamenslisteEintrag& e : NamenslisteLesen(bytes, csv)) {
        if (ZeileVon(klasse, e.nachname, e.vornamen) >= 0) continue;
        // A class file with more students would not load again.
        if (klasse.Schueleranzahl - 1 >= kHoechstanzahlSchueler) {
            ++zuviel;
            continue;
        }
        SchuelerAnfuegen(klasse, e.nachname, e.vornamen);
        ++hinzugefuegt;
        if (e.angepasst) angepasst.push_back(e.vorher + u" -> " + e.nachname + u" " + e.vornamen);
    }
    if (hinzugefuegt > 0) klasse.AenderungVermerken();
    if (zuviel > 0)
        Box(u"Info", {255, 255, 0},
            {u"Eine Klasse hat höchstens " + TextFromInt(static_cast<int>(kHoechstanzahlSchueler)) + u" Schüler:",
             TextFromInt(zuviel) + u" Namen der Liste wurden nicht übernommen."});
    if (!angepasst.empty()) Box(u"Info", {255, 255, 0}, AnpassungsZeilen(angepasst));
    return hinzugefuegt;
}
