// The portrait arithmetic; random numbers come from the platform's one
// generator, so the brightness estimate varies a little from photo to photo.
#include "classscreen/portrait_processing.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "platform/conversions.hpp"
#include "platform/randomness.hpp"

double MittlereHelligkeit(const TPixmap& foto) {
    if (!foto || foto->width < 1 || foto->height < 1) return 0.0;
    const int w = foto->width, h = foto->height;
    const int R = TruncToInt(0.25 * std::min(w, h));
    long long summe = 0;
    for (int k = 0; k < 100; ++k) {
        const double u = RandomFloat(1.0, 0.0);
        const int s = 1 - 2 * RandomInt(0, 1);
        const double v = RandomFloat(1.0, 0.0);
        const int s2 = 1 - 2 * RandomInt(0, 1);
        const int x = TruncToInt(0.5 * w + u * R * s);
        const int y = TruncToInt(0.5 * h + v * R * s2);
        const uint32_t p = ReadPixel(foto, std::clamp(x, 0, w - 1), std::clamp(y, 0, h - 1));
        summe += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
    }
    return summe / 300.0;
}

double Aufhellstaerke(double mittel) { return 0.4 * std::max(0.0, (128.0 - mittel) / 128.0); }

int Aufgehellt(int v, double a) { return TruncToInt((1.0 - a) * v + a * 255.0); }

int Kontrastkurve(int c) {
    const double grad = c * 180.0 / 255.0;
    return TruncToInt(255.0 * (0.5 - 0.5 * std::cos(grad * std::numbers::pi / 180.0)));
}

TPixmap Portraet(const TPixmap& foto, int groesse, double a) {
    if (!foto || foto->width < 1 || foto->height < 1 || groesse < 1) return nullptr;
    TPixmap bild = CreatePixmap(groesse, groesse, 3, 4);
    if (!bild) return nullptr;
    // Lightening and curve depend only on the component: one table of 256.
    std::array<uint32_t, 256> kurve;
    for (int v = 0; v < 256; ++v) kurve[v] = static_cast<uint32_t>(std::clamp(Kontrastkurve(Aufgehellt(v, a)), 0, 255));
    const int w = foto->width, h = foto->height;
    const double x0 = std::max(0.0, 0.5 * (w - h));
    const double y0 = std::max(0.0, 0.5 * (h - w));
    // Slightly less than the exact ratio keeps the last sample inside the
    // photo; a photo smaller than the portrait is enlarged, never sampled
    // outside.
    const double schritt = std::max(0.0, static_cast<double>(std::min(w, h)) / groesse - 0.01);
    for (int i = 0; i < groesse; ++i) {
        const int x = std::min(TruncToInt(x0 + i * schritt), w - 1);
        for (int j = 0; j < groesse; ++j) {
            const int y = std::min(TruncToInt(y0 + j * schritt), h - 1);
            const uint32_t p = ReadPixel(foto, x, y);
            WritePixel(bild, i, j,
                       0xFF000000u | (kurve[(p >> 16) & 0xFF] << 16) | (kurve[(p >> 8) & 0xFF] << 8) | kurve[p & 0xFF]);
        }
    }
    return bild;
}
