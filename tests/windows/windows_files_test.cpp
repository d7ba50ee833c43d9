// The Windows side of files: UTF-16 names on the disk, the crash-safe
// replacement through MoveFileExW, folder listings, and the names Windows
// refuses for a class or subject.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "gradebook/data_folders.hpp"
#include "platform/file_bytes.hpp"
#include "platform/file_names.hpp"
#include "platform/files.hpp"
#include "platform/paths.hpp"

namespace fs = std::filesystem;

class WindowsFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ordner_ = fs::temp_directory_path() / ("rk-win-" + std::to_string(std::random_device{}()));
        fs::create_directories(ordner_);
        basis_ = NormalisePath(Text(ordner_.u16string()));
    }
    void TearDown() override { fs::remove_all(ordner_); }
    fs::path ordner_;
    Text basis_;
};

TEST_F(WindowsFiles, NamesWithUmlautsReachTheDiskAsTyped) {
    for (const Text name : {Text(u"5ä Deutsch"), Text(u"Q1 Größen ß"), Text(u"Ölmühle Œ €")}) {
        SCOPED_TRACE(Utf8FromText(name));
        const Text klasse = JoinPath(basis_, name);
        ASSERT_TRUE(CreateFolder(klasse, false));
        const Text datei = JoinPath(klasse, name + u".slk");
        ASSERT_TRUE(ReplaceFileBytes(datei, "ID;P\r\nE\r\n", true));
        // The system's own wide listing shows the same name.
        EXPECT_TRUE(fs::exists(ordner_ / fs::path(std::u16string(name)) / fs::path(std::u16string(name + u".slk"))));
        const auto liste = ListFolder(klasse, true);
        ASSERT_EQ(liste.size(), 1u);
        EXPECT_EQ(liste[0], name + u".slk");
        std::string gelesen;
        EXPECT_TRUE(ReadFileBytes(datei, gelesen, 1000));
        EXPECT_EQ(gelesen, "ID;P\r\nE\r\n");
    }
}

TEST_F(WindowsFiles, ReplacementLeavesTheOldOrTheNewFileAndNothingBeside) {
    const Text datei = JoinPath(basis_, u"7a Mathe.slk");
    ASSERT_TRUE(ReplaceFileBytes(datei, std::string(100000, 'a'), true));
    ASSERT_TRUE(ReplaceFileBytes(datei, "kurz", true));
    std::string gelesen;
    ASSERT_TRUE(ReadFileBytes(datei, gelesen, 200000));
    EXPECT_EQ(gelesen, "kurz");
    EXPECT_EQ(ListFolder(basis_, true), std::vector<Text>{u"7a Mathe.slk"});
    // A leftover of an interrupted save does not stop the next one.
    ASSERT_TRUE(WriteFileBytes(datei + u".neu", "halb"));
    ASSERT_TRUE(ReplaceFileBytes(datei, "neu", true));
    ASSERT_TRUE(ReadFileBytes(datei, gelesen, 100));
    EXPECT_EQ(gelesen, "neu");
    EXPECT_EQ(PathKind(datei + u".neu"), 0);
    // A folder in the file's place is never replaced.
    const Text ordner = JoinPath(basis_, u"Ordner.slk");
    ASSERT_TRUE(CreateFolder(ordner, false));
    EXPECT_FALSE(ReplaceFileBytes(ordner, "x", true));
    EXPECT_EQ(PathKind(ordner), 2);
}

TEST_F(WindowsFiles, BothSeparatorsNameTheSamePlace) {
    Text mitRueckstrich = basis_ + u"\\Noten\\7a";
    ASSERT_TRUE(CreateFolder(mitRueckstrich, true));
    EXPECT_EQ(PathKind(basis_ + u"/Noten/7a"), 2);
    EXPECT_EQ(PathKind(basis_ + u"/Noten/7a/"), 2);
    EXPECT_EQ(CanonicalPath(basis_ + u"\\Noten\\..\\Noten\\7a"), CanonicalPath(basis_ + u"/Noten/7a"));
    Text datum, zeit;
    ASSERT_TRUE(WriteFileBytes(mitRueckstrich + u"\\x.txt", "1"));
    EXPECT_TRUE(FileModifiedTime(basis_ + u"/Noten/7a/x.txt", datum, zeit));
    EXPECT_EQ(zeit.size(), 8u);
}

TEST(WindowsFileNames, RefusedNamesAreNoClassOrSubject) {
    struct Fall {
        const char16_t* name;
        bool erlaubt;
    } faelle[] = {
        {u"5a", true},        {u"Mathe LK", true},  {u"Q1.2", true},     {u"Consulting", true},
        {u"COM10", true},     {u"CON", false},      {u"con", false},     {u"NUL.txt", false},
        {u"Aux", false},      {u"prn .slk", false}, {u"COM1", false},    {u"lpt9", false},
        {u"Klasse.", false},  {u"Klasse ", false},  {u"a<b", false},     {u"a>b", false},
        {u"C:", false},       {u"\"7a\"", false},   {u"a|b", false},     {u"wer?", false},
        {u"Stern*", false},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(Utf8FromText(f.name));
        EXPECT_EQ(SystemAcceptsFileName(f.name), f.erlaubt);
        EXPECT_EQ(IstEinfacherName(f.name), f.erlaubt);
    }
    EXPECT_FALSE(SystemFileNameRules().empty());
}
