// The program's backend: an SDL2 window with an OpenGL context, SDL input
// events translated to the program's key codes, SDL's clock.
#pragma once
#include "platform/backend.hpp"

// Installs the SDL backend behind the facade. False when SDL cannot start or
// no display can be reached through a driver that shows a window (X11 or
// Wayland); nothing is written then.
bool UseSdlBackend();
