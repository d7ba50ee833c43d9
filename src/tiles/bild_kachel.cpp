// Image tile: the image tinted by the tile colour, an additive copy as highlight.
#include "tiles/kachel.hpp"

std::shared_ptr<TBildKachel> TBildKachel::bauen(const ::Text& label, const TImage& image, int x, int y, int animate,
                                                int fromX, int fromY, int verschiebbar, const FarbArg& colour,
                                                float dauer) {
    auto k = std::make_shared<TBildKachel>();
    k->Text = {label};
    k->x = x;
    k->y = y;
    k->Bild = image;
    k->Breite = ImageWidthOf(image);
    k->Tiefe = ImageHeightOf(image);
    k->RGB = colour.size() == 3 ? FarbeAus(colour) : RGBFarbe{255, 255, 255};
    k->Animationsdauer = dauer;
    k->verschiebbar = verschiebbar;
    if (animate == 1) k->einblenden(fromX, fromY, dauer, kPositionBehalten, kPositionBehalten);
    return k;
}

void TBildKachel::draw(float f, int highlight) {
    SetAlpha(f);
    SetColor(RGB[0], RGB[1], RGB[2]);
    SetDrawScale(f, f);
    DrawImageAt(Bild, temp_x, temp_y, 0);
    if (highlight == 1) {
        SetAlpha(0.5);
        SetBlend(4);
        DrawImageAt(Bild, temp_x, temp_y, 0);
        SetBlend(3);
    }
    SetDrawScale(1, 1);
    SetColor(255, 255, 255);
    SetAlpha(1);
}
