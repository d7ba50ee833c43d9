// Portrait file names, refused when a name would leave the "Bilder" folder.
#include "gradebook/photo_paths.hpp"

#include "gradebook/data_folders.hpp"
#include "platform/sealed_files.hpp"

Text Portraitdateiname(const Text& nachname, const Text& vornamen) {
    const Text stamm = nachname + u" " + vornamen;
    for (char16_t c : stamm)
        if (c == u'/' || c == u'\\' || c < 32) return Text();
    // The stem always holds the blank, so it is never "." or ".." itself; the
    // whole file name is checked anyway in case the rule above ever changes.
    // While encryption is on the name itself is personal data: the file is
    // named by a keyed hash of it (none while locked).
    if (SealingOn()) {
        const Text verborgen = SealedPortraitStem(stamm);
        return verborgen.empty() ? Text() : verborgen + u".png";
    }
    const Text name = stamm + u".png";
    if (name == u"." || name == u"..") return Text();
    return name;
}

Text PortraitpfadIn(const Text& datenordner, const Text& klasse, const Text& nachname, const Text& vornamen) {
    const Text name = Portraitdateiname(nachname, vornamen);
    if (name.empty()) return Text();
    for (char16_t c : klasse)
        if (c == u'/' || c == u'\\' || c < 32) return Text();
    if (klasse.empty() || klasse == u"." || klasse == u"..") return Text();
    return Bilderordner(datenordner, klasse) + u"/" + name;
}

Text Portraitpfad(const TSchulklasse& klasse, int zeile) {
    if (zeile < 1 || zeile >= static_cast<int>(klasse.Zensurzeile.size()) || !klasse.Zensurzeile[zeile]) return Text();
    const TKachel& name = klasse.Zelle(zeile, 0);
    const Text nach = name.Text.size() > 0 ? name.Text[0] : Text();
    const Text vor = name.Text.size() > 1 ? name.Text[1] : Text();
    return PortraitpfadIn(Datenordner(), klasse.Titel[0], nach, vor);
}
