// Student photos: a whole class from a camera series, and the portrait of a
// single student. Both end in the same preparation: decode the photo at the
// smallest size that still fills the portrait, lighten it if it is dark, give
// it the contrast curve, cut and scale its middle square, and write it as PNG
// into the class's "Bilder" folder.
#include <algorithm>

#include "classscreen/photo_series.hpp"
#include "classscreen/portrait_processing.hpp"
#include "gradebook/waiting_notice.hpp"
#include "gradebook/class_menus.hpp"
#include "gradebook/data_folders.hpp"
#include "gradebook/photo_paths.hpp"
#include "gradebook/program_state.hpp"
#include "gradebook/schulklasse.hpp"
#include "platform/conversions.hpp"
#include "platform/files.hpp"
#include "platform/notify.hpp"
#include "platform/paths.hpp"
#include "platform/pixmap.hpp"
#include "platform/requesters.hpp"
#include "tiles/info_box.hpp"

namespace {

const ::Text kBildfilter = u"Bilddateien:png,jpg,bmp";

enum class Portraitergebnis { Geschrieben, NichtGeladen, NichtGeschrieben };

// Portraits are stored 360 x 360: as high as the first four rows of the row
// menu (85-pixel tiles with gaps of 4) beside which they are shown; the
// menu's ninth tile lies below the picture. Photos stored earlier keep fitting.
int Portraitgroesse() { return 360; }

// The portrait file of row zeile below the data folder "Noten" of the working
// folder (the program folder), as the class file is saved; "" when the name
// is not a plain file name.
::Text PortraitdateiVon(const TSchulklasse& klasse, int zeile) {
    if (zeile < 1 || zeile >= klasse.Schueleranzahl || zeile >= static_cast<int>(klasse.Zensurzeile.size()) ||
        !klasse.Zensurzeile[zeile])
        return ::Text();
    const TKachel& name = klasse.Zelle(zeile, 0);
    const ::Text nach = name.Text.size() > 0 ? name.Text[0] : ::Text();
    const ::Text vor = name.Text.size() > 1 ? name.Text[1] : ::Text();
    return PortraitpfadIn(kDatenordnerName, klasse.Titel[0], nach, vor);
}

::Text MitEndtrenner(const ::Text& ordner) {
    if (!ordner.empty() && (ordner.back() == u'/' || ordner.back() == u'\\')) return ordner;
    return ordner + u"/";
}

void Fehlerbox(const std::vector<::Text>& zeilen) {
    TInfoBox::bauen(u"Fehler", {255, 0, 0}, zeilen, {kOkSchalter})->verwenden();
}

// A photo that cannot be read (or claims a size the decoders refuse) is
// reported at once by the system's message box; a portrait that cannot be
// written is left to the caller to report.
Portraitergebnis PortraitAnfertigen(const TSchulklasse& klasse, const ::Text& pfad, int zeile) {
    const int S = Portraitgroesse();
    TPixmap foto = LoadPixmapFrom(pfad, S);
    if (!foto) {
        Notify(u"Leider konnte diese Bilddatei nicht geladen werden:\n" + pfad, 0);
        return Portraitergebnis::NichtGeladen;
    }
    const double a = Aufhellstaerke(MittlereHelligkeit(foto));
    TPixmap portraet = Portraet(foto, S, a);
    foto.reset();
    const ::Text ziel = PortraitdateiVon(klasse, zeile);
    if (!portraet || ziel.empty()) return Portraitergebnis::NichtGeschrieben;
    // A class copied in by hand has no "Bilder" folder until its first save.
    CreateFolder(ExtractFolder(ziel), true);
    return SavePixmapAsPNG(portraet, ziel, 0) ? Portraitergebnis::Geschrieben : Portraitergebnis::NichtGeschrieben;
}

}  // namespace

int TSchulklasse::ImportiereBilder() {
    const ::Text start = MitEndtrenner(StartOrdner);
    const ::Text erstes = NormalisePath(
        RequestFile(u"Wählen Sie das erste Schülerbild der Klasse " + Titel[0], kBildfilter, 0, start));
    if (erstes.empty()) return 0;
    const ::Text letztes = NormalisePath(
        RequestFile(u"Wählen Sie das letzte Schülerbild der Klasse" + ::Text(u" ") + Titel[0], kBildfilter, 0, erstes));
    if (letztes.empty()) return 0;
    const Bildserienwahl wahl = BildserieWaehlen(erstes, letztes, Schueleranzahl - 1);
    if (!wahl.fehlerzeilen.empty()) {
        Fehlerbox(wahl.fehlerzeilen);
        return 0;
    }
    const int n = static_cast<int>(wahl.pfade.size());
    int nichtGeschrieben = 0;
    WartehinweisZeigen(0, n);
    for (int k = 1; k <= n; ++k) {
        if (PortraitAnfertigen(*this, wahl.pfade[k - 1], k) == Portraitergebnis::NichtGeschrieben) ++nichtGeschrieben;
        WartehinweisZeigen(k, n);
    }
    if (nichtGeschrieben > 0) {
        Fehlerbox({TextFromInt(nichtGeschrieben) + u" von " + TextFromInt(n) + u" Schülerbildern",
                   nichtGeschrieben == 1 ? u"konnte nicht gespeichert werden." : u"konnten nicht gespeichert werden.",
                   u"Bitte prüfen Sie den Ordner",
                   Bilderordner(kDatenordnerName, Titel[0]) + u"."});
    }
    return 0;
}

int TSchulklasse::PraepariereEinzelnesBild(const ::Text& pfad, int zeile) {
    if (PortraitAnfertigen(*this, NormalisePath(pfad), zeile) == Portraitergebnis::NichtGeschrieben)
        Fehlerbox({u"Das Schülerbild konnte nicht", u"gespeichert werden.", u"Bitte prüfen Sie den Ordner",
                   Bilderordner(kDatenordnerName, Titel[0]) + u"."});
    return 0;
}
