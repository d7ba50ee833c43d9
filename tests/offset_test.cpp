// Scrolling: wheel notches, drags, coasting and the limits.
#include "headless_fixture.hpp"

using Scrolling = HeadlessTest;

namespace {
void Frame2() {
    User::update();
    Offset::update(2, 64);
    Flip(0);
}
}  // namespace

TEST_F(Scrolling, WheelNotchMovesSixteenThenCoastsToSeventyTwo) {
    WheelAt(Frame(0), -1, 500, 500);
    std::vector<int> moves;
    int last = Offset::ScrollY;
    for (int i = 0; i < 10; ++i) {
        Frame2();
        moves.push_back(Offset::ScrollY - last);
        last = Offset::ScrollY;
    }
    EXPECT_EQ(moves, (std::vector<int>{-16, -14, -12, -10, -8, -6, -4, -2, 0, 0}));
    EXPECT_EQ(Offset::ScrollY, -72);
    EXPECT_EQ(Offset::ScrollX, 0);
}

TEST_F(Scrolling, SidewaysNotchesMoveOnlyAcrossAndStopAtTheLimit) {
    // A tilting wheel, or the wheel with Shift: notches to the right scroll
    // the grid to the right, its content to the left.
    Offset::setLimits(-40, 0, -500, 500);
    Move(Frame(0), 500, 500);
    backend->At(Frame(0), {ScriptedEvent::WheelX, -1});
    Frame2();
    EXPECT_EQ(Offset::ScrollX, -16);
    EXPECT_EQ(Offset::ScrollY, 0);
    backend->At(Frame(0), {ScriptedEvent::WheelX, -3});
    Frame2();
    EXPECT_EQ(Offset::ScrollX, -40);
    EXPECT_EQ(Offset::ScrollSpeedX, 0);
    backend->At(Frame(0), {ScriptedEvent::WheelX, 1});
    Frame2();
    EXPECT_EQ(Offset::ScrollX, -24);
    EXPECT_EQ(Offset::ScrollY, 0);
}

TEST_F(Scrolling, WheelAtTheLimitStaysWithSpeedZero) {
    Offset::setLimits(0, 0, -500, 0);
    WheelAt(Frame(0), 3, 10, 10);
    Frame2();
    EXPECT_EQ(Offset::ScrollY, 0);
    EXPECT_EQ(Offset::ScrollSpeedY, 0);
}

TEST_F(Scrolling, ZeroLimitsKeepAnAxisAtZeroWhateverTheInput) {
    Offset::setLimits(0, 0, -1000, 1000);
    Press(Frame(0), 500, 500);
    for (int i = 1; i < 10; ++i) Move(Frame(i), 500 + 40.0f * i, 500 + 40.0f * i);
    Release(Frame(10), 900, 900);
    for (int i = 0; i < 20; ++i) {
        Frame2();
        EXPECT_EQ(Offset::ScrollX, 0);
    }
    EXPECT_GT(Offset::ScrollY, 0);
}

TEST_F(Scrolling, DragSpeedIsDisplacementDivEightAtLeastAsFastAsBeforeAtMostSixtyFour) {
    Press(Frame(0), 100, 100);
    Frame2();  // touch begins: anchor at 100, 100
    struct Step { float x; int speed; };
    // Displacements 40 -> 5, 24 -> keeps 5, 200 -> 25, 1000 -> 64 (capped), -80 -> -64 (magnitude kept).
    const Step steps[] = {{140, 5}, {124, 5}, {300, 25}, {1100, 64}, {20, -64}};
    for (const Step& s : steps) {
        Move(Frame(0), s.x, 100);
        const int before = Offset::ScrollX;
        Frame2();
        EXPECT_EQ(Offset::ScrollSpeedX, s.speed) << "pointer at " << s.x;
        EXPECT_EQ(Offset::ScrollX - before, s.speed);
    }
}

TEST_F(Scrolling, StillFingerStopsTheContentInTwoFramesAndReleaseCoasts) {
    Press(Frame(0), 100, 100);
    Frame2();
    Move(Frame(0), 100, 300);  // displacement 200: speed 25
    Frame2();
    ASSERT_EQ(Offset::ScrollSpeedY, 25);
    Frame2();  // still: the anchor moves to the finger, the content coasts
    EXPECT_EQ(Offset::ScrollSpeedY, 23);
    Frame2();  // still again: displacement 0 stops it
    EXPECT_EQ(Offset::ScrollSpeedY, 0);
    Move(Frame(0), 100, 400);
    Frame2();
    ASSERT_EQ(Offset::ScrollSpeedY, 12);
    Release(Frame(0), 100, 400);
    Frame2();
    EXPECT_EQ(Offset::ScrollSpeedY, 10);
}

TEST_F(Scrolling, ClampingWithMinimumAboveMaximumTakesTheMinimum) {
    Offset::ScrollX = 50;
    Offset::ScrollSpeedX = 9;
    Offset::ScrollY = -50;
    Offset::setLimits(100, 20, -10, -30);
    EXPECT_EQ(Offset::ScrollX, 100);
    EXPECT_EQ(Offset::ScrollSpeedX, 0);
    EXPECT_EQ(Offset::ScrollY, -10);
}
