// The main menu, and the building of every shared menu at start: the grade
// menus, the main menu, then the class-screen menus (see class_menus.hpp).
#pragma once
#include <memory>

#include "gradebook/class_menus.hpp"
#include "tiles/menu.hpp"

extern std::shared_ptr<TKombiMenu> Hauptmenue;

// Builds all eight in their order. Needs the fonts Schrift32, Schrift16 and
// Symbolschrift.
void BaueGemeinsameMenues();
// Main menu tile 4 shows which school type is chosen, after OberstufeAb.
void SetzeSchulformKachel();
