// Base letters of the Latin letters beyond Latin-1 (Latin Extended-A and -B,
// Latin Extended Additional), from the characters' decompositions.
#include "tiles/grundbuchstaben.hpp"

#include <string_view>

namespace {
// Base letters of U+0100..U+024F and U+1E00..U+1EFF ('?' where there is none).
constexpr std::u16string_view kBasisLateinErweitert =
    u"AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi??JjKkkLlLlLlLlLlNnNnNnn??OoOoOo??RrRrRrSsSsSsSsTtTtTtUu"
    u"UuUuUuUuUuWwYyYZzZzZzsbB???????DD??????Ff????I??l????OOo?????????????Uu????Zz??????????????????????AaIiOoUu"
    u"UuUuUuUu?AaAa\u00C6\u00E6GgGgKkOoOo??j???Gg??NnAa\u00C6\u00E6\u00D8\u00F8AaAaEeEeIiIiOoOoRrRrUuUuSsTt??Hh??????"
    u"AaEeOoOoOoOoYy??????ACcLT???????EeJj??RrYy";
constexpr std::u16string_view kBasisZusatz =
    u"AaBbBbBbCcDdDdDdDdDdEeEeEeEeEeFfGgHhHhHhHhHhIiIiKkKkKkLlLlLlLlMmMmMmNnNnNnNnOoOoOoOoPpPpRrRrRrRrSsSsSsSsSsTt"
    u"TtTtTtUuUuUuUuUuVvVvWwWwWwWwWwXxXxYyZzZzZzhtwy??????AaAaAaAaAaAaAaAaAaAaAaAaEeEeEeEeEeEeEeEeIiIiOoOoOoOoOoOo"
    u"OoOoOoOoOoOoUuUuUuUuUuUuUuYyYyYyYy??????";
}  // namespace

::Text Grundbuchstaben(char16_t c) {
    switch (c) {
        case 0x0132: return u"IJ";
        case 0x0133: return u"ij";
        case 0x0152: return u"OE";
        case 0x0153: return u"oe";
        case 0x1E9E: return u"SS";
        default: break;
    }
    char16_t b = u'?';
    if (c >= 0x0100 && c < 0x0100 + kBasisLateinErweitert.size()) b = kBasisLateinErweitert[c - 0x0100];
    if (c >= 0x1E00 && c < 0x1E00 + kBasisZusatz.size()) b = kBasisZusatz[c - 0x1E00];
    return b == u'?' ? ::Text() : ::Text(1, b);
}

