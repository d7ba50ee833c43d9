// Tests of the Latin-1 line streams: line endings, NUL, end of data, byte
// round trips, embedded sources, write failures and reading speed.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/resources.hpp"
#include "platform/textstream.hpp"

namespace fs = std::filesystem;

namespace {

class TextStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("rk-stream-" + std::to_string(std::random_device{}()));
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    Text FileWith(const std::string& bytes, const std::string& name = "t.txt") {
        std::ofstream(folder_ / name, std::ios::binary) << bytes;
        return TextFromUtf8((folder_ / name).string());
    }
    std::string BytesOf(const Text& path) {
        std::ifstream in(fs::path(Utf8FromText(path)), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Every line until Eof, plus what ReadLine gives after the end.
    static std::vector<Text> AllLines(const TStream& s) {
        std::vector<Text> lines;
        while (!Eof(s)) lines.push_back(ReadLine(s));
        return lines;
    }
    fs::path folder_;
};

}  // namespace

TEST_F(TextStreamTest, LineEndingsTable) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<Text> lines;
    };
    const Case cases[] = {
        {"CR LF", "eins\r\nzwei\r\n", {u"eins", u"zwei"}},
        {"LF only", "eins\nzwei\n", {u"eins", u"zwei"}},
        {"last line unterminated", "eins\r\nzwei", {u"eins", u"zwei"}},
        {"empty file", "", {}},
        {"only CR LF", "\r\n", {u""}},
        {"empty lines kept", "a\n\n\r\nb\n", {u"a", u"", u"", u"b"}},
        {"CR inside a line dropped", "a\rb\r\r\nc", {u"ab", u"c"}},
        {"lone CR is no line end", "a\rb", {u"ab"}},
        {"NUL ends a line", std::string("a\0b\r\n", 5), {u"a", u"b"}},
        {"NUL at the end", std::string("a\0", 2), {u"a"}},
        {"NUL then LF gives an empty line", std::string("a\0\nb", 4), {u"a", u"", u"b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TStream s = OpenForReading(FileWith(c.bytes));
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(AllLines(s), c.lines);
        EXPECT_TRUE(Eof(s));
        EXPECT_EQ(ReadLine(s), u"");  // stays at the end
        EXPECT_TRUE(Close(s));
    }
}

TEST_F(TextStreamTest, BytesBecomeCharactersOfTheSameCode) {
    std::string bytes;
    for (int b = 1; b < 256; ++b)
        if (b != '\n' && b != '\r') bytes += static_cast<char>(b);
    TStream s = OpenForReading(FileWith(bytes));
    Text line = ReadLine(s);
    ASSERT_EQ(line.size(), bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) EXPECT_EQ(line[i], static_cast<unsigned char>(bytes[i]));
}

TEST_F(TextStreamTest, WriteThenReadRoundTripsLatin1) {
    const std::vector<Text> lines = {u"Müller, Jürgen", u"", u"Noten: 1+ 2- ½ «»", u"\u00FF\u0080\u00A0", u"last"};
    Text path = FileWith("", "out.txt");
    TStream w = OpenForWriting(path);
    ASSERT_NE(w, nullptr);
    for (const Text& l : lines) EXPECT_TRUE(WriteLine(w, l));
    EXPECT_TRUE(Eof(w));
    EXPECT_EQ(ReadLine(w), u"");
    EXPECT_TRUE(Close(w));
    EXPECT_FALSE(WriteLine(w, u"after close"));

    EXPECT_EQ(BytesOf(path), "M\xFCller, J\xFCrgen\r\n\r\nNoten: 1+ 2- \xBD \xAB\xBB\r\n\xFF\x80\xA0\r\nlast\r\n");
    TStream r = OpenForReading(path);
    EXPECT_EQ(AllLines(r), lines);
}

TEST_F(TextStreamTest, WriteKeepsLowEightBits) {
    Text path = FileWith("", "low.txt");
    TStream w = OpenForWriting(path);
    EXPECT_TRUE(WriteLine(w, u"\u20AC\u0141A"));  // euro sign 0x20AC, Ł 0x141
    EXPECT_TRUE(Close(w));
    EXPECT_EQ(BytesOf(path), "\xAC\x41\x41\r\n");
}

TEST_F(TextStreamTest, OpenForWritingTruncates) {
    Text path = FileWith(std::string(5000, 'x'), "trunc.txt");
    TStream w = OpenForWriting(path);
    WriteLine(w, u"kurz");
    EXPECT_TRUE(Close(w));
    EXPECT_EQ(BytesOf(path), "kurz\r\n");
}

TEST_F(TextStreamTest, LargeWritesAreComplete) {
    Text path = FileWith("", "large.txt");
    TStream w = OpenForWriting(path);
    for (int i = 0; i < 20000; ++i) ASSERT_TRUE(WriteLine(w, u"Zeile " + TextFromUtf8(std::to_string(i))));
    EXPECT_TRUE(Close(w));
    TStream r = OpenForReading(path);
    std::vector<Text> lines = AllLines(r);
    ASSERT_EQ(lines.size(), 20000u);
    EXPECT_EQ(lines[0], u"Zeile 0");
    EXPECT_EQ(lines[12345], u"Zeile 12345");
    EXPECT_EQ(lines[19999], u"Zeile 19999");
}

TEST_F(TextStreamTest, WriteFailureIsReportedByClose) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    TStream w = OpenForWriting(u"/dev/full");
    ASSERT_NE(w, nullptr);
    WriteLine(w, u"nothing fits");
    EXPECT_FALSE(Close(w));
    EXPECT_FALSE(Close(w));  // the failure is not forgotten
}

TEST_F(TextStreamTest, OpenFailures) {
    EXPECT_EQ(OpenForReading(TextFromUtf8((folder_ / "missing.txt").string())), nullptr);
    EXPECT_EQ(OpenForReading(TextFromUtf8(folder_.string())), nullptr);
    EXPECT_EQ(OpenForReading(u"incbin::test/stream/missing"), nullptr);
    EXPECT_EQ(OpenForReading(u""), nullptr);
    EXPECT_EQ(OpenForWriting(TextFromUtf8((folder_ / "no/such/folder.txt").string())), nullptr);
    EXPECT_EQ(OpenForWriting(TextFromUtf8(folder_.string())), nullptr);
    EXPECT_EQ(OpenForWriting(u""), nullptr);
}

TEST_F(TextStreamTest, NullStreamsAreHarmless) {
    EXPECT_EQ(ReadLine(nullptr), u"");
    EXPECT_FALSE(WriteLine(nullptr, u"x"));
    EXPECT_TRUE(Eof(nullptr));
    EXPECT_FALSE(Close(nullptr));
}

TEST_F(TextStreamTest, ReadsEmbeddedResources) {
    static const unsigned char menu[] = "Arbeit\r\nM\xFCndl.\nHauptF.";
    RegisterEmbeddedResource(u"test/stream/menu.txt", menu, sizeof menu - 1);
    TStream s = OpenForReading(u"incbin::test/stream/menu.txt");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(AllLines(s), (std::vector<Text>{u"Arbeit", u"Mündl.", u"HauptF."}));
    EXPECT_TRUE(Close(s));
    // The resource bytes are still intact for the next reader.
    EXPECT_EQ(AllLines(OpenForReading(u"incbin::test/stream/menu.txt")).size(), 3u);

    RegisterEmbeddedResource(u"test/stream/empty.txt", nullptr, 0);
    TStream e = OpenForReading(u"incbin::test/stream/empty.txt");
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(Eof(e));
}

TEST_F(TextStreamTest, EofBeforeAndAfterTheLastLine) {
    TStream s = OpenForReading(FileWith("a\r\n"));
    EXPECT_FALSE(Eof(s));
    EXPECT_EQ(ReadLine(s), u"a");
    EXPECT_TRUE(Eof(s));
}

// A gradebook of 40 students and 60 columns is about 6000 short lines, read
// in bulk; every one of them arrives. (Its speed is measured by the gradebook
// benchmark, not asserted here.)
TEST_F(TextStreamTest, ReadsAGradebookSizedFileCompletely) {
    std::string bytes;
    for (int i = 0; i < 6000; ++i) bytes += "C;Y" + std::to_string(i % 40) + ";X" + std::to_string(i % 60) + ";K\"2-\"\r\n";
    Text path = FileWith(bytes, "class.slk");
    TStream s = OpenForReading(path);
    size_t count = 0;
    while (!Eof(s)) count += ReadLine(s).size() > 0;
    Close(s);
    EXPECT_EQ(count, 6000u);
}
