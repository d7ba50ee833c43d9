// Icons, heading colours and average categories of the grade types. All
// comparisons are exact: "arbeit" or " Arbeit" are free names.
#include "gradebook/grade_types.hpp"

#include <string_view>

namespace {

struct SymbolEintrag {
    std::u16string_view typ;
    std::u16string_view symbol;
};

struct FarbEintrag {
    std::u16string_view typ;
    std::array<int, 3> farbe;
};

constexpr std::u16string_view kFragezeichen = u"incbin::media/images/Fragezeichen.png";

constexpr SymbolEintrag kSymbole[] = {
    {u"Arbeit", u"incbin::media/images/Arbeit.png"},
    {u"10h-Test", u"incbin::media/images/10h-Test.png"},
    {u"H\u00DC", u"incbin::media/images/HUe.png"},
    {u"Test", u"incbin::media/images/Test.png"},
    {u"M\u00FCndl.", u"incbin::media/images/Muendl.png"},
    {u"Abfrage", u"incbin::media/images/Abfrage.png"},
    {u"Gruppen.", u"incbin::media/images/Gruppen.png"},
    {u"HA.", u"incbin::media/images/HA.png"},
    {u"Referat", u"incbin::media/images/Referat.png"},
    {u"Pr\u00E4sent.", u"incbin::media/images/Praesentation.png"},
    {u"Vortrag", u"incbin::media/images/Vortrag.png"},
    {u"Heft", u"incbin::media/images/Heft.png"},
    {u"NebenF.", u"incbin::media/images/Durchschnitt.png"},
    {u"HauptF.", u"incbin::media/images/Durchschnitt.png"},
    {u"Zeugnis", u"incbin::media/images/Zeugnis.png"},
};

constexpr std::array<int, 3> kFreierTyp{84, 84, 84};

constexpr FarbEintrag kFarben[] = {
    {u"Arbeit", {96, 48, 48}},
    {u"10h-Test", {96, 48, 48}},
    {u"schriftl.", {64, 32, 32}},
    {u"M\u00FCndl.", {48, 102, 48}},
    {u"H\u00DC", {96, 84, 54}},
    {u"Test", {96, 84, 54}},
    {u"Referat", {36, 64, 36}},
    {u"Pr\u00E4sent.", {36, 64, 36}},
    {u"Vortrag", {36, 64, 36}},
    {u"Abfrage", {54, 96, 84}},
    {u"Gruppen.", {54, 96, 84}},
    {u"Heft", {84, 96, 54}},
    {u"HA.", {84, 96, 54}},
    {u"sonst.", {32, 64, 64}},
    {u"NebenF.", {48, 48, 48}},
    {u"HauptF.", {48, 48, 48}},
    {u"Zeugnis", {32, 32, 32}},
};

}  // namespace

bool IstGesamtdurchschnitt(const Text& typ) { return typ == u"HauptF." || typ == u"NebenF."; }

bool IstDurchschnittstyp(const Text& typ) {
    return typ == u"schriftl." || typ == u"sonst." || IstGesamtdurchschnitt(typ);
}

Typkategorie KategorieVonTyp(const Text& typ) {
    if (typ == u"Arbeit" || typ == u"10h-Test") return Typkategorie::Schriftlich;
    if (typ == u"Zeugnis") return Typkategorie::Zeugnis;
    if (IstDurchschnittstyp(typ)) return Typkategorie::Durchschnitt;
    return Typkategorie::Sonstig;
}

Text Typsymbol(const Text& typ) {
    for (const SymbolEintrag& e : kSymbole)
        if (e.typ == typ) return Text(e.symbol);
    return Text(kFragezeichen);
}

std::array<int, 3> Typfarbe(const Text& typ) {
    for (const FarbEintrag& e : kFarben)
        if (e.typ == typ) return e.farbe;
    return kFreierTyp;
}
