// The tile menus of grade entry and of the class screen, built once at start
// and shared by the whole program. Users change single tiles in place but
// never rebuild them.
#pragma once
#include <memory>

#include "tiles/menu.hpp"

extern std::shared_ptr<TTextMenu> Notenmenue[2];  // 0 grades, 1 points
extern std::shared_ptr<TKombiMenu> Klassenmenue;
extern std::shared_ptr<TKombiMenu> Spaltentypmenue;
extern std::shared_ptr<TKombiMenu> Typwechselmenue;
extern std::shared_ptr<TKombiMenu> Schuelermenue;
extern std::shared_ptr<TKombiMenu> Spaltenmenue;
// Asked before a "Schülerbogen" is written: tile 0 "Für Eltern", tile 1
// "Vollständig".
extern std::shared_ptr<TTextMenu> Bogenmenue;

// The points menu with Notenskala 1, then the grades menu with Notenskala 0
// (their colours depend on it). Needs the fonts.
void BaueNotenmenues();
// Class command, type, row and column menus.
void BaueKlassenmenues();
