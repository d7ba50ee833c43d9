// Start-up guards of the real program: a second start on the same program
// folder ends at once with status 0 and leaves the first unharmed; without a
// display the program ends with a message on stderr and writes nothing.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "gradebook_files.hpp"
#include "harness.hpp"

namespace fs = std::filesystem;

namespace {
constexpr uint32_t kHintergrund = (23u << 16) | 83u;

// Runs the program with the given environment changes (an empty value
// removes the variable); returns its exit status and what it wrote to stderr.
int Ausfuehren(const std::string& programm, const std::map<std::string, std::string>& env, std::string& fehler) {
    std::vector<std::string> vars;
    for (char** e = environ; *e; ++e) {
        const std::string v = *e;
        const std::string name = v.substr(0, v.find('='));
        if (!env.count(name)) vars.push_back(v);
    }
    for (const auto& [name, wert] : env)
        if (!wert.empty()) vars.push_back(name + "=" + wert);
    std::vector<char*> envp;
    for (std::string& v : vars) envp.push_back(v.data());
    envp.push_back(nullptr);
    int fds[2];
    if (pipe(fds) != 0) return -1;
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, fds[1], 2);
    std::string pfad = programm;
    char* argv[] = {pfad.data(), nullptr};
    pid_t pid = -1;
    const int r = posix_spawn(&pid, pfad.c_str(), &fa, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&fa);
    close(fds[1]);
    if (r != 0) {
        close(fds[0]);
        return -1;
    }
    char buf[4096];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0) fehler.append(buf, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
}  // namespace

TEST(StartupGuard, ASecondStartOnTheSameFolderEndsWithStatusZeroAndTheFirstRunsOn) {
    VirtualDisplay display(1920, 1080);
    ASSERT_TRUE(display.Ok());
    ProgramUnderTest erster(display);
    TestGradebook g{"7a", "Mathe", {{"Arbeit", "14.10.26"}}, {{"Berger", "Lena", {"2"}, "", "", ""}}};
    WriteClassFile(erster.Folder(), g);
    ASSERT_TRUE(erster.Start());
    const unsigned long fenster = erster.WaitForWindow();
    ASSERT_NE(fenster, 0u);
    ASSERT_TRUE(erster.WaitForPixel(960, 1070, kHintergrund));
    SleepMs(500);
    const auto vorher = FilesBelow(erster.Folder());
    EXPECT_TRUE(vorher.count(".Kladdorix-Sperre")) << "no lock file";

    ProgramUnderTest zweiter(display, erster);
    ASSERT_TRUE(zweiter.Start());
    // The second shows a system message box with the program's title.
    const unsigned long box = WaitForOtherProgramWindow(zweiter, fenster);
    ASSERT_NE(box, 0u) << "no message box of the second start";
    SleepMs(300);
    erster.Save(erster.Shoot(), "zweiter-start-meldung");
    erster.Xdo({"windowfocus", "--sync", std::to_string(box)});
    erster.Xdo({"key", "--window", std::to_string(box), "Return"});
    int status = -1;
    ASSERT_TRUE(zweiter.WaitForExit(5000, status)) << "the second start did not end after its message";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(FilesBelow(erster.Folder()), vorher) << "the second start wrote something";

    // The first still runs and answers: Escape ends it with status 0.
    ASSERT_TRUE(erster.Running());
    erster.Key("Escape");
    ASSERT_TRUE(erster.WaitForExit(8000, status));
    EXPECT_EQ(status, 0);
}

TEST(StartupGuard, WithoutADisplayTheProgramEndsWithAMessageAndWritesNothing) {
    VirtualDisplay display(640, 480);  // only for the harness's program folder
    ProgramUnderTest p(display);
    const std::string programm = p.Folder() + "/rido-kladdorix";
    fs::copy_file(RK_PROGRAM_PATH, programm);
    const std::map<std::string, std::string> faelle[] = {
        {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"SDL_VIDEODRIVER", ""}},
        // Drivers that run without showing anything are not taken.
        {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"SDL_VIDEODRIVER", "dummy"}},
        {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"SDL_VIDEODRIVER", "offscreen"}},
    };
    for (const auto& env : faelle) {
        SCOPED_TRACE(env.at("SDL_VIDEODRIVER"));
        std::string fehler;
        const int status = Ausfuehren(programm, env, fehler);
        EXPECT_NE(status, 0);
        EXPECT_LT(status, 128) << "ended by a signal";
        EXPECT_NE(fehler.find("Es ist kein Bildschirm erreichbar"), std::string::npos) << fehler;
        std::vector<std::string> eintraege;
        for (const auto& e : fs::directory_iterator(p.Folder())) eintraege.push_back(e.path().filename().string());
        EXPECT_EQ(eintraege, std::vector<std::string>{"rido-kladdorix"}) << "files or folders were written";
    }
}
