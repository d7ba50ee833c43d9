// "Exportieren": the saved class file copied to "<K> <F> (exportiert).slk" in
// the program folder and opened in the spreadsheet program, with the window
// closed until that program ends; without one, the desktop's default program
// opens the copy and the window stays.
#include "classscreen/class_commands.hpp"
#include "gradebook/class_file.hpp"
#include "gradebook/data_folders.hpp"
#include "gradebook/program_state.hpp"
#include "gradebook/save_failure.hpp"
#include "platform/file_bytes.hpp"
#include "platform/files.hpp"
#include "platform/sealed_files.hpp"
#include "platform/graphics.hpp"
#include "platform/input.hpp"
#include "platform/notify.hpp"
#include "platform/office.hpp"
#include "platform/private_files.hpp"
#include "platform/system_services.hpp"
#include "tiles/user.hpp"

namespace {
const ::Text kKopierfehler =
    u"Die Original-Kladdorixdatei konnte nicht als\nexportierte Kopie gespeichert werden. Stellen sie sicher,\n"
    u"dass sich das Programm auf einem beschreibbarem Laufwerk\n(mit Schreibrechten) befindet.";

// The window as start-up opens it.
void FensterWiederOeffnen() {
    SetAppTitle(u"Rido Kladdorix");
    if (!OpenGraphicsWindow(Bildschirmbreite, Bildschirmhoehe, 0, 60, 0))
        RaiseError(u"Das Programmfenster konnte nicht geöffnet werden.");
    SetBlend(3);
    SetClsColor(23, 0, 83);
    SetImageMaskColor(23, 0, 83);
    TMultiTouch::Init(1, 1, 0);
}
}  // namespace

// In the program folder, which is the working folder; while encryption is
// on in a private folder outside it, so the program folder never holds a
// plain copy.
// There it has a neutral name: no class or subject in a name the
// spreadsheet program or the desktop may note somewhere.
::Text Exportdatei(const TSchulklasse& klasse) {
    if (!SealingOn()) return klasse.Titel[0] + u" " + klasse.Titel[1] + u" (exportiert).slk";
    const ::Text ordner = PrivaterKopienordner();
    return ordner.empty() ? ::Text() : ordner + u"/Tabelle.slk";
}

::Text PrivaterKopienordner() { return PrivateFolder(kPrivaterOrdnerName); }

bool ExportkopieAnlegen(TSchulklasse& klasse) {
    const Speicherergebnis e = klasse.speichern(u"");
    if (!e) {
        SpeicherfehlerZeigen(klasse);
        return false;
    }
    SicherungswarnungZeigen(klasse, e);
    // The copy is always plain: the spreadsheet program reads it as it is.
    std::string bytes;
    if (ReadDataFile(KlassendateiPfad(klasse), bytes, kKlassendateiHoechstgroesse) != DataReadResult::Ok ||
        !WriteFileBytes(Exportdatei(klasse), bytes)) {
        // The gradebook itself is saved; only its copy could not be written.
        SetAppTitle(u"Fehler");
        Notify(kKopierfehler, 0);
        RaiseError(kKopierfehler);
    }
    return true;
}

int Exportieren(TSchulklasse& klasse) {
    if (!ExportkopieAnlegen(klasse)) return 0;
    const ::Text absolut = CanonicalPath(Exportdatei(klasse));
    const ::Text programm = FindSpreadsheetProgram();
    if (programm.empty()) {
        OpenURL(absolut);
        // The default program may still read it: the plain copy goes at the end of the run.
        if (SealingOn()) DeleteAtExit(absolut);
        return 0;
    }
    CloseGraphicsWindow();
    // While on, LibreOffice gets a profile of its own in the private folder:
    // its recent files, thumbnails and recovery data go with that folder.
    const ::Text profil = SealingOn() ? PrivaterKopienordner() + u"/Profil" : ::Text();
    RunSpreadsheetAndWait(programm, absolut, profil);
    if (SealingOn()) {
        DeleteFileAt(absolut);
        DeleteFolderTree(profil);
    }
    FensterWiederOeffnen();
    // Nothing typed or clicked meanwhile acts on the class screen.
    DiscardPendingInput();
    User::flush();
    return 0;
}
