// Text entry: preparing an entry, editing at the cursor, the modal keyboard
// loop with its slide-in, pointer selection in the field, and the check for
// characters that file names cannot hold.
#include "tiles/texteingabe.hpp"

#include "platform/sealed_files.hpp"

#include <algorithm>
#include <cstdlib>

#include "platform/conversions.hpp"
#include "platform/end_signals.hpp"
#include "platform/input.hpp"
#include "platform/timing.hpp"
#include "tiles/frame_loop.hpp"
#include "tiles/grundbuchstaben.hpp"
#include "tiles/user.hpp"

::Text Texteingabe::Eingabetext;
int Texteingabe::verdeckt = 0;
int Texteingabe::EingabeAktiv = 0;
int Texteingabe::Tastatur_x = 0, Texteingabe::Tastatur_y = 0;
int Texteingabe::Tastatur_Breite = 0, Texteingabe::Tastatur_Hoehe = 0;
RGBFarbe Texteingabe::Hintergrund{0, 0, 0};
std::array<std::vector<std::shared_ptr<TTextKachel>>, 5> Texteingabe::Tastenreihe;
TImageFont Texteingabe::Schrift_klein, Texteingabe::Schrift_gross, Texteingabe::Symbol_schrift;
int Texteingabe::Feld_x = 0, Texteingabe::Feld_y = 0, Texteingabe::Feld_Breite = 0, Texteingabe::Zeilenhoehe = 0;
int Texteingabe::Text_x = 0;
int Texteingabe::Verschiebung = 0;
int Texteingabe::Auswahlbeginn = 0;
int Texteingabe::Cursor = 0;
int Texteingabe::Auswahl_links = 0, Texteingabe::Auswahl_Laenge = 0;
int Texteingabe::zentriert = 0;
int Texteingabe::ueberschreiben = 0;
int Texteingabe::shift = 0;
int Texteingabe::eingeblendet = 0;
int Texteingabe::Einblendbeginn = 0;
float Texteingabe::Einblenddauer = 250.0f;
std::shared_ptr<TInfoBox> Texteingabe::Sonderzeichenhinweis;

namespace {
int Trunc(double v) { return static_cast<int>(v); }
int Laenge() { return static_cast<int>(Texteingabe::Eingabetext.size()); }

enum class Ausgang { weiter, bestaetigt, abgebrochen };

const ::Text kVerboten = u"/\\:*?\"<>|";
}  // namespace

bool Texteingabe::Zulaessig(char16_t c) {
    // The class file holds one Latin-1 byte per character; "~" and DEL have
    // a meaning of their own there, and € is stored as byte 0x80.
    if (c == u'€') return true;
    return c >= 32 && c <= 255 && c != u'~' && c != 127;
}

::Text Texteingabe::Sichtbar(const ::Text& text) { return verdeckt != 0 ? ::Text(text.size(), u'•') : text; }

void Texteingabe::verdeckt_starten(int active) {
    starten(active, u"", 1, -1, -1, 0);
    verdeckt = 1;
    // Room for any secret that fits the field: typing never moves it to a
    // new buffer and leaves the old one unwiped.
    WipeText(Eingabetext);
    Eingabetext.reserve(kVerdecktPlatz);
}

Texteingabe::Zustand Texteingabe::sichern() {
    return {Eingabetext, EingabeAktiv, verdeckt, Text_x, Auswahlbeginn, Cursor, Auswahl_links, Auswahl_Laenge,
            zentriert, ueberschreiben, shift, eingeblendet, Einblendbeginn};
}

void Texteingabe::wiederherstellen(const Zustand& z) {
    Eingabetext = z.text;
    EingabeAktiv = z.aktiv;
    verdeckt = z.verdeckt;
    Text_x = z.textX;
    Auswahlbeginn = z.auswahlbeginn;
    Cursor = z.cursor;
    Auswahl_links = z.links;
    Auswahl_Laenge = z.laenge;
    zentriert = z.zentriert;
    ueberschreiben = z.ueberschreiben;
    // The key labels follow the shift state.
    if (shift != z.shift) shift_wechseln();
    eingeblendet = z.eingeblendet;
    Einblendbeginn = z.einblendbeginn;
}

void Texteingabe::TextXNeu() {
    SetDrawFont(Schrift_gross);
    const int breite = TextWidthOf(Sichtbar(Eingabetext));
    // A text wider than the field starts at its left edge and scrolls.
    if (zentriert != 0 && breite + TextWidthOf(u" ") <= Feld_Breite) Text_x = Trunc(Feld_x + 0.5 * (Feld_Breite - breite));
    else Text_x = Feld_x + TextWidthOf(u" ");
}

void Texteingabe::Mitlaufen() {
    SetDrawFont(Schrift_gross);
    const int rand = TextWidthOf(u" ");
    const int breite = Praefixbreite(Laenge());
    if (Text_x + breite + rand <= Feld_x + Feld_Breite) {
        Verschiebung = 0;
        return;
    }
    // The caret stays inside the field; no gap is left behind the text's end.
    const int caret = Text_x + Praefixbreite(Cursor);
    Verschiebung = std::min(Verschiebung, Text_x + breite + rand - (Feld_x + Feld_Breite));
    if (caret - Verschiebung > Feld_x + Feld_Breite - rand) Verschiebung = caret - (Feld_x + Feld_Breite - rand);
    if (caret - Verschiebung < Feld_x + rand) Verschiebung = caret - (Feld_x + rand);
    Verschiebung = std::max(Verschiebung, 0);
}

int Texteingabe::Praefixbreite(int n) {
    SetDrawFont(Schrift_gross);
    const size_t laenge = static_cast<size_t>(std::clamp(n, 0, Laenge()));
    // A masked text is measured without a copy of it.
    if (verdeckt != 0) return TextWidthOf(::Text(laenge, u'•'));
    return TextWidthOf(Eingabetext.substr(0, laenge));
}

void Texteingabe::CursorSetzen(int position) {
    Cursor = std::clamp(position, 0, Laenge());
    Auswahlbeginn = Auswahl_links = Cursor;
    Auswahl_Laenge = 0;
}

void Texteingabe::starten(int active, const ::Text& text, int centred, int selectionFrom, int cursorAt,
                          int overwrite) {
    EingabeAktiv = active;
    if (verdeckt != 0) WipeText(Eingabetext);
    verdeckt = 0;
    Eingabetext = text;
    // Never cut: a text wider than the field scrolls.
    Verschiebung = 0;
    Cursor = cursorAt >= 0 ? std::min(cursorAt, Laenge()) : Laenge();
    Auswahlbeginn = selectionFrom >= 0 ? std::min(selectionFrom, Cursor) : Cursor;
    Auswahl_links = Auswahlbeginn;
    Auswahl_Laenge = Cursor - Auswahlbeginn;
    zentriert = centred;
    TextXNeu();
    ueberschreiben = std::clamp(overwrite, 0, 1);
    eingeblendet = 0;
}

int Texteingabe::Eventuelle_Textauswahl_wegschneiden() {
    if (Auswahlbeginn == Cursor) return 0;
    const int links = std::clamp(Auswahl_links, 0, Laenge());
    const int anzahl = std::clamp(Auswahl_Laenge, 0, Laenge() - links);
    Eingabetext.erase(static_cast<size_t>(links), static_cast<size_t>(anzahl));
    CursorSetzen(links);
    TextXNeu();
    return 1;
}

void Texteingabe::Ruecktaste() {
    if (Eventuelle_Textauswahl_wegschneiden() == 0 && Cursor > 0) {
        Eingabetext.erase(static_cast<size_t>(Cursor - 1), 1);
        CursorSetzen(Cursor - 1);
        TextXNeu();
    }
}

void Texteingabe::Entf() {
    if (Eventuelle_Textauswahl_wegschneiden() == 0 && Cursor < Laenge()) {
        Eingabetext.erase(static_cast<size_t>(Cursor), 1);
        TextXNeu();
    }
}

void Texteingabe::Einfuegen(char16_t c) {
    if (!Zulaessig(c)) {
        // A letter beyond Latin-1 is kept with its base letter ("ğ" as "g"), as the name-list import does.
        if (c > 0xFF)
            for (char16_t b : Grundbuchstaben(c)) Einfuegen(b);
        return;
    }
    // Typing over a selection replaces just the selection, also in overwrite mode.
    const bool ersetzt = Eventuelle_Textauswahl_wegschneiden() == 1;
    // The new text is built in a buffer large enough from the start and wiped
    // afterwards: a masked entry leaves no copy of itself behind.
    ::Text neu;
    neu.reserve(std::max<size_t>(Eingabetext.size() + 1, verdeckt != 0 ? kVerdecktPlatz : 0));
    neu = Eingabetext;
    if (ueberschreiben == 1 && !ersetzt && Cursor < Laenge()) neu[static_cast<size_t>(Cursor)] = c;
    else neu.insert(static_cast<size_t>(Cursor), 1, c);
    if (static_cast<int>(neu.size()) > kHoechstlaenge) {
        // Never dropped unnoticed: the teacher is told how long a text may be.
        if (verdeckt != 0) WipeText(neu);
        Zuruecksetzen();
        TInfoBox::bauen(u"Info", {255, 255, 0},
                        {u"Der Text ist zu lang: Er darf höchstens " + TextFromInt(kHoechstlaenge) + u" Zeichen",
                         u"haben. Die weiteren Zeichen wurden nicht übernommen."},
                        {kOkSchalter})
            ->verwenden();
        User::flush();
        return;
    }
    Eingabetext = neu;
    if (verdeckt != 0) WipeText(neu);
    CursorSetzen(Cursor + 1);
    TextXNeu();
}

bool Texteingabe::Sonderzeichenkontrolle() {
    if (Eingabetext.find_first_of(kVerboten) == ::Text::npos) return false;
    // The box is drawn on an empty screen, not over the keyboard.
    for (int i = 0; i < 2; ++i) {
        Cls();
        Flip(-1);
    }
    Sonderzeichenhinweis = TInfoBox::bauen(u"Information", {255, 255, 0},
                                           {u"Die Verwendung der Sonderzeichen / \\ : * ? \" < > |",
                                            u"ist hier nicht erlaubt. Bitte korrigieren Sie!"},
                                           {kOkSchalter});
    Sonderzeichenhinweis->verwenden();
    User::flush();
    return true;
}

// The caller must not inherit the keyboard's clip, offset or colour.
void Texteingabe::Zuruecksetzen() {
    SetViewport(0, 0, GraphicsWidth(), GraphicsHeight());
    SetColor(255, 255, 255);
    SetDrawScale(1, 1);
    SetAlpha(1);
    SetDrawOrigin(0, 0);
    ClearKeys();
}

// While the pointer is down in the strip: the press places the caret and
// anchors a selection, dragging extends it.
void Texteingabe::ZeigerImText() {
    if (TouchState <= 0) return;
    if (!(Tastatur_y < PointerPosY && PointerPosY < Feld_y + 2 * Zeilenhoehe)) return;
    if (!(Feld_x < PointerPosX && PointerPosX < Feld_x + Feld_Breite)) return;
    const int x0 = Text_x - Verschiebung;
    int i = 0;
    int abstand = Trunc(std::abs(PointerPosX - x0));
    while (i < Laenge()) {
        const int naechster = Trunc(std::abs(PointerPosX - (x0 + Praefixbreite(i + 1))));
        if (naechster > abstand) break;
        abstand = naechster;
        ++i;
    }
    if (TouchState == 1) {
        CursorSetzen(i);
    } else {
        Cursor = i;
        Auswahl_links = std::min(Auswahlbeginn, Cursor);
        Auswahl_Laenge = std::abs(Cursor - Auswahlbeginn);
    }
}

void Texteingabe::FeldZeichnen() {
    Mitlaufen();
    const int x0 = Text_x - Verschiebung;
    const int feldEnde = Feld_x + Feld_Breite;
    // A marking is drawn only where it lies inside the field.
    auto unterlegen = [&](int von, int bis) {
        const int l = std::max(x0 + Praefixbreite(von), Feld_x), r = std::min(x0 + Praefixbreite(bis), feldEnde);
        if (r > l) DrawRect(l, Feld_y + 3, r - l, Zeilenhoehe - 6);
    };
    SetColor(255, 255, 255);
    DrawRect(Feld_x, Feld_y, Feld_Breite, Zeilenhoehe);
    SetColor(255, 160, 160);
    if (Auswahlbeginn != Cursor) unterlegen(Auswahl_links, Auswahl_links + Auswahl_Laenge);
    else if (ueberschreiben == 1 && Cursor < Laenge()) unterlegen(Cursor, Cursor + 1);
    if (MillisecondClock() % 800 < 600) {  // 600 ms on, 200 ms off
        SetColor(255, 0, 0);
        DrawRect(x0 + Praefixbreite(Cursor) - 1, Feld_y + 3, 3, Zeilenhoehe - 6);
    }
    // Only the characters that lie wholly inside the field; a scrolled text
    // shows a grey mark at the side where more of it lies.
    int von = 0, bis = Laenge();
    while (von < bis && x0 + Praefixbreite(von) < Feld_x) ++von;
    while (bis > von && x0 + Praefixbreite(bis) > feldEnde) --bis;
    SetColor(0, 0, 0);
    SetDrawFont(Schrift_gross);
    const ::Text sichtbar = Sichtbar(Eingabetext);
    DrawTextAt(sichtbar.substr(static_cast<size_t>(von), static_cast<size_t>(bis - von)), x0 + Praefixbreite(von),
               Feld_y);
    SetColor(160, 160, 160);
    if (von > 0) DrawRect(Feld_x, Feld_y, 4, Zeilenhoehe);
    if (bis < Laenge()) DrawRect(feldEnde - 4, Feld_y, 4, Zeilenhoehe);
}

int Texteingabe::verwenden(int checkSpecial) {
    if (EingabeAktiv == 0) return 0;
    while (TouchState > 0 && !EndSignalled()) {  // the touch that opened the keyboard must end first
        User::update();
        WaitTimer(Taktgeber);
    }
    ClearKeys();
    BackRequested = 0;  // a back request from before must not cancel during the slide
    Einblendbeginn = MillisecondClock();

    for (;;) {
        if (EndSignalled()) {  // ending the program: closed without an answer
            EingabeAktiv = 0;
            Zuruecksetzen();
            return 0;
        }
        if (eingeblendet == 1) {
            User::update();
        } else {
            // Input is not polled while sliding, so the keys cannot be hit yet.
            const float p = static_cast<float>(MillisecondClock() - Einblendbeginn) / Einblenddauer;
            if (p < 1.0f) {
                SetDrawOrigin(0, Tastatur_Hoehe * (1.0f - p));
            } else {
                eingeblendet = 1;
                SetDrawOrigin(0, 0);
                ClearKeys();
            }
        }
        SetViewport(Tastatur_x, Tastatur_y, Tastatur_Breite, Tastatur_Hoehe);
        SetAlpha(1);
        SetDrawScale(1, 1);
        SetColor(Hintergrund[0], Hintergrund[1], Hintergrund[2]);
        DrawRect(Tastatur_x, Tastatur_y, Tastatur_Breite, Tastatur_Hoehe);

        // Keys in a fixed order; the last character key pressed gives the character.
        Ausgang ausgang = Ausgang::weiter;
        bool hatZeichen = false;
        char16_t zeichen = 0;
        auto zeichenreihe = [&](int r) {
            for (int i = 0; i < kZeichentasten[r]; ++i) {
                auto& t = Tastenreihe[r][i];
                if (t->nutzen(1.0f, 1) == 1 && t->Text.size() == 2 && !t->Text[1].empty()) {
                    hatZeichen = true;
                    zeichen = t->Text[1][0];
                }
            }
        };
        auto& r4 = Tastenreihe[4];
        zeichenreihe(0);
        if (Tastenreihe[0][kRuecktaste]->nutzen(1.0f, 1) == 1) Ruecktaste();
        zeichenreihe(1);
        if (Tastenreihe[1][kEnter]->nutzen(1.0f, 1) == 3) ausgang = Ausgang::bestaetigt;
        if (ausgang == Ausgang::weiter) {
            zeichenreihe(2);
            zeichenreihe(3);
            if (r4[kEscape]->nutzen(1.0f, 1) == 3) ausgang = Ausgang::abgebrochen;
        }
        if (ausgang == Ausgang::weiter) {
            if (r4[kShiftLinks]->nutzen(1.0f, 1) == 1) shift_wechseln();
            if (r4[kLeertaste]->nutzen(1.0f, 1) == 1) {
                hatZeichen = true;
                zeichen = u' ';
                if (shift == 1) shift_wechseln();
            }
            if (r4[kShiftRechts]->nutzen(1.0f, 1) == 1) shift_wechseln();
            if (r4[kEntf]->nutzen(1.0f, 1) == 1) Entf();
            if (r4[kClear]->nutzen(1.0f, 1) == 1) {
                WipeText(Eingabetext);
                CursorSetzen(0);
                TextXNeu();
                ueberschreiben = 0;
            }
            if (r4[kEinfg]->nutzen(1.0f, 1) == 1) ueberschreiben = 1 - ueberschreiben;
        }

        if (ausgang == Ausgang::weiter) {
            if (hatZeichen) {
                Einfuegen(zeichen);
                if (shift == 1) shift_wechseln();  // shift acts for one character
            } else if (KeyHeld(kKeyCtrl) && KeyPressed('V') > 0) {
                // Pasted text is taken as typed text; a line break becomes a space.
                for (char16_t c : ClipboardText()) {
                    if (c == u'\r') continue;
                    if (c == u'\n' || c == u'\t') c = u' ';
                    if (c > 31 && c != u'~') Einfuegen(c);
                }
            } else if (KeyHeld(kKeyEscape) || BackRequested) {
                ausgang = Ausgang::abgebrochen;
            } else if (KeyPressed(kKeyLeft) > 0) {
                CursorSetzen(Cursor - 1);
            } else if (KeyPressed(kKeyRight) > 0) {
                CursorSetzen(Cursor + 1);
            } else if (KeyPressed(kKeyHome) > 0) {
                CursorSetzen(0);
            } else if (KeyPressed(kKeyEnd) > 0) {
                CursorSetzen(Laenge());
            } else if (KeyPressed(kKeyDelete) > 0) {
                Entf();
            } else if (KeyPressed(kKeyInsert) > 0) {
                ueberschreiben = 1 - ueberschreiben;
            } else {
                const int c = NextTypedChar();
                if (c == 13) ausgang = Ausgang::bestaetigt;
                else if (c == 8) Ruecktaste();
                else if (c > 31 && c <= 0xFFFF) Einfuegen(static_cast<char16_t>(c));
            }
        }

        if (ausgang == Ausgang::bestaetigt) {
            Zuruecksetzen();
            if (!(checkSpecial == 1 && Sonderzeichenkontrolle())) return 1;
            continue;  // keep editing until the text is acceptable
        }
        if (ausgang == Ausgang::abgebrochen) {
            EingabeAktiv = 0;
            // The Escape or close request that cancelled is spent here.
            BackRequested = 0;
            Zuruecksetzen();
            return 0;
        }

        ZeigerImText();
        FeldZeichnen();
        FrameEnd();
    }
}
