// The class screen's command handler: acts on the tile that anzeigen recorded
// in AuftragsZeile / AuftragsSpalte, once per frame.
#include "classscreen/class_screen_commands.hpp"

#include "classscreen/class_commands.hpp"

#include "platform/input.hpp"
#include "tiles/user.hpp"

int TSchulklasse::verwalten() {
    const int r = AuftragsZeile, k = AuftragsSpalte;
    if (r <= -1) {
        if (KeyPressed('Z') > 0 && KeyHeld(kKeyCtrl)) Rueckgaengig(*this);
        // Keys typed on the grid with no tap under way mean nothing here; kept,
        // they would be taken for the grade of the next cell tapped. Those
        // typed once a tap has begun are that cell's grade menu's.
        if (TouchState == 0) ForgetKeystrokes();
        return 0;
    }
    int code;
    if (r == 0 && k == 0)
        code = Klassenbefehle(*this);
    else if (r == 0)
        code = Spaltenbefehle(*this, k);
    else if (k == 0)
        code = Zeilenbefehle(*this, r);
    else
        code = Noteneingabe(*this, r, k);
    if (code >= 1 && code <= 3) return code;
    if (code == kOhneAuswahl) return 0;
    AuftragsZeile = -1;
    AuftragsSpalte = -1;
    ClearKeys();
    ClearMouse();
    return 0;
}
