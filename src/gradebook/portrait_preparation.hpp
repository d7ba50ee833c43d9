// Portraits of the opened class decoded ahead, off the frame loop: the
// teacher reaches the seating plan only through the class menu, and by then
// its pictures wait in memory at the plan's size (never on the disk, so
// nothing plain is written while encryption is on). What the plan asks for
// before that is decoded by the asking thread beside the background one.
#pragma once
#include <vector>

#include "platform/files.hpp"
#include "platform/pixmap.hpp"
#include "platform/text.hpp"

// Starts decoding those files at `pfade` that exist, averaged down to
// `groesse`, on a thread of its own; a preparation under way is stopped first.
void PortraitsVorbereiten(std::vector<Text> pfade, int groesse);

// The prepared picture of `pfad` at `groesse` and the file's stamp taken
// before it was read (a newer file has another stamp). A picture not done
// yet is waited for, one not started is decoded here. False when `pfad` at
// that size is not part of the preparation, or the file had no picture.
bool VorbereitetesPortrait(const Text& pfad, int groesse, FileStamp& stempel, TPixmap& bild);

// Pictures done and not handed out by this call before, at most
// `hoechstens`: to be made textures while the class screen stands.
struct VorbereitetesBild {
    Text pfad;
    int groesse = 0;
    FileStamp stempel;
    TPixmap bild;
};
std::vector<VorbereitetesBild> FertigeVorbereitete(int hoechstens);
// True while pictures are being decoded or wait to be handed out.
bool VorbereitungAusstehend();

// Decodes here what is not started yet and waits for the rest.
void VorbereitungAbschliessen();

// Stops the preparation after the picture under way and forgets its pictures.
void VorbereitungBeenden();
