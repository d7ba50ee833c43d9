// The fault shim: the program's own write/fsync/rename calls resolve to these
// definitions in the test executable (they come first), which count and fail
// as armed and otherwise call the C library's through dlsym(RTLD_NEXT).
#include "fault_shim.hpp"

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace {
std::atomic<bool> scharf{false};
Fehlerart gesucht = Fehlerart::Schreiben;
int bei = 0;
bool passiert = false;
int zaehler[3] = {0, 0, 0};

// True when this call is the one to fail.
bool Scheitert(Fehlerart art) {
    if (!scharf) return false;
    const int n = ++zaehler[static_cast<int>(art)];
    if (art != gesucht || n != bei) return false;
    passiert = true;
    errno = EIO;
    return true;
}

template <typename F>
F Echt(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}
}  // namespace

void FehlerBeim(Fehlerart art, int n) {
    gesucht = art;
    bei = n;
    passiert = false;
    for (int& z : zaehler) z = 0;
    scharf = true;
}

bool FehlerEntschaerfen() {
    scharf = false;
    return passiert;
}

int GezaehlteAufrufe(Fehlerart art) { return zaehler[static_cast<int>(art)]; }

extern "C" {
ssize_t write(int fd, const void* buf, size_t n) {
    static const auto echt = Echt<ssize_t (*)(int, const void*, size_t)>("write");
    // The test's own output (standard output and error) is never failed.
    if (fd > 2 && Scheitert(Fehlerart::Schreiben)) return -1;
    return echt(fd, buf, n);
}
int fsync(int fd) {
    static const auto echt = Echt<int (*)(int)>("fsync");
    if (Scheitert(Fehlerart::Sync)) return -1;
    return echt(fd);
}
int rename(const char* von, const char* nach) {
    static const auto echt = Echt<int (*)(const char*, const char*)>("rename");
    if (Scheitert(Fehlerart::Umbenennen)) return -1;
    return echt(von, nach);
}
}
