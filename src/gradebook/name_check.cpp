// The refusal of a typed class or subject name that is no plain file name.
#include "gradebook/name_check.hpp"

#include "gradebook/data_folders.hpp"
#include "platform/file_names.hpp"
#include "platform/graphics.hpp"
#include "tiles/user.hpp"

std::shared_ptr<TInfoBox> NamensfehlerBox(const Text& name) {
    std::vector<Text> zeilen = {u"Der Name \"" + name + u"\" ist als Ordner- oder",
                                u"Dateiname nicht möglich: Er darf nicht leer,",
                                u"\".\" oder \"..\" sein und kein / oder \\ enthalten."};
    // The system's own rules, where it has more (Windows).
    for (const Text& zeile : SystemFileNameRules()) zeilen.push_back(zeile);
    return TInfoBox::bauen(u"Fehler", {255, 0, 0}, zeilen, {kOkSchalter});
}

bool NamenPruefen(const std::vector<Text>& namen) {
    for (const Text& name : namen) {
        if (IstEinfacherName(name)) continue;
        // On an empty screen, not over the keyboard that took the name.
        for (int i = 0; i < 2; ++i) {
            Cls();
            Flip(-1);
        }
        NamensfehlerBox(name)->verwenden();
        User::flush();
        return false;
    }
    return true;
}
