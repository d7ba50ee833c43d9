// The class screen loop: Escape saves and ends; when the save fails, a
// "Fehler" box says so and the gradebook stays open until a save succeeds.
#include "gradebook_fixture.hpp"
#include "shell/class_screen_loop.hpp"

using ClassScreenLoop = GradebookTest;

TEST_F(ClassScreenLoop, EscapeSavesAndEnds) {
    auto k = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
    KeyTap(Frame(3), 27);
    EXPECT_EQ(KlassenbildschirmLaufen(*k), 3);
    EXPECT_TRUE(std::filesystem::exists("Noten/7a/7a Mathe.slk"));
}

TEST_F(ClassScreenLoop, FailedSaveShowsAnErrorAndKeepsTheGradebookOpen) {
    auto k = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
    // "Noten/7a" cannot be made: a file stands where the class folder belongs.
    Schreiben("Noten/7a", "kein Ordner");
    KeyTap(Frame(3), 27);
    // The box's Enter arrives once the box is up; then the folder is freed and
    // a second Escape saves.
    backend->At(Frame(20), {ScriptedEvent::KeyDown, 13});
    backend->At(Frame(21), {ScriptedEvent::KeyUp, 13});
    bool frei = false;
    long long escapeBei = 0;
    const long long f0 = Frame(0);
    bool rot = false;  // the box's red title and frame line were drawn
    SetFrameObserver([&] {
        for (const DrawVertex& v : Ctx().shown.vertices) rot |= v.rgba == 0xFF0000FFu;
        if (!frei && FramesEnded() > f0 + 24) {
            std::filesystem::remove("Noten/7a");
            frei = true;
            escapeBei = FramesEnded() + 2;
            KeyTap(escapeBei, 27);
        }
    });
    const long long start = FramesEnded();
    EXPECT_EQ(KlassenbildschirmLaufen(*k), 3);
    SetFrameObserver(nullptr);
    EXPECT_TRUE(frei) << "the loop ended before the save could succeed";
    EXPECT_TRUE(rot) << "no error box";
    EXPECT_GT(FramesEnded(), start + 24);
    EXPECT_TRUE(std::filesystem::exists("Noten/7a/7a Mathe.slk"));
}
