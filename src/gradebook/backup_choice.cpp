// The test of a chosen backup file, on resolved paths.
#include "gradebook/backup_choice.hpp"

#include "gradebook/class_file.hpp"
#include "platform/conversions.hpp"
#include "platform/files.hpp"
#include "platform/paths.hpp"

namespace {
bool UnfertigeDatei(const ::Text& pfad) { return LowerCase(pfad).ends_with(kNeuEndung); }
}  // namespace

bool IstBackupDerKlasse(const ::Text& gewaehlt, const ::Text& backupordner) {
    if (gewaehlt.empty() || UnfertigeDatei(gewaehlt)) return false;
    const ::Text datei = CanonicalPath(gewaehlt);
    const ::Text ordner = CanonicalPath(backupordner);
    if (datei.empty() || ordner.empty() || UnfertigeDatei(datei)) return false;
    return PathKind(datei) == 1 && ExtractFolder(datei) == ordner;
}
