// Grid tile builders: every tile of a gradebook is centred, takes 200 ms to
// fly in and sits at the fixed pitch of 80 pixels per column, 84 per row.
#include "gradebook/grid_tiles.hpp"

#include "gradebook/grade_scale.hpp"
#include "gradebook/grade_types.hpp"
#include "platform/conversions.hpp"
#include "gradebook/program_state.hpp"

namespace {

constexpr float kDauer = 200.0f;
const FarbArg kWeiss{255, 255, 255};

FarbArg Arg(const RGBFarbe& c) { return FarbArg{c[0], c[1], c[2]}; }

}  // namespace

RGBFarbe Namensfarbe() {
    RGBFarbe f{};
    for (int k = 0; k < 3; ++k) f[k] = static_cast<int>(1.5f * static_cast<float>(kTitelfarbe[k]));
    return f;
}

RGBFarbe Zellfarbe(const RGBFarbe& kopffarbe) {
    return RGBFarbe{kopffarbe[0] / 2, kopffarbe[1] / 2, kopffarbe[2] / 2};
}

std::shared_ptr<TTextKachel> TitelkachelBauen(const ::Text& klasse, const ::Text& fach) {
    return TTextKachel::bauen({klasse, fach}, {Schrift32, Schrift32}, 8, 8, 0, 0, 0, 0, 228, 114, Arg(kTitelfarbe),
                              kWeiss, 1, kDauer);
}

std::shared_ptr<TKombiKachel> NotenkopfBauen(const ::Text& typ, const ::Text& datum, int j, int vonX, int vonY) {
    return TKombiKachel::bauen({typ, Typsymbol(typ), datum}, {Schrift16, Symbolschrift, Schrift16}, SpaltenX(j),
                               kKopfY, 1, vonX, vonY, 1, 76, 114, Arg(Typfarbe(typ)), kWeiss, 1, kDauer);
}

std::shared_ptr<TKombiKachel> DurchschnittskopfBauen(const ::Text& typ, int j, int vonX, int vonY) {
    return TKombiKachel::bauen({typ, kDurchschnittssymbol}, {Schrift16, Schrift32}, SpaltenX(j), kKopfY, 1, vonX,
                               vonY, 1, 76, 114, Arg(Typfarbe(typ)), kWeiss, 1, kDauer);
}

std::shared_ptr<TKombiKachel> SpaltenkopfBauen(const ::Text& typ, const ::Text& datum, int j, int vonX, int vonY) {
    if (IstDurchschnittstyp(typ)) return DurchschnittskopfBauen(typ, j, vonX, vonY);
    return NotenkopfBauen(typ, datum, j, vonX, vonY);
}

std::shared_ptr<TTextKachel> NamenskachelBauen(const ::Text& nachname, const ::Text& vornamen, int i, int vonX,
                                               int vonY) {
    return TTextKachel::bauen({nachname, vornamen}, {Schrift32, Schrift16}, 8, ZeilenY(i), 1, vonX, vonY, 2, 228, 76,
                              Arg(Namensfarbe()), kWeiss, 1, kDauer);
}

std::shared_ptr<TTextKachel> NotenzelleBauen(const ::Text& note, int i, int j, const RGBFarbe& kopffarbe, int vonX,
                                             int vonY) {
    return TTextKachel::bauen({note}, {Schrift32}, SpaltenX(j), ZeilenY(i), 1, vonX, vonY, 3, 76, 76,
                              Arg(Zellfarbe(kopffarbe)), Arg(Notenfarbe(note)), 1, kDauer);
}

std::shared_ptr<TTextKachel> DurchschnittszelleBauen(const ::Text& wert, int i, int j, const RGBFarbe& kopffarbe,
                                                     int vonX, int vonY) {
    const float v = static_cast<float>(FloatFromText(wert));
    return TTextKachel::bauen({wert}, {Schrift32}, SpaltenX(j), ZeilenY(i), 1, vonX, vonY, 3, 76, 76,
                              Arg(Zellfarbe(kopffarbe)), Arg(Durchschnittsfarbe(v)), 1, kDauer);
}
