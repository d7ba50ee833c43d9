// Byte mapping, cell records, the line reader and the value of a record line.
#include "gradebook/class_file_format.hpp"

#include <algorithm>

#include "gradebook/schulklasse.hpp"
#include "platform/conversions.hpp"

namespace {
constexpr char16_t kEuro = u'\u20AC';
}

unsigned char ByteVonZeichen(char16_t c) {
    if (c == kEuro) return 0x80;
    const auto b = static_cast<unsigned char>(c & 0xFF);
    if (b == '\r' || b == '\n' || b == 0) return ' ';
    return b;
}

char16_t ZeichenVonByte(unsigned char b) { return b == 0x80 ? kEuro : static_cast<char16_t>(b); }

void ZeileAnhaengen(std::string& out, const ::Text& zeile) {
    for (char16_t c : zeile) out.push_back(static_cast<char>(ByteVonZeichen(c)));
    out += "\r\n";
}

void ZellsatzAnhaengen(std::string& out, int x, int y, const ::Text& wert) {
    out += "C;X";
    out += std::to_string(x);
    out += ";Y";
    out += std::to_string(y);
    out += ";K\"";
    if (wert.empty()) out.push_back(' ');
    for (char16_t c : wert) {
        const unsigned char b = ByteVonZeichen(c);
        out.push_back(static_cast<char>(b));
        if (b == ';') out.push_back(';');
    }
    out += "\"\r\n";
}

::Text Zeilenleser::Naechste() {
    ::Text zeile;
    while (pos_ < bytes_.size()) {
        const auto b = static_cast<unsigned char>(bytes_[pos_++]);
        if (b == '\n' || b == 0) break;
        if (b != '\r') zeile.push_back(ZeichenVonByte(b));
    }
    return zeile;
}

size_t Zeilenleser::Zeilenanzahl(std::string_view bytes, size_t hoechstlaenge) {
    size_t n = 0, laenge = 0;
    for (char c : bytes) {
        if (c == '\n' || c == '\0') {
            ++n;
            laenge = 0;
        } else if (++laenge > hoechstlaenge) {
            return kZuLang;
        }
    }
    return n + (laenge > 0 ? 1 : 0);
}

long long GanzzahlAusText(const ::Text& text) {
    size_t i = 0;
    while (i < text.size() && text[i] <= u' ') ++i;
    bool negativ = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negativ = text[i++] == u'-';
    long long wert = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        wert = std::min(wert * 10 + (text[i] - u'0'), kGanzzahlGrenze);
    return negativ ? -wert : wert;
}

::Text TSchulklasse::Extract_SYLK(const ::Text& zeile) {
    ::Text wert;
    const size_t quote = zeile.find(u'"');
    if (quote != ::Text::npos) {
        // Up to, not including, the line's last character: the closing quote.
        if (zeile.size() >= quote + 2) wert = zeile.substr(quote + 1, zeile.size() - quote - 2);
    } else {
        const size_t k = zeile.find(u'K');
        wert = k == ::Text::npos ? zeile : zeile.substr(k + 1);
    }
    // Spreadsheets double a semicolon inside a value; so does speichern.
    ::Text ohne;
    ohne.reserve(wert.size());
    for (size_t i = 0; i < wert.size(); ++i) {
        ohne.push_back(wert[i]);
        if (wert[i] == u';' && i + 1 < wert.size() && wert[i + 1] == u';') ++i;
    }
    return Trim(ohne);
}
