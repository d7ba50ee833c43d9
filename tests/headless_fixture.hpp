// Test fixture: a fresh headless backend with an open 1920 x 1080 window, the
// embedded media registered, input and scroll state reset; helpers to script
// input by frame (a frame ends with each Flip).
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "gradebook/program_state.hpp"
#include "platform/graphics.hpp"
#include "platform/headless_backend.hpp"
#include "platform/input.hpp"
#include "platform/platform_context.hpp"
#include "platform/resources.hpp"
#include "shell/media.hpp"
#include "tiles/offset.hpp"
#include "tiles/user.hpp"

class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override {
        static bool registered = false;
        if (!registered) {
            RegisterEmbeddedMedia();
            registered = true;
        }
        backend = std::make_unique<HeadlessBackend>(1920, 1080);
        UseBackend(backend.get());
        Ctx().input = InputState{};
        ClearInputScript();
        SetAppTitle(u"Rido Kladdorix");
        ASSERT_TRUE(OpenGraphicsWindow(1920, 1080, 0, 60, 0));
        User::flush();
        User::update();  // FrameTime from this backend's clock
        PointerPosX = PointerPosY = AnchorX = AnchorY = 0;
        Offset::ScrollX = Offset::ScrollY = Offset::ScrollSpeedX = Offset::ScrollSpeedY = 0;
        Offset::DragDX = Offset::DragDY = 0;
        Offset::setLimits(-100000, 100000, -100000, 100000);
    }
    void TearDown() override {
        CloseGraphicsWindow();
        UseBackend(nullptr);
    }
    // The class grid's fonts, loaded once for all tests that draw the grid.
    static void GridFontsLoaded() {
        if (Schrift32) return;
        Schrift32 = LoadFontFrom(u"incbin::media/fonts/segoeui.ttf", 32);
        Schrift16 = LoadFontFrom(u"incbin::media/fonts/segoeui.ttf", 16);
        Symbolschrift = LoadFontFrom(u"incbin::media/fonts/MySymbolFont.ttf", 48);
    }

    // Events for the User::update that follows the next `inFrames` Flips.
    long long Frame(int inFrames = 0) const { return backend->Flips() + inFrames; }
    void Press(long long frame, float x, float y) { backend->At(frame, {ScriptedEvent::MouseDown, 0, x, y}); }
    void Release(long long frame, float x, float y) { backend->At(frame, {ScriptedEvent::MouseUp, 0, x, y}); }
    void Move(long long frame, float x, float y) { backend->At(frame, {ScriptedEvent::MouseMove, 0, x, y}); }
    void Finger(long long frame, int id, float x, float y) { backend->At(frame, {ScriptedEvent::FingerDown, id, x, y}); }
    void Lift(long long frame, int id) { backend->At(frame, {ScriptedEvent::FingerUp, id}); }
    void KeyTap(long long frame, int code) {
        backend->At(frame, {ScriptedEvent::KeyDown, code});
        backend->At(frame, {ScriptedEvent::KeyUp, code});
    }
    void WheelAt(long long frame, int notches, float x, float y) {
        backend->At(frame, {ScriptedEvent::MouseMove, 0, x, y});
        backend->At(frame, {ScriptedEvent::Wheel, notches});
    }

    // One frame of a screen loop without drawing: poll, then present.
    void Step() {
        User::update();
        Flip(0);
    }

    std::unique_ptr<HeadlessBackend> backend;
};
