// The idle watch of the lock: time spent waiting for another program (a
// requester, the spreadsheet program) is the session's, so the lock comes as
// soon as that program returns, even when the window's return moves the
// pointer; ordinary input still restarts the idle time. The computer's sleep
// counts as idle time, and waking from one longer than the lock's time locks
// at once, even when a key woke it.
#include <gtest/gtest.h>

#include "headless_fixture.hpp"
#include "platform/graphics.hpp"
#include "platform/process.hpp"
#include "tiles/user.hpp"

namespace {
int gesperrt = 0;

class Leerlauf : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        gesperrt = 0;
        User::Leerlaufwache = [] { ++gesperrt; };
        User::LeerlaufGrenzeMs = 800;
        User::update();
    }
    void TearDown() override {
        User::Leerlaufwache = nullptr;
        User::LeerlaufGrenzeMs = 0;
        HeadlessTest::TearDown();
    }
    void Bild() {
        Flip(-1);
        User::update();
    }
};
}  // namespace

TEST_F(Leerlauf, TheLockComesWhenAnotherProgramReturnsAfterTheLocksTime) {
    struct Fall {
        const char* was;
        const char16_t* warten;  // how long the other program runs
        int erwartet;
    };
    for (const Fall& f : {Fall{"longer than the lock's time", u"sleep 1.2", 1}, Fall{"shorter", u"true", 0}}) {
        SCOPED_TRACE(f.was);
        gesperrt = 0;
        Move(Frame(0), 10, 10);
        Bild();  // input: the idle time starts now
        ASSERT_EQ(RunAndWait({u"/bin/sh", u"-c", f.warten}), 0);
        // The window comes back under the pointer: no input of the teacher's.
        Move(Frame(0), 500, 400);
        Bild();
        EXPECT_EQ(gesperrt, f.erwartet);
    }
}

TEST_F(Leerlauf, ASleepCountsAsIdleTimeAndWakingFromALongOneLocksAtOnce) {
    struct Fall {
        const char* was;
        long long schlaf;  // the computer suspended, in ms (the lock's time is 800)
        int danach;        // then idle on the program's clock
        bool taste;        // a key with the first frame after waking
        int erwartet;
    };
    for (const Fall& f : {Fall{"a long sleep, woken by a key", 900, 0, true, 1},
                          Fall{"a long sleep, nothing typed", 900, 0, false, 1},
                          Fall{"a short sleep, woken by a key", 500, 0, true, 0},
                          Fall{"a short sleep and idle time together long enough", 500, 400, false, 1},
                          Fall{"a short sleep and a little idle time", 300, 300, false, 0}}) {
        SCOPED_TRACE(f.was);
        gesperrt = 0;
        Move(Frame(0), 10, 10);
        Bild();  // input: the idle time starts now
        backend->Suspend(f.schlaf);
        backend->SetClock(backend->Milliseconds() + f.danach);
        if (f.taste) KeyTap(Frame(0), 'a');
        Bild();
        EXPECT_EQ(gesperrt, f.erwartet);
    }
}
