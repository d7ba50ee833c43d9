// Password entries on the on-screen keyboard (masked), the boxes of tile 6,
// the start prompt with its growing wait after repeated wrong tries, the
// way in with the recovery code, and the lock. Sections: entries; the
// conversion with its notice; switching on, changing, switching off; start
// and lock.
#include "shell/encryption_screens.hpp"

#include <array>
#include <functional>

#include "gradebook/data_folders.hpp"
#include "gradebook/encryption.hpp"
#include "gradebook/key_change.hpp"
#include "gradebook/locked_rows.hpp"
#include "gradebook/names.hpp"
#include "gradebook/password_rule.hpp"
#include "gradebook/portrait_cache.hpp"
#include "gradebook/program_state.hpp"
#include "gradebook/save_index.hpp"
#include "gradebook/waiting_notice.hpp"
#include "platform/conversions.hpp"
#include "platform/end_signals.hpp"
#include "platform/files.hpp"
#include "platform/graphics.hpp"
#include "platform/input.hpp"
#include "platform/sealed_files.hpp"
#include "platform/timing.hpp"
#include "tiles/frame_loop.hpp"
#include "tiles/info_box.hpp"
#include "tiles/texteingabe.hpp"
#include "tiles/user.hpp"

namespace {

const FarbArg kRot{255, 0, 0}, kGelb{255, 255, 0};
const Text kNochmal = u"Nochmal";
const Text kCodeSchalter = u"Wiederherstellungscode";

Text Box(const Text& titel, const FarbArg& farbe, const std::vector<Text>& zeilen,
         const std::vector<Text>& schalter = {kOkSchalter}) {
    const Text antwort = TInfoBox::bauen(titel, farbe, zeilen, schalter)->verwenden();
    User::flush();
    return antwort;
}

// Both buffers blank with the request above the keyboard: nothing of the
// gradebook stays visible behind an entry.
void Aufforderung(const Text& text) {
    for (int i = 0; i < 2; ++i) {
        Cls();
        SetDrawFont(Schrift32);
        SetDrawScale(1, 1);
        SetAlpha(1);
        SetColor(255, 255, 255);
        DrawTextAt(text, (Bildschirmbreite - TextWidthOf(text)) * 0.5, Bildschirmhoehe / 5.0);
        Flip(-1);
    }
}

// ---- entries -------------------------------------------------------------------

// A masked entry; false on Escape. The typed text is wiped from the keyboard.
bool Verdeckt(const Text& aufforderung, Text& ergebnis) {
    Aufforderung(aufforderung);
    Texteingabe::verdeckt_starten(1);
    const bool ok = Texteingabe::verwenden(0) == 1;
    ergebnis = Texteingabe::Eingabetext;
    WipeText(Texteingabe::Eingabetext);
    Texteingabe::verdeckt = 0;
    Texteingabe::EingabeAktiv = 0;
    User::flush();
    if (!ok) WipeText(ergebnis);
    return ok;
}

// A new password typed twice, strong by PasswortMaengel;
// false when the teacher gave up with Escape.
bool NeuesPasswort(Text& passwort) {
    while (!EndSignalled()) {
        Text erstes, zweites;
        if (!Verdeckt(u"Neues Passwort (mindestens 10 Zeichen):", erstes)) return false;
        std::vector<Text> fehlt = PasswortMaengel(erstes);
        if (!fehlt.empty()) {
            WipeText(erstes);
            Aufforderung(u"");
            fehlt.insert(fehlt.begin(), u"Das Passwort ist zu schwach. Es fehlen:");
            Box(u"Fehler", kRot, fehlt);
            continue;
        }
        if (!Verdeckt(u"Neues Passwort wiederholen:", zweites)) {
            WipeText(erstes);
            return false;
        }
        const bool gleich = erstes == zweites;
        WipeText(zweites);
        if (!gleich) {
            WipeText(erstes);
            Aufforderung(u"");
            Box(u"Fehler", kRot, {u"Die beiden Eingaben sind verschieden.", u"Bitte geben Sie das Passwort",
                                  u"noch einmal zweimal gleich ein."});
            continue;
        }
        passwort = erstes;
        WipeText(erstes);
        return true;
    }
    return false;
}

void Ausgeben(KeyResult r) {
    Aufforderung(u"");
    if (r == KeyResult::NoMemory)
        Box(u"Fehler", kRot, {u"Für die Verschlüsselung fehlt gerade", u"der Arbeitsspeicher. Bitte schließen Sie",
                              u"andere Programme und versuchen es erneut."});
    else
        Box(u"Fehler", kRot, {u"Die Schlüsseldatei .Kladdorix-Schluessel", u"fehlt, ist beschädigt oder konnte",
                              u"nicht geschrieben werden."});
}

// ---- the conversion with its notice ------------------------------------------

Text ErreichbarerSpiegel() { return BackupOrdnerErreichbar(BackupOrdner) ? OhneEndtrenner(BackupOrdner) : Text(); }

// The external backup folder that is set but could not take part in a
// switch-on (not reachable, or its key file could not be written): its
// files stay as they are until a later start reaches it.
Text NichtUmgestellterSpiegel;

// The notice's progress callback for a whole folder's work.
std::function<void(int, int)> Fortschrittsanzeige(const Text& was) {
    return [was, gezeigt = -1000000](int fertig, int gesamt) mutable {
        // A few pictures a second are enough; presenting one per file would cost more than the work.
        const int jetzt = MillisecondClock();
        if (fertig != 0 && fertig != gesamt && jetzt - gezeigt < 100) return;
        gezeigt = jetzt;
        WartehinweisZeigen(fertig, gesamt, was);
    };
}

// With datenordner false only the mirror is converted.
Umstellung Umstellen(bool versiegeln, bool datenordner = true) {
    const Text was = versiegeln ? u"Sämtliche Dateien werden nun verschlüsselt ..."
                                : u"Sämtliche Dateien werden nun entschlüsselt ...";
    Cls();
    Text spiegel = ErreichbarerSpiegel();
    NichtUmgestellterSpiegel.clear();
    if (versiegeln && !BackupOrdner.empty() && (spiegel.empty() || !CopyKeyFileInto(spiegel))) {
        // Sealed files on the stick only after its key file is there.
        NichtUmgestellterSpiegel = OhneEndtrenner(BackupOrdner);
        spiegel.clear();
    }
    const Umstellung u = DateienUmstellen(versiegeln, spiegel, Fortschrittsanzeige(was), datenordner);
    if (!versiegeln && !spiegel.empty() && u.fehlgeschlagen == 0) DeleteFileAt(spiegel + u"/" + kKeyFileName);
    User::flush();
    return u;
}

// The lines naming a mirror left out of a switch-on.
std::vector<Text> SpiegelZeilen() {
    if (NichtUmgestellterSpiegel.empty()) return {};
    return {u" ", u"Der externe Backup-Ordner war nicht erreichbar", u"oder nicht beschreibbar:", NichtUmgestellterSpiegel,
            u"Seine Dateien werden beim nächsten Start verschlüsselt,", u"an dem er erreichbar ist."};
}

void Fehlschlaege(const Umstellung& u) {
    if (u.fehlgeschlagen == 0 && u.abgelehnt == 0) return;
    std::vector<Text> zeilen;
    if (u.fehlgeschlagen > 0)
        zeilen = {TextFromInt(u.fehlgeschlagen) + u" Dateien konnten nicht umgeschrieben werden.",
                  u"Beim nächsten Start wird es erneut versucht."};
    if (u.abgelehnt > 0) {
        zeilen.push_back(TextFromInt(u.abgelehnt) + u" verschlüsselte Dateien sind beschädigt oder");
        zeilen.push_back(u"gehören zu einem anderen Schlüssel; sie bleiben unverändert.");
    }
    Box(u"Fehler", kRot, zeilen);
}

// Every file sealed anew under the new key, with the notice; the previous
// key leaves the key file when nothing is left under it.
Neuversiegelung NeuVersiegelnMitHinweis() {
    Cls();
    const Text spiegel = ErreichbarerSpiegel();
    const Neuversiegelung n =
        NeuVersiegeln(spiegel, !BackupOrdner.empty() && spiegel.empty(),
                      Fortschrittsanzeige(u"Sämtliche Dateien werden nun mit dem neuen Schlüssel verschlüsselt ..."));
    User::flush();
    // The boxes that follow stand on a blank screen, not on the finished notice.
    Aufforderung(u"");
    Fehlschlaege(n.zahlen);
    return n;
}

std::vector<Text> SpiegelSpaeterZeilen() {
    return {u" ", u"Der externe Backup-Ordner war nicht erreichbar", u"oder nicht beschreibbar:", OhneEndtrenner(BackupOrdner),
            u"Seine Dateien erhalten den neuen Schlüssel beim", u"nächsten Start, an dem er erreichbar ist."};
}

// Off for good once every file is plain again: the key file goes last.
void AusschaltenBeenden() {
    // The index goes first: plain files are what switching off makes.
    StandVerwerfen();
    const Umstellung u = Umstellen(false);
    Fehlschlaege(u);
    if (u.fehlgeschlagen > 0) return;
    DeleteFileAt(AusschaltdateiIn(u"."));
    FlushFolderOf(AusschaltdateiIn(u"."));
    SealingOff();
    User::Leerlaufwache = nullptr;
    Box(u"Info", kGelb, {TextFromInt(u.umgestellt) + u" Dateien sind jetzt wieder unverschlüsselt."});
}

// ---- switching on, changing, switching off ------------------------------------------

// The plain copies that are only copies, named in a box and deleted when
// the teacher agrees; the box also says what deleting cannot do.
void KlareKopienLoeschen() {
    const std::vector<Text> kopien = KlareKopien(ErreichbarerSpiegel());
    if (kopien.empty()) return;
    std::vector<Text> zeilen{u"Diese unverschlüsselten Kopien liegen noch auf dem Rechner:"};
    constexpr size_t kGezeigt = 6;
    for (size_t i = 0; i < kopien.size() && i < kGezeigt; ++i) zeilen.push_back(kopien[i]);
    if (kopien.size() > kGezeigt) zeilen.push_back(u"und " + TextFromInt(static_cast<long long>(kopien.size() - kGezeigt)) + u" weitere");
    zeilen.push_back(u"Sollen sie gelöscht werden?");
    zeilen.push_back(u" ");
    zeilen.push_back(u"Gelöschte Dateien können auf der Festplatte und dem Stick");
    zeilen.push_back(u"noch lesbar sein; dagegen hilft nur die Festplatten-");
    zeilen.push_back(u"verschlüsselung des Systems und ein neuer Stick.");
    Aufforderung(u"");
    if (Box(u"Warnung", kRot, zeilen, {u"Ja, löschen", u"  Nein  "}) != u"Ja, löschen") return;
    int geblieben = 0;
    for (const Text& k : kopien) geblieben += !DeleteFileAt(k);
    if (geblieben > 0)
        Box(u"Fehler", kRot, {TextFromInt(geblieben) + u" Kopien konnten nicht gelöscht werden."});
}

// The recovery code of a prepared key, shown until the teacher has noted
// it; false (the key discarded) when a logout comes first.
bool CodeNotiert(const std::array<unsigned char, kRecoveryBytes>& code) {
    Text codetext = RecoveryCodeText(code);
    for (;;) {
        if (EndSignalled()) {
            WipeText(codetext);
            DiscardNewKey();
            return false;
        }
        Aufforderung(u"");
        if (Box(u"Wiederherstellungscode", kGelb,
                {u"Schreiben Sie diesen Wiederherstellungscode auf",
                 u"und bewahren Sie ihn getrennt vom Rechner auf.", u" ", codetext, u" "},
                {u"Code ist notiert"}) == u"Code ist notiert")
            break;
    }
    WipeText(codetext);
    return true;
}

int Einschalten() {
    if (Box(u"Verschlüsselung", kGelb,
            {u"Sollen alle Notenbücher, Backups, ungespeicherten", u"Änderungen, Schülerbilder und der externe",
             u"Backup-Ordner verschlüsselt werden?", u"Ohne das Passwort oder den Wiederherstellungscode",
             u"lässt sich danach nichts mehr öffnen."},
            {u"Ja, verschlüsseln", u"  Nein  "}) != u"Ja, verschlüsseln")
        return 0;
    Text passwort;
    if (!NeuesPasswort(passwort)) return 0;
    std::array<unsigned char, kRecoveryBytes> code{};
    if (!PrepareNewKey(code)) {
        WipeText(passwort);
        Ausgeben(KeyResult::NoMemory);
        return 0;
    }
    // The code is shown before anything is written: a kill here leaves all
    // files plain and nothing that needs a code not yet noted.
    if (!CodeNotiert(code)) {
        WipeText(passwort);
        return 0;
    }
    const KeyResult r = WriteNewKeyFile(Schluesseldatei(), passwort, code);
    WipeText(passwort);
    code.fill(0);
    if (r != KeyResult::Ok) {
        DiscardNewKey();
        Ausgeben(r);
        return 0;
    }
    User::Leerlaufwache = Sperren;
    User::LeerlaufGrenzeMs = kSperrNachMs;
    // Open until every file below "Noten" is sealed: a conversion cut short
    // leaves plain files that the next start seals, not refuses. The key
    // file records that the index exists only once it does.
    if (StandBeginnen()) SetIndexMark();
    const Umstellung u = Umstellen(true);
    if (UmzustellendeDateien(true, u"") == 0) StandAbschliessen();
    Fehlschlaege(u);
    KlareKopienLoeschen();
    std::vector<Text> zeilen{TextFromInt(u.verschluesselt) + u" Dateien sind jetzt verschlüsselt."};
    for (const Text& z : SpiegelZeilen()) zeilen.push_back(z);
    Box(u"Info", kGelb, zeilen);
    return 0;
}

bool PasswortPruefen(const Text& aufforderung) {
    Text passwort;
    if (!Verdeckt(aufforderung, passwort)) return false;
    const KeyResult r = UnlockWithPassword(CurrentKeyFile(), passwort);
    WipeText(passwort);
    if (r == KeyResult::Ok) return true;
    Aufforderung(u"");
    if (r == KeyResult::WrongSecret) Box(u"Fehler", kRot, {u"Das Passwort ist falsch."});
    else Ausgeben(r);
    return false;
}

// The new password with a new data key and recovery code: the code is
// noted before the key file changes, then every file is sealed anew.
int SchluesselWechseln(Text& neu) {
    std::array<unsigned char, kRecoveryBytes> code{};
    if (!PrepareNewKey(code)) {
        WipeText(neu);
        Ausgeben(KeyResult::NoMemory);
        return 0;
    }
    if (!CodeNotiert(code)) {
        WipeText(neu);
        return 0;
    }
    const KeyResult r = BeginDataKeyChange(CurrentKeyFile(), neu, code);
    WipeText(neu);
    code.fill(0);
    if (r != KeyResult::Ok) {
        DiscardNewKey();
        Ausgeben(r);
        return 0;
    }
    const Neuversiegelung n = NeuVersiegelnMitHinweis();
    std::vector<Text> zeilen{u"Das Passwort und der Schlüssel wurden geändert.",
                             TextFromInt(n.zahlen.umgestellt) + u" Dateien sind jetzt neu verschlüsselt."};
    if (n.spiegelAusgelassen)
        for (const Text& z : SpiegelSpaeterZeilen()) zeilen.push_back(z);
    Box(u"Info", kGelb, zeilen);
    return 0;
}

// Yes for a new key as well; Escape changes nothing at all.
enum class Schluesselwahl { Neu, Behalten, Abbruch };
Schluesselwahl NeuerSchluesselGewuenscht() {
    Aufforderung(u"");
    const Text antwort = Box(u"Schlüssel", kGelb,
                             {u"Soll auch ein neuer Schlüssel erzeugt werden?", u"Alte Kopien der Schlüsseldatei und der",
                              u"bisherige Wiederherstellungscode öffnen dann", u"keine Datei mehr."},
                             {u"Neuer Schlüssel", u"Schlüssel behalten"});
    if (antwort == u"Neuer Schlüssel") return Schluesselwahl::Neu;
    if (antwort == u"Schlüssel behalten") return Schluesselwahl::Behalten;
    return Schluesselwahl::Abbruch;
}

int PasswortAendern() {
    if (!PasswortPruefen(u"Bisheriges Passwort:")) return 0;
    Text neu;
    if (!NeuesPasswort(neu)) return 0;
    // A change of key still waiting for the mirror is finished first; until
    // then only the password changes.
    if (!DataKeyChanging()) {
        const Schluesselwahl wahl = NeuerSchluesselGewuenscht();
        if (wahl == Schluesselwahl::Abbruch) {
            WipeText(neu);
            return 0;
        }
        if (wahl == Schluesselwahl::Neu) return SchluesselWechseln(neu);
    }
    const KeyResult r = ChangePassword(CurrentKeyFile(), neu);
    WipeText(neu);
    if (r != KeyResult::Ok) {
        Ausgeben(r);
        return 0;
    }
    const Text spiegel = ErreichbarerSpiegel();
    if (!spiegel.empty()) CopyKeyFileInto(spiegel);
    Box(u"Info", kGelb, {u"Das Passwort wurde geändert."});
    return 0;
}

// The one confirmation before anything is written plain again.
bool WirklichAusschalten() {
    Aufforderung(u"");
    return Box(u"Warnung", kRot,
               {u"Wollen Sie die Verschlüsselung wirklich ausschalten?", u"Alle Dateien werden dann wieder",
                u"unverschlüsselt gespeichert und sind ohne", u"Passwort für jeden lesbar."},
               {u"Ja, das ist ok", u"NEIN"}) == u"Ja, das ist ok";
}

int Ausschalten() {
    if (!PasswortPruefen(u"Passwort:")) return 0;
    if (!WirklichAusschalten()) return 0;
    // Renamed first: a kill from here on is finished as "switching off".
    if (!RenameFileOver(Schluesseldatei(), AusschaltdateiIn(u"."))) {
        Ausgeben(KeyResult::Damaged);
        return 0;
    }
    FlushFolderOf(Schluesseldatei());
    AusschaltenBeenden();
    return 0;
}

// ---- start and lock ------------------------------------------------------------------

// The key file says an index of saves was kept, and it is gone: whoever
// deleted it may have put back older class files. The teacher decides
// before anything is written; true to go on.
bool OhneStandWeiter() {
    Aufforderung(u"");
    return Box(u"Warnung", kRot,
               {u"Die Aufzeichnung der gespeicherten Stände fehlt.", u"Die Klassendateien in diesem Ordner könnten",
                u"durch ältere Fassungen ersetzt worden sein:", CanonicalPath(u".") + u"/" + kDatenordnerName, u" ",
                u"Weiter: Die Aufzeichnung wird aus den Dateien,", u"wie sie jetzt sind, neu angelegt."},
               {u"Weiter", u"Programm beenden"}) == u"Weiter";
}

// From the fifth wrong try on, each further try waits 2 s longer than the last.
void Warten(int falsche) {
    if (falsche < 5) return;
    const int ms = (falsche - 4) * 2000;
    const int beginn = MillisecondClock();
    while (MillisecondClock() - beginn < ms && !EndSignalled()) {
        Cls();
        User::update();
        SetDrawFont(Schrift32);
        SetColor(255, 255, 255);
        const Text t = u"Bitte warten Sie " + TextFromInt((ms - (MillisecondClock() - beginn) + 999) / 1000) +
                       u" Sekunden ...";
        DrawTextAt(t, (Bildschirmbreite - TextWidthOf(t)) * 0.5, Bildschirmhoehe / 5.0);
        FrameEnd();
    }
    User::flush();
}

// The code, then a new password twice; true when the key is held afterwards.
bool MitCode(const Text& schluesseldatei) {
    // Masked like the password: the code opens everything.
    Text getippt;
    if (!Verdeckt(u"Wiederherstellungscode:", getippt)) return false;
    std::array<unsigned char, kRecoveryBytes> code{};
    const bool lesbar = ParseRecoveryCode(getippt, code);
    WipeText(getippt);
    Aufforderung(u"");
    if (!lesbar) {
        Box(u"Fehler", kRot, {u"Das ist kein gültiger Wiederherstellungscode.", u"Er hat 32 Zeichen (Ziffern und",
                              u"Buchstaben außer I, L, O und U)."});
        return false;
    }
    const KeyResult r = UnlockWithRecovery(schluesseldatei, code);
    code.fill(0);
    if (r == KeyResult::WrongSecret) {
        Box(u"Fehler", kRot, {u"Der Wiederherstellungscode ist falsch."});
        return false;
    }
    if (r != KeyResult::Ok) {
        Ausgeben(r);
        return false;
    }
    Text neu;
    // Without a new password the old one stays valid; the files open either way.
    if (NeuesPasswort(neu)) {
        const KeyResult c = ChangePassword(schluesseldatei, neu);
        WipeText(neu);
        if (c != KeyResult::Ok) Ausgeben(c);
        else Box(u"Info", kGelb, {u"Das neue Passwort gilt ab sofort."});
    }
    return true;
}

// Asks until the key is held. With mayEnd, Escape on the entry ends the
// program (false); at the lock it asks again.
bool Entsperren(const Text& schluesseldatei, const Text& aufforderung, bool mayEnd) {
    int falsche = 0;
    for (;;) {
        // A logout ends the program also from the lock: the open class's save
        // then fails (no key is held) and its recovery file stays.
        if (EndSignalled()) return false;
        Text passwort;
        if (!Verdeckt(aufforderung, passwort)) {
            if (mayEnd) return false;
            continue;
        }
        const KeyResult r = UnlockWithPassword(schluesseldatei, passwort);
        WipeText(passwort);
        if (r == KeyResult::Ok) return true;
        if (r != KeyResult::WrongSecret) {
            Ausgeben(r);
            if (mayEnd) return false;
            continue;
        }
        ++falsche;
        Aufforderung(u"");
        const Text antwort = Box(u"Fehler", kRot, {u"Das Passwort ist falsch."}, {kNochmal, kCodeSchalter});
        if (antwort == kCodeSchalter && MitCode(schluesseldatei)) return true;
        Warten(falsche);
    }
}

}  // namespace

Text Schluesseldatei() { return SchluesseldateiIn(u"."); }

int VerschluesselungVerwalten() {
    if (!SealingOn()) return Einschalten();
    const Text antwort = Box(u"Verschlüsselung", kGelb,
                             {u"Die Notenbücher werden verschlüsselt gespeichert."},
                             {u"Passwort ändern", u"Verschlüsselung ausschalten"});
    if (antwort == u"Passwort ändern") return PasswortAendern();
    if (antwort == u"Verschlüsselung ausschalten") return Ausschalten();
    return 0;
}

bool VerschluesselungBeimStart() {
    Verschluesselungsstand stand = VerschluesselungsstandIn(u".");
    if (stand == Verschluesselungsstand::Aus) {
        // Sealed files and no key file: a deleted or moved key file must not
        // make the program write plain from now on.
        if (UmzustellendeDateien(false, u"") == 0) return true;
        Aufforderung(u"");
        Box(u"Fehler", kRot,
            {u"Im Ordner \"Noten\" liegen verschlüsselte Dateien,", u"aber die Schlüsseldatei fehlt. Sie gehört hierher:",
             CanonicalPath(u".") + u"/" + kKeyFileName,
             u"Legen Sie sie dorthin zurück (die Kopie im externen", u"Backup-Ordner öffnet mit dem Wiederherstellungscode)",
             u"und starten Sie das Programm neu."});
        return false;
    }
    const Text datei = stand == Verschluesselungsstand::An ? Schluesseldatei() : AusschaltdateiIn(u".");
    if (!Entsperren(datei, u"Passwort:", true)) return false;
    if (stand == Verschluesselungsstand::Ausschalten) {
        // A key file found renamed asks what the menu asks; without a yes it
        // takes its name back and everything stays sealed.
        if (WirklichAusschalten()) {
            AusschaltenBeenden();
            return true;
        }
        if (!RenameFileOver(AusschaltdateiIn(u"."), Schluesseldatei())) {
            Ausgeben(KeyResult::Damaged);
            return false;
        }
        FlushFolderOf(Schluesseldatei());
        KeyFileRenamed(Schluesseldatei());
        stand = Verschluesselungsstand::An;
    }
    // No index, though the key file says there was one: asked before any
    // file is sealed anew or counted.
    const Standlage lage = StandLage();
    if (lage == Standlage::Fehlt && IndexMarkSet() && !OhneStandWeiter()) return false;
    User::Leerlaufwache = Sperren;
    User::LeerlaufGrenzeMs = kSperrNachMs;
    // A change of key interrupted, or waiting for the mirror: finished before
    // anything else is written.
    if (DataKeyChanging()) {
        const Neuversiegelung n = NeuVersiegelnMitHinweis();
        if (!DataKeyChanging())
            Box(u"Info", kGelb, {u"Der Wechsel zum neuen Schlüssel ist abgeschlossen:",
                                 TextFromInt(n.zahlen.umgestellt) + u" Dateien sind jetzt neu verschlüsselt."});
        else if (n.spiegelAusgelassen && n.zahlen.umgestellt > 0)
            Box(u"Warnung", kRot, SpiegelSpaeterZeilen());
    }
    // No index (made by a version before it, or lost with the teacher's
    // consent): begun now, and finished from the files as they are once
    // nothing is left to seal. The key file records from then on that it exists.
    if (lage == Standlage::Fehlt) StandBeginnen();
    if (!IndexMarkSet() && StandLage() != Standlage::Fehlt) SetIndexMark();
    // Once the conversion has finished, plain files below "Noten" were put
    // there by someone else: they are refused when read, not sealed. Before
    // that: files left plain by an interrupted switch-on. Always: a stick
    // that was away when encryption was switched on.
    const bool fertig = lage == Standlage::Fertig;
    const Text spiegel = ErreichbarerSpiegel();
    const int hier = fertig ? 0 : UmzustellendeDateien(true, u"");
    const int dort = spiegel.empty() ? 0 : UmzustellendeDateien(true, spiegel, false);
    // Only the stick's files left: it was away when encryption was switched on.
    const int aufDemStick = hier > 0 ? 0 : dort;
    if (hier + dort > 0) {
        const Umstellung u = Umstellen(true, !fertig);
        Fehlschlaege(u);
        if (aufDemStick > 0 && NichtUmgestellterSpiegel.empty())
            Box(u"Info", kGelb, {u"Der externe Backup-Ordner ist wieder erreichbar:", spiegel,
                                 u"Seine Dateien sind jetzt verschlüsselt."});
        else if (!NichtUmgestellterSpiegel.empty())
            Box(u"Warnung", kRot, SpiegelZeilen());
    } else if (!spiegel.empty() && !CopyKeyFileInto(spiegel)) {
        Box(u"Warnung", kRot, {u"Die Schlüsseldatei konnte nicht in den externen", u"Backup-Ordner geschrieben werden:",
                               spiegel, u"Ohne sie lassen sich die Kopien dort nicht öffnen.",
                               u"Es wird beim nächsten Speichern erneut versucht."});
    }
    // Finished once nothing below "Noten" is left to seal (a failed file is tried again next time).
    if (!fertig && UmzustellendeDateien(true, u"") == 0) StandAbschliessen();
    return true;
}

void Sperren() {
    if (CurrentSealMode() != SealMode::Unlocked) return;
    const Text datei = CurrentKeyFile();
    Texteingabe::Zustand eingabe = Texteingabe::sichern();
    TSchulklasse* klasse = OffeneKlasse;
    if (klasse) ZeilenWegschliessen(*klasse);
    // Portraits show the students as well as their names do.
    PortraitsVergessen();
    LockSealing();
    const bool offen = Entsperren(datei, u"Gesperrt. Bitte geben Sie Ihr Passwort ein:", false);
    if (klasse && offen && !ZeilenZurueckholen(*klasse)) {
        Aufforderung(u"");
        Box(u"Fehler", kRot, {u"Die Klasse konnte nach dem Entsperren nicht wieder", u"angezeigt werden. Sie wurde vor dem Sperren",
                              u"gespeichert. Bitte verlassen Sie sie ohne Speichern", u"und öffnen Sie sie erneut."});
    }
    Texteingabe::wiederherstellen(eingabe);
    // The interrupted entry may have been a new password.
    WipeText(eingabe.text);
    // The screen beneath draws itself again from the next frame on.
    for (int i = 0; i < 2; ++i) {
        Cls();
        Flip(-1);
    }
}
