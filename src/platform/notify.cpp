// System message box through the backend, captioned with the application title.
#include "platform/notify.hpp"

#include "platform/backend.hpp"
#include "platform/graphics.hpp"

void Notify(const Text& text, int serious) { CurrentBackend().MessageBox(AppTitle(), text, serious != 0); }
