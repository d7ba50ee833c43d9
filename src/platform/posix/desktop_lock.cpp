// The desktop's screen lock on Linux: systemd-logind's LockedHint of the
// session, which the desktop's screen locker sets. loginctl is asked every
// two seconds without waiting for it: its answer is read in a later frame.
// The session is $XDG_SESSION_ID, else logind's "auto" (the caller's
// session, or the user's graphical one for a program started by the
// desktop). Where loginctl fails (no logind, no session) it is not asked again.
#include "platform/desktop_lock.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/posix/process.hpp"
#include "platform/session_time.hpp"

namespace {
constexpr long long kAbstandMs = 2000;

bool gekommen = false;

ChildWithOutput frage;
std::string antwort;
long long naechsteFrage = 0;
bool keineSitzung = false;
bool warGesperrt = false;

void Start() {
    const char* id = std::getenv("XDG_SESSION_ID");
    const Text sitzung = id && id[0] ? TextFromUtf8(id) : Text(u"auto");
    antwort.clear();
    frage = StartWithOutput({u"loginctl", u"show-session", sitzung, u"-p", u"LockedHint", u"--value"});
    if (frage.pid < 0) keineSitzung = true;
}

void Lesen() {
    char puffer[64];
    for (ssize_t n; (n = read(frage.output, puffer, sizeof puffer)) > 0;)
        if (antwort.size() < 64) antwort.append(puffer, static_cast<size_t>(n));
}

// Takes the answer once loginctl has ended; false while it runs.
bool Beendet() {
    Lesen();
    int status = 0;
    const pid_t r = waitpid(frage.pid, &status, WNOHANG);
    if (r == 0) return false;
    Lesen();
    close(frage.output);
    const bool beantwortet = r == frage.pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    frage = ChildWithOutput{};
    if (!beantwortet) {
        keineSitzung = true;
        return true;
    }
    const bool gesperrt = antwort == "yes\n" || antwort == "yes";
    if (gesperrt && !warGesperrt) NoteDesktopLocked();
    warGesperrt = gesperrt;
    return true;
}

void Fragen() {
    if (keineSitzung) return;
    if (frage.pid > 0 && !Beendet()) return;
    const long long jetzt = SessionClockMs();
    if (keineSitzung || jetzt < naechsteFrage) return;
    naechsteFrage = jetzt + kAbstandMs;
    Start();
}
}  // namespace

bool DesktopLockCame() {
    Fragen();
    const bool war = gekommen;
    gekommen = false;
    return war;
}

void NoteDesktopLocked() { gekommen = true; }
