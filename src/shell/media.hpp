// The fonts and images compiled into the program.
#pragma once

// Registers every embedded font and image under its name ("media/...").
void RegisterEmbeddedMedia();
