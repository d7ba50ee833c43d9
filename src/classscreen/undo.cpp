// "Rückgängig" on the class screen (Ctrl+Z, or the class menu's tile): the
// grade entries since the class was opened are taken back one at a time,
// and the recovery file follows as after any edit.
#include "classscreen/class_commands.hpp"
#include "gradebook/grade_cells.hpp"
#include "tiles/info_box.hpp"
#include "tiles/user.hpp"

int Rueckgaengig(TSchulklasse& klasse) {
    if (LetztenEintragZuruecknehmen(klasse) > 0) {
        klasse.AenderungVermerken();
        return 0;
    }
    TInfoBox::bauen(u"Info", {255, 255, 0},
                    {u"Seit dem Öffnen der Klasse wurde keine Note", u"eingetragen, die sich zurücknehmen lässt."},
                    {kOkSchalter})
        ->verwenden();
    User::flush();
    return 0;
}
