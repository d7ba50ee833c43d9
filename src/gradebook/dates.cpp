// Day stepping on two-digit years and the backup time stamp. Malformed dates
// are not rejected: whatever numbers they yield are stepped and written.
#include "gradebook/dates.hpp"

#include <cstdlib>
#include <string_view>

#include "platform/conversions.hpp"
#include "platform/datetime.hpp"

namespace {

constexpr std::u16string_view kMonatsnamen[12] = {
    u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
    u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec",
};

constexpr int kMonatslaengen[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// month is 0-based. A month number outside 1..12 read from a German date
// gets 31 days so that stepping never reads outside the table.
int Monatslaenge(int monat, int jahr) {
    if (monat < 0 || monat > 11) return 31;
    if (monat == 1 && jahr % 4 == 0) return 29;
    return kMonatslaengen[monat];
}

int MonatAusName(const Text& name) {
    for (int m = 0; m < 12; ++m)
        if (kMonatsnamen[m] == name) return m;
    return 0;  // unknown names count as January
}

Text Zweistellig(int zahl) {
    Text t = TextFromInt(zahl);
    return t.size() == 1 ? u"0" + t : t;
}

}  // namespace

Text DatumVerschieben(const Text& datum, int tage) {
    int tag = IntFromText(Left(datum, 2));
    int jahr = IntFromText(Right(datum, 2));
    int monat = Instr(datum, u".") > 0 ? IntFromText(Mid(datum, 4, 2)) - 1 : MonatAusName(Mid(datum, 4, 3));

    long long schritte = std::llabs(static_cast<long long>(tage));
    for (long long i = 0; i < schritte; ++i) {
        if (tage > 0) {
            if (++tag > Monatslaenge(monat, jahr)) {
                tag = 1;
                if (++monat > 11) {
                    monat = 0;
                    jahr = (jahr + 1) % 100;
                }
            }
        } else {
            if (--tag < 1) {
                if (--monat < 0) {
                    monat = 11;
                    jahr = (jahr + 99) % 100;
                }
                tag = Monatslaenge(monat, jahr);
            }
        }
    }
    return Zweistellig(tag) + u"." + Zweistellig(monat + 1) + u"." + Zweistellig(jahr);
}

Text ZeitstempelAus(const Text& datum, const Text& uhrzeit) {
    Text d = DatumVerschieben(datum, 0);
    Text zeit = uhrzeit;
    for (char16_t& c : zeit)
        if (c == u':') c = u'-';
    return Right(d, 2) + u"-" + Mid(d, 4, 2) + u"-" + Left(d, 2) + u"-" + zeit;
}

Text Zeitstempel() { return ZeitstempelAus(CurrentDateText(), CurrentTimeText()); }
