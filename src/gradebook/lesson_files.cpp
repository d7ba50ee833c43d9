// Reading, writing and backing up the seating plan and attendance files.
#include "gradebook/lesson_files.hpp"

#include "gradebook/class_file.hpp"
#include "gradebook/data_folders.hpp"
#include "gradebook/names.hpp"
#include "gradebook/program_state.hpp"
#include "gradebook/save_index.hpp"
#include "platform/files.hpp"
#include "platform/sealed_files.hpp"
#include "platform/wipe_on_exit.hpp"
#include "tiles/info_box.hpp"
#include "tiles/user.hpp"

Text Nebendatei(const Text& klassendatei, const Text& endung) {
    const Text rumpf = klassendatei.ends_with(u".slk") ? klassendatei.substr(0, klassendatei.size() - 4) : klassendatei;
    return rumpf + endung;
}

namespace {
Text Dateiname(const Text& pfad) {
    const size_t s = pfad.find_last_of(u"/\\");
    return s == Text::npos ? pfad : pfad.substr(s + 1);
}

// Reads a lesson file: Unreadable as "missing" only when nothing is there.
enum class Lesung { fehlt, gelesen, abgelehnt };
Lesung DateiLesen(const Text& pfad, size_t hoechstens, std::string& bytes, Text& fehler) {
    const int art = PathKind(pfad);
    if (art == 0) return Lesung::fehlt;
    switch (ReadDataFile(pfad, bytes, hoechstens)) {
        case DataReadResult::Ok: return Lesung::gelesen;
        case DataReadResult::Refused:
            fehler = AblehnungsgrundVon(pfad) == Ablehnung::Unverschluesselt
                         ? u"Sie ist nicht verschlüsselt, obwohl die Verschlüsselung an ist."
                         : u"Sie ist beschädigt oder gehört zu einem anderen Schlüssel.";
            break;
        case DataReadResult::Locked: fehler = u"Die Verschlüsselung ist gesperrt."; break;
        default: fehler = art == 1 ? u"Sie ist viel zu groß oder nicht lesbar." : u"Sie ist keine Datei."; break;
    }
    return Lesung::abgelehnt;
}

void Abgelehnt(std::vector<Text>* fehler, const Text& pfad, const Text& grund) {
    if (fehler) fehler->push_back(Dateiname(pfad) + u": " + grund);
}

void Schreibfehler(TSchulklasse& klasse, const Text& pfad) {
    if (!klasse.Unterricht || klasse.Unterricht->SchreibfehlerGemeldet) return;
    klasse.Unterricht->SchreibfehlerGemeldet = true;
    TInfoBox::bauen(u"Fehler", {255, 0, 0},
                    {u"Die Datei " + Dateiname(pfad), u"konnte nicht geschrieben werden.",
                     u"Bitte prüfen Sie den Ordner \"Noten\"."},
                    {kOkSchalter})
        ->verwenden();
    User::flush();
}
}  // namespace

TUnterricht& UnterrichtLesen(TSchulklasse& klasse, std::vector<Text>* fehler) {
    if (klasse.Unterricht) return *klasse.Unterricht;
    klasse.Unterricht = std::make_shared<TUnterricht>();
    TUnterricht& u = *klasse.Unterricht;
    const Text datei = KlassendateiPfad(klasse);
    const auto schueler = SchuelerDerKlasse(klasse);

    const Text planpfad = Nebendatei(datei, kSitzplanEndung);
    std::string bytes;
    const WipeOnExit weg(bytes);
    Text grund;
    switch (DateiLesen(planpfad, kSitzplanHoechstgroesse, bytes, grund)) {
        case Lesung::fehlt: u.Sitzplan = TSitzplan::Standard(schueler); break;
        case Lesung::abgelehnt:
            u.PlanGesperrt = true;
            Abgelehnt(fehler, planpfad, grund);
            u.Sitzplan = TSitzplan::Standard(schueler);
            break;
        case Lesung::gelesen: {
            Planlesung p = SitzplanAusBytes(bytes, schueler);
            if (p.plan) {
                u.Sitzplan = std::move(*p.plan);
                u.PlanVorhanden = true;
                u.Sitzplan.Abgleichen(schueler);
            } else {
                u.PlanGesperrt = true;
                Abgelehnt(fehler, planpfad, p.fehler);
                u.Sitzplan = TSitzplan::Standard(schueler);
            }
            break;
        }
    }

    const Text fzpfad = Nebendatei(datei, kFehlzeitenEndung);
    WipeBytes(bytes);
    grund.clear();
    switch (DateiLesen(fzpfad, kFehlzeitenHoechstgroesse, bytes, grund)) {
        case Lesung::fehlt: break;
        case Lesung::abgelehnt:
            u.FehlzeitenGesperrt = true;
            Abgelehnt(fehler, fzpfad, grund);
            break;
        case Lesung::gelesen: {
            Fehlzeitenlesung f = FehlzeitenAusBytes(bytes, schueler);
            if (f.fehlzeiten) {
                u.Fehlzeiten = std::move(*f.fehlzeiten);
            } else {
                u.FehlzeitenGesperrt = true;
                Abgelehnt(fehler, fzpfad, f.fehler);
            }
            break;
        }
    }
    return u;
}

TUnterricht& UnterrichtLaden(TSchulklasse& klasse) {
    if (klasse.Unterricht) return *klasse.Unterricht;
    std::vector<Text> fehler;
    TUnterricht& u = UnterrichtLesen(klasse, &fehler);
    for (const Text& f : fehler) {
        TInfoBox::bauen(u"Fehler", {255, 0, 0}, Ablehnungszeilen(f), {kOkSchalter})->verwenden();
        User::flush();
    }
    return u;
}

std::vector<Text> Ablehnungszeilen(const Text& fehler) {
    const size_t doppelpunkt = fehler.find(u": ");
    return {u"Die Datei " + fehler.substr(0, doppelpunkt) + u" wird nicht verwendet:", fehler.substr(doppelpunkt + 2),
            u"Sie bleibt unverändert liegen; Änderungen an", u"Sitzplan oder Anwesenheit werden nicht gespeichert."};
}

TFehlzeiten FehlzeitenFuerBerichte(const TSchulklasse& klasse) {
    if (klasse.Unterricht) return klasse.Unterricht->FehlzeitenGesperrt ? TFehlzeiten() : klasse.Unterricht->Fehlzeiten;
    std::string bytes;
    const WipeOnExit weg(bytes);
    const Text pfad = Nebendatei(KlassendateiPfad(klasse), kFehlzeitenEndung);
    if (PathKind(pfad) != 1 || ReadDataFile(pfad, bytes, kFehlzeitenHoechstgroesse) != DataReadResult::Ok) return {};
    Fehlzeitenlesung f = FehlzeitenAusBytes(bytes, SchuelerDerKlasse(klasse));
    return f.fehlzeiten ? std::move(*f.fehlzeiten) : TFehlzeiten();
}

bool SitzplanSpeichern(TSchulklasse& klasse) {
    TUnterricht& u = UnterrichtLesen(klasse, nullptr);
    if (u.PlanGesperrt) return false;
    const Text datei = KlassendateiPfad(klasse);
    if (!SpeicherortZulaessig(klasse, datei)) return false;
    const Text ordner = KlassenordnerRelativ(klasse.Titel[0]);
    if (PathKind(ordner) != 2) CreateFolder(ordner, true);
    const Text pfad = Nebendatei(datei, kSitzplanEndung);
    std::string bytes = u.Sitzplan.Bytes();
    const WipeOnExit weg(bytes);
    if (DateiSicherErsetzen(pfad, bytes)) {
        u.PlanVorhanden = true;
        return true;
    }
    Schreibfehler(klasse, pfad);
    return false;
}

bool FehlzeitenSpeichern(TSchulklasse& klasse) {
    TUnterricht& u = UnterrichtLesen(klasse, nullptr);
    if (u.FehlzeitenGesperrt) return false;
    const Text datei = KlassendateiPfad(klasse);
    if (!SpeicherortZulaessig(klasse, datei)) return false;
    const Text ordner = KlassenordnerRelativ(klasse.Titel[0]);
    if (PathKind(ordner) != 2) CreateFolder(ordner, true);
    const Text pfad = Nebendatei(datei, kFehlzeitenEndung);
    std::string bytes = u.Fehlzeiten.Bytes();
    const WipeOnExit weg(bytes);
    if (DateiSicherErsetzen(pfad, bytes)) return true;
    Schreibfehler(klasse, pfad);
    return false;
}

void UnterrichtSichern(const TSchulklasse& klasse, const Text& klassendatei) {
    const Text backup = NeuestesBackup(klasse.Titel[0], klasse.Titel[1]);
    const bool spiegeln = BackupOrdnerErreichbar(BackupOrdner);
    for (const Text& endung : {kSitzplanEndung, kFehlzeitenEndung}) {
        const Text pfad = Nebendatei(klassendatei, endung);
        std::string bytes;
        const WipeOnExit weg(bytes);
        // A refused file is not copied over a good backup.
        if (PathKind(pfad) != 1 || ReadDataFile(pfad, bytes, kFehlzeitenHoechstgroesse) != DataReadResult::Ok) continue;
        if (klasse.Unterricht && (endung == kSitzplanEndung ? klasse.Unterricht->PlanGesperrt
                                                             : klasse.Unterricht->FehlzeitenGesperrt))
            continue;
        if (!backup.empty()) DateiSicherErsetzen(Nebendatei(backup, endung), bytes);
        if (!spiegeln) continue;
        const Text wurzel = OhneEndtrenner(BackupOrdner) + u"/";
        if (PathKind(wurzel + KlassenordnerRelativ(klasse.Titel[0])) != 2) continue;
        DateiSicherErsetzen(wurzel + pfad, bytes);
        if (!backup.empty() && PathKind(wurzel + KlassenordnerRelativ(klasse.Titel[0]) + u"/Backups") == 2)
            DateiSicherErsetzen(wurzel + Nebendatei(backup, endung), bytes);
    }
}

void UnterrichtAusBackup(const Text& klassendatei, const Text& backup) {
    for (const Text& endung : {kSitzplanEndung, kFehlzeitenEndung}) {
        std::string bytes;
        const WipeOnExit weg(bytes);
        if (ReadDataFile(Nebendatei(backup, endung), bytes, kFehlzeitenHoechstgroesse) != DataReadResult::Ok) continue;
        DateiSicherErsetzen(Nebendatei(klassendatei, endung), bytes);
    }
}

void UnterrichtDuplizieren(TSchulklasse& neu, const Text& alteKlassendatei) {
    std::shared_ptr<TUnterricht> alt = neu.Unterricht;
    neu.Unterricht.reset();
    TSitzplan plan;
    if (alt && !alt->PlanGesperrt) {
        plan = alt->Sitzplan;
    } else {
        std::string bytes;
        const WipeOnExit weg(bytes);
        if (ReadDataFile(Nebendatei(alteKlassendatei, kSitzplanEndung), bytes, kSitzplanHoechstgroesse) !=
            DataReadResult::Ok)
            return;
        Planlesung p = SitzplanAusBytes(bytes, SchuelerDerKlasse(neu));
        if (!p.plan) return;
        plan = std::move(*p.plan);
    }
    neu.Unterricht = std::make_shared<TUnterricht>();
    neu.Unterricht->Sitzplan = std::move(plan);
    neu.Unterricht->Sitzplan.Abgleichen(SchuelerDerKlasse(neu));
    SitzplanSpeichern(neu);
}

void UnterrichtUmbenennen(TSchulklasse& klasse, const Schuelername& alt, const Schuelername& neu) {
    TUnterricht& u = UnterrichtLesen(klasse, nullptr);
    if (u.Sitzplan.Umbenennen(alt, neu) && u.PlanVorhanden) SitzplanSpeichern(klasse);
    if (u.Fehlzeiten.SchuelerUmbenennen(alt, neu)) FehlzeitenSpeichern(klasse);
}

void UnterrichtEntfernen(TSchulklasse& klasse, const Schuelername& name) {
    TUnterricht& u = UnterrichtLesen(klasse, nullptr);
    if (u.Sitzplan.Abgleichen(SchuelerDerKlasse(klasse)) && u.PlanVorhanden) SitzplanSpeichern(klasse);
    if (u.Fehlzeiten.SchuelerEntfernen(name)) FehlzeitenSpeichern(klasse);
}
