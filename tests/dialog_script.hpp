// Scripted answers to nested modal dialogs on the headless backend: each step
// waits until its menu or keyboard listens (or, for a box, a fixed number of
// frames), then schedules its taps or characters. Unanswered dialogs are
// closed by a held Escape so that a broken test fails instead of hanging.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/graphics.hpp"
#include "platform/headless_backend.hpp"
#include "platform/input_script.hpp"
#include "platform/platform_context.hpp"
#include "tiles/info_box.hpp"
#include "tiles/menu.hpp"
#include "tiles/texteingabe.hpp"

class Dialogskript {
public:
    explicit Dialogskript(HeadlessBackend& backend) : backend_(backend) {}
    ~Dialogskript() { SetFrameObserver(nullptr); }

    // Taps tile `index` of the menu once it is shown.
    Dialogskript& Kachel(std::shared_ptr<TMenu> menu, int index) {
        schritte_.push_back({[menu] { return menu->Status == 2; },
                             [this, menu, index](long long f) {
                                 const TKachel& k = *menu->Kachel[static_cast<size_t>(index)];
                                 Klick(f, k.x + k.Breite / 2.0f, k.y + k.Tiefe / 2.0f);
                             }});
        return *this;
    }
    // Looks at the shown menu (its place, its extra picture) while it is open.
    Dialogskript& Ansehen(std::shared_ptr<TMenu> menu, std::function<void()> blick) {
        schritte_.push_back({[menu] { return menu->Status == 2; }, [blick](long long) { blick(); }});
        return *this;
    }
    // Taps outside the shown menu: closed without a choice.
    Dialogskript& Daneben(std::shared_ptr<TMenu> menu) {
        schritte_.push_back({[menu] { return menu->Status == 2; },
                             [this, menu](long long f) {
                                 const float x = menu->x > 20 ? 5.0f : menu->x + menu->Breite + 5.0f;
                                 Klick(f, x, menu->y + 5.0f);
                             }});
        return *this;
    }
    // Types characters on the shown menu (13 Enter, 8 Backspace), two frames apart.
    Dialogskript& Zeichen(std::shared_ptr<TMenu> menu, const Text& zeichen) {
        schritte_.push_back({[menu] { return menu->Status == 2; }, [this, zeichen](long long f) {
                                 for (char16_t c : zeichen) {
                                     backend_.At(f, {ScriptedEvent::Typed, c});
                                     f += 2;
                                 }
                                 ende_ = f;
                             }});
        return *this;
    }
    // Presses and releases a key (arrows, Escape) on the shown menu.
    Dialogskript& Taste(std::shared_ptr<TMenu> menu, int code) {
        schritte_.push_back({[menu] { return menu->Status == 2; }, [this, code](long long f) {
                                 backend_.At(f, {ScriptedEvent::KeyDown, code});
                                 backend_.At(f + 1, {ScriptedEvent::KeyUp, code});
                                 ende_ = f + 2;
                             }});
        return *this;
    }
    // Taps the point `wo` tells once the menu is shown.
    Dialogskript& Punkt(std::shared_ptr<TMenu> menu, std::function<std::pair<float, float>()> wo) {
        schritte_.push_back({[menu] { return menu->Status == 2; }, [this, wo](long long f) {
                                 const auto [x, y] = wo();
                                 Klick(f, x, y);
                             }});
        return *this;
    }
    // Types the text on the listening keyboard, then Enter.
    Dialogskript& Tippen(const Text& text) {
        schritte_.push_back({Tastatur, [this, text](long long f) {
                                 for (char16_t c : text) {
                                     backend_.At(f, {ScriptedEvent::Typed, c});
                                     f += 2;
                                 }
                                 backend_.At(f, {ScriptedEvent::Typed, 13});
                                 ende_ = f + 2;
                             }});
        return *this;
    }
    // Does something once the condition holds (nullptr: at once).
    Dialogskript& Wenn(std::function<bool()> bereit, std::function<void()> tun) {
        schritte_.push_back({bereit ? bereit : [] { return true; }, [tun](long long) { tun(); }});
        return *this;
    }
    // Escape on the listening keyboard.
    Dialogskript& Abbrechen() {
        schritte_.push_back({Tastatur, [this](long long f) {
                                 backend_.At(f, {ScriptedEvent::KeyDown, 27});
                                 backend_.At(f + 2, {ScriptedEvent::KeyUp, 27});
                                 ende_ = f + 4;
                             }});
        return *this;
    }
    // Presses a button of the box that the program builds from the same
    // title, lines and buttons (only then are the buttons where the copy
    // has them), once it has grown.
    Dialogskript& Box(const Text& titel, const FarbArg& farbe, const std::vector<Text>& zeilen,
                      const std::vector<Text>& schalter, int gedrueckt) {
        auto muster = TInfoBox::bauen(titel, farbe, zeilen, schalter);
        const TKachel& s = *muster->Schalter[static_cast<size_t>(gedrueckt)];
        const float x = s.x + s.Breite / 2.0f, y = s.y + s.Tiefe / 2.0f;
        schritte_.push_back({nullptr, [this, x, y](long long f) { Klick(f, x, y); }});
        return *this;
    }

    // Installs the script; call right before the operation under test.
    void Starten() {
        backend_.At(backend_.Flips() + kNotbremse, {ScriptedEvent::KeyDown, 27});
        naechster_ = 0;
        ende_ = backend_.Flips();
        SetFrameObserver([this] { Beobachten(); });
    }
    // Every step ran.
    bool Fertig() const { return naechster_ == schritte_.size(); }
    // Whether a frame showed a yellow title (the colour of "Info" and "Fehler" boxes here).
    int GelbeBilder() const { return gelb_; }

private:
    static constexpr long long kNotbremse = 3000;
    // A box opens at once after the dialog before it and grows for 100 ms.
    static constexpr long long kBoxWartezeit = 15;

    struct Schritt {
        std::function<bool()> bereit;  // nullptr: a box, ready after kBoxWartezeit
        std::function<void(long long)> tun;
    };

    static bool Tastatur() { return Texteingabe::EingabeAktiv == 1 && Texteingabe::eingeblendet == 1; }

    void Klick(long long f, float x, float y) {
        backend_.At(f, {ScriptedEvent::MouseDown, 0, x, y});
        backend_.At(f + 2, {ScriptedEvent::MouseUp, 0, x, y});
        ende_ = f + 3;
    }

    void Beobachten() {
        for (const DrawVertex& v : Ctx().shown.vertices)
            if (v.rgba == 0xFF00FFFFu) {
                ++gelb_;
                break;
            }
        const long long jetzt = backend_.Flips();
        if (naechster_ >= schritte_.size()) return;
        const Schritt& s = schritte_[naechster_];
        // The scheduled input of a step must be used up before the next step looks.
        const long long frei = ende_ + (s.bereit ? 6 : kBoxWartezeit);
        if (jetzt < frei || (s.bereit && !s.bereit())) return;
        ++naechster_;
        s.tun(jetzt + 2);
    }

    HeadlessBackend& backend_;
    std::vector<Schritt> schritte_;
    size_t naechster_ = 0;
    long long ende_ = 0;
    int gelb_ = 0;
};
