// Report dates alternate: after a half-year report (January, or one dated in
// the autumn of the school year) comes the end-of-year report of 15 July,
// after any other the half-year report of 31 January of the next year.
#include "gradebook/report_dates.hpp"

#include "platform/conversions.hpp"

namespace {

// Two digits of a year; 99 + 1 wraps to 00.
Text Jahr(int yy) {
    yy = ((yy % 100) + 100) % 100;
    return Text(1, static_cast<char16_t>(u'0' + yy / 10)) + static_cast<char16_t>(u'0' + yy % 10);
}

int Monat(const Text& datum) { return IntFromText(Mid(datum, 4, 2)); }
int Jahreszahl(const Text& datum) { return IntFromText(Right(datum, 2)); }

}  // namespace

Text NaechstesZeugnisdatum(const std::optional<Text>& letztesZeugnis, const Text& heute) {
    if (letztesZeugnis && letztesZeugnis->size() == 8) {
        const int m = Monat(*letztesZeugnis), yy = Jahreszahl(*letztesZeugnis);
        // A report from September on belongs to the school year that ends
        // next summer: its successor is that summer's report.
        if (m == 1) return u"15.07." + Jahr(yy);
        if (m >= 9) return u"15.07." + Jahr(yy + 1);
        return u"31.01." + Jahr(yy + 1);
    }
    const int m = Monat(heute), yy = Jahreszahl(heute);
    if (m == 1) return u"31.01." + Jahr(yy);
    if (m >= 9) return u"31.01." + Jahr(yy + 1);
    return u"15.07." + Jahr(yy);
}
