// The tile menus the whole program shares, built once at start: grade
// entry, main menu, class-screen menus and the grade-type menus. Users change
// single tiles in place but never rebuild them.
#pragma once
#include <memory>

#include "tiles/menu.hpp"

extern std::shared_ptr<TTextMenu> Notenmenue[2];  // 0 grades, 1 points
extern std::shared_ptr<TKombiMenu> Hauptmenue;
extern std::shared_ptr<TKombiMenu> Klassenmenue;
extern std::shared_ptr<TKombiMenu> Spaltentypmenue;
extern std::shared_ptr<TKombiMenu> Typwechselmenue;
extern std::shared_ptr<TKombiMenu> Schuelermenue;
extern std::shared_ptr<TKombiMenu> Spaltenmenue;

// Builds all eight in their order: the points menu with Notenskala 1, the
// grades menu with Notenskala 0 (their colours depend on it), then the rest.
// Needs the fonts Schrift32, Schrift16 and Symbolschrift.
void BaueGemeinsameMenues();
// Main menu tile 4 shows which school type is chosen, after OberstufeAb.
void SetzeSchulformKachel();
