// The desktop's screen lock on Windows comes as WM_WTSSESSION_CHANGE to the
// window (see the SDL backend), which notes it here, perhaps from another
// thread; nothing to ask.
#include "platform/desktop_lock.hpp"

#include <atomic>

namespace {
std::atomic<bool> gekommen{false};
}

bool DesktopLockCame() { return gekommen.exchange(false); }

void NoteDesktopLocked() { gekommen = true; }
