// Catalogue: the scan of the data folder, the columns by class level (level 0
// names such as Q1 or EF get a column of their own right of level 13), the
// school-year label, and opening a gradebook with its move and fade.
#include "shell/catalogue.hpp"

#include <algorithm>
#include <array>
#include <ctime>

#include "gradebook/class_file.hpp"
#include "classscreen/class_commands.hpp"
#include "gradebook/class_level.hpp"
#include "gradebook/names.hpp"
#include "gradebook/recovery_offer.hpp"
#include "gradebook/save_index.hpp"
#include "gradebook/schulklasse.hpp"
#include "platform/conversions.hpp"
#include "platform/end_signals.hpp"
#include "platform/files.hpp"
#include "platform/input.hpp"
#include "platform/notify.hpp"
#include "platform/paths.hpp"
#include "platform/sealed_files.hpp"
#include "shell/catalogue_layout.hpp"
#include "shell/class_screen_loop.hpp"
#include "gradebook/data_folders.hpp"
#include "gradebook/program_state.hpp"
#include "tiles/frame_loop.hpp"
#include "tiles/info_box.hpp"
#include "tiles/user.hpp"

std::vector<Text> Klassenordner;
std::vector<Text> Klassendateien;
std::vector<std::shared_ptr<TKachel>> Klassenkacheln;
std::shared_ptr<TKombiKachel> OptionenKachel;
int GewaehlteKachel = -1;
bool DatenordnerUnlesbar = false;

namespace {
const FarbArg kKachelfarbe{56, 48, 64};
const FarbArg kWeiss{255, 255, 255};
constexpr float kDauer = 200;

void EingabenVergessen() {
    ClearKeys();
    ClearMouse();
    WheelDelta();
}

void DatenordnerFehler() {
    SetAppTitle(u"Fehler");
    // No class is open while the catalogue is built: a logout may end the program during the box.
    EndAtOnceOnSignal(true);
    Notify(u"Es konnten keine Dateien erstellt werden.\nStellen Sie sicher, dass sich das Programm\n"
           u"'Rido Kladdorix' auf einem beschreibbarem\nLaufwerk befindet und Schreibrechte besitzt!",
           0);
    EndAtOnceOnSignal(false);
}
}  // namespace

namespace Katalog {
Text SchuljahrText(int jahr, int monat) {
    const int beginn = monat >= 8 ? jahr : jahr - 1;
    const int ende = (beginn + 1) % 100;
    return TextFromInt(beginn) + u"/" + (ende < 10 ? u"0" : u"") + TextFromInt(ende);
}

void SchuljahrZeichnen() {
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    SetColor(80, 0, 160);
    SetDrawFont(Schrift32);
    SetDrawScale(1.5, 1.5);
    DrawTextAt(u"Schuljahr", 54, 50);
    DrawTextAt(SchuljahrText(t.tm_year + 1900, t.tm_mon + 1), 60, 110);
    SetDrawScale(1, 1);
}

bool Laden() { return LadenAus(Datenordner()); }

bool LadenAus(const Text& D) {
    // Never the tiles of an earlier listing: they would open files that may be gone.
    OptionenKachel.reset();
    Klassenordner.clear();
    Klassendateien.clear();
    Klassenkacheln.clear();
    DatenordnerUnlesbar = false;
    if (PathKind(D) != 2) {
        if (!CreateFolder(D, false) || PathKind(D) != 2) {
            DatenordnerFehler();
            return false;
        }
    }
    std::vector<Text> eintraege;
    if (!Auflistung(D, eintraege)) {
        // An existing folder that cannot be read is not an empty one.
        DatenordnerUnlesbar = true;
        OrdnerFehlerBox(D)->verwenden();
        User::flush();
    }
    std::array<int, 14> anzahl{};
    for (const Text& e : eintraege) {
        if (PathKind(D + u"/" + e) != 2) continue;
        for (const Text& f : Auflistung(D + u"/" + e)) {
            if (PathKind(D + u"/" + e + u"/" + f) != 1 || LowerCase(ExtractExtension(f)) != u"slk") continue;
            Klassenordner.push_back(e);
            Klassendateien.push_back(e + u"/" + f);
            ++anzahl[ExtrahiereStufe(e)];
        }
    }
    const int n = static_cast<int>(Klassendateien.size());
    Klassenkacheln.assign(n, nullptr);
    const KatalogLayout l = BerechneKatalogLayout(anzahl, Bildschirmbreite, Bildschirmhoehe);
    const int vonX = Bildschirmbreite / 2, vonY = Bildschirmhoehe / 3;
    int x = l.x0;
    // Levels 1 to 13 in order, then the classes without a usable level.
    for (int stufe : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 0}) {
        if (anzahl[stufe] == 0) continue;
        int y = l.oben, gebaut = 0;
        for (int i = 0; i < n && gebaut < anzahl[stufe]; ++i) {
            if (ExtrahiereStufe(Klassendateien[i]) != stufe) continue;
            Klassenkacheln[i] = TTextKachel::bauen({Klassenordner[i], FachAusKlassendatei(Klassendateien[i], Klassenordner[i])},
                                                   {Schrift32}, x, y, 1, vonX, vonY, 0, l.w, l.h, kKachelfarbe,
                                                   kWeiss, 1, kDauer);
            y += l.h + kKatalogAbstand;
            ++gebaut;
        }
        x += l.w + kKatalogAbstand;
    }
    OptionenKachel = TKombiKachel::bauen({u"Optionen", u"incbin::media/images/Hauptmenu.png"}, {Schrift32},
                                         l.optionenX, l.optionenY, 1, vonX, vonY, 0, l.w, l.h, kKachelfarbe, kWeiss,
                                         1, kDauer);
    return !DatenordnerUnlesbar;
}

std::shared_ptr<TInfoBox> OrdnerFehlerBox(const Text& ordner) {
    return TInfoBox::bauen(u"Fehler", {255, 0, 0}, {u"Dieser Ordner konnte nicht geladen werden:", ordner},
                           {kOkSchalter});
}

std::vector<Text> Auflistung(const Text& ordner) {
    std::vector<Text> namen;
    Auflistung(ordner, namen);
    return namen;
}

bool Auflistung(const Text& ordner, std::vector<Text>& namen) {
    const bool gelesen = ListFolderInto(ordner, true, namen);
    std::vector<std::pair<Text, Text>> sortiert;
    sortiert.reserve(namen.size());
    for (Text& n : namen) sortiert.emplace_back(Namensschluessel(n), std::move(n));
    // Equal keys ("Mathe" and "mathe") in character order, so the order never depends on the disk.
    std::sort(sortiert.begin(), sortiert.end());
    namen.clear();
    for (auto& [schluessel, name] : sortiert) namen.push_back(std::move(name));
    return gelesen;
}

void Anzeigen() {
    SchuljahrZeichnen();
    if (Klassendateien.empty() && !DatenordnerUnlesbar) ErsterStartHinweisZeichnen();
    GewaehlteKachel = -1;
    const int n = static_cast<int>(Klassenkacheln.size());
    for (int i = 0; i < n; ++i)
        if (Klassenkacheln[i] && Klassenkacheln[i]->nutzen(1.0f, 1) == 3) GewaehlteKachel = i;
    if (OptionenKachel && OptionenKachel->nutzen(1.0f, 1) == 3) GewaehlteKachel = n;
}

std::shared_ptr<TInfoBox> LadefehlerBox(const Text& klassendatei) {
    return TInfoBox::bauen(u"Fehler", {255, 0, 0},
                           {u"Leider konnte die Klasse bzw. die Datei", klassendatei, u"nicht korrekt geladen werden."},
                           {kOkSchalter, kBackupWaehlen});
}

namespace {
// Why the class file is refused, in the box that offers a backup instead.
std::vector<Text> AblehnungsZeilen(const Text& pfad, const Text& klassendatei) {
    switch (AblehnungsgrundVon(pfad)) {
        case Ablehnung::AelterStand:
            return {u"Die verschlüsselte Datei", klassendatei, u"ist ein älterer Stand dieser Klassendatei:",
                    u"Nach dem letzten Speichern wurde sie durch", u"eine frühere Fassung ersetzt.",
                    u"Sie bleibt unverändert liegen."};
        case Ablehnung::Unverschluesselt:
            return {u"Die Datei", klassendatei, u"ist nicht verschlüsselt, obwohl die Verschlüsselung",
                    u"an ist: Das Programm hat sie nicht geschrieben.", u"Sie bleibt unverändert liegen."};
        case Ablehnung::AlteForm:
            return {u"Die Datei", klassendatei, u"ist in der alten Form ohne Ablageort verschlüsselt,",
                    u"die seit der Umstellung nicht mehr gilt.", u"Sie bleibt unverändert liegen."};
        case Ablehnung::Beschaedigt: break;
    }
    return {u"Die verschlüsselte Datei", klassendatei, u"ist beschädigt, gehört an einen anderen Ort",
            u"(etwa ein älteres Backup über der Klassendatei)", u"oder zu einem anderen Schlüssel.",
            u"Sie bleibt unverändert liegen."};
}
}  // namespace

std::shared_ptr<TSchulklasse> KlasseLaden(const Text& pfad, const Text& klassendatei, const Text& klassenordner) {
    // Unsaved changes of an earlier session are offered back first.
    Klassenoeffnung oeffnung = KlasseMitWiederherstellungLaden(pfad);
    std::string roh;
    const bool abgelehnt =
        !oeffnung.klasse && ReadDataFile(pfad, roh, kKlassendateiHoechstgroesse) == DataReadResult::Refused;
    // A damaged file can be replaced by one of its backups right here: the
    // class screen with "Zurück zu Backup" cannot open.
    while (!abgelehnt && !oeffnung.klasse && !oeffnung.gemeldet &&
           LadefehlerBox(klassendatei)->verwenden() == kBackupWaehlen) {
        User::flush();
        if (BeschaedigteKlasseErsetzen(klassenordner, FachAusKlassendatei(klassendatei, klassenordner)) != 1) break;
        oeffnung = KlasseMitWiederherstellungLaden(pfad);
    }
    User::flush();
    // A sealed file that does not open is never written over unasked: it
    // stays for the right key, or (with a backup chosen) is kept aside.
    while (abgelehnt && !oeffnung.klasse && !oeffnung.gemeldet &&
           TInfoBox::bauen(u"Fehler", {255, 0, 0}, AblehnungsZeilen(pfad, klassendatei), {kOkSchalter, kBackupWaehlen})
                   ->verwenden() == kBackupWaehlen) {
        User::flush();
        if (BeschaedigteKlasseErsetzen(klassenordner, FachAusKlassendatei(klassendatei, klassenordner)) != 1) break;
        oeffnung = KlasseMitWiederherstellungLaden(pfad);
    }
    User::flush();
    return oeffnung.klasse;
}

namespace {
int KlasseOeffnen(int k) {
    TKachel& kachel = *Klassenkacheln[k];
    const int altX = kachel.x, altY = kachel.y;
    kachel.bewegen(0, 0, kDauer);
    const int beginn = MillisecondClock();
    for (;;) {
        const float alpha = 1.0f - static_cast<float>(MillisecondClock() - beginn) / kachel.Animationsdauer;
        if (alpha <= 0) break;
        Cls();
        SetAlpha(alpha);
        for (int i = 0; i < static_cast<int>(Klassenkacheln.size()); ++i)
            if (i != k && Klassenkacheln[i]) Klassenkacheln[i]->nutzen(1.0f, 1);
        if (OptionenKachel) OptionenKachel->nutzen(1.0f, 1);
        SetAlpha(1);
        kachel.nutzen(1.0f, 1);
        FrameEnd();
    }
    EingabenVergessen();
    if (EndSignalled()) {  // the program ends: no class is opened any more
        kachel.x = altX;
        kachel.y = altY;
        kachel.Animation = 0;
        return 0;
    }
    auto klasse = KlasseLaden(Datenordner() + u"/" + Klassendateien[k], Klassendateien[k], Klassenordner[k]);
    if (!klasse) {
        kachel.x = altX;
        kachel.y = altY;
        kachel.Animation = 0;
        EingabenVergessen();
        return 0;
    }
    if (KlassenbildschirmLaufen(*klasse) == 3) return 3;
    Laden();
    EingabenVergessen();
    return 0;
}
}  // namespace

int Verwalten() {
    const int n = static_cast<int>(Klassenkacheln.size());
    if (GewaehlteKachel >= 0 && GewaehlteKachel < n && Klassenkacheln[GewaehlteKachel])
        return KlasseOeffnen(GewaehlteKachel);
    if (GewaehlteKachel == n) return HauptmenueVerwalten();
    return 0;
}
}  // namespace Katalog
