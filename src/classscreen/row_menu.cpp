// The row menu of a student, opened from the name tile: the student's
// portrait beside eight commands (rename, delete, telephone, notes, forgotten
// homework, a new photo, the two quarter turns of the photo and the
// student's sheet on paper).
#include <algorithm>

#include "classscreen/class_screen_commands.hpp"
#include "classscreen/reports.hpp"
#include "classscreen/seating_plan_screen.hpp"
#include "gradebook/class_menus.hpp"
#include "gradebook/lesson_files.hpp"
#include "gradebook/portrait_files.hpp"
#include "gradebook/program_state.hpp"
#include "gradebook/student_rows.hpp"
#include "platform/files.hpp"
#include "platform/requesters.hpp"
#include "tiles/info_box.hpp"
#include "tiles/offset.hpp"
#include "tiles/texteingabe.hpp"
#include "tiles/user.hpp"

namespace {
enum Befehl { kNameAendern, kLoeschen, kTelefon, kNotizen, kHausaufgaben, kBildAendern, kRechtsDrehen, kLinksDrehen, kSchuelerbogen, kFehlzeiten };

const Text kOhneBild = u"incbin::media/images/Blanko-Kopf.png";

// The portrait shown beside the menu: the student's photo, or the embedded
// head when there is none or it cannot be read. The handle lives only as long
// as the menu call that holds it.
TImage PortraitbildLaden(const TSchulklasse& klasse, int zeile) {
    const Text pfad = PortraitDerZeile(klasse, zeile);
    if (!pfad.empty() && PathKind(pfad) == 1)
        if (TImage bild = LoadImageFrom(pfad)) return bild;
    return LoadImageFrom(kOhneBild);
}

Text Bild(const char16_t* datei) { return Text(u"incbin::media/images/") + datei; }

// Tiles 2 to 4 show this student's own entries while the menu is open.
void EintraegeZeigen(const TSchulklasse& klasse, int zeile) {
    auto& k = Schuelermenue->Kachel;
    k[kTelefon]->change({Bild(u"Telefon.png"), klasse.Telefonnummer[zeile]}, {}, {}, 1);
    k[kNotizen]->change({Bild(u"Infos.png"), klasse.Notizen[zeile]}, {}, {}, 1);
    k[kHausaufgaben]->change({Bild(u"VergesseneHA.png"), klasse.VergesseneHA[zeile]}, {}, {}, 1);
}

void Meldung(const Text& titel, const RGBFarbe& farbe, const std::vector<Text>& zeilen) {
    TInfoBox::bauen(titel, {farbe[0], farbe[1], farbe[2]}, zeilen, {kOkSchalter})->verwenden();
    User::flush();
}

void NameAendern(TSchulklasse& klasse, int zeile) {
    const Schuelername alt = NameInZeile(klasse, zeile);
    Texteingabe::starten(1, alt.vornamen + u", " + alt.nachname, 1, -1, -1, 0);
    if (Texteingabe::verwenden(0) != 1) return;
    const Text altesBild = PortraitDerZeile(klasse, zeile);
    const Umbenennungsergebnis e = SchuelerUmbenennen(klasse, zeile, NamenAusEingabe(Texteingabe::Eingabetext));
    if (e.art == Umbenennung::vergeben) NamensdoppelungMelden();
    if (e.art != Umbenennung::umbenannt) return;
    UnterrichtUmbenennen(klasse, alt, NameInZeile(klasse, e.zeile));
    klasse.OrganisiereOffsetGrenzen(e.zeile, -1);
    if (klasse.ZeileEinzelnAnzeigen > 0) klasse.ZeileEinzelnAnzeigen = e.zeile;
    klasse.AenderungVermerken();

    // The photo follows the name.
    if (altesBild.empty() || PathKind(altesBild) != 1) return;
    const Text neuesBild = PortraitDerZeile(klasse, e.zeile);
    if (neuesBild.empty()) {
        Meldung(u"Info", {255, 255, 0},
                {u"Der neue Name taugt nicht als Dateiname", u"(er enthält etwa / oder \\). Das Bild des Schülers",
                 u"bleibt darum unter dem alten Namen im Ordner \"Bilder\"."});
    } else if (PortraitUmbenennen(altesBild, neuesBild) == Portraitergebnis::nichtGeschrieben) {
        Meldung(u"Fehler", {255, 0, 0},
                {u"Das Bild des Schülers konnte nicht auf", u"den neuen Namen umbenannt werden. Es liegt",
                 u"weiter unter dem alten Namen im Ordner \"Bilder\"."});
    }
}

void Loeschen(TSchulklasse& klasse, int zeile) {
    const Schuelername n = NameInZeile(klasse, zeile);
    const Text antwort = TInfoBox::bauen(u"Warnung", {255, 0, 0},
                                         {u"Wollen Sie wirklich diese Schüler-", u"zeile mit sämtlichen Noten von",
                                          n.vornamen + u" " + n.nachname, u"für immer aus der Liste entfernen?!"},
                                         {u"Ja, das ist ok", u"NEIN"})
                             ->verwenden();
    User::flush();
    if (antwort != u"Ja, das ist ok") return;
    // The photo file stays: deleting a row by mistake must not cost the picture too.
    SchuelerEntfernen(klasse, zeile);
    UnterrichtEntfernen(klasse, n);
    klasse.OrganisiereOffsetGrenzen(-1, -1);
    klasse.AenderungVermerken();
}

// Telephone, notes or forgotten homework; `auswahlBis` is where the
// selection from the start ends (-1: all of it).
void EintragAendern(TSchulklasse& klasse, Text& eintrag, const Text& platzhalter, int auswahlBis) {
    Texteingabe::starten(1, eintrag, 1, 0, auswahlBis, 0);
    if (Texteingabe::verwenden(0) != 1) return;
    // An emptied entry shows its placeholder again, as after loading the file.
    eintrag = Texteingabe::Eingabetext.empty() ? platzhalter : Texteingabe::Eingabetext;
    klasse.AenderungVermerken();
}

// The portrait file, or "" after telling the user that this name cannot have one.
Text PortraitOderHinweis(const TSchulklasse& klasse, int zeile) {
    const Text pfad = PortraitDerZeile(klasse, zeile);
    if (pfad.empty())
        Meldung(u"Info", {255, 255, 0},
                {u"Der Name dieses Schülers taugt nicht als", u"Dateiname (er enthält etwa / oder \\).",
                 u"Darum kann zu ihm kein Bild gespeichert werden."});
    return pfad;
}

void BildAendern(TSchulklasse& klasse, int zeile) {
    if (PortraitOderHinweis(klasse, zeile).empty()) return;
    Text start = StartOrdner;
    if (start.empty() || (start.back() != u'/' && start.back() != u'\\')) start += u"/";
    const Text datei = RequestFile(u"Bild eines einzelnen Schülers laden", u"Bilddateien:png,jpg,bmp", 0, start);
    if (!datei.empty()) klasse.PraepariereEinzelnesBild(datei, zeile);
}

void BildDrehen(const TSchulklasse& klasse, int zeile, bool rechts) {
    const Text pfad = PortraitOderHinweis(klasse, zeile);
    if (pfad.empty()) return;
    switch (PortraitDrehen(pfad, rechts)) {
        case Portraitergebnis::nichtLesbar:
            Meldung(u"Fehler", {255, 0, 0}, {u"Das Bild dieses Schülers", u"konnte nicht gelesen werden."});
            break;
        case Portraitergebnis::nichtGeschrieben:
            Meldung(u"Fehler", {255, 0, 0},
                    {u"Das gedrehte Bild konnte nicht", u"gespeichert werden. Das alte Bild bleibt erhalten."});
            break;
        default:  // turned, or no photo file: nothing to turn
            break;
    }
}
}  // namespace

int Zeilenbefehle(TSchulklasse& klasse, int zeile) {
    if (zeile < 1 || zeile >= klasse.Schueleranzahl) return 0;
    // Plan and attendance follow a rename or removal: read them while the names still match.
    UnterrichtLaden(klasse);
    TKombiMenu& menue = *Schuelermenue;
    {
        const TImage portrait = PortraitbildLaden(klasse, zeile);
        const int bw = portrait ? ImageWidthOf(portrait) : 0, bh = portrait ? ImageHeightOf(portrait) : 0;
        EintraegeZeigen(klasse, zeile);
        const int oben = klasse.Zelle(zeile, 0).y + Offset::ScrollY;
        const int H = Bildschirmhoehe;
        const int bildY = bh > H ? 0 : std::clamp(oben - 46, 0, H - bh);
        menue.einblenden(bw, static_cast<int>(oben - 50.75), bw, oben + 38, portrait, 0, bildY);
        if (menue.verwenden() != u"1") return kOhneAuswahl;
    }
    switch (menue.Auswahl_Kachelindex) {
        case kNameAendern: NameAendern(klasse, zeile); break;
        case kLoeschen: Loeschen(klasse, zeile); break;
        case kTelefon: EintragAendern(klasse, klasse.Telefonnummer[zeile], kPlatzhalterTelefon, -1); break;
        case kNotizen: EintragAendern(klasse, klasse.Notizen[zeile], kPlatzhalterNotizen, -1); break;
        // Only the leading "?" selected: a typed number replaces it.
        case kHausaufgaben: EintragAendern(klasse, klasse.VergesseneHA[zeile], kPlatzhalterVergesseneHA, 1); break;
        case kBildAendern: BildAendern(klasse, zeile); break;
        case kRechtsDrehen: BildDrehen(klasse, zeile, true); break;
        case kLinksDrehen: BildDrehen(klasse, zeile, false); break;
        // Beside the row menu, level with its last row, where the tile was.
        case kSchuelerbogen:
            SchuelerbogenDrucken(klasse, zeile, menue.x + menue.Breite + 4,
                                 menue.y + menue.Tiefe - Bogenmenue->Tiefe);
            break;
        case kFehlzeiten: FehlzeitenBearbeiten(klasse, zeile); break;
        default: break;
    }
    return 0;
}
