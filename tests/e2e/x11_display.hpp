// Xlib access the end-to-end tests need beyond xdotool: screenshots of the
// whole screen and the window manager's close request (WM_DELETE_WINDOW).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Screenshot {
    int width = 0, height = 0;
    std::vector<uint32_t> rgb;  // 0x00RRGGBB, rows top to bottom
    uint32_t At(int x, int y) const { return rgb[size_t(y) * width + x]; }
    bool SavePng(const std::string& path) const;
};

// Reads the root window of the display.
bool TakeScreenshot(const std::string& display, Screenshot& out);
// Sends WM_DELETE_WINDOW to the window, as a close box would.
bool SendCloseRequest(const std::string& display, unsigned long window);
// The window's first _NET_WM_ICON image (what task bars show): its size and
// 0xAARRGGBB pixels. False when the window carries none.
bool WindowIcon(const std::string& display, unsigned long window, int& width, int& height,
                std::vector<uint32_t>& argb);
// Size of the root window (the desktop).
bool ScreenSize(const std::string& display, int& width, int& height);
