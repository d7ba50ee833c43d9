// Reading and writing ".Kladdorix-Schule".
#include "gradebook/school_names.hpp"

#include "platform/textstream.hpp"

Text SchuldateiIn(const Text& programmordner) {
    Text ordner = programmordner;
    if (!ordner.empty() && (ordner.back() == u'/' || ordner.back() == u'\\')) ordner.pop_back();
    return ordner + u"/" + kSchuldateiName;
}
// The working folder is the program folder for the whole run, as for "Noten".
Text Schuldatei() { return kSchuldateiName; }

Schulangaben SchulangabenLesenAus(const Text& datei) {
    Schulangaben a;
    const TStream strom = OpenForReading(datei);
    if (!strom) return a;
    if (!Eof(strom)) a.schule = ReadLine(strom);
    if (!Eof(strom)) a.lehrkraft = ReadLine(strom);
    Close(strom);
    return a;
}
Schulangaben SchulangabenLesen() { return SchulangabenLesenAus(Schuldatei()); }

bool SchulangabeSpeicherbar(const Text& name) {
    for (char16_t c : name)
        if (c > 0xFF || c < 32 || c == 127) return false;
    return true;
}

bool SchulangabenSchreibenNach(const Text& datei, const Schulangaben& angaben) {
    if (!SchulangabeSpeicherbar(angaben.schule) || !SchulangabeSpeicherbar(angaben.lehrkraft)) return false;
    const TStream strom = OpenForWriting(datei);
    if (!strom) return false;
    const bool geschrieben = WriteLine(strom, angaben.schule) && WriteLine(strom, angaben.lehrkraft);
    return Close(strom) && geschrieben;
}
bool SchulangabenSchreiben(const Schulangaben& angaben) { return SchulangabenSchreibenNach(Schuldatei(), angaben); }
