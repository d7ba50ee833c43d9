// A new data key for every file (the teacher's "Neuer Schlüssel" when the
// password changes): each sealed file below "Noten" and the mirror's "Noten"
// goes from the previous key's sealed form straight to the new key's, whole
// (beside, flush, rename); no plain file is written. Until the last one is
// done the key file holds both keys, so a kill leaves every file openable
// and the next start (or the next one that reaches the mirror) finishes.
#pragma once
#include <functional>

#include "gradebook/encryption.hpp"
#include "platform/text.hpp"

struct Neuversiegelung {
    // dateien: sealed files looked at; umgestellt: sealed anew under the new
    // key; abgelehnt: under neither key, left as they are; fehlgeschlagen:
    // could not be rewritten or renamed (the next start tries again).
    Umstellung zahlen;
    // The mirror is set but could not take part (not reachable, or its key
    // file could not be written): the previous key stays in the key file
    // until a later start reaches it.
    bool spiegelAusgelassen = false;
};

// With the data key changing (DataKeyChanging): every sealed file found below
// "Noten" and, when given, below spiegel + "/Noten" (whose key file is written
// first) sealed under the new key; portraits get the name the new key gives
// them. The previous key is dropped from the key file when nothing failed and
// no mirror was left out (spiegelFehlt: a mirror is set but not reachable).
// fortschritt(fertig, gesamt) is called before the first file and after each.
Neuversiegelung NeuVersiegeln(const Text& spiegel, bool spiegelFehlt,
                              const std::function<void(int, int)>& fortschritt = {});
