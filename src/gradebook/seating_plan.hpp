// The seating plan of a gradebook: which student sits at which desk, seen
// from the teacher's desk (column 1 at the left, row 1 at the front), and
// the empty desks. Kept as "<K> <F>.sitzplan" beside the class file: Latin-1
// lines "Nachname;Vorname;Spalte;Reihe" ended by CR LF, a semicolon inside a
// name doubled, an empty desk with both names empty.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gradebook/student_rows.hpp"

struct Tisch {
    Schuelername name;  // both empty: an empty desk
    int spalte = 1, reihe = 1;
    bool Frei() const { return name.nachname.empty() && name.vornamen.empty(); }
    bool operator==(const Tisch&) const = default;
};

// A room has at most this many columns and rows of desks; files beyond are damaged.
inline constexpr int kHoechsteTischzahl = 40;
// A plan file is a few hundred bytes; one beyond this is no plan.
inline constexpr size_t kSitzplanHoechstgroesse = 256u * 1024u;

class TSitzplan {
public:
    std::vector<Tisch> Tische;

    // The new plan: the students in name order, front row first, in rows of
    // six with an aisle in the middle (desks 1-3 and 5-7).
    static TSitzplan Standard(const std::vector<Schuelername>& schueler);

    // The desk at (spalte, reihe), null when there is none.
    Tisch* TischBei(int spalte, int reihe);
    const Tisch* TischBei(int spalte, int reihe) const {
        return const_cast<TSitzplan*>(this)->TischBei(spalte, reihe);
    }
    const Tisch* TischVon(const Schuelername& name) const;
    int Spalten() const;
    int Reihen() const;

    // Moves the student to (spalte, reihe): swaps with a student sitting
    // there, takes an empty desk there, or puts a new desk there; the old
    // desk stays as an empty one. False when nothing changed.
    bool Verschieben(const Schuelername& wer, int spalte, int reihe);
    // Adds an empty desk at a free place; false when a desk stands there.
    bool TischHinzufuegen(int spalte, int reihe);
    // Removes the empty desk at the place; false when there is none or it is taken.
    bool TischEntfernen(int spalte, int reihe);
    // Seats the students at random on the desks there are; every student
    // keeps exactly one desk. `zufall(n)` gives a number from 0 to n - 1.
    template <class Zufall>
    void Mischen(Zufall zufall) {
        std::vector<Schuelername> namen;
        for (const Tisch& t : Tische)
            if (!t.Frei()) namen.push_back(t.name);
        for (size_t i = namen.size(); i > 1; --i) std::swap(namen[i - 1], namen[static_cast<size_t>(zufall(int(i)))]);
        std::vector<Schuelername> alle(Tische.size());
        std::vector<size_t> plaetze(Tische.size());
        for (size_t i = 0; i < plaetze.size(); ++i) plaetze[i] = i;
        for (size_t i = plaetze.size(); i > 1; --i) std::swap(plaetze[i - 1], plaetze[static_cast<size_t>(zufall(int(i)))]);
        for (Tisch& t : Tische) t.name = {};
        for (size_t i = 0; i < namen.size(); ++i) Tische[plaetze[i]].name = namen[i];
    }

    // Brings the plan in line with the class: students no longer in it leave
    // their desk empty, new ones take the next free desk (front rows first,
    // from the left), or a new desk behind the others. True when it changed.
    bool Abgleichen(const std::vector<Schuelername>& schueler);
    // A student's new name; false when the student has no desk.
    bool Umbenennen(const Schuelername& alt, const Schuelername& neu);

    std::string Bytes() const;
    bool operator==(const TSitzplan&) const = default;
};

// Why a plan file was refused ("" when it was read).
struct Planlesung {
    std::optional<TSitzplan> plan;
    Text fehler;
};
// Reads plan file bytes for a class with these students: a line too long, a
// field missing, a desk outside 1..kHoechsteTischzahl, two desks at one
// place, a student twice or one not in the class refuse the whole file.
Planlesung SitzplanAusBytes(std::string_view bytes, const std::vector<Schuelername>& schueler);

// The students of the class in row order.
std::vector<Schuelername> SchuelerDerKlasse(const TSchulklasse& klasse);

// "Nachname;Vorname" with every semicolon inside a name doubled, and back:
// false when the text holds no single separating semicolon or more than one.
Text NamenFuerDatei(const Schuelername& name);
bool NamenAusDatei(const Text& teil, Schuelername& name);
// The decimal number of a field of digits only (at most 9); -1 otherwise.
long long ZahlfeldLesen(const Text& feld);
