// LeeresDuplikatLaden: names asked on the on-screen keyboard, photos carried
// to a new class folder, grade columns dropped; an existing gradebook of the
// new names is never overwritten.
#include "gradebook/empty_duplicate.hpp"

#include "gradebook/class_level.hpp"
#include "gradebook/data_folders.hpp"
#include "gradebook/lesson_files.hpp"
#include "gradebook/name_check.hpp"
#include "gradebook/photo_paths.hpp"
#include "platform/conversions.hpp"
#include "platform/files.hpp"
#include "platform/sealed_files.hpp"
#include "platform/graphics.hpp"
#include "gradebook/class_file.hpp"
#include "gradebook/save_failure.hpp"
#include "tiles/texteingabe.hpp"

std::shared_ptr<TInfoBox> Duplikathinweis;

namespace {

void Hinweis(const std::vector<::Text>& zeilen) {
    Cls();
    Duplikathinweis = TInfoBox::bauen(u"Info", {255, 255, 0}, zeilen, {kOkSchalter});
    Duplikathinweis->verwenden();
}

// "" for a name that is no plain file name: such a student has no photo.
::Text Fotopfad(const ::Text& klasse, const std::shared_ptr<TZensurzeile>& zeile) {
    const auto& texte = zeile->Kachel[0]->Text;
    const ::Text nachname = texte.size() > 0 ? texte[0] : ::Text();
    const ::Text vornamen = texte.size() > 1 ? texte[1] : ::Text();
    return PortraitpfadIn(kDatenordnerName, klasse, nachname, vornamen);
}

}  // namespace

::Text VorschlagNaechsteKlasse(const ::Text& klasse) {
    const int alt = ExtrahiereStufe(klasse);
    const ::Text stufe = TextFromInt(alt + 1);
    // The old level's digits are replaced, so 9c becomes 10c and not 10.
    const ::Text alteStufe = TextFromInt(alt);
    const size_t k = alt > 0 && klasse.starts_with(alteStufe) ? alteStufe.size() : stufe.size();
    return stufe + Mid(klasse, static_cast<int>(k) + 1);
}

Duplikatergebnis LeeresDuplikatUnter(TSchulklasse& k, const ::Text& neueKlasse, const ::Text& neuesFach) {
    const ::Text alteKlasse = k.Titel[0];
    if (neueKlasse == alteKlasse && neuesFach == k.Titel[1]) {
        Hinweis({u"Sie k\u00F6nnen kein leeres Duplikat", u"mit der GLEICHEN Klasse UND",
                 u"dem GLEICHEN Fach erzeugen."});
        return Duplikatergebnis::GleicheNamen;
    }
    if (!NamenPruefen({neueKlasse, neuesFach})) return Duplikatergebnis::UngueltigerName;
    // Saving would replace that gradebook, with a year of grades, by an empty one.
    if (PathKind(KlassendateiRelativ(neueKlasse, neuesFach)) != 0) {
        Hinweis({u"F\u00FCr diese Klasse und dieses Fach", u"gibt es bereits ein Notenbuch.",
                 u"Es wird nicht \u00FCberschrieben."});
        return Duplikatergebnis::DateiVorhanden;
    }

    if (neueKlasse != alteKlasse) {
        const ::Text ordner = KlassenordnerRelativ(neueKlasse);
        if (PathKind(ordner) != 2) {
            CreateFolder(ordner, false);
            CreateFolder(ordner + u"/Bilder", false);
            CreateFolder(ordner + u"/Backups", false);
        }
        for (int i = 1; i < k.Schueleranzahl; ++i) {
            const ::Text alt = Fotopfad(alteKlasse, k.Zensurzeile[i]);
            const ::Text neu = Fotopfad(neueKlasse, k.Zensurzeile[i]);
            // A photo already in the new class is newer than the old one.
            if (!alt.empty() && !neu.empty() && PathKind(alt) == 1 && PathKind(neu) == 0) CopyDataFile(alt, neu);
            k.VergesseneHA[i] = kPlatzhalterVergesseneHA;
        }
    }

    const ::Text alteDatei = KlassendateiPfad(k);
    k.Titel = {neueKlasse, neuesFach};
    // The new gradebook has its own file, under the standard name.
    k.Klassendatei.clear();
    k.Notenanzahl = 1;
    k.Zensurzeile[0]->Kachel[0]->change({neueKlasse, neuesFach}, {}, {}, 1);
    for (auto& zeile : k.Zensurzeile) {
        auto neu = TZensurzeile::bauen(1);
        neu->Kachel[0] = zeile->Kachel[0];
        zeile = neu;
    }
    // Only a written file is a created duplicate.
    const Speicherergebnis e = k.speichern(u"");
    if (!e) return Duplikatergebnis::NichtGespeichert;
    UnterrichtDuplizieren(k, alteDatei);
    SicherungswarnungZeigen(k, e);
    return Duplikatergebnis::Erzeugt;
}

Duplikatergebnis LeeresDuplikatErfragen(TSchulklasse& k) {
    ::Text klasse = k.Titel[0];
    ::Text fach = k.Titel[1];
    // Both become parts of file and folder names, so the keyboard refuses
    // characters a file name cannot hold.
    Texteingabe::starten(1, VorschlagNaechsteKlasse(klasse), 1, 0, -1, 0);
    if (Texteingabe::verwenden(1) == 1) klasse = Texteingabe::Eingabetext;
    Texteingabe::starten(1, fach, 1, 0, -1, 0);
    if (Texteingabe::verwenden(1) == 1) fach = Texteingabe::Eingabetext;
    return LeeresDuplikatUnter(k, klasse, fach);
}

int TSchulklasse::LeeresDuplikatLaden() {
    LeeresDuplikatErfragen(*this);
    return 0;
}
