// Screenshots through XGetImage and the close request as a client message.
#include "x11_display.hpp"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "platform/image_decode.hpp"

#include <fstream>

namespace {
struct DisplayHandle {
    Display* d = nullptr;
    explicit DisplayHandle(const std::string& name) : d(XOpenDisplay(name.c_str())) {}
    ~DisplayHandle() {
        if (d) XCloseDisplay(d);
    }
};

int ShiftOf(unsigned long mask) {
    int s = 0;
    while (mask && !(mask & 1)) { mask >>= 1; ++s; }
    return s;
}
}  // namespace

bool TakeScreenshot(const std::string& display, Screenshot& out) {
    DisplayHandle h(display);
    if (!h.d) return false;
    const Window root = DefaultRootWindow(h.d);
    XWindowAttributes attr;
    XGetWindowAttributes(h.d, root, &attr);
    XImage* img = XGetImage(h.d, root, 0, 0, attr.width, attr.height, AllPlanes, ZPixmap);
    if (!img) return false;
    out.width = attr.width;
    out.height = attr.height;
    out.rgb.resize(size_t(out.width) * out.height);
    const int rs = ShiftOf(img->red_mask), gs = ShiftOf(img->green_mask), bs = ShiftOf(img->blue_mask);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            const unsigned long p = XGetPixel(img, x, y);
            const uint32_t r = (p & img->red_mask) >> rs, g = (p & img->green_mask) >> gs, b = (p & img->blue_mask) >> bs;
            out.rgb[size_t(y) * out.width + x] = (r << 16) | (g << 8) | b;
        }
    }
    XDestroyImage(img);
    return true;
}

bool Screenshot::SavePng(const std::string& path) const {
    DecodedImage img;
    img.width = width;
    img.height = height;
    img.argb.resize(rgb.size());
    for (size_t i = 0; i < rgb.size(); ++i) img.argb[i] = 0xFF000000u | rgb[i];
    std::vector<unsigned char> bytes;
    if (!EncodePng(img, false, 1, bytes)) return false;
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

bool SendCloseRequest(const std::string& display, unsigned long window) {
    DisplayHandle h(display);
    if (!h.d) return false;
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = window;
    ev.xclient.message_type = XInternAtom(h.d, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(XInternAtom(h.d, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    const Status s = XSendEvent(h.d, window, False, NoEventMask, &ev);
    XFlush(h.d);
    return s != 0;
}

bool WindowIcon(const std::string& display, unsigned long window, int& width, int& height,
                std::vector<uint32_t>& argb) {
    DisplayHandle h(display);
    if (!h.d) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom icon = XInternAtom(h.d, "_NET_WM_ICON", False);
    if (XGetWindowProperty(h.d, window, icon, 0, 1 << 20, False, AnyPropertyType, &type, &format, &count, &after,
                           &data) != Success || !data)
        return false;
    // Format-32 properties arrive as longs, whatever their width.
    const auto* v = reinterpret_cast<const unsigned long*>(data);
    bool ok = format == 32 && count >= 2 && v[0] > 0 && v[1] > 0 && count >= 2 + v[0] * v[1];
    if (ok) {
        width = static_cast<int>(v[0]);
        height = static_cast<int>(v[1]);
        argb.assign(size_t(width) * height, 0);
        for (size_t i = 0; i < argb.size(); ++i) argb[i] = static_cast<uint32_t>(v[2 + i]);
    }
    XFree(data);
    return ok;
}

bool ScreenSize(const std::string& display, int& width, int& height) {
    DisplayHandle h(display);
    if (!h.d) return false;
    width = DisplayWidth(h.d, DefaultScreen(h.d));
    height = DisplayHeight(h.d, DefaultScreen(h.d));
    return true;
}
