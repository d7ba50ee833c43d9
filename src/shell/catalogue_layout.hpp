// Arithmetic of the catalogue's columns: one column per used class level,
// tiles shrunk when there are too many levels or classes for the window.
#pragma once
#include <array>

struct KatalogLayout {
    int u = 0;        // used levels
    int m = 0;        // most gradebooks in one level
    int w = 228;      // column and tile width
    int h = 114;      // tile height
    int x0 = 0;       // left edge of the first column
    int oben = 0;     // top of every column
    int optionenX = 0, optionenY = 0;
};

constexpr int kKatalogAbstand = 16;

// counts[L]: gradebooks of level L (0 to 13).
KatalogLayout BerechneKatalogLayout(const std::array<int, 14>& counts, int breite, int hoehe);
