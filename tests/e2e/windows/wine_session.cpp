// The wine side of the Windows end-to-end tests: prefix, drives, registry,
// stand-ins and the program's start.
#include "wine_session.hpp"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "gradebook_files.hpp"

namespace fs = std::filesystem;

namespace wine {
namespace {
constexpr uint32_t kHintergrund = (23u << 16) | 83u;

std::string Drive(char letter) { return Prefix() + "/dosdevices/" + std::string(1, letter) + ":"; }
}  // namespace

std::string Prefix() { return std::string(RK_WINE_RUN) + "/prefix"; }

void UseRunPrefix() {
    setenv("WINEPREFIX", Prefix().c_str(), 1);
    setenv("HOME", (std::string(RK_WINE_RUN) + "/home").c_str(), 1);
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEDLLOVERRIDES", "winemenubuilder.exe=d;mscoree,mshtml=", 1);
    unsetenv("USERPROFILE");
    unsetenv("SDL_VIDEODRIVER");
}

std::string UserFolder() {
    for (const auto& e : fs::directory_iterator(Prefix() + "/drive_c/users"))
        if (e.is_directory() && e.path().filename() != "Public") return e.path().string();
    return "";
}

std::string UserFolderWindows() { return WindowsPath(UserFolder()); }

std::string WindowsPath(const std::string& hostPath) {
    const std::string c = Prefix() + "/drive_c";
    std::string drive, rest;
    if (hostPath.rfind(c, 0) == 0) {
        drive = "C:";
        rest = hostPath.substr(c.size());
    } else {
        for (char l = 'd'; l <= 'y' && drive.empty(); ++l) {
            std::error_code ec;
            if (!fs::is_symlink(Drive(l), ec)) continue;
            const std::string target = fs::read_symlink(Drive(l), ec).string();
            if (!target.empty() && hostPath.rfind(target, 0) == 0) {
                drive = std::string(1, char(l - 'a' + 'A')) + ":";
                rest = hostPath.substr(target.size());
            }
        }
        if (drive.empty()) {
            drive = "Z:";
            rest = hostPath;
        }
    }
    for (char& ch : rest)
        if (ch == '/') ch = '\\';
    return drive + (rest.empty() ? "\\" : rest);
}

int Wine(const std::vector<std::string>& args, std::string* out) {
    std::vector<std::string> argv{"wine"};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunCommand(argv, out);
}

void WaitForAllPrograms() { RunCommand({"wineserver", "-w"}); }

void StopServer() {
    RunCommand({"wineserver", "-k"});
    RunCommand({"wineserver", "-w"});
}

void PlugStick(char letter, const std::string& hostFolder) {
    StopServer();
    std::error_code ec;
    fs::remove(Drive(letter), ec);
    fs::create_directory_symlink(hostFolder, Drive(letter), ec);
    // "floppy" is what wine's registry calls a removable drive.
    Wine({"reg", "add", "HKLM\\Software\\Wine\\Drives", "/v", std::string(1, letter) + ":", "/t", "REG_SZ", "/d",
          "floppy", "/f"});
    // The drive type is read when the server starts.
    StopServer();
}

void UnplugStick(char letter) {
    StopServer();
    std::error_code ec;
    fs::remove(Drive(letter), ec);
    Wine({"reg", "delete", "HKLM\\Software\\Wine\\Drives", "/v", std::string(1, letter) + ":", "/f"});
    StopServer();
}

void PlaceStandIn(const std::string& hostExe) {
    fs::create_directories(fs::path(hostExe).parent_path());
    fs::copy_file(RK_STAND_IN_EXE, hostExe, fs::copy_options::overwrite_existing);
}

std::vector<std::string> RecordedCalls(const std::string& hostExe) {
    std::vector<std::string> calls;
    std::ifstream f(hostExe + ".txt", std::ios::binary);
    std::string line;
    while (std::getline(f, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) calls.push_back(line);
    }
    return calls;
}

std::string FreshProgramFolder(const std::string& name) {
    const std::string folder = UserFolder() + "/" + name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const auto& e : fs::directory_iterator(RK_WINDOWS_PROGRAM_DIR))
        if (e.is_regular_file()) fs::copy_file(e.path(), folder + "/" + e.path().filename().string());
    return folder;
}

WindowsProgram::WindowsProgram(VirtualDisplay& display, const std::string& folder)
    : folder_(folder), program_(display, folder) {}

WindowsProgram::~WindowsProgram() { program_.Kill(); }

bool WindowsProgram::Start() { return program_.StartCommand({"wine", WindowsPath(folder_ + "/Rido-Kladdorix.exe")}); }

bool WindowsProgram::StartToCatalogue() {
    if (!Start() || program_.WaitForWindow(60000) == 0) return false;
    if (!program_.WaitForPixel(960, 1070, kHintergrund, 30000)) return false;
    SleepMs(1000);  // the tiles' fly-in
    return true;
}

bool WindowsProgram::EscapeEnds(int timeoutMs) {
    program_.Key("Escape");
    int status = -1;
    return program_.WaitForExit(timeoutMs, status) && status == 0;
}

}  // namespace wine
