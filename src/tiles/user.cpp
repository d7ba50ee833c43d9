// Turns the frame's touch points, Escape, wheel and close request into the
// shared input values; a touch always runs 1, 2 ... 2, 3, 0.
#include "tiles/user.hpp"

#include "platform/desktop_lock.hpp"
#include "platform/input.hpp"
#include "platform/session_time.hpp"
#include "platform/timing.hpp"

int FrameTime = 0;
int TouchState = 0;
float PointerPosX = 0, PointerPosY = 0;
float AnchorX = 0, AnchorY = 0;
int TwoFingers = 0;
int BackRequested = 0;
int WheelMove = 0;
int WheelMoveX = 0;

void (*User::Leerlaufwache)() = nullptr;
int User::LeerlaufGrenzeMs = 0;

namespace {
unsigned LetzteAktivitaet = 0;
int LetzteEingabe = 0;
long long LetzteEingabeSitzung = 0;  // on the clock that counts a suspended laptop's sleep
long long GeschlafenBeiEingabe = 0;  // the computer's suspended time then
long long GeschlafenZuletzt = 0;     // and at the previous frame
bool WacheLaeuft = false;

void Eingabe() {
    LetzteEingabe = FrameTime;
    LetzteEingabeSitzung = SessionClockMs();
    GeschlafenBeiEingabe = GeschlafenZuletzt;
}

void LeerlaufPruefen() {
    const unsigned jetzt = InputActivity();
    const bool wache = User::Leerlaufwache && User::LeerlaufGrenzeMs > 0;
    const long long geschlafen = SuspendedMs();
    const long long soebenGeschlafen = geschlafen - GeschlafenZuletzt;
    GeschlafenZuletzt = geschlafen;
    // At once, whatever input comes with it: the desktop's own screen lock,
    // and waking from a sleep longer than the lock's time (the key that
    // woke the computer is no sign that the teacher is back).
    const bool sofort = wache && (DesktopLockCame() || soebenGeschlafen >= User::LeerlaufGrenzeMs);
    // Back from a requester or the spreadsheet program: their time was the
    // session's, and what arrives with the window coming back is no input.
    const bool zurueck = TakeExternalWaitEnded();
    if (zurueck) LetzteAktivitaet = jetzt;
    if (!sofort && !zurueck &&
        (jetzt != LetzteAktivitaet || TouchState == 1 || TouchState == 2 || WheelMove != 0 || WheelMoveX != 0 || BackRequested)) {
        LetzteAktivitaet = jetzt;
        Eingabe();
        return;
    }
    if (!wache) {
        Eingabe();  // without a watch the idle time starts when one is set
        return;
    }
    if (WacheLaeuft) return;
    if (!sofort && FrameTime - LetzteEingabe + (geschlafen - GeschlafenBeiEingabe) < User::LeerlaufGrenzeMs &&
        SessionClockMs() - LetzteEingabeSitzung < User::LeerlaufGrenzeMs)
        return;
    WacheLaeuft = true;
    User::Leerlaufwache();
    WacheLaeuft = false;
    // The desktop locked meanwhile is answered by this lock already.
    DesktopLockCame();
    User::flush();
    FrameTime = MillisecondClock();
    LetzteAktivitaet = InputActivity();
    GeschlafenZuletzt = SuspendedMs();
    Eingabe();
}
}  // namespace

void User::update() {
    FrameTime = MillisecondClock();
    const std::vector<TTouchPoint> points = TMultiTouch::Get();
    const size_t n = points.size();

    if (TouchState == 0) {
        if (n > 0) {
            TouchState = 1;
            PointerPosX = points[0].x;
            PointerPosY = points[0].y;
            AnchorX = PointerPosX;
            AnchorY = PointerPosY;
            if (n > 1) TwoFingers = 1;
        }
    } else if (TouchState == 3) {
        // A new touch is taken up one frame later.
        TouchState = 0;
        TwoFingers = 0;
    } else if (n == 0) {
        TouchState = 3;
    } else {
        if (TouchState == 1) TouchState = 2;
        if (n == 1 && TwoFingers == 0) {
            PointerPosX = points[0].x;
            PointerPosY = points[0].y;
        } else if (n == 1) {
            TouchState = 3;  // lifting one of two fingers ends the touch
        } else {
            if (TwoFingers == 0) {
                TwoFingers = 1;
                AnchorX = PointerPosX;
                AnchorY = PointerPosY;
            }
            PointerPosX = points[0].x;
            PointerPosY = points[0].y;
        }
    }

    BackRequested = KeyPressed(27) > 0 ? 1 : 0;
    WheelMove = WheelDelta();
    WheelMoveX = WheelDeltaX();
    if (WheelMove != 0 || WheelMoveX != 0) {
        PointerPosX = static_cast<float>(PointerX());
        PointerPosY = static_cast<float>(PointerY());
        AnchorX = PointerPosX;
        AnchorY = PointerPosY;
    }
    if (CloseRequested()) BackRequested = 1;
    LeerlaufPruefen();
}

void User::flush() {
    BackRequested = 0;
    TouchState = 0;
    TwoFingers = 0;
    ClearKeys();
    ClearMouse();
    WheelDelta();
    WheelDeltaX();
}
