// Keyboard pictures for the gallery: the prompt fully selected, shift on, and
// a caret inside a name (three pictures, so one falls in the caret's on-phase).
#include "gallery_keyboard.hpp"

#include "platform/conversions.hpp"
#include "platform/graphics.hpp"
#include "platform/input_script.hpp"
#include "tiles/texteingabe.hpp"

namespace {
Text Png(const std::string& out, const std::string& name) { return TextFromUtf8(out + "/" + name + ".png"); }

void Tap(long long frame, const TKachel& k) {
    const float x = k.x + k.Breite / 2.0f, y = k.y + k.Tiefe / 2.0f;
    ScriptInput(frame, {ScriptedEvent::MouseMove, 0, x, y});
    ScriptInput(frame + 1, {ScriptedEvent::MouseDown, 0, x, y});
    ScriptInput(frame + 3, {ScriptedEvent::MouseUp, 0, x, y});
}

void Escape(long long frame) {
    ScriptInput(frame, {ScriptedEvent::KeyDown, 27});
    ScriptInput(frame + 2, {ScriptedEvent::KeyUp, 27});
}
}  // namespace

void ShowKeyboard(const std::string& out, std::ofstream& index) {
    Texteingabe::starten(1, u"Vorname(n), Nachname", 1, 0, -1, 0);
    long long f = FramesEnded();
    ScriptInput(f + 20, {ScriptedEvent::Capture, 0, 0, 0, Png(out, "tastatur-auswahl")});
    const TKachel& shiftKey = *Texteingabe::Tastenreihe[4][Texteingabe::kShiftLinks];
    Tap(f + 21, shiftKey);
    ScriptInput(f + 30, {ScriptedEvent::Capture, 0, 0, 0, Png(out, "tastatur-shift")});
    Escape(f + 31);
    Texteingabe::verwenden(0);
    index << "tastatur " << Texteingabe::Tastatur_x << ' ' << Texteingabe::Tastatur_y << ' '
          << Texteingabe::Tastatur_Breite << ' ' << Texteingabe::Tastatur_Hoehe << ' ' << Texteingabe::Feld_x << ' '
          << Texteingabe::Feld_y << ' ' << Texteingabe::Feld_Breite << ' ' << Texteingabe::Zeilenhoehe << '\n';
    const TKachel& a = *Texteingabe::Tastenreihe[2][0];
    index << "taste-a " << a.x << ' ' << a.y << ' ' << a.Breite << ' ' << a.Tiefe << '\n';

    const Text name = u"Müller, Jörg";
    Texteingabe::starten(1, name, 0, -1, 3, 0);
    f = FramesEnded();
    for (int i = 0; i < 3; ++i)
        ScriptInput(f + 20 + 11 * i, {ScriptedEvent::Capture, 0, 0, 0,
                                      Png(out, "tastatur-caret-" + std::to_string(i))});
    Escape(f + 55);
    const int textX = Texteingabe::Text_x;
    Texteingabe::verwenden(0);
    SetDrawFont(Texteingabe::Schrift_gross);
    index << "caret " << textX + TextWidthOf(Left(name, 3)) - 1 << ' ' << Texteingabe::Feld_y + 3 << ' '
          << Texteingabe::Zeilenhoehe - 6 << ' ' << textX << '\n';
}
