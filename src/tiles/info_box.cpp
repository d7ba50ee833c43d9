// Information box: layout in units of the text font's line height L, the
// growth animation over the caller's picture, buttons that appear in place.
#include "tiles/info_box.hpp"

#include <algorithm>

#include "platform/end_signals.hpp"
#include "platform/input.hpp"
#include "platform/timing.hpp"
#include "tiles/frame_loop.hpp"
#include "tiles/user.hpp"

RGBFarbe TInfoBox::InfoHintergrund{36, 36, 36};
RGBFarbe TInfoBox::InfoSchalterfarbe{56, 56, 56};
RGBFarbe TInfoBox::InfoSchriftfarbe{255, 255, 255};
float TInfoBox::InfoEinblenddauer = 100.0f;
TImageFont TInfoBox::InfoTitelschrift;
TImageFont TInfoBox::InfoTextschrift;

namespace {
int Trunc(float v) { return static_cast<int>(v); }
FarbArg Arg(const RGBFarbe& c) { return {c[0], c[1], c[2]}; }
}  // namespace

void TInfoBox::LadeSchriften() {
    InfoTitelschrift = LoadFontFrom(u"incbin::media/fonts/segoeui.ttf", 32, kSmoothFont);
    InfoTextschrift = LoadFontFrom(u"incbin::media/fonts/segoeui.ttf", 16, kSmoothFont);
}

std::shared_ptr<TInfoBox> TInfoBox::bauen(const ::Text& title, const FarbArg& titleColour,
                                          const std::vector<::Text>& lines, const std::vector<::Text>& buttons) {
    auto box = std::make_shared<TInfoBox>();
    const int W = GraphicsWidth(), H = GraphicsHeight();
    const int n = static_cast<int>(buttons.size());
    box->title = title;
    box->titleRGB = FarbeAus(titleColour);
    box->info = lines;
    box->Schalter.resize(buttons.size());

    SetDrawFont(InfoTitelschrift);
    box->Breite = TextWidthOf(title);
    box->Tiefe = 2 * TextHeightOf(title);

    SetDrawFont(InfoTextschrift);
    const int L = TextHeightOf(u"");
    box->infozeilentiefe = L;
    int bw = 0;
    for (const ::Text& b : buttons) bw = std::max(bw, TextWidthOf(b));

    box->Breite += 2 * L;
    for (const ::Text& line : lines) {
        box->Breite = std::max(box->Breite, TextWidthOf(line) + 2 * L);
        box->Tiefe += TextHeightOf(line);
    }
    box->Tiefe += 5 * L;

    bw += 2 * L;
    const int bh = 3 * L;
    const int bx = Trunc(0.5f * (W - n * bw - (n - 1) * L));
    const int by = Trunc(0.5f * H + 0.5f * box->Tiefe - 4 * L);

    box->AnimationsBeginn = MillisecondClock();
    for (int j = 0; j < n; ++j) {
        box->Schalter[j] = TTextKachel::bauen({buttons[j]}, {InfoTextschrift}, bx + j * (bw + L), by, 1, W / 2, H / 2,
                                              0, bw, bh, Arg(InfoSchalterfarbe), Arg(InfoSchriftfarbe), 1,
                                              static_cast<float>(Trunc(InfoEinblenddauer)));
    }
    box->Breite = std::max(box->Breite, (n + 1) * L + n * bw);
    box->x = Trunc(0.5f * (W - box->Breite));
    box->y = Trunc(0.5f * (H - box->Tiefe));
    return box;
}

void TInfoBox::ZeichneWachsend(float p, int W, int H) {
    const int L = infozeilentiefe;
    SetAlpha(p);
    const int ly = Trunc(0.5f * H + p * (y - 0.5f * H));
    SetColor(InfoHintergrund[0], InfoHintergrund[1], InfoHintergrund[2]);
    DrawRect(0.5f * W + p * (x - 0.5f * W), ly, p * Breite, p * Tiefe);

    SetDrawFont(InfoTitelschrift);
    const int th = TextHeightOf(title);
    SetColor(titleRGB[0], titleRGB[1], titleRGB[2]);
    SetDrawScale(p, p);
    const int ty = Trunc(ly + th * 0.5f * p);
    DrawTextAt(title, 0.5f * (W - p * TextWidthOf(title)), ty);

    SetDrawFont(InfoTextschrift);
    int yy = Trunc(ty + th * 1.5f * p);
    for (size_t i = 0; i < info.size(); ++i) {
        const ::Text& line = info[i];
        ZeilenfarbeSetzen(i);
        DrawTextAt(line, 0.5f * (W - p * TextWidthOf(line)), yy);
        yy = Trunc(yy + p * L);
    }
    SetDrawScale(1, 1);
    for (auto& s : Schalter) s->nutzen(1.0f, 1);
    SetAlpha(1);
}

void TInfoBox::ZeichneFertig(int W, int) {
    const RGBFarbe& bg = InfoHintergrund;
    SetColor(bg[0], bg[1], bg[2]);
    DrawRect(x, y, Breite, Tiefe);
    SetColor(titleRGB[0], titleRGB[1], titleRGB[2]);
    DrawRect(x + 2, y + 2, Breite - 4, Tiefe - 4);
    SetColor(bg[0], bg[1], bg[2]);
    DrawRect(x + 3, y + 3, Breite - 6, Tiefe - 6);

    SetDrawFont(InfoTitelschrift);
    const int th = TextHeightOf(title);
    SetColor(titleRGB[0], titleRGB[1], titleRGB[2]);
    const int ty = Trunc(y + 0.5f * th);
    DrawTextAt(title, 0.5f * (W - TextWidthOf(title)), ty);

    SetDrawFont(InfoTextschrift);
    int yy = Trunc(ty + 1.5f * th);
    for (size_t i = 0; i < info.size(); ++i) {
        const ::Text& line = info[i];
        ZeilenfarbeSetzen(i);
        DrawTextAt(line, 0.5f * (W - TextWidthOf(line)), yy);
        yy += infozeilentiefe;
    }
}

void TInfoBox::ZeilenfarbeSetzen(size_t zeile) const {
    const RGBFarbe& c = zeile < infoRGB.size() ? infoRGB[zeile] : InfoSchriftfarbe;
    SetColor(c[0], c[1], c[2]);
}

::Text TInfoBox::verwenden() {
    if (Gezeigt) Gezeigt(*this);
    // The touch that opened the box must end before the box listens.
    while (TouchState > 0 && !EndSignalled()) {
        User::update();
        WaitTimer(Taktgeber);
    }
    ClearKeys();
    // An Escape or close request that came before the box must not dismiss it
    // in its first frames, before input is polled again.
    BackRequested = 0;
    const int W = GraphicsWidth(), H = GraphicsHeight();
    AnimationsBeginn = MillisecondClock();
    for (auto& s : Schalter) s->Animationsbeginn = AnimationsBeginn;
    ::Text result;
    for (;;) {
        // Ending the program: closed without an answer, before it is drawn.
        if (EndSignalled()) break;
        const float p = static_cast<float>(MillisecondClock() - AnimationsBeginn) / InfoEinblenddauer;
        if (p < 1.0f) {
            ZeichneWachsend(p, W, H);
        } else {
            User::update();
            ZeichneFertig(W, H);
            for (auto& s : Schalter)
                if (s->nutzen(1.0f, 1) == 3) result = s->Text.empty() ? ::Text() : s->Text[0];
        }
        FrameEnd();
        SetDrawScale(1, 1);
        if (!result.empty()) {
            User::flush();
            return result;
        }
        if (BackRequested || KeyPressed(13) > 0) break;
    }
    // Enter's auto-repeat must not reach the next screen.
    while (KeyHeld(13) && !EndSignalled()) WaitTimer(Taktgeber);
    User::flush();
    return ::Text();
}
