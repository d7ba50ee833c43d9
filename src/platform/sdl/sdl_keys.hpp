// SDL key codes -> the system virtual-key numbers the program works with.
#pragma once
#include <SDL.h>

int VirtualKeyFromSdl(SDL_Keycode key);
