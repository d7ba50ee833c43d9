// Portrait files: renamed with their student, turned by a quarter through a
// file written beside the portrait and renamed over it.
#include "gradebook/portrait_files.hpp"

#include "gradebook/data_folders.hpp"
#include "gradebook/photo_paths.hpp"
#include "gradebook/student_rows.hpp"
#include "platform/files.hpp"

Text PortraitDerZeile(const TSchulklasse& klasse, int zeile) {
    if (zeile < 1 || zeile >= klasse.Schueleranzahl) return Text();
    const Schuelername name = NameInZeile(klasse, zeile);
    return PortraitpfadIn(kDatenordnerName, klasse.Titel[0], name.nachname, name.vornamen);
}

Portraitergebnis PortraitUmbenennen(const Text& alt, const Text& neu) {
    if (PathKind(alt) != 1) return Portraitergebnis::keinBild;
    // Never over another picture: on a file system that ignores letter case
    // (Windows) "berger ben.png" is "Berger Ben.png", another student's photo.
    if (PathKind(neu) != 0 && CanonicalPath(neu) != CanonicalPath(alt)) return Portraitergebnis::nichtGeschrieben;
    if (!RenameFileOver(alt, neu)) return Portraitergebnis::nichtGeschrieben;
    // The new name survives a power cut only once the folder is on the disk.
    FlushFolderOf(neu);
    return Portraitergebnis::erledigt;
}

TPixmap Vierteldrehung(const TPixmap& bild, bool rechts) {
    if (!bild) return nullptr;
    const int w = bild->width, h = bild->height;
    TPixmap gedreht = CreatePixmap(h, w, 3, 4);
    if (!gedreht) return nullptr;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t p = ReadPixel(bild, x, y);
            if (rechts) WritePixel(gedreht, h - 1 - y, x, p);
            else WritePixel(gedreht, y, w - 1 - x, p);
        }
    return gedreht;
}

Portraitergebnis PortraitDrehen(const Text& pfad, bool rechts) {
    if (PathKind(pfad) != 1) return Portraitergebnis::keinBild;
    const TPixmap gedreht = Vierteldrehung(LoadPixmapFrom(pfad), rechts);
    if (!gedreht) return Portraitergebnis::nichtLesbar;
    // Not ".png" at the end: a left-over of an interrupted turn is never taken for a portrait.
    const Text neu = pfad + u".gedreht";
    // On the disk before it replaces the portrait, so that a power cut after
    // the rename cannot leave an empty file under the portrait's name.
    if (!SavePixmapAsPNG(gedreht, neu, 0) || !FlushFileToDisk(neu) || !RenameFileOver(neu, pfad)) {
        DeleteFileAt(neu);
        return Portraitergebnis::nichtGeschrieben;
    }
    FlushFileToDisk(pfad);
    return Portraitergebnis::erledigt;
}
