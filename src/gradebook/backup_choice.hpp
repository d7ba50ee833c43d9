// Which chosen file counts as a backup of a class: only a finished backup
// lying directly in that class's "Backups" folder.
#pragma once
#include "platform/text.hpp"

// True when gewaehlt is a file directly in backupordner once ".", ".." and
// symbolic links are resolved on both sides, and is no leftover of an
// interrupted save (".neu"). A path that merely contains "<K>/Backups/"
// somewhere is not enough.
bool IstBackupDerKlasse(const ::Text& gewaehlt, const ::Text& backupordner);
