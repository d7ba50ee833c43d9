// The Windows program under wine for the end-to-end tests: the wine prefix
// of this test run (made once by wine_prefix.sh), its C: drive, USB sticks as
// removable drive letters, the registry, the stand-in programs, and the
// program started from a folder of its own, driven by the same harness as on
// Linux (xdotool, screenshots through Xlib).
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "harness.hpp"

namespace wine {

// Points WINEPREFIX and HOME at the run's folders (never the real home) and
// keeps wine quiet and its menu builder off.
void UseRunPrefix();
std::string Prefix();           // host path of the prefix
std::string UserFolder();       // host path of C:\users\<name>
std::string UserFolderWindows();  // C:\users\<name>

// Host path below the prefix's drive_c or a mapped drive -> Windows path.
std::string WindowsPath(const std::string& hostPath);
// Runs `wine <args>` and waits; its exit status.
int Wine(const std::vector<std::string>& args, std::string* out = nullptr);
// Waits until every program of the prefix has ended (wineserver -w).
void WaitForAllPrograms();
// Stops the prefix's wineserver (and with it every program of the prefix).
void StopServer();

// A USB stick: `letter` (e.g. 'e') maps to the host folder and wine reports
// it as removable (GetDriveTypeW 2). Unplugging removes the letter.
void PlugStick(char letter, const std::string& hostFolder);
void UnplugStick(char letter);

// A stand-in program (a copy of stand_in.exe) at the host path: it appends
// its command line to <path>.txt and waits while <path>.warten exists.
void PlaceStandIn(const std::string& hostExe);
// The command lines a stand-in recorded, one per start.
std::vector<std::string> RecordedCalls(const std::string& hostExe);

// The ready Windows program copied into a fresh folder below C:\users\<name>.
std::string FreshProgramFolder(const std::string& name);

// The Windows program at `folder` (host path holding Rido-Kladdorix.exe),
// started under wine by its Windows path, as a double click would.
class WindowsProgram {
public:
    WindowsProgram(VirtualDisplay& display, const std::string& folder);
    ~WindowsProgram();
    ProgramUnderTest& p() { return program_; }
    const std::string& Folder() const { return folder_; }
    bool Start();
    // Start, window, the catalogue's background at the bottom, the fly-in.
    bool StartToCatalogue();
    // Escape and the end with status 0 within the time.
    bool EscapeEnds(int timeoutMs = 15000);

private:
    std::string folder_;
    ProgramUnderTest program_;
};

}  // namespace wine
