// Reading the driver's OpenGL version text (see gl_version.hpp).
#include "platform/gl_version.hpp"

#include <cctype>

namespace {
// Digits at `p`, moved past them; -1 when there are none.
int Number(const char*& p) {
    if (!std::isdigit(static_cast<unsigned char>(*p))) return -1;
    int n = 0;
    while (std::isdigit(static_cast<unsigned char>(*p)) && n < 1000) n = n * 10 + (*p++ - '0');
    return n;
}
}  // namespace

GlVersion ReadGlVersion(const char* text) {
    if (!text) return {};
    // OpenGL ES names itself first ("OpenGL ES 3.2"): not the desktop OpenGL the shaders are written for.
    const char* p = text;
    const int major = Number(p);
    if (major < 0 || *p++ != '.') return {};
    const int minor = Number(p);
    if (minor < 0) return {};
    return {major, minor};
}

bool GlSufficient(GlVersion version, bool framebufferExtension) {
    return version.AtLeast(3, 0) || (version.AtLeast(2, 1) && framebufferExtension);
}
