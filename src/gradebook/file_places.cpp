// The place rule of sealed files: the path is cut below its last folder
// "Noten" and read as the program lays its files out.
#include "gradebook/file_places.hpp"

#include <vector>

#include "gradebook/class_file.hpp"
#include "gradebook/data_folders.hpp"
#include "gradebook/save_index.hpp"
#include "platform/conversions.hpp"
#include "platform/sealed_files.hpp"

namespace {
bool EndetMit(const Text& t, const Text& ende) {
    return t.size() >= ende.size() && t.compare(t.size() - ende.size(), ende.size(), ende) == 0;
}

// "7a Mathe" in class folder "7a" is subject "Mathe"; a name without the
// class in front stays whole.
Text FachAus(const Text& stamm, const Text& klasse) {
    const Text vorn = klasse + u" ";
    return stamm.compare(0, vorn.size(), vorn) == 0 ? stamm.substr(vorn.size()) : stamm;
}

// "26-10-14-10-00-00" at the end of a backup's name, after a blank.
bool Zeitstempelende(const Text& stamm, Text& vorher, Text& stempel) {
    static const Text muster = u"99-99-99-99-99-99";
    if (stamm.size() < muster.size() + 1 || stamm[stamm.size() - muster.size() - 1] != u' ') return false;
    const size_t ab = stamm.size() - muster.size();
    for (size_t i = 0; i < muster.size(); ++i) {
        const char16_t c = stamm[ab + i];
        if (muster[i] == u'-' ? c != u'-' : (c < u'0' || c > u'9')) return false;
    }
    vorher = stamm.substr(0, ab - 1);
    stempel = stamm.substr(ab);
    return true;
}

std::string Ort(const char* art, const Text& a, const Text& b, const Text& c) {
    std::string out(art);
    out.push_back('\0');
    for (const Text* t : {&a, &b, &c}) {
        out += Utf8FromText(*t);
        out.push_back('\0');
    }
    return out;
}
}  // namespace

std::string Ablageort(const Text& pfad) {
    std::vector<Text> teile;
    Text teil;
    for (char16_t c : pfad) {
        if (c == u'/' || c == u'\\') {
            if (!teil.empty() && teil != u".") teile.push_back(teil);
            teil.clear();
        } else {
            teil.push_back(c);
        }
    }
    if (!teil.empty()) teile.push_back(teil);
    size_t noten = teile.size();
    for (size_t i = 0; i < teile.size(); ++i)
        if (teile[i] == kDatenordnerName) noten = i;
    // The index of saves beside the key file is bound to its name.
    if (noten >= teile.size())
        return !teile.empty() && teile.back() == kStanddateiName ? Ort("Stand", u"", u"", u"") : std::string();
    const std::vector<Text> rel(teile.begin() + static_cast<long>(noten) + 1, teile.end());
    const Text slk = u".slk";
    if (rel.size() == 2) {
        const Text& name = rel[1];
        if (EndetMit(LowerCase(name), slk + kWiederherstellungsEndung))
            return Ort("Wiederherstellung", rel[0],
                       FachAus(name.substr(0, name.size() - slk.size() - kWiederherstellungsEndung.size()), rel[0]), u"");
        if (EndetMit(LowerCase(name), slk))
            return Ort("Klassendatei", rel[0], FachAus(name.substr(0, name.size() - slk.size()), rel[0]), u"");
    }
    if (rel.size() == 3 && rel[1] == kBilderordnerName) return Ort("Bild", rel[0], u"", u"");
    if (rel.size() == 3 && rel[1] == kBackupordnerName && EndetMit(LowerCase(rel[2]), slk)) {
        const Text stamm = rel[2].substr(0, rel[2].size() - slk.size());
        Text vorher, stempel;
        if (Zeitstempelende(stamm, vorher, stempel)) return Ort("Backup", rel[0], FachAus(vorher, rel[0]), stempel);
        return Ort("Backup", rel[0], FachAus(stamm, rel[0]), u"");
    }
    Text unten;
    for (const Text& t : rel) unten += (unten.empty() ? u"" : u"/") + t;
    return Ort("Datei", unten, u"", u"");
}

void AblageorteBinden() { SetPlaceRule(&Ablageort); }
