// Start-up in its fixed order and the main loop of the first screen.
#include "shell/startup.hpp"

#include "platform/end_signals.hpp"
#include "platform/files.hpp"
#include "platform/graphics.hpp"
#include "platform/input.hpp"
#include "platform/notify.hpp"
#include "platform/paths.hpp"
#include "platform/private_files.hpp"
#include "platform/program_lock.hpp"
#include "platform/program_folder.hpp"
#include "platform/system_services.hpp"
#include "shell/catalogue.hpp"
#include "shell/class_screen_loop.hpp"
#include "shell/encryption_screens.hpp"
#include "platform/sealed_files.hpp"
#include "gradebook/data_folders.hpp"
#include "gradebook/file_places.hpp"
#include "gradebook/save_index.hpp"
#include "gradebook/program_state.hpp"
#include "shell/settings.hpp"
#include "shell/media.hpp"
#include "shell/shared_menus.hpp"
#include "tiles/info_box.hpp"
#include "tiles/texteingabe.hpp"
#include "tiles/offset.hpp"
#include "tiles/user.hpp"

Text DefaultStartOrdner(const Text& home, const Text& userProfile) {
    // USERPROFILE wins; where it is unset HOME stays, so a Linux desktop
    // starts the requesters in the user's home folder instead of "/".
    if (!userProfile.empty()) return userProfile + u"/";
    return home + u"/";
}

bool EinzigesProgrammImOrdner() {
    // Two copies on one folder would overwrite each other's saves. The lock
    // is taken before anything is written; without a writable folder (and no
    // lock file) there is nothing to protect and the program runs unlocked.
    if (LockFileForRun(JoinPath(Programmordner(), kSperrdateiName)) != LockResult::HeldByOther) return true;
    SetAppTitle(u"Rido Kladdorix");
    // This copy holds nothing to save: a logout ends it even while the box waits.
    EndAtOnceOnSignal(true);
    Notify(u"Rido Kladdorix ist bereits geöffnet.\n"
           u"Bitte arbeiten Sie im schon geöffneten Programmfenster weiter.",
           0);
    return false;
}

bool Hochfahren() {
    // Every sealed file is bound to its place from the first read on.
    AblageorteBinden();
    // ... and, while encryption is on, checked against the index of saves.
    StandpruefungBinden();
    // Relative paths ("Noten/", the settings file) lie beside the program.
    const Text folder = ExecutableFolder();
    if (!folder.empty()) ChangeWorkingFolder(folder);
    IgnoreFileSizeLimitSignal();
    CatchEndSignals();
    if (!EinzigesProgrammImOrdner()) return false;
    // Plain copies a killed run left in the private folder go now.
    EmptyPrivateFolders(kPrivaterOrdnerName);
    RegisterEmbeddedMedia();

    TInfoBox::LadeSchriften();
    SchriftenLaden();

    SetGraphicsDriver(0, 2);
    Bildschirmbreite = DesktopWidth();
    Bildschirmhoehe = DesktopHeight();
    SetAppTitle(u"Rido Kladdorix");
    if (!OpenGraphicsWindow(Bildschirmbreite, Bildschirmhoehe, 0, 60, 0)) {
        RaiseError(u"Das Programmfenster konnte nicht geöffnet werden.");
    }
    SetBlend(3);
    SetClsColor(23, 0, 83);
    SetImageMaskColor(23, 0, 83);
    Taktgeber = CreateFrameTimer(50);
    TMultiTouch::Init(1, 1, 0);

    StartOrdner = DefaultStartOrdner(EnvironmentVariable(u"HOME"), EnvironmentVariable(u"USERPROFILE"));
    if (!EinstellungenLesen()) return false;
    User::update();
    Texteingabe::initialisieren();
    // Builds the grade menus with Notenskala 1, then 0; it stays 0 until a
    // class is opened.
    BaueGemeinsameMenues();
    Notenskala = 0;
    return true;
}

int Hauptschleife() {
    // With encryption on, nothing of the gradebooks is shown before the password.
    if (!VerschluesselungBeimStart()) return 0;
    if (!Katalog::Laden()) return 0;
    for (;;) {
        Cls();
        User::update();
        Offset::update(2, 64);
        Katalog::Anzeigen();
        FrameEnd();
        const int code = Katalog::Verwalten();
        if (code == 3 || BackRequested || EndSignalled()) break;
    }
    return 0;
}

int KladdorixMain() {
    if (!Hochfahren()) return 0;
    Hauptschleife();
    LockSealing();
    DeleteMarkedFiles();
    EmptyPrivateFolders(kPrivaterOrdnerName);
    return Austrittsstatus;
}
