// The class screen's command handler. The commands themselves (menus of
// rows and columns, grade entry) are added with the class screen commands;
// until then a tap on the grid is consumed and nothing else happens.
#include "gradebook/schulklasse.hpp"

int TSchulklasse::verwalten() {
    AuftragsZeile = -1;
    AuftragsSpalte = -1;
    return 0;
}
