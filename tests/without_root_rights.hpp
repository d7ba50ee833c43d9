// While an OhneRootDateirechte lives, the process has no right to ignore file
// permissions (root's CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH are dropped
// from its effective set, and restored at the end), so a folder made
// read-only or unreadable refuses the program as it refuses a teacher.
#pragma once
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>

class OhneRootDateirechte {
public:
    OhneRootDateirechte() {
        kopf_ = {_LINUX_CAPABILITY_VERSION_3, 0};
        if (::syscall(SYS_capget, &kopf_, alt_) != 0) return;
        __user_cap_data_struct neu[2] = {alt_[0], alt_[1]};
        for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) neu[cap / 32].effective &= ~(1u << (cap % 32));
        gesetzt_ = ::syscall(SYS_capset, &kopf_, neu) == 0;
    }
    ~OhneRootDateirechte() {
        if (gesetzt_) ::syscall(SYS_capset, &kopf_, alt_);
    }
    OhneRootDateirechte(const OhneRootDateirechte&) = delete;
    OhneRootDateirechte& operator=(const OhneRootDateirechte&) = delete;

private:
    __user_cap_header_struct kopf_{};
    __user_cap_data_struct alt_[2]{};
    bool gesetzt_ = false;
};

// Sets the permission bits of p while it lives (0555 read-only, 0 unreadable).
class Rechte {
public:
    Rechte(std::filesystem::path p, std::filesystem::perms neu) : pfad_(std::move(p)) {
        alt_ = std::filesystem::status(pfad_).permissions();
        std::filesystem::permissions(pfad_, neu);
    }
    ~Rechte() {
        std::error_code ec;
        std::filesystem::permissions(pfad_, alt_, ec);
    }

private:
    std::filesystem::path pfad_;
    std::filesystem::perms alt_{};
};
