// Class screen loop: Cls, input, scrolling, the grid, present, wait, commands.
#include "shell/class_screen_loop.hpp"

#include "classscreen/seating_plan_screen.hpp"
#include "gradebook/locked_rows.hpp"
#include "gradebook/portrait_cache.hpp"
#include "gradebook/portrait_preparation.hpp"
#include "gradebook/save_failure.hpp"
#include "platform/end_signals.hpp"
#include "platform/graphics.hpp"
#include "platform/system_services.hpp"
#include "tiles/frame_loop.hpp"
#include "tiles/offset.hpp"
#include "tiles/user.hpp"

int Austrittsstatus = 0;

namespace {
// The longest wait for input while the grid stands (a shutdown signal ends it sooner).
constexpr int kStillWaitMs = 250;
// Portraits decoded ahead made textures per frame: a few milliseconds.
constexpr int kPortraitsJeFrame = 4;
}  // namespace

namespace {
// Nobody can answer a box during a shutdown: a save that fails is told on
// standard error, with where the changes are, and the program ends anyway.
int BeimBeendenSpeichern(TSchulklasse& klasse) {
    // Ended from the lock: the lock saved the class before it took the rows
    // away (a failed save there left the recovery file of the last edit).
    if (!klasse.GesperrteZeilen.empty()) return 3;
    if (klasse.speichern(u"")) return 3;
    const Text name = klasse.Titel[0] + u" " + klasse.Titel[1];
    const Text wo[] = {u"seit dem letzten Speichern wurde nichts geändert.",
                       u"die Änderungen stehen in der Datei für ungespeicherte Änderungen "
                       u"und werden beim nächsten Öffnen angeboten.",
                       u"die Änderungen seit dem letzten Speichern sind verloren."};
    PrintErrorLine(u"Rido Kladdorix: Die Klasse " + name + u" konnte beim Beenden nicht gespeichert werden; " +
                   wo[VerlustOhneSpeichern(klasse)]);
    Austrittsstatus = 1;
    return 3;
}
}  // namespace

int KlassenbildschirmLaufen(TSchulklasse& klasse) {
    // The lock takes this class's rows away while it holds the screen.
    // The seating plan's portraits are decoded while the class stands, so
    // that the plan opened from the class menu shows them at once.
    struct Offen {
        explicit Offen(TSchulklasse* k) {
            OffeneKlasse = k;
            SitzplanVorbereiten(*k);
        }
        ~Offen() {
            OffeneKlasse = nullptr;
            VorbereitungBeenden();
        }
    } offen(&klasse);
    int stillFrames = 0;
    for (;;) {
        // Once the grid has stood still for a tenth of a second with nothing
        // held or coasting, nothing changes until the teacher does something.
        if (stillFrames >= 5 && LastFrameFigures().skipped && TouchState == 0 && Offset::ScrollSpeedX == 0 &&
            Offset::ScrollSpeedY == 0 && !VorbereitungAusstehend())
            WaitForInput(kStillWaitMs);
        Cls();
        User::update();
        Offset::update(2, 64);
        klasse.anzeigen();
        FrameEnd();
        VorbereitetePortraitsUebernehmen(kPortraitsJeFrame);
        stillFrames = LastFrameFigures().skipped ? stillFrames + 1 : 0;
        const int code = klasse.verwalten();
        if (code > 0) return code;
        if (EndSignalled()) return BeimBeendenSpeichern(klasse);
        if (BackRequested) {
            // Never end with unsaved grades unnoticed: only a complete save, or
            // the user's twice confirmed choice to leave without it, ends the program.
            if (const Speicherergebnis e = klasse.speichern(u"")) {
                SicherungswarnungZeigen(klasse, e);
                return 3;
            }
            if (SpeicherfehlerBeimVerlassen(klasse, true)) return 3;
        }
    }
}
