// Number <-> text conversions and text helpers, independent of the C locale.
#include "platform/conversions.hpp"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int DigitValue(char16_t c, int base) {
    int v = -1;
    if (c >= u'0' && c <= u'9') v = c - u'0';
    else if (c >= u'a' && c <= u'f') v = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F') v = c - u'A' + 10;
    return v < base ? v : -1;
}

size_t SkipBlanks(const Text& text) {
    size_t i = 0;
    while (i < text.size() && text[i] <= 32) ++i;
    return i;
}

Text TextFromAscii(const char* begin, const char* end) {
    return Text(begin, end);
}

char16_t LowerOf(char16_t c) {
    if (c < 0x80) return (c >= u'A' && c <= u'Z') ? c + 32 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    if (c == 0x130) return u'i';
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return (c % 2 == 0) ? c + 1 : c;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c % 2 == 1) ? c + 1 : c;
    if (c == 0x178) return 0xFF;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return c + 0x25;
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return c + 0x3F;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c == 0x1E9E) return 0xDF;
    return c;
}

char16_t UpperOf(char16_t c) {
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? c - 32 : c;
    // 0xDF (sharp s) has no one-character capital in common use; it stays.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    if (c == 0xFF) return 0x178;
    if (c == 0x131) return u'I';
    if (c == 0x17F) return u'S';
    if ((c >= 0x101 && c <= 0x137) || (c >= 0x14B && c <= 0x177)) return (c % 2 == 1) ? c - 1 : c;
    if ((c >= 0x13A && c <= 0x148) || (c >= 0x17A && c <= 0x17E)) return (c % 2 == 0) ? c - 1 : c;
    if (c == 0x3C2) return 0x3A3;
    if (c >= 0x3B1 && c <= 0x3C9) return c - 0x20;
    if (c == 0x3AC) return 0x386;
    if (c >= 0x3AD && c <= 0x3AF) return c - 0x25;
    if (c == 0x3CC) return 0x38C;
    if (c == 0x3CD || c == 0x3CE) return c - 0x3F;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
}

// Clipped [begin, end) of a 0-based range given in 64 bits, so that no int
// argument can overflow.
Text ClippedRange(const Text& text, long long begin, long long end) {
    long long size = static_cast<long long>(text.size());
    if (begin < 0) begin = 0;
    if (end > size) end = size;
    if (begin >= end) return Text();
    return text.substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin));
}

}  // namespace

int IntFromText(const Text& text) {
    size_t i = SkipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    int base = 10;
    if (i < text.size() && text[i] == u'$') { base = 16; ++i; }
    else if (i < text.size() && text[i] == u'%') { base = 2; ++i; }
    uint32_t value = 0;
    for (; i < text.size(); ++i) {
        int d = DigitValue(text[i], base);
        if (d < 0) break;
        value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(d);
    }
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

double FloatFromText(const Text& text) {
    size_t i = SkipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';

    std::string number;
    size_t intStart = i;
    while (i < text.size() && IsDigit(text[i])) number += static_cast<char>(text[i++]);
    size_t intDigits = i - intStart;
    size_t fracDigits = 0;
    if (i < text.size() && text[i] == u'.') {
        size_t fracStart = i + 1;
        size_t j = fracStart;
        while (j < text.size() && IsDigit(text[j])) ++j;
        fracDigits = j - fracStart;
        if (intDigits + fracDigits > 0) {
            number += '.';
            for (size_t k = fracStart; k < j; ++k) number += static_cast<char>(text[k]);
            i = j;
        }
    }
    if (intDigits + fracDigits == 0) return 0.0;

    long long exponent = 0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        size_t j = i + 1;
        bool expNegative = false;
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) expNegative = text[j++] == u'-';
        if (j < text.size() && IsDigit(text[j])) {
            // Saturate: any exponent this large over- or underflows anyway.
            while (j < text.size() && IsDigit(text[j])) {
                exponent = std::min(exponent * 10 + (text[j] - u'0'), 1000000000LL);
                ++j;
            }
            if (expNegative) exponent = -exponent;
            number += 'e';
            number += std::to_string(exponent);
        }
    }

    double value = 0.0;
    auto result = std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Decide between overflow and underflow from the decimal magnitude of
        // the first significant digit.
        bool significant = false;
        long long position = static_cast<long long>(intDigits);
        for (char c : number) {
            if (c == 'e') break;
            if (c == '.') continue;
            if (c != '0') { significant = true; break; }
            --position;
        }
        value = (significant && position + exponent > 0) ? HUGE_VAL : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

Text TextFromFloat(double value) {
    if (std::isnan(value)) return std::signbit(value) ? u"-nan" : u"nan";
    if (std::isinf(value)) return value < 0 ? u"-inf" : u"inf";
    constexpr int kDigits = 9;
    char buf[64];
    // The exponent that %e gives decides between fixed and exponent form.
    auto sci = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, kDigits - 1);
    const char* e = buf;
    while (e < sci.ptr && *e != 'e') ++e;
    int exponent = 0;
    std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), sci.ptr, exponent);
    if (exponent < -4 || exponent >= kDigits) return TextFromAscii(buf, sci.ptr);
    int decimals = kDigits - 1 - exponent;
    auto fixed = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    Text out = TextFromAscii(buf, fixed.ptr);
    if (decimals == 0) out += u'.';  // "#" keeps the point
    return out;
}

Text TextFromInt(long long value) {
    std::string s = std::to_string(value);
    return TextFromAscii(s.data(), s.data() + s.size());
}

Text LowerCase(const Text& text) {
    Text out = text;
    for (char16_t& c : out) c = LowerOf(c);
    return out;
}

Text UpperCase(const Text& text) {
    Text out = text;
    for (char16_t& c : out) c = UpperOf(c);
    return out;
}

Text Trim(const Text& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && text[begin] <= 32) ++begin;
    while (end > begin && text[end - 1] <= 32) --end;
    return text.substr(begin, end - begin);
}

Text Mid(const Text& text, int pos1, int count) {
    long long begin = static_cast<long long>(pos1) - 1;
    long long end = count < 0 ? static_cast<long long>(text.size()) : begin + count;
    return ClippedRange(text, begin, end);
}

Text Left(const Text& text, int n) { return ClippedRange(text, 0, n); }

Text Right(const Text& text, int n) {
    long long size = static_cast<long long>(text.size());
    if (n <= 0) return Text();
    return ClippedRange(text, size - n, size);
}

int Instr(const Text& haystack, const Text& needle, int start1) {
    long long start = start1 < 1 ? 0 : static_cast<long long>(start1) - 1;
    if (start > static_cast<long long>(haystack.size())) return 0;
    size_t found = haystack.find(needle, static_cast<size_t>(start));
    return found == Text::npos ? 0 : static_cast<int>(found) + 1;
}

int TruncToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483648.0) return INT_MAX;
    if (value <= -2147483649.0) return INT_MIN;
    return static_cast<int>(value);
}
