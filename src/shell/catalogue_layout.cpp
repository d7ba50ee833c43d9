// Catalogue layout: preferred tiles of 228 x 114 with gaps of 16, the columns
// centred horizontally, the tallest column centred on two thirds of the height.
#include "shell/catalogue_layout.hpp"

#include <algorithm>

KatalogLayout BerechneKatalogLayout(const std::array<int, 14>& counts, int W, int H) {
    KatalogLayout l;
    for (int c : counts) {
        if (c > 0) ++l.u;
        l.m = std::max(l.m, c);
    }
    const int gap = kKatalogAbstand;
    if (l.u * 228 + (l.u - 1) * gap > W) l.w = (W - (l.u - 1) * gap) / l.u;
    const double zweiDrittel = 2.0 * H / 3.0;
    if (l.m * 114 + (l.m - 1) * gap > zweiDrittel) l.h = static_cast<int>((zweiDrittel - (l.m - 1) * gap) / l.m);
    l.x0 = static_cast<int>(0.5 * (W - (l.u * l.w + (l.u - 1) * gap)));
    l.oben = static_cast<int>(zweiDrittel - 0.5 * (l.m * l.h + (l.m - 1) * gap));
    l.optionenX = static_cast<int>(W / 2.0 - l.w / 2.0);
    l.optionenY = static_cast<int>(H / 6.0 - l.h / 2.0);
    return l;
}
