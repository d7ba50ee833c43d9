// An Escape or close request that closes a menu, an information box, the
// keyboard or the main menu is spent there: the screen beneath
// sees no back request and stays.
#include "gradebook_fixture.hpp"
#include "shell/catalogue.hpp"
#include "shell/shared_menus.hpp"
#include "tiles/texteingabe.hpp"

namespace {
class EscapeConsumed : public GradebookTest {
protected:
    void SetUp() override {
        GradebookTest::SetUp();
        if (!Hauptmenue) BaueGemeinsameMenues();
        Texteingabe::initialisieren();
    }
    // Escape or the window's close request in the given frame.
    void Zurueck(bool schliessen, long long frame) {
        if (schliessen) backend->At(frame, {ScriptedEvent::Close});
        else KeyTap(frame, 27);
    }
};
}  // namespace

TEST_F(EscapeConsumed, EachKindOfDialog) {
    struct Fall {
        const char* name;
        std::function<void()> oeffnen;
    };
    const Fall faelle[] = {
        {"menu", [] {
             Klassenmenue->einblenden(0, 0, 0, 0, nullptr, 0, 0);
             EXPECT_EQ(Klassenmenue->verwenden(), u"");
         }},
        {"information box", [] {
             EXPECT_EQ(TInfoBox::bauen(u"Info", {255, 255, 0}, {u"Zeile"}, {kOkSchalter})->verwenden(), u"");
         }},
        {"keyboard", [] {
             Texteingabe::starten(1, u"7a", 1, 0, -1, 0);
             EXPECT_EQ(Texteingabe::verwenden(1), 0);
         }},
        {"main menu", [] { EXPECT_EQ(HauptmenueVerwalten(), 0); }},
    };
    for (bool schliessen : {false, true}) {
        for (const Fall& f : faelle) {
            SCOPED_TRACE(std::string(f.name) + (schliessen ? ", close request" : ", Escape"));
            Zurueck(schliessen, Frame(30));
            f.oeffnen();
            EXPECT_EQ(BackRequested, 0);
            Step();
            EXPECT_EQ(BackRequested, 0) << "the request reached the screen beneath";
        }
    }
}
