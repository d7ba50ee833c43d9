// Seating plan: the default arrangement, moving and shuffling students,
// keeping the plan in line with the class, and the plan file's lines.
#include "gradebook/seating_plan.hpp"

#include <algorithm>
#include <set>

#include "gradebook/class_file_format.hpp"
#include "platform/conversions.hpp"

namespace {
// Six desks a row, an aisle between desk 3 and desk 5.
constexpr int kStandardspalten[] = {1, 2, 3, 5, 6, 7};

bool Vorher(const Tisch& a, const Tisch& b) { return a.reihe != b.reihe ? a.reihe < b.reihe : a.spalte < b.spalte; }
}  // namespace

Text NamenFuerDatei(const Schuelername& name) {
    Text out;
    auto anhaengen = [&](const Text& t) {
        for (char16_t c : t) {
            out += c;
            if (c == u';') out += u';';
        }
    };
    anhaengen(name.nachname);
    out += u';';
    anhaengen(name.vornamen);
    return out;
}

bool NamenAusDatei(const Text& teil, Schuelername& name) {
    Text felder[2];
    int feld = 0;
    for (size_t i = 0; i < teil.size(); ++i) {
        if (teil[i] != u';') {
            felder[feld] += teil[i];
        } else if (i + 1 < teil.size() && teil[i + 1] == u';') {
            felder[feld] += u';';
            ++i;
        } else if (feld == 0) {
            feld = 1;
        } else {
            return false;
        }
    }
    if (feld != 1) return false;
    name = {felder[0], felder[1]};
    return true;
}

long long ZahlfeldLesen(const Text& feld) {
    if (feld.empty() || feld.size() > 9) return -1;
    long long n = 0;
    for (char16_t c : feld) {
        if (c < u'0' || c > u'9') return -1;
        n = n * 10 + (c - u'0');
    }
    return n;
}

std::vector<Schuelername> SchuelerDerKlasse(const TSchulklasse& klasse) {
    std::vector<Schuelername> out;
    for (int i = 1; i < klasse.Schueleranzahl; ++i) out.push_back(NameInZeile(klasse, i));
    return out;
}

TSitzplan TSitzplan::Standard(const std::vector<Schuelername>& schueler) {
    TSitzplan plan;
    for (size_t i = 0; i < schueler.size(); ++i)
        plan.Tische.push_back({schueler[i], kStandardspalten[i % 6], static_cast<int>(i / 6) + 1});
    return plan;
}

Tisch* TSitzplan::TischBei(int spalte, int reihe) {
    for (Tisch& t : Tische)
        if (t.spalte == spalte && t.reihe == reihe) return &t;
    return nullptr;
}

const Tisch* TSitzplan::TischVon(const Schuelername& name) const {
    for (const Tisch& t : Tische)
        if (!t.Frei() && t.name == name) return &t;
    return nullptr;
}

int TSitzplan::Spalten() const {
    int n = 0;
    for (const Tisch& t : Tische) n = std::max(n, t.spalte);
    return n;
}

int TSitzplan::Reihen() const {
    int n = 0;
    for (const Tisch& t : Tische) n = std::max(n, t.reihe);
    return n;
}

bool TSitzplan::Verschieben(const Schuelername& wer, int spalte, int reihe) {
    if (spalte < 1 || reihe < 1 || spalte > kHoechsteTischzahl || reihe > kHoechsteTischzahl) return false;
    Tisch* von = nullptr;
    for (Tisch& t : Tische)
        if (!t.Frei() && t.name == wer) von = &t;
    if (!von || (von->spalte == spalte && von->reihe == reihe)) return false;
    if (Tisch* ziel = TischBei(spalte, reihe)) {
        std::swap(ziel->name, von->name);
    } else {
        Tisch neu{wer, spalte, reihe};
        von->name = {};
        Tische.push_back(neu);
    }
    return true;
}

bool TSitzplan::TischHinzufuegen(int spalte, int reihe) {
    if (spalte < 1 || reihe < 1 || spalte > kHoechsteTischzahl || reihe > kHoechsteTischzahl) return false;
    if (TischBei(spalte, reihe)) return false;
    Tische.push_back({{}, spalte, reihe});
    return true;
}

bool TSitzplan::TischEntfernen(int spalte, int reihe) {
    for (auto it = Tische.begin(); it != Tische.end(); ++it)
        if (it->spalte == spalte && it->reihe == reihe) {
            if (!it->Frei()) return false;
            Tische.erase(it);
            return true;
        }
    return false;
}

bool TSitzplan::Abgleichen(const std::vector<Schuelername>& schueler) {
    bool geaendert = false;
    for (Tisch& t : Tische)
        if (!t.Frei() && std::find(schueler.begin(), schueler.end(), t.name) == schueler.end()) {
            t.name = {};
            geaendert = true;
        }
    for (const Schuelername& s : schueler) {
        if (TischVon(s)) continue;
        geaendert = true;
        Tisch* frei = nullptr;
        for (Tisch& t : Tische)
            if (t.Frei() && (!frei || Vorher(t, *frei))) frei = &t;
        if (frei) {
            frei->name = s;
            continue;
        }
        // No free desk: a new one in the last row, or a new row behind it.
        const int reihe = std::max(1, Reihen());
        int spalte = 1;
        while (TischBei(spalte, reihe)) ++spalte;
        if (spalte > std::max(7, Spalten())) Tische.push_back({s, 1, reihe + 1});
        else Tische.push_back({s, spalte, reihe});
    }
    return geaendert;
}

bool TSitzplan::Umbenennen(const Schuelername& alt, const Schuelername& neu) {
    for (Tisch& t : Tische)
        if (!t.Frei() && t.name == alt) {
            t.name = neu;
            return true;
        }
    return false;
}

std::string TSitzplan::Bytes() const {
    std::vector<Tisch> geordnet = Tische;
    std::stable_sort(geordnet.begin(), geordnet.end(), Vorher);
    std::string out;
    for (const Tisch& t : geordnet)
        ZeileAnhaengen(out, NamenFuerDatei(t.name) + u";" + TextFromInt(t.spalte) + u";" + TextFromInt(t.reihe));
    return out;
}

Planlesung SitzplanAusBytes(std::string_view bytes, const std::vector<Schuelername>& schueler) {
    Planlesung ergebnis;
    if (bytes.size() > kSitzplanHoechstgroesse || Zeilenleser::Zeilenanzahl(bytes, 2000) == Zeilenleser::kZuLang) {
        ergebnis.fehler = u"Die Datei ist viel zu groß für einen Sitzplan.";
        return ergebnis;
    }
    TSitzplan plan;
    std::set<std::pair<int, int>> plaetze;
    Zeilenleser leser(bytes);
    int nummer = 0;
    while (!leser.Ende()) {
        const Text zeile = leser.Naechste();
        ++nummer;
        if (zeile.empty()) continue;
        const Text wo = u"Zeile " + TextFromInt(nummer) + u": ";
        const size_t r = zeile.rfind(u';');
        const size_t s = r == Text::npos || r == 0 ? Text::npos : zeile.rfind(u';', r - 1);
        Tisch t;
        if (s == Text::npos || !NamenAusDatei(zeile.substr(0, s), t.name)) {
            ergebnis.fehler = wo + u"keine Angabe \"Nachname;Vorname;Spalte;Reihe\".";
            return ergebnis;
        }
        const long long spalte = ZahlfeldLesen(zeile.substr(s + 1, r - s - 1));
        const long long reihe = ZahlfeldLesen(zeile.substr(r + 1));
        if (spalte < 1 || reihe < 1 || spalte > kHoechsteTischzahl || reihe > kHoechsteTischzahl) {
            ergebnis.fehler = wo + u"ein Tisch außerhalb des Raums.";
            return ergebnis;
        }
        t.spalte = static_cast<int>(spalte);
        t.reihe = static_cast<int>(reihe);
        if (!plaetze.insert({t.spalte, t.reihe}).second) {
            ergebnis.fehler = wo + u"zwei Tische an einem Platz.";
            return ergebnis;
        }
        if (!t.Frei()) {
            if (std::find(schueler.begin(), schueler.end(), t.name) == schueler.end()) {
                ergebnis.fehler = wo + t.name.vornamen + u" " + t.name.nachname + u" ist nicht in der Klasse.";
                return ergebnis;
            }
            if (plan.TischVon(t.name)) {
                ergebnis.fehler = wo + t.name.vornamen + u" " + t.name.nachname + u" sitzt zweimal.";
                return ergebnis;
            }
        }
        plan.Tische.push_back(t);
    }
    ergebnis.plan = std::move(plan);
    return ergebnis;
}
