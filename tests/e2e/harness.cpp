// The end-to-end harness: Xvfb, the program's process, xdotool and files.
#include "harness.hpp"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

extern char** environ;

namespace fs = std::filesystem;

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

unsigned long WaitForOtherProgramWindow(ProgramUnderTest& program, unsigned long except) {
    for (int n = 0; n < 100 && program.Running(); ++n) {
        std::string baum;
        RunCommand({"xwininfo", "-root", "-tree"}, &baum);
        for (size_t at = baum.find("\"Rido Kladdorix\""); at != std::string::npos;
             at = baum.find("\"Rido Kladdorix\"", at + 1)) {
            const size_t zeile = baum.rfind('\n', at) + 1;
            const unsigned long id = std::strtoul(baum.c_str() + zeile, nullptr, 16);
            if (id && id != except) return id;
        }
        SleepMs(50);
    }
    return 0;
}

namespace {
pid_t Spawn(const std::vector<std::string>& argv, int stdoutFd, const char* cwd = nullptr) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    if (stdoutFd >= 0) posix_spawn_file_actions_adddup2(&fa, stdoutFd, 1);
    std::string oldCwd;
    if (cwd) {
        oldCwd = fs::current_path().string();
        fs::current_path(cwd);
    }
    pid_t pid = -1;
    if (posix_spawnp(&pid, args[0], &fa, nullptr, args.data(), environ) != 0) pid = -1;
    if (cwd) fs::current_path(oldCwd);
    posix_spawn_file_actions_destroy(&fa);
    return pid;
}

long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
}  // namespace

int RunCommand(const std::vector<std::string>& argv, std::string* out) {
    int fds[2] = {-1, -1};
    if (out && pipe(fds) != 0) return -1;
    const pid_t pid = Spawn(argv, out ? fds[1] : -1);
    if (out) close(fds[1]);
    if (pid < 0) {
        if (out) close(fds[0]);
        return -1;
    }
    if (out) {
        char buf[4096];
        ssize_t n;
        while ((n = read(fds[0], buf, sizeof buf)) > 0) out->append(buf, static_cast<size_t>(n));
        close(fds[0]);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

VirtualDisplay::VirtualDisplay(int width, int height) : width_(width), height_(height) {
    int fds[2];
    if (pipe(fds) != 0) return;
    // Xvfb writes the display number it chose to the descriptor we give it.
    pid_ = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
                  std::to_string(width) + "x" + std::to_string(height) + "x24", "-nolisten", "tcp", "-noreset",
                  "+extension", "GLX"},
                 -1);
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (pid_ > 0 && !number.empty()) {
        name_ = ":" + number;
        setenv("DISPLAY", name_.c_str(), 1);
    }
}

VirtualDisplay::~VirtualDisplay() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        int status;
        waitpid(pid_, &status, 0);
    }
}

ProgramUnderTest::ProgramUnderTest(VirtualDisplay& display) : display_(display) {
    char tmpl[] = "/tmp/rk-e2e-XXXXXX";
    if (mkdtemp(tmpl)) folder_ = tmpl;
}

ProgramUnderTest::ProgramUnderTest(VirtualDisplay& display, const ProgramUnderTest& sameFolderAs)
    : display_(display), folder_(sameFolderAs.folder_), ownsFolder_(false) {}

ProgramUnderTest::ProgramUnderTest(VirtualDisplay& display, const std::string& folder)
    : display_(display), folder_(folder), ownsFolder_(false) {}

ProgramUnderTest::~ProgramUnderTest() {
    Kill();
    if (ownsFolder_ && !folder_.empty() && !std::getenv("RK_E2E_KEEP")) {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
}

bool ProgramUnderTest::Start() {
    if (folder_.empty() || !display_.Ok()) return false;
    std::error_code ec;
    // RK_E2E_WINDOWS_PROGRAM: the Windows build instead, under wine with the
    // wine folder RK_E2E_WINE_FOLDER (scripts/test.sh --windows).
    const char* windows = std::getenv("RK_E2E_WINDOWS_PROGRAM");
    const bool underWine = windows && *windows && !Linux;
    const fs::path exe = fs::path(folder_) / (underWine ? "Rido-Kladdorix.exe" : "rido-kladdorix");
    // A running copy cannot be overwritten; a second start uses it.
    if (!fs::exists(exe)) fs::copy_file(underWine ? windows : RK_PROGRAM_PATH, exe, ec);
    if (ec) return false;
    setenv("DISPLAY", display_.Name().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    // Started from elsewhere on purpose: the program must find its folder itself.
    if (underWine) {
        const char* wine = std::getenv("RK_E2E_WINE_FOLDER");
        pid_ = Spawn({RK_SOURCE_DIR "/cmake/wine-run.sh", wine ? wine : "/tmp/rk-e2e-wine", exe.string()}, -1, "/");
    } else {
        pid_ = Spawn({exe.string()}, -1, "/");
    }
    return pid_ > 0;
}

bool ProgramUnderTest::StartCommand(const std::vector<std::string>& argv) {
    if (!display_.Ok()) return false;
    setenv("DISPLAY", display_.Name().c_str(), 1);
    pid_ = Spawn(argv, -1, "/");
    return pid_ > 0;
}

void ProgramUnderTest::Kill() {
    if (!Running()) return;
    kill(pid_, SIGKILL);
    int st;
    waitpid(pid_, &st, 0);
    pid_ = -1;
    status_ = -1;
}

bool ProgramUnderTest::Running() {
    if (pid_ <= 0) return false;
    int st = 0;
    const pid_t r = waitpid(pid_, &st, WNOHANG);
    if (r == pid_) {
        status_ = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
        pid_ = -1;
        return false;
    }
    return true;
}

bool ProgramUnderTest::WaitForExit(int timeoutMs, int& status) {
    const long long end = NowMs() + timeoutMs;
    while (NowMs() < end) {
        if (!Running()) {
            status = status_;
            return true;
        }
        SleepMs(20);
    }
    return false;
}

std::string ProgramUnderTest::Xdo(const std::vector<std::string>& args) {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    std::string out;
    RunCommand(argv, &out);
    return out;
}

unsigned long ProgramUnderTest::WaitForWindow(int timeoutMs) {
    const long long end = NowMs() + timeoutMs;
    while (NowMs() < end && Running()) {
        const std::string out = Xdo({"search", "--onlyvisible", "--name", "^Rido Kladdorix$"});
        if (!out.empty()) {
            window_ = std::strtoul(out.c_str(), nullptr, 10);
            return window_;
        }
        SleepMs(50);
    }
    return 0;
}

bool ProgramUnderTest::OpenTheOnlyClass(int settleMs) {
    constexpr uint32_t kCatalogueBackground = (23u << 16) | 83u;
    if (WaitForWindow() == 0 || !WaitForPixel(960, 1070, kCatalogueBackground)) return false;
    SleepMs(700);
    Click(846 + 114, 663 + 57);  // the only class tile
    SleepMs(settleMs);
    return true;
}

bool ProgramUnderTest::WaitForPixel(int x, int y, uint32_t rgb, int timeoutMs) {
    const long long end = NowMs() + timeoutMs;
    while (NowMs() < end) {
        Screenshot s;
        if (TakeScreenshot(display_.Name(), s) && x < s.width && y < s.height && s.At(x, y) == rgb) return true;
        SleepMs(50);
    }
    return false;
}

void ProgramUnderTest::Focus() {
    if (window_) Xdo({"windowfocus", "--sync", std::to_string(window_)});
}

void ProgramUnderTest::Key(const std::string& keyName) {
    Focus();
    Xdo({"key", "--delay", "60", keyName});
}

void ProgramUnderTest::Type(const std::string& utf8) {
    Focus();
    Xdo({"type", "--delay", "60", utf8});
}

void ProgramUnderTest::MoveTo(int x, int y) {
    // "--sync" waits until the pointer has moved, and a pointer already there
    // never moves: xdotool then waits about 15 s before it gives up.
    const std::string at = "X=" + std::to_string(x) + "\nY=" + std::to_string(y) + "\n";
    if (Xdo({"getmouselocation", "--shell"}).rfind(at, 0) == 0) return;
    Xdo({"mousemove", "--sync", std::to_string(x), std::to_string(y)});
}

void ProgramUnderTest::Click(int x, int y) {
    MoveTo(x, y);
    SleepMs(60);
    Xdo({"mousedown", "1"});
    SleepMs(80);  // a few frames apart, as a hand would
    Xdo({"mouseup", "1"});
    SleepMs(60);
}

void ProgramUnderTest::Wheel(int notches) {
    const std::string button = notches > 0 ? "4" : "5";
    for (int i = 0; i < std::abs(notches); ++i) {
        Xdo({"click", button});
        SleepMs(30);
    }
}

void ProgramUnderTest::RequestClose() { SendCloseRequest(display_.Name(), window_); }

Screenshot ProgramUnderTest::Shoot() {
    Screenshot s;
    TakeScreenshot(display_.Name(), s);
    return s;
}

std::string ProgramUnderTest::Save(const Screenshot& shot, const std::string& name) {
    std::error_code ec;
    fs::create_directories(RK_E2E_OUTPUT, ec);
    const std::string path = std::string(RK_E2E_OUTPUT) + "/" + name + ".png";
    shot.SavePng(path);
    return path;
}

std::vector<std::string> ProgramUnderTest::DataFiles() {
    std::vector<std::string> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string rel = fs::relative(it->path(), folder_, ec).string();
        if (rel != "rido-kladdorix" && rel != "Rido-Kladdorix.exe" && rel != ".Kladdorix-Sperre") files.push_back(rel);
    }
    return files;
}

bool FindRun(const Screenshot& s, uint32_t colour, int x0, int y0, int x1, int y1, int& x, int& y, int run) {
    for (y = y0; y < y1; ++y) {
        int n = 0;
        for (x = x0; x < x1; ++x) {
            n = s.At(x, y) == colour ? n + 1 : 0;
            if (n == run) {
                x -= run - 1;
                return true;
            }
        }
    }
    return false;
}

bool BoxButton(const Screenshot& s, int index, int& x, int& y) {
    constexpr uint32_t kFace = (56u << 16) | (56u << 8) | 56u;
    if (!FindRun(s, kFace, 300, 300, 1620, 900, x, y)) return false;
    for (int k = 0; k < index; ++k) {
        while (x < 1620 && s.At(x, y) == kFace) ++x;  // past this button's face
        int y2;
        if (!FindRun(s, kFace, x, y, 1620, y + 1, x, y2)) return false;
    }
    x += 15;
    y += 15;
    return true;
}

void ProgramUnderTest::EnterText(const std::string& utf8) {
    SleepMs(700);  // the keyboard slides in
    Type(utf8);
    Screenshot vorher = Shoot();
    for (int i = 0; i < 40; ++i) {
        SleepMs(400);
        Screenshot jetzt = Shoot();
        if (jetzt.rgb == vorher.rgb) break;
        vorher = std::move(jetzt);
    }
    Key("Return");
    SleepMs(400);
}

int MemoryFinds(pid_t pid, const std::vector<std::string>& wanted) {
    std::ifstream karten("/proc/" + std::to_string(pid) + "/maps");
    std::ifstream speicher("/proc/" + std::to_string(pid) + "/mem", std::ios::binary);
    if (!karten || !speicher) return -1;
    int funde = 0;
    std::string zeile;
    while (std::getline(karten, zeile)) {
        unsigned long von = 0, bis = 0;
        char rechte[5] = {};
        if (std::sscanf(zeile.c_str(), "%lx-%lx %4s", &von, &bis, rechte) != 3 || rechte[0] != 'r' || rechte[1] != 'w')
            continue;
        if (bis - von > (1ul << 30)) continue;
        std::string bytes(bis - von, '\0');
        speicher.clear();
        speicher.seekg(static_cast<std::streamoff>(von));
        if (!speicher.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) continue;
        for (const std::string& g : wanted)
            for (size_t at = bytes.find(g); at != std::string::npos; at = bytes.find(g, at + 1)) ++funde;
    }
    return funde;
}

std::string Utf16Bytes(const std::string& ascii) {
    std::string out;
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
}
