// Which drivers the window accepts, read from the version texts real drivers give.
#include <gtest/gtest.h>

#include "platform/gl_version.hpp"

TEST(GlVersion, DriversWith21AndFramebufferObjectsDrawTheOthersAreRefused) {
    struct Fall { const char* text; bool extension; bool accepted; };
    const Fall faelle[] = {
        {"2.1 Mesa 23.2.1", true, true},                      // an old notebook's driver with the extension
        {"2.1 Mesa 23.2.1", false, false},                    // 2.1 alone has no framebuffer objects
        {"2.1.2 NVIDIA 340.108", true, true},
        {"2.0 Mesa 7.0", true, false},
        {"1.5 Mesa 23.2.1", true, false},
        {"1.1.0", false, false},                              // Windows' own renderer without a driver
        {"3.0 Mesa 23.2.1", false, true},                     // framebuffer objects are core from 3.0
        {"4.5 (Compatibility Profile) Mesa 23.2.1", false, true},
        {"4.6.0 NVIDIA 535.54.03", false, true},
        {"10.0", false, true},
        {"OpenGL ES 3.2 Mesa 23.2.1", true, false},           // not desktop OpenGL
        {"", true, false},
        {"2", true, false},
        {"2.", true, false},
        {nullptr, true, false},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.text ? f.text : "(none)");
        EXPECT_EQ(GlSufficient(ReadGlVersion(f.text), f.extension), f.accepted);
    }
}

TEST(GlVersion, MajorAndMinorAreReadAsNumbers) {
    struct Fall { const char* text; int major, minor; };
    const Fall faelle[] = {{"2.1 Mesa", 2, 1}, {"3.10.0", 3, 10}, {"4.6.0 NVIDIA", 4, 6}, {"x2.1", 0, 0}};
    for (const Fall& f : faelle) {
        const GlVersion v = ReadGlVersion(f.text);
        EXPECT_EQ(v.major, f.major) << f.text;
        EXPECT_EQ(v.minor, f.minor) << f.text;
    }
    EXPECT_TRUE((GlVersion{3, 10}).AtLeast(3, 2)) << "3.10 is newer than 3.2";
    EXPECT_FALSE((GlVersion{2, 0}).AtLeast(2, 1));
}
