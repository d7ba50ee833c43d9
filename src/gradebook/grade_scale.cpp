// Grade values and colours of both scales. All arithmetic and all bounds are
// 32-bit floats, so that averages near a bound get the same colour as ever.
#include "gradebook/grade_scale.hpp"

#include <string_view>

#include "platform/conversions.hpp"
#include "gradebook/program_state.hpp"

namespace {

using Farbe = std::array<int, 3>;

constexpr Farbe kWeiss{255, 255, 255};

struct NotenEintrag {
    std::u16string_view text;
    float wert;
};

struct FarbEintrag {
    std::u16string_view text;
    Farbe farbe;
};

// "+" is 0.25 better, "-" 0.25 worse, "a-b" halfway; "n.f." counts as a 6.
constexpr NotenEintrag kNotenwerte[] = {
    {u"1+", 0.75f}, {u"1", 1.0f}, {u"1-", 1.25f},
    {u"2+", 1.75f}, {u"2", 2.0f}, {u"2-", 2.25f},
    {u"3+", 2.75f}, {u"3", 3.0f}, {u"3-", 3.25f},
    {u"4+", 3.75f}, {u"4", 4.0f}, {u"4-", 4.25f},
    {u"5+", 4.75f}, {u"5", 5.0f}, {u"5-", 5.25f},
    {u"6", 6.0f},   {u"n.f.", 6.0f},
    {u"1-2", 1.5f}, {u"2-3", 2.5f}, {u"3-4", 3.5f}, {u"4-5", 4.5f}, {u"5-6", 5.5f},
};

constexpr NotenEintrag kPunktwerte[] = {
    {u"15", 15.0f}, {u"14", 14.0f}, {u"13", 13.0f}, {u"12", 12.0f},
    {u"11", 11.0f}, {u"10", 10.0f}, {u"9", 9.0f},   {u"8", 8.0f},
    {u"7", 7.0f},   {u"6", 6.0f},   {u"5", 5.0f},   {u"4", 4.0f},
    {u"3", 3.0f},   {u"2", 2.0f},   {u"1", 1.0f},   {u"0", 0.0f},
    {u"n.f.", 0.0f},
};

constexpr Farbe kSehrGut{0, 255, 128};
constexpr Farbe kGut{0, 255, 0};
constexpr Farbe kBefriedigend{128, 255, 0};
constexpr Farbe kAusreichend{255, 255, 0};
constexpr Farbe kKnapp{255, 128, 0};
constexpr Farbe kMangelhaft{255, 0, 0};
constexpr Farbe kUngenuegend{255, 0, 128};

// Intermediate grades are deliberately missing: they stay white.
constexpr FarbEintrag kNotenfarben[] = {
    {u"1+", kSehrGut},      {u"1", kSehrGut},      {u"1-", kSehrGut},
    {u"2+", kGut},          {u"2", kGut},          {u"2-", kGut},
    {u"3+", kBefriedigend}, {u"3", kBefriedigend}, {u"3-", kBefriedigend},
    {u"4+", kAusreichend},  {u"4", kAusreichend},  {u"4-", kKnapp},
    {u"5+", kMangelhaft},   {u"5", kMangelhaft},   {u"5-", kMangelhaft},
    {u"6", kUngenuegend},   {u"n.f.", kUngenuegend},
};

constexpr FarbEintrag kPunktfarben[] = {
    {u"15", kSehrGut},     {u"14", kSehrGut},     {u"13", kSehrGut},
    {u"12", kGut},         {u"11", kGut},         {u"10", kGut},
    {u"9", kBefriedigend}, {u"8", kBefriedigend}, {u"7", kBefriedigend},
    {u"6", kAusreichend},  {u"5", kAusreichend},  {u"4", kKnapp},
    {u"3", kMangelhaft},   {u"2", kMangelhaft},   {u"1", kMangelhaft},
    {u"0", kUngenuegend},  {u"n.f.", kUngenuegend},
};

template <typename Eintrag, size_t N>
const Eintrag* Suchen(const Eintrag (&tabelle)[N], const Text& text) {
    for (const Eintrag& e : tabelle)
        if (e.text == text) return &e;
    return nullptr;
}

int T(float x) { return TruncToInt(x); }

Farbe NotenDurchschnittsfarbe(float v) {
    if (v >= 5.0f) return {255, 0, T(128.0f * (v - 5.0f))};
    if (v >= 4.25f) return {255, 128 - T(128.0f * (v - 4.25f) / 0.75f), 0};
    if (v >= 4.0f) return {255, 255 - T(127.0f * (v - 4.0f) / 0.25f), 0};
    if (v >= 3.0f) return {128 + T(127.0f * (v - 3.0f)), 255, 0};
    if (v >= 2.0f) return {T(128.0f * (v - 2.0f)), 255, 0};
    if (v >= 0.75f) return {0, 255, 128 - T(128.0f * (v - 1.0f))};
    return kWeiss;
}

// The bounds sit a hair below the whole points so that a computed average
// of, say, 10.9999990 still counts as 11.
Farbe PunkteDurchschnittsfarbe(float v) {
    if (v > 15.000001f) return kWeiss;
    if (v > 10.999999f) return {0, 255, T(42.0f * (v - 10.999999f))};
    if (v >= 7.999999f) return {128 - T(42.0f * (v - 7.999999f)), 255, 0};
    if (v >= 4.999999f) return {255 - T(43.0f * (v - 4.999999f)), 255, 0};
    if (v >= 3.999999f) return {255, 128 + T(127.0f * (v - 3.999999f)), 0};
    if (v >= 1.999999f) return {255, T(64.0f * (v - 1.999999f)), 0};
    if (v >= -0.000001f) return {255, 0, 128 - T(64.0f * v)};
    return kWeiss;
}

}  // namespace

float Notenwert(const Text& note, int skala) {
    const NotenEintrag* e = skala == 1 ? Suchen(kPunktwerte, note) : Suchen(kNotenwerte, note);
    return e ? e->wert : -1.0f;
}

float Notenwert(const Text& note) { return Notenwert(note, Notenskala); }

std::array<int, 3> Notenfarbe(const Text& note, int skala) {
    const FarbEintrag* e = skala == 1 ? Suchen(kPunktfarben, note) : Suchen(kNotenfarben, note);
    return e ? e->farbe : kWeiss;
}

std::array<int, 3> Notenfarbe(const Text& note) { return Notenfarbe(note, Notenskala); }

std::array<int, 3> Durchschnittsfarbe(float wert, int skala) {
    return skala == 1 ? PunkteDurchschnittsfarbe(wert) : NotenDurchschnittsfarbe(wert);
}

std::array<int, 3> Durchschnittsfarbe(float wert) { return Durchschnittsfarbe(wert, Notenskala); }
