// A teacher's steps in the program's window at 1920 x 1080, the same tiles
// the Linux end-to-end tests tap: the catalogue, the main menu, the class
// command menu, grade cells and their menu, boxes and the keyboard.
#pragma once
#include <cstdint>
#include <string>

#include "harness.hpp"

namespace steps {

constexpr uint32_t kHintergrund = (23u << 16) | 83u;
constexpr uint32_t kKachel = (56u << 16) | (48u << 8) | 64u;
constexpr uint32_t kHinweis = (80u << 16) | 160u;  // the first start's hint

// Pixels of the first start's hint below "Optionen".
int HintPixels(const Screenshot& s);
// Tile `kachel` of the main menu ("Optionen"), 0 "Backup-Ordner" .. 6 "Verschlüsselung".
void MainMenu(ProgramUnderTest& p, int kachel);
// Taps the only class of the catalogue and waits for its class screen.
bool OpenOnlyClass(ProgramUnderTest& p);
// Tile i of the class command menu (6 "Namensliste importieren", 7 "Exportieren").
void ClassCommand(ProgramUnderTest& p, int i);
// Grid geometry of a class screen at scroll position 0.
constexpr int RowY(int i) { return 46 + 84 * i; }
constexpr int ColumnX(int j) { return 160 + 80 * j; }
// Grade tile t of the grade menu opened on cell (row, column): 0 "1+", 4 "2", 10 "4".
void GradeByMouse(ProgramUnderTest& p, int row, int column, int t);
// "Noten eintragen" from the column menu of `column`.
void StartSeries(ProgramUnderTest& p, int column);
// Waits until an information box stands still and presses button `index`.
bool PressBoxButton(ProgramUnderTest& p, int index, const std::string& picture);
// Types the text on the keyboard that slides in and confirms it with Enter.
void TypeAndEnter(ProgramUnderTest& p, const std::string& text);
// Waits for a top-level window whose name matches `pattern` (xdotool's
// regular expression); its id or "" after the time.
std::string WaitForWindowNamed(ProgramUnderTest& p, const std::string& pattern, int timeoutMs = 20000);

}  // namespace steps
