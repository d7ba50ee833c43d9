// Definitions of the shell's program-wide state, with their start values.
#include "shell/globals.hpp"

int Bildschirmbreite = 0;
int Bildschirmhoehe = 0;
int OberstufeAb = 11;
Text BackupOrdner;
Text StartOrdner;
TImageFont Schrift32;
TImageFont Schrift16;
TImageFont Symbolschrift;
int Notenskala = 1;
