// The desktop's screen lock as logind tells it: a stand-in loginctl on PATH
// answers for the session's LockedHint, asked every two seconds while the
// caller goes on; the lock comes once when the answer turns to "yes", and
// where loginctl fails (no logind, no session) it is not asked again.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/desktop_lock.hpp"
#include "platform/process.hpp"

namespace fs = std::filesystem;

namespace {
class DesktopLock : public ::testing::Test {
protected:
    void SetUp() override {
        ordner_ = fs::temp_directory_path() / ("rk-desktop-lock-" + std::to_string(::getpid()));
        fs::create_directories(ordner_);
        const std::string d = ordner_.string();
        std::ofstream(ordner_ / "loginctl") << "#!/bin/sh\n"
                                               "PATH=/usr/bin:/bin\n"
                                               "n=$(($(cat '" << d << "/count' 2>/dev/null || echo 0)+1))\n"
                                               "echo $n > '" << d << "/count'\n"
                                               "echo \"$@\" >> '" << d << "/args'\n"
                                               "line=$(sed -n \"${n}p\" '" << d << "/answers')\n"
                                               "[ -z \"$line\" ] && exit 1\n"
                                               "echo \"$line\"\n";
        ASSERT_EQ(RunAndWait({u"chmod", u"755", TextFromUtf8((ordner_ / "loginctl").string())}), 0);
        alterPfad_ = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", d.c_str(), 1);
        setenv("XDG_SESSION_ID", "c7", 1);
        ForgetDesktopLock();
    }
    void TearDown() override {
        ForgetDesktopLock();
        setenv("PATH", alterPfad_.c_str(), 1);
        unsetenv("XDG_SESSION_ID");
        fs::remove_all(ordner_);
    }
    // How often the lock came while asking for the given time, a frame every 20 ms.
    static int Fragen(int ms) {
        int gekommen = 0;
        const auto ende = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < ende) {
            gekommen += DesktopLockCame();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return gekommen;
    }
    std::string Datei(const char* name) const {
        std::stringstream s;
        s << std::ifstream(ordner_ / name).rdbuf();
        return s.str();
    }
    fs::path ordner_;
    std::string alterPfad_;
};
}  // namespace

TEST_F(DesktopLock, TheLockComesOnceWhenTheSessionTurnsLocked) {
    std::ofstream(ordner_ / "answers") << "no\nyes\nyes\n";
    EXPECT_EQ(Fragen(4500), 1);
    EXPECT_EQ(Datei("args"), "show-session c7 -p LockedHint --value\n"
                             "show-session c7 -p LockedHint --value\n"
                             "show-session c7 -p LockedHint --value\n");
}

TEST_F(DesktopLock, WithoutASessionNothingComesAndLoginctlIsNotAskedAgain) {
    std::ofstream(ordner_ / "answers") << "";
    EXPECT_EQ(Fragen(2500), 0);
    EXPECT_EQ(Datei("count"), "1\n");
}
