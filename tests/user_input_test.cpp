// Frame input: the touch state machine, two fingers, wheel and back request.
#include "headless_fixture.hpp"

using UserInput = HeadlessTest;

TEST_F(UserInput, ClickRunsPressedHeldReleasedIdle) {
    Press(Frame(1), 100, 200);
    Release(Frame(4), 100, 200);
    std::vector<int> states;
    for (int i = 0; i < 7; ++i) {
        Step();
        states.push_back(TouchState);
    }
    EXPECT_EQ(states, (std::vector<int>{0, 1, 2, 2, 3, 0, 0}));
    EXPECT_FLOAT_EQ(PointerPosX, 100);
    EXPECT_FLOAT_EQ(PointerPosY, 200);  // kept after the release
}

TEST_F(UserInput, TouchShorterThanAFrameStillPassesPressedAndReleased) {
    Press(Frame(0), 5, 6);
    Step();
    Release(Frame(0), 5, 6);
    Step();
    EXPECT_EQ(TouchState, 3);
    Step();
    EXPECT_EQ(TouchState, 0);
}

TEST_F(UserInput, PointerFollowsFingerAndAnchorStaysAtTouchDown) {
    Finger(Frame(0), 1, 10, 20);
    Step();
    backend->At(Frame(0), {ScriptedEvent::FingerMove, 1, 50, 70});
    Step();
    EXPECT_EQ(TouchState, 2);
    EXPECT_FLOAT_EQ(PointerPosX, 50);
    EXPECT_FLOAT_EQ(PointerPosY, 70);
    EXPECT_FLOAT_EQ(AnchorX, 10);
    EXPECT_FLOAT_EQ(AnchorY, 20);
}

TEST_F(UserInput, TwoFingersLiftedOneAfterTheOther) {
    Finger(Frame(0), 1, 10, 10);
    Finger(Frame(0), 2, 300, 300);
    Step();
    EXPECT_EQ(TouchState, 1);
    EXPECT_EQ(TwoFingers, 1);
    Step();
    EXPECT_EQ(TouchState, 2);
    Lift(Frame(0), 2);
    Step();  // one finger left: the touch ends, the pointer stays
    EXPECT_EQ(TouchState, 3);
    EXPECT_FLOAT_EQ(PointerPosX, 10);
    Step();
    EXPECT_EQ(TouchState, 0);
    EXPECT_EQ(TwoFingers, 0);
    Step();  // the finger still down starts a new touch
    EXPECT_EQ(TouchState, 1);
    EXPECT_EQ(TwoFingers, 0);
    EXPECT_FLOAT_EQ(PointerPosX, 10);
}

TEST_F(UserInput, SecondFingerDuringTouchSetsAnchorToPointerBeforeTheFrame) {
    Finger(Frame(0), 1, 10, 10);
    Step();
    backend->At(Frame(0), {ScriptedEvent::FingerMove, 1, 40, 40});
    Step();
    Finger(Frame(0), 2, 500, 500);
    backend->At(Frame(0), {ScriptedEvent::FingerMove, 1, 60, 60});
    Step();
    EXPECT_EQ(TwoFingers, 1);
    EXPECT_FLOAT_EQ(AnchorX, 40);
    EXPECT_FLOAT_EQ(PointerPosX, 60);
}

TEST_F(UserInput, FingerTakesPrecedenceOverMouse) {
    Press(Frame(0), 700, 700);
    Finger(Frame(0), 9, 20, 30);
    Step();
    EXPECT_FLOAT_EQ(PointerPosX, 20);
    EXPECT_FLOAT_EQ(PointerPosY, 30);
    EXPECT_EQ(TwoFingers, 0);
}

TEST_F(UserInput, EscapeAndCloseRequestHoldForExactlyOneFrame) {
    KeyTap(Frame(1), 27);
    backend->At(Frame(4), {ScriptedEvent::Close});
    std::vector<int> back;
    for (int i = 0; i < 6; ++i) {
        Step();
        back.push_back(BackRequested);
    }
    EXPECT_EQ(back, (std::vector<int>{0, 1, 0, 0, 1, 0}));
}

TEST_F(UserInput, WheelMovesPointerAndAnchorToTheMouse) {
    PointerPosX = PointerPosY = 1;
    WheelAt(Frame(0), -2, 640, 480);
    Step();
    EXPECT_EQ(WheelMove, -2);
    EXPECT_FLOAT_EQ(PointerPosX, 640);
    EXPECT_FLOAT_EQ(AnchorY, 480);
    Step();
    EXPECT_EQ(WheelMove, 0);
}

TEST_F(UserInput, FlushForgetsPendingInputButKeepsThePointer) {
    Press(Frame(0), 30, 40);
    KeyTap(Frame(0), 27);
    backend->At(Frame(0), {ScriptedEvent::Wheel, 3});
    backend->At(Frame(0), {ScriptedEvent::Typed, 'a'});
    Step();
    ASSERT_EQ(TouchState, 1);
    KeyTap(Frame(0), 27);
    backend->At(Frame(0), {ScriptedEvent::Wheel, 3});
    PumpInput();
    User::flush();
    EXPECT_EQ(TouchState, 0);
    EXPECT_EQ(BackRequested, 0);
    EXPECT_EQ(WheelDelta(), 0);
    EXPECT_EQ(NextTypedChar(), 0);
    EXPECT_EQ(KeyPressed(27), 0);
    EXPECT_FLOAT_EQ(PointerPosX, 30);
    Step();  // the button counts as released after the flush
    EXPECT_EQ(TouchState, 0);
}
