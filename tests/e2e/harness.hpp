// End-to-end harness: a virtual X server, the real program copied into a fresh
// program folder and started there, xdotool for pointer and keys, screenshots,
// the program's files and exit status.
#pragma once
#include <cstdlib>
#include <sys/types.h>

#include <string>
#include <vector>

#include "x11_display.hpp"

// Runs a command (argument vector, no shell) and returns its exit status;
// stdout is captured into `out` when given.
int RunCommand(const std::vector<std::string>& argv, std::string* out = nullptr);

class VirtualDisplay {
public:
    VirtualDisplay(int width = 1920, int height = 1080);
    ~VirtualDisplay();
    bool Ok() const { return pid_ > 0 && !name_.empty(); }
    const std::string& Name() const { return name_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    pid_t pid_ = -1;
    std::string name_;
    int width_, height_;
};

class ProgramUnderTest {
public:
    explicit ProgramUnderTest(VirtualDisplay& display);
    // A second program in the same program folder, which the first owns.
    ProgramUnderTest(VirtualDisplay& display, const ProgramUnderTest& sameFolderAs);
    // A program folder the caller made and keeps.
    ProgramUnderTest(VirtualDisplay& display, const std::string& folder);
    ~ProgramUnderTest();

    const std::string& Folder() const { return folder_; }
    // Copies the built program into the program folder and starts it.
    bool Start();
    // Starts this command instead (the Windows program under wine), from "/".
    bool StartCommand(const std::vector<std::string>& argv);
    // Starts the Linux program even where RK_E2E_WINDOWS_PROGRAM names the
    // Windows one (for tests that hand a folder from one system to the other).
    bool Linux = false;
    static bool WindowsProgramSet() {
        const char* w = std::getenv("RK_E2E_WINDOWS_PROGRAM");
        return w && *w;
    }
    // Waits for the window and returns its X id (0 on time-out).
    unsigned long WaitForWindow(int timeoutMs = 15000);
    // Waits until the program draws something other than black at (x, y).
    bool WaitForPixel(int x, int y, uint32_t rgb, int timeoutMs = 10000);
    // After Start: waits for the catalogue and taps its only class tile, then
    // lets the class screen fly in (settleMs).
    bool OpenTheOnlyClass(int settleMs = 1200);
    bool Running();
    // Waits for the end; true with the exit status when it ended in time.
    bool WaitForExit(int timeoutMs, int& status);
    // Kills the program with SIGKILL, as a power cut would stop it, and reaps it.
    void Kill();
    // The running program's process id (-1 when none was started or it was reaped).
    pid_t Pid() const { return pid_; }

    std::string Xdo(const std::vector<std::string>& args);
    void Focus();
    void Key(const std::string& keyName);
    void Type(const std::string& utf8);
    // Types into the on-screen keyboard's entry, then Enter once the entry
    // shows every character (a loaded machine takes one character per frame).
    void EnterText(const std::string& utf8);
    void MoveTo(int x, int y);
    // Press and release in separate frames.
    void Click(int x, int y);
    void Wheel(int notches);  // positive: away from the user
    void RequestClose();
    Screenshot Shoot();
    // Saves a screenshot into the build's e2e-output folder; returns its path.
    std::string Save(const Screenshot& shot, const std::string& name);
    // Every regular file below the program folder except the program itself
    // and the lock file it holds while it runs (relative paths).
    std::vector<std::string> DataFiles();
    unsigned long Window() const { return window_; }
    // The program's window when another process started it (a shortcut).
    void UseWindow(unsigned long id) { window_ = id; }

private:
    VirtualDisplay& display_;
    std::string folder_;
    pid_t pid_ = -1;
    int status_ = -1;
    unsigned long window_ = 0;
    bool ownsFolder_ = true;
};

void SleepMs(int ms);

// A top-level window titled "Rido Kladdorix" other than `except` (the system
// message box of a second start) while `program` runs; 0 after 5 s. Its name
// is UTF-8 only, which xdotool's search does not read; xwininfo does.
unsigned long WaitForOtherProgramWindow(ProgramUnderTest& program, unsigned long except);

// Start of the first run of `run` pixels of the colour, scanning the rows of
// the region from the top (runs tell faces from anti-aliased text edges).
bool FindRun(const Screenshot& s, uint32_t colour, int x0, int y0, int x1, int y1, int& x, int& y, int run = 30);
// A point on button `index` (0 the left one) of the information box on the
// screen, found by its face colour (56, 56, 56); false when there is none.
bool BoxButton(const Screenshot& s, int index, int& x, int& y);

// How often any of the byte strings stands in the readable, writable
// mappings of the process (-1 when its memory cannot be read).
int MemoryFinds(pid_t pid, const std::vector<std::string>& wanted);
// ASCII text as UTF-16 (little-endian) bytes, as the program holds its texts.
std::string Utf16Bytes(const std::string& ascii);
