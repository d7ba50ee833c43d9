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

void SchriftenLaden() {
    Symbolschrift = LoadFontFrom(u"incbin::media/fonts/MySymbolFont.ttf", 48, kSmoothFont);
    Schrift32 = LoadFontFrom(u"incbin::media/fonts/segoeui.ttf", 32, kSmoothFont);
    Schrift16 = LoadFontFrom(u"incbin::media/fonts/segoeui.ttf", 16, kSmoothFont);
}
