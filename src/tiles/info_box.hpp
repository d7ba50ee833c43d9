// The message and question box: a panel centred on the screen that grows in,
// with a coloured title, centred lines and a row of button tiles. `verwenden`
// returns the pressed button's text (with its blanks), or "" when dismissed.
#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "tiles/kachel.hpp"

class TInfoBox {
public:
    ::Text title;
    RGBFarbe titleRGB{255, 255, 255};
    std::vector<::Text> info;
    // Colour of each message line; lines without an entry are drawn in
    // InfoSchriftfarbe (so one warning line can stand out in red).
    std::vector<RGBFarbe> infoRGB;
    int infozeilentiefe = 0;
    std::vector<std::shared_ptr<TKachel>> Schalter;
    int x = 0, y = 0;
    int Breite = 0, Tiefe = 0;
    int AnimationsBeginn = 0;

    // Shared by all boxes; the fonts are loaded at start (LadeSchriften).
    static RGBFarbe InfoHintergrund;
    static RGBFarbe InfoSchalterfarbe;
    static RGBFarbe InfoSchriftfarbe;
    static float InfoEinblenddauer;
    static TImageFont InfoTitelschrift;
    static TImageFont InfoTextschrift;
    static void LadeSchriften();

    // Told of every box when verwenden shows it (tests record what was shown).
    static inline std::function<void(const TInfoBox&)> Gezeigt;

    static std::shared_ptr<TInfoBox> bauen(const ::Text& title, const FarbArg& titleColour,
                                           const std::vector<::Text>& lines, const std::vector<::Text>& buttons);
    ::Text verwenden();

private:
    void ZeichneWachsend(float p, int W, int H);
    void ZeichneFertig(int W, int H);
    void ZeilenfarbeSetzen(size_t zeile) const;
};

// The button text of the program's notes and errors: six blanks each side.
inline const ::Text kOkSchalter = u"      Ok      ";
