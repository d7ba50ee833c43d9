// Child processes: exit codes, start failures, and arguments that reach the
// program byte for byte (no shell between).
#include <gtest/gtest.h>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>
#include "platform/process.hpp"

namespace {

TEST(RunAndWait, ExitCodesAndStartFailures) {
    struct Case { const char* name; std::vector<Text> argv; int code; };
    const Case cases[] = {
        {"success", {u"/bin/true"}, 0},
        {"failure", {u"/bin/false"}, 1},
        {"found on PATH", {u"true"}, 0},
        {"exit code 7", {u"sh", u"-c", u"exit 7"}, 7},
        {"exit code 255", {u"sh", u"-c", u"exit 255"}, 255},
        {"killed by a signal", {u"sh", u"-c", u"kill -9 $$"}, -1},
        {"missing program", {u"rk-no-such-program-4711"}, ENOENT},
        {"missing path", {u"/no/such/folder/program"}, ENOENT},
        {"empty argv", {}, EINVAL},
        {"empty program name", {u""}, EINVAL},
    };
    for (const Case& c : cases) EXPECT_EQ(RunAndWait(c.argv), c.code) << c.name;
}

TEST(RunAndWait, FileWithoutExecuteRightIsNotStarted) {
    const std::string path = ::testing::TempDir() + "rk_process_not_executable";
    std::ofstream(path) << "#!/bin/sh\nexit 0\n";
    EXPECT_EQ(RunAndWait({TextFromUtf8(path)}), EACCES);
    std::remove(path.c_str());
}

TEST(RunAndCapture, ArgumentsArriveUnchanged) {
    const std::vector<Text> tricky = {
        u"; rm -rf x", u"a \"quoted\" 'word'", u"  blanks  around  ", u"$HOME `id` $(id)", u"7b Deutsch (exportiert).slk",
        u"Schüler & Zensuren | Noten > 3", u"*.png", u"back\\slash", u"",
    };
    std::vector<Text> argv = {u"printf", u"[%s]\\n"};
    argv.insert(argv.end(), tricky.begin(), tricky.end());
    std::string out;
    ASSERT_EQ(RunAndCapture(argv, out), 0);
    std::string expected;
    for (const Text& t : tricky) expected += "[" + Utf8FromText(t) + "]\n";
    EXPECT_EQ(out, expected);
}

TEST(RunAndCapture, OutputAndExitCodeTogether) {
    struct Case { const char* name; std::vector<Text> argv; int code; std::string out; };
    const Case cases[] = {
        {"output then failure", {u"sh", u"-c", u"printf 'Zeile 1\\nZeile 2\\n'; exit 3"}, 3, "Zeile 1\nZeile 2\n"},
        {"stderr is not captured", {u"sh", u"-c", u"echo fehler >&2; printf ok"}, 0, "ok"},
        {"no output", {u"/bin/true"}, 0, ""},
        {"missing program", {u"rk-no-such-program-4711"}, ENOENT, ""},
        {"binary bytes", {u"printf", u"a\\000b\\377"}, 0, std::string("a\0b\xff", 4)},
    };
    for (const Case& c : cases) {
        std::string out = "stale";
        EXPECT_EQ(RunAndCapture(c.argv, out), c.code) << c.name;
        EXPECT_EQ(out, c.out) << c.name;
    }
}

TEST(RunAndCapture, LargeOutputIsDrainedAndCapped) {
    std::string out;
    // 20 MB: more than the cap; the child must still be able to finish.
    ASSERT_EQ(RunAndCapture({u"head", u"-c", u"20000000", u"/dev/zero"}, out), 0);
    EXPECT_EQ(out.size(), 16u << 20);
}

TEST(StartDetached, StartsWithoutWaiting) {
    EXPECT_TRUE(StartDetached({u"sh", u"-c", u"exit 0"}));
    EXPECT_FALSE(StartDetached({u"rk-no-such-program-4711"}));
    EXPECT_FALSE(StartDetached({}));
    // A later run still gets its own exit code while detached children end.
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(StartDetached({u"/bin/true"}));
    EXPECT_EQ(RunAndWait({u"sh", u"-c", u"exit 5"}), 5);
}

}  // namespace
