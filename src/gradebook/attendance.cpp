// Attendance: the roll call's states, the list of lines and their file,
// and the counts per half-year.
#include "gradebook/attendance.hpp"

#include <algorithm>
#include <set>
#include <tuple>

#include "gradebook/class_file_format.hpp"
#include "gradebook/seating_plan.hpp"
#include "gradebook/schulklasse.hpp"
#include "platform/conversions.hpp"

Anwesenheit NachTippen(Anwesenheit a) {
    switch (a) {
        case Anwesenheit::anwesend: return Anwesenheit::fehlt;
        case Anwesenheit::fehlt:
        case Anwesenheit::entschuldigt: return Anwesenheit::verspaetet;
        case Anwesenheit::verspaetet: return Anwesenheit::anwesend;
    }
    return Anwesenheit::anwesend;
}

Anwesenheit NachLangemDruck(Anwesenheit a) {
    return a == Anwesenheit::entschuldigt ? Anwesenheit::fehlt : Anwesenheit::entschuldigt;
}

namespace {
Text Artzeichen(Anwesenheit a) {
    switch (a) {
        case Anwesenheit::fehlt: return u"F";
        case Anwesenheit::entschuldigt: return u"E";
        case Anwesenheit::verspaetet: return u"V";
        default: return u"";
    }
}

// Newest first: by date, then lesson, descending.
bool Neuer(const Fehlzeit& a, const Fehlzeit& b) {
    const int da = Datumszahl(a.datum), db = Datumszahl(b.datum);
    return da != db ? da > db : a.stunde > b.stunde;
}
}  // namespace

int Datumszahl(const Text& datum) {
    if (datum.size() != 8 || datum[2] != u'.' || datum[5] != u'.') return 0;
    const long long t = ZahlfeldLesen(datum.substr(0, 2)), m = ZahlfeldLesen(datum.substr(3, 2)),
                    j = ZahlfeldLesen(datum.substr(6, 2));
    static constexpr int kTage[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (t < 1 || m < 1 || m > 12 || j < 0 || t > kTage[m - 1]) return 0;
    if (m == 2 && t == 29 && j % 4 != 0) return 0;
    return static_cast<int>((2000 + j) * 10000 + m * 100 + t);
}

Anwesenheit TFehlzeiten::Stand(const Text& datum, int stunde, const Schuelername& name, int* minuten) const {
    for (const Fehlzeit& f : Eintraege)
        if (f.datum == datum && f.stunde == stunde && f.name == name) {
            if (minuten) *minuten = f.minuten;
            return f.art;
        }
    if (minuten) *minuten = 0;
    return Anwesenheit::anwesend;
}

bool TFehlzeiten::Setzen(const Text& datum, int stunde, const Schuelername& name, Anwesenheit art, int minuten) {
    if (art != Anwesenheit::verspaetet) minuten = 0;
    for (auto it = Eintraege.begin(); it != Eintraege.end(); ++it) {
        if (it->datum != datum || it->stunde != stunde || it->name != name) continue;
        if (art == Anwesenheit::anwesend) {
            Eintraege.erase(it);
            return true;
        }
        if (it->art == art && it->minuten == minuten) return false;
        it->art = art;
        it->minuten = minuten;
        return true;
    }
    if (art == Anwesenheit::anwesend) return false;
    Eintraege.push_back({datum, stunde, name, art, minuten});
    return true;
}

std::vector<Fehlzeit> TFehlzeiten::DesSchuelers(const Schuelername& name) const {
    std::vector<Fehlzeit> out;
    for (const Fehlzeit& f : Eintraege)
        if (f.name == name) out.push_back(f);
    std::stable_sort(out.begin(), out.end(), Neuer);
    return out;
}

bool TFehlzeiten::SchuelerEntfernen(const Schuelername& name) {
    const size_t vorher = Eintraege.size();
    std::erase_if(Eintraege, [&](const Fehlzeit& f) { return f.name == name; });
    return Eintraege.size() != vorher;
}

bool TFehlzeiten::SchuelerUmbenennen(const Schuelername& alt, const Schuelername& neu) {
    bool geaendert = false;
    for (Fehlzeit& f : Eintraege)
        if (f.name == alt) {
            f.name = neu;
            geaendert = true;
        }
    return geaendert;
}

std::string TFehlzeiten::Bytes() const {
    // Oldest first, so that the file reads like a register.
    std::vector<Fehlzeit> geordnet = Eintraege;
    std::stable_sort(geordnet.begin(), geordnet.end(), [](const Fehlzeit& a, const Fehlzeit& b) { return Neuer(b, a); });
    std::string out;
    for (const Fehlzeit& f : geordnet)
        ZeileAnhaengen(out, f.datum + u";" + TextFromInt(f.stunde) + u";" + NamenFuerDatei(f.name) + u";" +
                                Artzeichen(f.art) + u";" +
                                (f.art == Anwesenheit::verspaetet ? TextFromInt(f.minuten) : Text()));
    return out;
}

Fehlzeitenlesung FehlzeitenAusBytes(std::string_view bytes, const std::vector<Schuelername>& schueler) {
    Fehlzeitenlesung ergebnis;
    if (bytes.size() > kFehlzeitenHoechstgroesse || Zeilenleser::Zeilenanzahl(bytes, 2000) == Zeilenleser::kZuLang) {
        ergebnis.fehler = u"Die Datei ist viel zu groß für eine Liste der Fehlzeiten.";
        return ergebnis;
    }
    TFehlzeiten f;
    std::set<std::tuple<Text, int, Text, Text>> gesehen;
    Zeilenleser leser(bytes);
    int nummer = 0;
    while (!leser.Ende()) {
        const Text zeile = leser.Naechste();
        ++nummer;
        if (zeile.empty()) continue;
        const Text wo = u"Zeile " + TextFromInt(nummer) + u": ";
        // Date and lesson from the left, kind and minutes from the right: only names hold semicolons.
        const size_t a = zeile.find(u';');
        const size_t b = a == Text::npos ? a : zeile.find(u';', a + 1);
        const size_t z = zeile.rfind(u';');
        const size_t y = z == Text::npos || z == 0 ? Text::npos : zeile.rfind(u';', z - 1);
        Fehlzeit e;
        if (b == Text::npos || y == Text::npos || y <= b || !NamenAusDatei(zeile.substr(b + 1, y - b - 1), e.name)) {
            ergebnis.fehler = wo + u"keine Angabe \"Datum;Stunde;Nachname;Vorname;Art;Minuten\".";
            return ergebnis;
        }
        e.datum = zeile.substr(0, a);
        const long long stunde = ZahlfeldLesen(zeile.substr(a + 1, b - a - 1));
        const Text art = zeile.substr(y + 1, z - y - 1);
        const Text minuten = zeile.substr(z + 1);
        if (!Datumszahl(e.datum)) {
            ergebnis.fehler = wo + u"kein Datum der Form TT.MM.JJ.";
            return ergebnis;
        }
        if (stunde < 1 || stunde > kHoechsteStunde) {
            ergebnis.fehler = wo + u"keine Unterrichtsstunde von 1 bis 10.";
            return ergebnis;
        }
        e.stunde = static_cast<int>(stunde);
        if (art == u"F" || art == u"E") {
            e.art = art == u"F" ? Anwesenheit::fehlt : Anwesenheit::entschuldigt;
            if (!minuten.empty()) {
                ergebnis.fehler = wo + u"Minuten bei einer Fehlstunde.";
                return ergebnis;
            }
        } else if (art == u"V") {
            e.art = Anwesenheit::verspaetet;
            const long long m = ZahlfeldLesen(minuten);
            if (m < 1 || m > kHoechsteVerspaetung) {
                ergebnis.fehler = wo + u"keine Verspätung von 1 bis 600 Minuten.";
                return ergebnis;
            }
            e.minuten = static_cast<int>(m);
        } else {
            ergebnis.fehler = wo + u"die Art ist weder F noch E noch V.";
            return ergebnis;
        }
        if (std::find(schueler.begin(), schueler.end(), e.name) == schueler.end()) {
            ergebnis.fehler = wo + e.name.vornamen + u" " + e.name.nachname + u" ist nicht in der Klasse.";
            return ergebnis;
        }
        if (!gesehen.insert({e.datum, e.stunde, e.name.nachname, e.name.vornamen}).second) {
            ergebnis.fehler = wo + u"dieselbe Stunde zweimal für " + e.name.vornamen + u" " + e.name.nachname + u".";
            return ergebnis;
        }
        f.Eintraege.push_back(e);
    }
    ergebnis.fehlzeiten = std::move(f);
    return ergebnis;
}

namespace {
void Zaehlen(Fehlzeitenzahlen& z, const Fehlzeit& f) {
    switch (f.art) {
        case Anwesenheit::fehlt: ++z.fehlstunden; ++z.unentschuldigt; break;
        case Anwesenheit::entschuldigt: ++z.fehlstunden; break;
        case Anwesenheit::verspaetet: ++z.verspaetungen; z.minuten += f.minuten; break;
        default: break;
    }
}
}  // namespace

std::array<Fehlzeitenzahlen, 2> ZahlenProHalbjahr(const TFehlzeiten& f, const Schuelername& name, int grenze) {
    std::array<Fehlzeitenzahlen, 2> z{};
    for (const Fehlzeit& e : f.Eintraege)
        if (e.name == name) Zaehlen(z[Datumszahl(e.datum) <= grenze ? 0 : 1], e);
    return z;
}

Fehlzeitenzahlen ZahlenImJahr(const TFehlzeiten& f, const Schuelername& name) {
    Fehlzeitenzahlen z;
    for (const Fehlzeit& e : f.Eintraege)
        if (e.name == name) Zaehlen(z, e);
    return z;
}

int Halbjahresgrenze(const TSchulklasse& klasse, const Text& heute) {
    for (int j = 1; j < klasse.Notenanzahl; ++j) {
        const auto& t = klasse.Zelle(0, j).Text;
        if (t.size() > 2 && t[0] == u"Zeugnis")
            if (const int d = Datumszahl(t[2])) return d;
    }
    const int d = Datumszahl(heute);
    if (!d) return 0;
    const int jahr = d / 10000, monat = d / 100 % 100;
    return (monat >= 8 ? jahr + 1 : jahr) * 10000 + 131;
}
