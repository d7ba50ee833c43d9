// The idle watch of the lock: time spent waiting for another program (a
// requester, the spreadsheet program) is the session's, so the lock comes as
// soon as that program returns, even when the window's return moves the
// pointer; ordinary input still restarts the idle time.
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
