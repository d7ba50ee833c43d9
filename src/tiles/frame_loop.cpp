// Frame end shared by the screen loops and the modal dialogs.
#include "tiles/frame_loop.hpp"

#include "platform/graphics.hpp"

TTimer Taktgeber;

void FrameEnd() {
    Flip(-1);
    WaitTimer(Taktgeber);
}
