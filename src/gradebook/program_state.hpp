// Program-wide state that the gradebook, the class screen and the shell all
// read: window size, school type, folders, fonts and the active grade scale.
// The shell sets it at start-up; it lives here, below every reader.
#pragma once
#include "platform/graphics.hpp"
#include "platform/text.hpp"
#include "platform/timing.hpp"
#include "tiles/frame_loop.hpp"  // Taktgeber

extern int Bildschirmbreite;
extern int Bildschirmhoehe;
extern int OberstufeAb;      // 11 for a G9-Gymnasium, 10 for a G8-Gymnasium
extern Text BackupOrdner;    // external backup folder, "" when none
extern Text StartOrdner;     // first folder of the file requesters
extern TImageFont Schrift32;
extern TImageFont Schrift16;
extern TImageFont Symbolschrift;
// Loads the three fonts above from the embedded media (registered first).
void SchriftenLaden();
extern int Notenskala;       // 0 grades "1+".."6", 1 points "15".."0"
