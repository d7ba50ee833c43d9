// What the window's drawing needs of a driver: OpenGL 2.1 with framebuffer
// objects (core from 3.0, before that the GL_ARB_framebuffer_object
// extension). Many school notebooks offer 2.1 and no more.
#pragma once

struct GlVersion {
    int major = 0, minor = 0;
    bool AtLeast(int wantMajor, int wantMinor) const {
        return major > wantMajor || (major == wantMajor && minor >= wantMinor);
    }
};

// The version at the start of glGetString(GL_VERSION) ("2.1 Mesa 23.2.1",
// "4.6.0 NVIDIA 535.54"); 0.0 when the text is none or not desktop OpenGL's.
GlVersion ReadGlVersion(const char* text);

// The renderer can draw: 2.1 or newer, and framebuffer objects for its kept canvases.
bool GlSufficient(GlVersion version, bool framebufferExtension);
