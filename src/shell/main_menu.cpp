// The main menu behind the "Optionen" tile: external backup folder, new class,
// removing a class, information, the G8/G9 switch, "Beenden", encryption, and
// the school's and teacher's name for the head of the reports.
#include <algorithm>

#include "gradebook/lesson_files.hpp"
#include "gradebook/name_check.hpp"
#include "gradebook/names.hpp"
#include "gradebook/school_names.hpp"
#include "gradebook/schulklasse.hpp"
#include "platform/end_signals.hpp"
#include "platform/files.hpp"
#include "platform/graphics.hpp"
#include "platform/input.hpp"
#include "platform/paths.hpp"
#include "platform/system_services.hpp"
#include "shell/catalogue.hpp"
#include "shell/class_screen_loop.hpp"
#include "shell/encryption_screens.hpp"
#include "gradebook/data_folders.hpp"
#include "gradebook/program_state.hpp"
#include "shell/settings.hpp"
#include "shell/shared_menus.hpp"
#include "tiles/frame_loop.hpp"
#include "tiles/info_box.hpp"
#include "tiles/texteingabe.hpp"
#include "tiles/user.hpp"

namespace {
const FarbArg kRot{255, 0, 0}, kGelb{255, 255, 0}, kInfoFarbe{80, 0, 255};

void EingabenVergessen() {
    ClearKeys();
    ClearMouse();
    WheelDelta();
}

Text Box(const Text& titel, const FarbArg& farbe, const std::vector<Text>& zeilen,
         const std::vector<Text>& schalter = {kOkSchalter}) {
    return TInfoBox::bauen(titel, farbe, zeilen, schalter)->verwenden();
}

// Both buffers blank, as before every box that follows a text entry.
void ZweimalLeeren() {
    for (int i = 0; i < 2; ++i) {
        Cls();
        Flip(-1);
    }
}

// A folder the program would never copy into right now (below /mnt or
// /media, but on no mounted drive) is kept only when the teacher says so.
bool UnerreichbarBestaetigt(const Text& ordner) {
    if (BackupOrdnerErreichbar(ordner)) return true;
    return Box(u"Info", kGelb,
               {u"Der gewählte Ordner", ordner, u"liegt auf keinem eingehängten Laufwerk. Solange dort keines",
                u"eingehängt ist, wird dorthin keine Sicherungskopie geschrieben.",
                u"Wollen Sie ihn trotzdem als externen Backup-Ordner verwenden?"},
               {u"Ja, das ist ok", u"NEIN"}) == u"Ja, das ist ok";
}

}  // namespace

int BackupOrdnerFestlegen(const Text& einstellungsdatei) {
    BackupOrdner = OhneEndtrenner(RequestDir(u"Externen Backup-Ordner festlegen:", u""));
    if (BackupOrdner.empty()) return 0;
    const Text F = BackupOrdner;
    // Written with its low 8 bits, the path would name another folder from the next start on.
    if (!InEinstellungenSpeicherbar(F)) {
        BackupOrdner.clear();
        Box(u"Fehler", kRot, {u"Der Name des gewählten Ordners", F, u"enthält Zeichen, die die Einstellungsdatei",
                              u"nicht speichern kann. Bitte wählen Sie einen anderen Ordner."});
        return 0;
    }
    if (!UnerreichbarBestaetigt(F)) {
        BackupOrdner.clear();
        return 0;
    }
    // The probe is a new file of its own name: a file of the teacher's is never opened.
    const Text probe = CreateProbeFile(F);
    if (probe.empty()) {
        BackupOrdner.clear();
        Box(u"Fehler", kRot, {u"Auf dem von Ihnen gewählten externen Backup-Ordner", F,
                              u"konnte nicht geschrieben werden."});
        return 0;
    }
    const bool gespeichert = EinstellungenSchreibenNach(einstellungsdatei);
    if (!gespeichert)
        Box(u"Fehler", kRot, {u"Die Datei .Kladdorix-Einstellungen", u"konnte nicht gespeichert werden.",
                              u"Der externe Backup-Ordner bleibt leer."});
    DeleteFileAt(probe);
    if (!gespeichert) BackupOrdner.clear();
    return 0;
}

namespace {

bool Eingeben(const Text& aufforderung, Text& ergebnis) {
    Texteingabe::starten(1, aufforderung, 1, 0, -1, 0);
    if (Texteingabe::verwenden(1) == 0 || Texteingabe::Eingabetext.empty()) {
        EingabenVergessen();
        return false;
    }
    ergebnis = Texteingabe::Eingabetext;
    return true;
}

int NeueKlasseErstellen() {
    Text klasse, fach;
    if (!Eingeben(u"Klasse?", klasse)) return 0;
    ZweimalLeeren();
    if (!Eingeben(u"Fach?", fach)) return 0;
    Texteingabe::EingabeAktiv = 0;
    // Both become folder and file names.
    if (!NamenPruefen({klasse, fach})) return 0;
    auto neu = Katalog::NeueKlasseAnlegen(klasse, fach);
    if (!neu) {
        EingabenVergessen();
        return 0;
    }
    // Like a class opened from the catalogue, Escape or closing the window
    // saves the new class and ends the program.
    if (KlassenbildschirmLaufen(*neu) == 3) return 3;
    Katalog::Laden();
    EingabenVergessen();
    return 0;
}

int KlasseEntfernen() {
    if (Box(u"Warnung", kRot, {u"Wollen Sie wirklich eine Klasse", u"aus ihrem Kladdorix entfernen?"},
            {u"Ja, das ist ok", u"NEIN"}) != u"Ja, das ist ok")
        return 0;
    for (;;) {
        Cls();
        User::update();
        SetColor(255, 0, 0);
        SetDrawFont(Schrift32);
        const Text frage = u"Wählen Sie die zu entfernende Klasse:";
        DrawTextAt(frage, (Bildschirmbreite - TextWidthOf(frage)) * 0.5, Bildschirmhoehe / 5.0);
        for (const auto& k : Klassenkacheln) {
            if (!k || k->nutzen(1.0f, 1) != 3) continue;
            const Text datei = Datenordner() + u"/" + KlassendateiImDatenordner(k->Text[0], k->Text[1]);
            DeleteFileAt(datei);
            // Its seating plan and attendance go with it (their backups stay, as the class file's do).
            DeleteFileAt(Nebendatei(datei, kSitzplanEndung));
            DeleteFileAt(Nebendatei(datei, kFehlzeitenEndung));
            Katalog::Laden();
            EingabenVergessen();
            return 0;
        }
        Katalog::SchuljahrZeichnen();
        FrameEnd();
        if (BackRequested || TouchState == 3 || EndSignalled()) break;
    }
    // An Escape that closed the chooser does not also end the program.
    BackRequested = 0;
    Katalog::Laden();
    EingabenVergessen();
    return 0;
}

int InfoZeigen() {
    Box(u"Info", kInfoFarbe,
        {u"Programm-Version:   Schuljahr 2015/16          ", u"Rido Kladdorix - das Notenbuch für Gymnasien",
         u"Schrift: Open Sans (Apache-2.0), Symbole: Tabler Icons (MIT)",
         u"Gebaut mit SDL2, OpenGL, FreeType, libpng und libjpeg", u" "});
    User::flush();
    return 0;
}

int SchulformWechseln() {
    const bool g9 = OberstufeAb == 11;
    const Text antwort =
        Box(g9 ? u"G8-Gymnasium?" : u"G9-Gymnasium?", kGelb,
            {u"Wollen Sie das Kladdorix wirklich auf",
             g9 ? u"ein G8-Gymnasium umstellen, in dem" : u"ein G9-Gymnasium umstellen, in dem",
             g9 ? u"die Oberstufe ab der 10.Klasse beginnt?" : u"die Oberstufe ab der 11.Klasse beginnt?"},
            {u"Ja, das ist OK", u"  Nein  "});
    User::flush();
    if (antwort != u"Ja, das ist OK") return 0;
    OberstufeAb = g9 ? 10 : 11;
    SetzeSchulformKachel();
    if (!EinstellungenSchreiben()) {
        if (g9)
            Box(u"Fehler", kRot, {u"Die Einstellungen konnten nicht gespeichert werden.",
                                  u"Beim nächsten Start geht das Programm daher", u"wieder vom G9-Gymnasium aus."});
        else
            Box(u"Fehler", kRot, {u"Die Einstellungen konnten nicht gespeichert werden."});
        User::flush();
    }
    return 0;
}

// One name: the entry starts with the name kept so far, or with the question
// selected so that typing replaces it. False when cancelled.
bool NameEingeben(const Text& frage, Text& name) {
    Texteingabe::starten(1, name.empty() ? frage : name, 1, 0, -1, 0);
    const int ok = Texteingabe::verwenden(1);
    Texteingabe::EingabeAktiv = 0;
    EingabenVergessen();
    if (ok == 0) return false;
    name = Texteingabe::Eingabetext == frage ? Text() : Texteingabe::Eingabetext;
    return true;
}

int SchuleUndLehrkraft() {
    Schulangaben a = SchulangabenLesen();
    if (!NameEingeben(u"Name der Schule?", a.schule)) return 0;
    ZweimalLeeren();
    if (!NameEingeben(u"Name der Lehrkraft?", a.lehrkraft)) return 0;
    ZweimalLeeren();
    if (!SchulangabeSpeicherbar(a.schule) || !SchulangabeSpeicherbar(a.lehrkraft)) {
        Box(u"Fehler", kRot, {u"Ein Name enthält Zeichen, die die Datei .Kladdorix-Schule", u"nicht speichern kann (etwa €).",
                              u"Die bisherigen Namen bleiben."});
    } else if (!SchulangabenSchreiben(a)) {
        Box(u"Fehler", kRot, {u"Die Datei .Kladdorix-Schule", u"konnte nicht gespeichert werden.",
                              u"Die bisherigen Namen bleiben."});
    } else {
        Box(u"Info", kGelb, {u"Schule und Lehrkraft stehen von jetzt an", u"im Kopf jedes Ausdrucks."});
    }
    User::flush();
    return 0;
}
}  // namespace

int HauptmenueVerwalten() {
    const int unten = OptionenKachel ? OptionenKachel->y + OptionenKachel->Tiefe : 0;
    Hauptmenue->einblenden((Bildschirmbreite - 616) / 2, unten, Bildschirmbreite / 2, unten, nullptr,
                           kPositionBehalten, kPositionBehalten);
    if (Hauptmenue->verwenden().empty()) return 0;
    switch (Hauptmenue->Auswahl_Kachelindex) {
        case 0: return BackupOrdnerFestlegen(Einstellungsdatei());
        case 1: return NeueKlasseErstellen();
        case 2: return KlasseEntfernen();
        case 3: return InfoZeigen();
        case 4: return SchulformWechseln();
        case 5: return 3;
        case 6: return VerschluesselungVerwalten();
        case 7: return SchuleUndLehrkraft();
        default: return 0;
    }
}
