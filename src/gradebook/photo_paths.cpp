// Portrait file names, refused when a name would leave the "Bilder" folder.
#include "gradebook/photo_paths.hpp"

#include "gradebook/data_folders.hpp"
#include "platform/sealed_files.hpp"

Text Portraitdateiname(const Text& nachname, const Text& vornamen) {
    const Text stamm = nachname + u" " + vornamen;
    // While encryption is on the name itself is personal data: the file is
    // named by a keyed hash of it (none while locked). The hash is taken only
    // of a name that would be a plain file name, so both forms refuse alike.
    if (!IstEinfacherName(stamm + u".png")) return Text();
    if (SealingOn()) {
        const Text verborgen = SealedPortraitStem(stamm);
        return verborgen.empty() ? Text() : verborgen + u".png";
    }
    return stamm + u".png";
}

Text PortraitpfadIn(const Text& datenordner, const Text& klasse, const Text& nachname, const Text& vornamen) {
    const Text name = Portraitdateiname(nachname, vornamen);
    if (name.empty()) return Text();
    if (!IstEinfacherName(klasse)) return Text();
    return Bilderordner(datenordner, klasse) + u"/" + name;
}

Text Portraitpfad(const TSchulklasse& klasse, int zeile) {
    if (zeile < 1 || zeile >= static_cast<int>(klasse.Zensurzeile.size()) || !klasse.Zensurzeile[zeile]) return Text();
    const TKachel& name = klasse.Zelle(zeile, 0);
    const Text nach = name.Text.size() > 0 ? name.Text[0] : Text();
    const Text vor = name.Text.size() > 1 ? name.Text[1] : Text();
    return PortraitpfadIn(Datenordner(), klasse.Titel[0], nach, vor);
}
