// Asking for a free column type. The name is trimmed before it is checked:
// the class file drops the blanks when it is read, so " HauptF." would come
// back as an average column.
#include "gradebook/free_type_name.hpp"

#include "gradebook/grade_types.hpp"
#include "platform/conversions.hpp"
#include "tiles/info_box.hpp"
#include "tiles/texteingabe.hpp"

std::optional<Text> FreienTypnamenErfragen() {
    for (;;) {
        Texteingabe::starten(1, Text(), 1, -1, -1, 0);
        if (Texteingabe::verwenden(0) != 1) return std::nullopt;
        const Text name = Trim(Texteingabe::Eingabetext);
        if (!IstDurchschnittstyp(name)) return name;
        TInfoBox::bauen(u"Info", {255, 255, 0},
                        {u"Diese Notenbezeichnung ist nicht erlaubt,",
                         u"sondern für die Durchschnittsnoten reserviert.",
                         u"Bitte wählen Sie eine andere Bezeichnung."},
                        {kOkSchalter})
            ->verwenden();
    }
}
