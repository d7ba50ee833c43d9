// The class command menu, opened from the corner tile: tile 5 relabelled for
// the current display mode, then the chosen command.
#include "classscreen/class_commands.hpp"
#include "classscreen/class_screen_commands.hpp"
#include "classscreen/reports.hpp"
#include "classscreen/seating_plan_screen.hpp"
#include "gradebook/class_menus.hpp"
#include "tiles/user.hpp"

int Klassenbefehle(TSchulklasse& klasse) {
    EinzelanzeigeKachelBeschriften(klasse);
    Klassenmenue->einblenden(0, 0, static_cast<int>(PointerPosX), static_cast<int>(PointerPosY), nullptr,
                             kPositionBehalten, kPositionBehalten);
    if (Klassenmenue->verwenden().empty()) return 0;
    switch (Klassenmenue->Auswahl_Kachelindex) {
        case kZurKlassenuebersicht: return SpeichernUndVerlassen(klasse, 1);
        case kKladdorixSchliessen: return SpeichernUndVerlassen(klasse, 3);
        case kNeueSchuelerzeile: klasse.NeueZensurzeileEinfuegen(); return 0;
        case kNeueNotenspalte: klasse.NeueNotenspalteEinfuegen(); return 0;
        case kBilderImportieren:
            klasse.ImportiereBilder();
            // New photos: the plan's pictures are decoded ahead again.
            SitzplanVorbereiten(klasse);
            return 0;
        case kEinzelanzeige: EinzelanzeigeUmschalten(klasse); return 0;
        case kNamenslisteImportieren: return NamenslisteImportieren(klasse);
        case kExportieren: return Exportieren(klasse);
        case kZurueckZuBackup: return ZurueckZuBackup(klasse);
        case kLeerDuplizieren: return LeerDuplizieren(klasse);
        case kKlassenlisteDrucken: KlassenlisteDrucken(klasse, false); return 0;
        case kLeereListeDrucken: KlassenlisteDrucken(klasse, true); return 0;
        case kSitzplan: return SitzplanZeigen(klasse, false);
        case kAnwesenheit: return SitzplanZeigen(klasse, true);
        case kRueckgaengig: return Rueckgaengig(klasse);
        default: return 0;
    }
}
