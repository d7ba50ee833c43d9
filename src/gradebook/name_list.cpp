// Reading name lists: the character set of the file, the letters a class file
// cannot hold, and the two line formats (blank-separated text and CSV).
#include "gradebook/name_list.hpp"

#include "gradebook/class_file.hpp"
#include "platform/conversions.hpp"
#include "tiles/grundbuchstaben.hpp"

namespace {

// Windows-1252 at 0x80..0x9F; 0 where the code page has no character.
constexpr char16_t kWindows1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool Haltbar(char16_t c) { return c == 0x20AC || (c <= 0xFF && !(c >= 0x7F && c <= 0x9F)); }

// UTF-8 with every sequence complete, shortest and below U+110000; false
// otherwise. Characters beyond U+FFFF become surrogate pairs.
bool Utf8Dekodieren(std::string_view b, ::Text& out, bool& nurAscii) {
    nurAscii = true;
    out.clear();
    size_t i = 0;
    while (i < b.size()) {
        const auto c0 = static_cast<unsigned char>(b[i]);
        if (c0 < 0x80) {
            out.push_back(c0);
            ++i;
            continue;
        }
        nurAscii = false;
        int n;
        char32_t cp;
        if (c0 >= 0xC2 && c0 <= 0xDF) n = 1, cp = c0 & 0x1F;
        else if (c0 >= 0xE0 && c0 <= 0xEF) n = 2, cp = c0 & 0x0F;
        else if (c0 >= 0xF0 && c0 <= 0xF4) n = 3, cp = c0 & 0x07;
        else return false;
        if (i + static_cast<size_t>(n) >= b.size()) return false;
        for (int k = 1; k <= n; ++k) {
            const auto ck = static_cast<unsigned char>(b[i + k]);
            if ((ck & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (ck & 0x3F);
        }
        if ((n == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (n == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        if (cp > 0xFFFF) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += n + 1;
    }
    return true;
}

::Text Utf16Dekodieren(std::string_view b, bool kleinesEnde) {
    ::Text out;
    for (size_t i = 0; i + 1 < b.size(); i += 2) {
        const auto lo = static_cast<unsigned char>(b[kleinesEnde ? i : i + 1]);
        const auto hi = static_cast<unsigned char>(b[kleinesEnde ? i + 1 : i]);
        out.push_back(static_cast<char16_t>(hi << 8 | lo));
    }
    return out;
}

::Text Windows1252Dekodieren(std::string_view b) {
    ::Text out;
    out.reserve(b.size());
    for (char ch : b) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80 && c <= 0x9F) {
            // A byte the code page leaves undefined stays a C1 control, which
            // the class-file adaptation drops.
            out.push_back(kWindows1252[c - 0x80] ? kWindows1252[c - 0x80] : c);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

::Text Getrimmt(const ::Text& t) {
    size_t a = 0, e = t.size();
    while (a < e && t[a] <= 32) ++a;
    while (e > a && t[e - 1] <= 32) --e;
    return t.substr(a, e - a);
}

// Lines end at LF, NUL or the end of the text; CRs are dropped, as the
// program reads every text file.
std::vector<::Text> Zeilen(const ::Text& text) {
    std::vector<::Text> zeilen;
    ::Text zeile;
    for (char16_t c : text) {
        if (c == u'\n' || c == 0) {
            zeilen.push_back(std::move(zeile));
            zeile.clear();
        } else if (c != u'\r') {
            zeile.push_back(c);
        }
    }
    if (!zeile.empty()) zeilen.push_back(std::move(zeile));
    return zeilen;
}

// The surname up to the first blank or control character after the first
// character, the rest as first names; both trimmed.
void Aufteilen(const ::Text& zeile, ::Text& nachname, ::Text& vornamen) {
    size_t k = 1;
    while (k < zeile.size() && zeile[k] > 32) ++k;
    nachname = Getrimmt(zeile.substr(0, k));
    vornamen = k < zeile.size() ? Getrimmt(zeile.substr(k)) : ::Text();
}

// The fields of one CSV line: separated by trenner outside double quotes; in
// quotes, "" is one quote. A quote left open ends with the line.
std::vector<::Text> Felder(const ::Text& zeile, char16_t trenner) {
    std::vector<::Text> felder(1);
    bool inAnfuehrung = false;
    for (size_t i = 0; i < zeile.size(); ++i) {
        const char16_t c = zeile[i];
        if (inAnfuehrung) {
            if (c == u'"' && i + 1 < zeile.size() && zeile[i + 1] == u'"') {
                felder.back().push_back(u'"');
                ++i;
            } else if (c == u'"') {
                inAnfuehrung = false;
            } else {
                felder.back().push_back(c);
            }
        } else if (c == u'"') {
            inAnfuehrung = true;
        } else if (c == trenner) {
            felder.emplace_back();
        } else {
            felder.back().push_back(c);
        }
    }
    for (auto& f : felder) f = Getrimmt(f);
    return felder;
}

// ";" when the line has one outside quotes (German spreadsheets), else ",";
// decided per line, so that a broken line does not spoil the rest.
char16_t Trennzeichen(const ::Text& zeile) {
    bool inAnfuehrung = false;
    for (char16_t c : zeile) {
        if (c == u'"') inAnfuehrung = !inAnfuehrung;
        if (c == u';' && !inAnfuehrung) return u';';
    }
    return u',';
}

// A tab or other control character inside a name (a tab between first names,
// in a quoted CSV field) stands for a blank; the grid cannot show it.
::Text OhneSteuerzeichen(::Text t) {
    for (char16_t& c : t)
        if (c < 0x20) c = u' ';
    return t;
}

}  // namespace

::Text NamenslisteDekodieren(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    else if (bytes.starts_with("\xFF\xFE")) return Utf16Dekodieren(bytes.substr(2), true);
    else if (bytes.starts_with("\xFE\xFF")) return Utf16Dekodieren(bytes.substr(2), false);
    ::Text text;
    bool nurAscii = true;
    if (Utf8Dekodieren(bytes, text, nurAscii)) return text;
    return Windows1252Dekodieren(bytes);
}

::Text FuerKlassendatei(const ::Text& text, bool& angepasst) {
    ::Text out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (Haltbar(c)) {
            out.push_back(c);
        } else {
            angepasst = true;
            out += Grundbuchstaben(c);
        }
    }
    return out;
}

std::vector<NamenslisteEintrag> NamenslisteLesen(std::string_view bytes, bool csv) {
    std::vector<NamenslisteEintrag> namen;
    bool erste = true;
    for (const ::Text& roh : Zeilen(NamenslisteDekodieren(bytes))) {
        const ::Text zeile = Getrimmt(roh);
        if (zeile.empty()) continue;
        ::Text nachname, vornamen;
        if (csv) {
            const std::vector<::Text> felder = Felder(zeile, Trennzeichen(zeile));
            if (erste) {
                erste = false;
                const ::Text kopf = LowerCase(felder[0]);
                if (kopf == u"nachname" || kopf == u"name") continue;
            }
            // A line without separator is read like a line of a text list.
            if (felder.size() < 2) Aufteilen(felder[0], nachname, vornamen);
            else nachname = felder[0], vornamen = felder[1];
        } else {
            Aufteilen(zeile, nachname, vornamen);
        }
        NamenslisteEintrag e;
        nachname = OhneSteuerzeichen(nachname);
        vornamen = OhneSteuerzeichen(vornamen);
        e.nachname = Getrimmt(FuerKlassendatei(nachname, e.angepasst));
        e.vornamen = Getrimmt(FuerKlassendatei(vornamen, e.angepasst));
        // Longer names would make the class file unreadable.
        for (::Text* name : {&e.nachname, &e.vornamen}) {
            if (name->size() <= kWertHoechstlaenge) continue;
            name->resize(kWertHoechstlaenge);
            e.angepasst = true;
        }
        if (e.angepasst) e.vorher = vornamen.empty() ? nachname : nachname + u" " + vornamen;
        // Nothing of the surname could be kept: no student to add.
        if (e.nachname.empty()) continue;
        namen.push_back(std::move(e));
    }
    return namen;
}

Namenslistenmangel NamenslisteMangel(std::string_view bytes, bool csv) {
    const ::Text text = NamenslisteDekodieren(bytes);
    size_t zeile = 0;
    for (char16_t c : text) {
        if (c == u'\n') {
            zeile = 0;
            continue;
        }
        if (c == u'\r') continue;
        const bool steuer = (c < 0x20 && c != u'\t') || (c >= 0x7F && c <= 0x9F);
        if (steuer) return Namenslistenmangel::Steuerzeichen;
        if (++zeile > kNamenslisteHoechstzeile) return Namenslistenmangel::LangeZeile;
    }
    if (NamenslisteLesen(bytes, csv).size() > kNamenslisteHoechstnamen) return Namenslistenmangel::ZuVieleNamen;
    return Namenslistenmangel::Keiner;
}
