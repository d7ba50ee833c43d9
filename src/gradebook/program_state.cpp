// Definitions of the program-wide state, with their start values.
#include "gradebook/program_state.hpp"

int Bildschirmbreite = 0;
int Bildschirmhoehe = 0;
int OberstufeAb = 11;
Text BackupOrdner;
Text StartOrdner;
TImageFont Schrift32;
TImageFont Schrift16;
TImageFont Symbolschrift;
int Notenskala = 1;
