// Date and time texts, formatted by hand so the locale cannot change them.
#include "platform/datetime.hpp"

#include <cstdio>
#include <ctime>

namespace {

bool LocalNow(std::tm& out) {
    std::time_t now = std::time(nullptr);
    return localtime_r(&now, &out) != nullptr;
}

Text TextFromAscii(const char* s) {
    Text out;
    while (*s) out += static_cast<char16_t>(static_cast<unsigned char>(*s++));
    return out;
}

}  // namespace

Text FormatDateText(int year, int month, int day) {
    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (month < 1 || month > 12) return Text();
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02d %s %04d", day, kMonths[month - 1], year);
    return TextFromAscii(buf);
}

Text FormatTimeText(int h, int m, int s) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", h, m, s);
    return TextFromAscii(buf);
}

Text CurrentDateText() {
    std::tm t{};
    if (!LocalNow(t)) return Text();
    return FormatDateText(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
}

Text CurrentTimeText() {
    std::tm t{};
    if (!LocalNow(t)) return Text();
    return FormatTimeText(t.tm_hour, t.tm_min, t.tm_sec);
}

bool CurrentDate(int& year, int& month, int& day) {
    std::tm t{};
    if (!LocalNow(t)) return false;
    year = t.tm_year + 1900;
    month = t.tm_mon + 1;
    day = t.tm_mday;
    return true;
}
