// Portrait file names, refused when a name would leave the "Bilder" folder.
#include "gradebook/photo_paths.hpp"

#include "gradebook/data_folders.hpp"

Text Portraitdateiname(const Text& nachname, const Text& vornamen) {
    const Text name = nachname + u" " + vornamen + u".png";
    return IstEinfacherName(name) ? name : Text();
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
