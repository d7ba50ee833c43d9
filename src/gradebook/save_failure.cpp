// The "could not be saved" box.
#include "gradebook/save_failure.hpp"

#include "tiles/info_box.hpp"
#include "tiles/user.hpp"

void SpeicherfehlerZeigen(const TSchulklasse& klasse) {
    auto box = TInfoBox::bauen(u"Fehler", {255, 0, 0},
                               {u"Die Klasse " + klasse.Titel[0] + u" " + klasse.Titel[1],
                                u"konnte nicht gespeichert werden.",
                                u"Bitte prüfen Sie, ob der Ordner beschreibbar ist",
                                u"und genug Platz frei ist. Die Klasse bleibt geöffnet."},
                               {kOkSchalter});
    box->verwenden();
    User::flush();
}
