// Tests of path splitting, embedded resources and file/folder operations on
// real temporary folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/files.hpp"
#include "platform/paths.hpp"
#include "platform/resources.hpp"

namespace fs = std::filesystem;

namespace {

// A fresh folder below the system's temporary folder, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        path_ = fs::temp_directory_path() / ("rk-files-" + std::to_string(std::random_device{}()));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    // Relative names are UTF-8 on every system (Windows would read a narrow
    // name in its ANSI code page).
    Text Path(const std::string& rel = "") const {
        const std::u8string p = (rel.empty() ? path_ : Native(rel)).u8string();
        return TextFromUtf8(std::string(p.begin(), p.end()));
    }
    fs::path Native(const std::string& rel) const { return path_ / fs::path(std::u8string(rel.begin(), rel.end())); }

private:
    fs::path path_;
};

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<Text> Sorted(std::vector<Text> v) {
    std::sort(v.begin(), v.end());
    return v;
}

}  // namespace

TEST(Paths, SplittingTable) {
    struct Case {
        Text path, stripped, folder, extension;
    };
    const Case cases[] = {
        {u"a/b/c.txt", u"a/b/c", u"a/b", u"txt"},
        {u"a.b/c", u"a.b/c", u"a.b", u""},
        {u"a.b\\c", u"a.b\\c", u"a.b", u""},
        {u"Noten/5a/5a Mathe.slk", u"Noten/5a/5a Mathe", u"Noten/5a", u"slk"},
        {u"archive.tar.gz", u"archive.tar", u"", u"gz"},
        {u"name", u"name", u"", u""},
        {u"dir/name.", u"dir/name", u"dir", u""},
        {u"/top.png", u"/top", u"/", u"png"},
        {u"C:/x.jpg", u"C:/x", u"C:/", u"jpg"},
        {u"C:\\Daten\\7b.slk", u"C:\\Daten\\7b", u"C:\\Daten", u"slk"},
        {u"", u"", u"", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8FromText(c.path));
        EXPECT_EQ(StripExtension(c.path), c.stripped);
        EXPECT_EQ(ExtractFolder(c.path), c.folder);
        EXPECT_EQ(ExtractExtension(c.path), c.extension);
    }
}

TEST(Paths, NormaliseAndJoin) {
    EXPECT_EQ(NormalisePath(u"C:\\Noten\\5a\\"), u"C:/Noten/5a/");
    struct Case {
        Text folder, name, joined;
    };
    const Case cases[] = {
        {u"Noten", u"5a", u"Noten/5a"},
        {u"Noten/", u"5a", u"Noten/5a"},
        {u"Noten\\", u"5a", u"Noten/5a"},
        {u"Noten//", u"5a", u"Noten//5a"},  // only one separator is removed
        {u"", u"5a", u"5a"},
        {u"/", u"tmp", u"/tmp"},
    };
    for (const Case& c : cases) EXPECT_EQ(JoinPath(c.folder, c.name), c.joined) << Utf8FromText(c.folder);
}

TEST(Paths, NativePathIsUtf8AndNormalised) {
    EXPECT_EQ(NativePath(u"Noten\\Mündl.txt").string(), "Noten/M\xC3\xBCndl.txt");
}

TEST(Resources, RegisteredBytesAreFoundUnderEveryFormOfTheName) {
    static const unsigned char bytes[] = {1, 2, 3, 0, 255};
    RegisterEmbeddedResource(u"test\\res\\blob.bin", bytes, sizeof bytes);

    for (const Text name : {u"test/res/blob.bin", u"incbin::test/res/blob.bin", u"incbin::test\\res\\blob.bin"}) {
        SCOPED_TRACE(Utf8FromText(name));
        auto span = EmbeddedResource(name);
        ASSERT_EQ(span.size(), sizeof bytes);
        EXPECT_EQ(span.data(), bytes);  // kept by pointer, not copied
        EXPECT_TRUE(HasEmbeddedResource(name));
    }
    std::vector<unsigned char> out;
    ASSERT_TRUE(ReadSourceBytes(u"incbin::test/res/blob.bin", out));
    EXPECT_EQ(out, std::vector<unsigned char>(bytes, bytes + sizeof bytes));
}

TEST(Resources, UnknownAndEmptyResources) {
    RegisterEmbeddedResource(u"test/res/empty", nullptr, 0);
    std::vector<unsigned char> out{9};
    EXPECT_TRUE(ReadSourceBytes(u"incbin::test/res/empty", out));
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(HasEmbeddedResource(u"incbin::test/res/empty"));

    out = {9};
    EXPECT_FALSE(ReadSourceBytes(u"incbin::test/res/missing", out));
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(EmbeddedResource(u"test/res/missing").empty());
    EXPECT_FALSE(HasEmbeddedResource(u"test/res/missing"));
}

TEST(Resources, IsEmbeddedSource) {
    EXPECT_TRUE(IsEmbeddedSource(u"incbin::media/images/Info.png"));
    EXPECT_TRUE(IsEmbeddedSource(u"incbin::"));
    EXPECT_FALSE(IsEmbeddedSource(u"incbin:media"));
    EXPECT_FALSE(IsEmbeddedSource(u"media/incbin::x"));
    EXPECT_FALSE(IsEmbeddedSource(u""));
}

TEST(Resources, ReadSourceBytesFromFile) {
    TempFolder tmp;
    std::string content(200000, 'x');
    content[0] = '\0';
    content[199999] = '\xFF';
    WriteBytes(tmp.Native("big.bin"), content);
    std::vector<unsigned char> out;
    ASSERT_TRUE(ReadSourceBytes(tmp.Path("big.bin"), out));
    EXPECT_EQ(std::string(out.begin(), out.end()), content);

    WriteBytes(tmp.Native("empty.bin"), "");
    EXPECT_TRUE(ReadSourceBytes(tmp.Path("empty.bin"), out));
    EXPECT_TRUE(out.empty());

    EXPECT_FALSE(ReadSourceBytes(tmp.Path("missing.bin"), out));
    EXPECT_FALSE(ReadSourceBytes(tmp.Path(), out));  // a folder
    EXPECT_FALSE(ReadSourceBytes(u"", out));
}

TEST(Files, PathKind) {
    TempFolder tmp;
    WriteBytes(tmp.Native("f.txt"), "x");
    fs::create_directory(tmp.Native("d"));
    EXPECT_EQ(PathKind(tmp.Path("f.txt")), 1);
    EXPECT_EQ(PathKind(tmp.Path("d")), 2);
    EXPECT_EQ(PathKind(tmp.Path("d") + u"/"), 2);
    EXPECT_EQ(PathKind(tmp.Path("missing")), 0);
    EXPECT_EQ(PathKind(u""), 0);
}

TEST(Files, CreateFolder) {
    TempFolder tmp;
    // Not recursive: the parent must exist.
    EXPECT_FALSE(CreateFolder(tmp.Path("a/b/c"), false));
    EXPECT_EQ(PathKind(tmp.Path("a")), 0);

    EXPECT_TRUE(CreateFolder(tmp.Path("a/b/c"), true));
    EXPECT_EQ(PathKind(tmp.Path("a/b/c")), 2);
    // Already existing is success, both ways.
    EXPECT_TRUE(CreateFolder(tmp.Path("a/b/c"), true));
    EXPECT_TRUE(CreateFolder(tmp.Path("a/b"), false));
    // Backslashes and a trailing separator.
    EXPECT_TRUE(CreateFolder(tmp.Path("a") + u"\\x\\y\\", true));
    EXPECT_EQ(PathKind(tmp.Path("a/x/y")), 2);
    EXPECT_TRUE(CreateFolder(tmp.Path("single"), false));
    EXPECT_EQ(PathKind(tmp.Path("single")), 2);
    // A file in the way is failure.
    WriteBytes(tmp.Native("file"), "x");
    EXPECT_FALSE(CreateFolder(tmp.Path("file"), false));
    EXPECT_FALSE(CreateFolder(tmp.Path("file/sub"), true));
}

TEST(Files, DeleteFileAt) {
    TempFolder tmp;
    WriteBytes(tmp.Native("f.txt"), "x");
    EXPECT_TRUE(DeleteFileAt(tmp.Path("f.txt")));
    EXPECT_FALSE(fs::exists(tmp.Native("f.txt")));
    EXPECT_TRUE(DeleteFileAt(tmp.Path("f.txt")));  // already gone
    EXPECT_TRUE(DeleteFileAt(tmp.Path("no/such/file")));
    fs::create_directory(tmp.Native("d"));
    EXPECT_FALSE(DeleteFileAt(tmp.Path("d")));
    EXPECT_TRUE(fs::is_directory(tmp.Native("d")));
}

TEST(Files, CopyFileTo) {
    TempFolder tmp;
    const std::string content = std::string("Zeile 1\r\n\xC4\xD6\xDC\0end", 15);
    WriteBytes(tmp.Native("src.txt"), content);
    WriteBytes(tmp.Native("dst.txt"), std::string(1000, 'o'));  // longer: must be truncated

    EXPECT_TRUE(CopyFileTo(tmp.Path("src.txt"), tmp.Path("dst.txt")));
    EXPECT_EQ(ReadBytes(tmp.Native("dst.txt")), content);
    EXPECT_TRUE(CopyFileTo(tmp.Path("src.txt"), tmp.Path("new.txt")));
    EXPECT_EQ(ReadBytes(tmp.Native("new.txt")), content);

    // Onto itself leaves the file intact.
    EXPECT_TRUE(CopyFileTo(tmp.Path("src.txt"), tmp.Path("src.txt")));
    EXPECT_EQ(ReadBytes(tmp.Native("src.txt")), content);

    EXPECT_FALSE(CopyFileTo(tmp.Path("missing"), tmp.Path("out")));
    EXPECT_FALSE(fs::exists(tmp.Native("out")));
    EXPECT_FALSE(CopyFileTo(tmp.Path("src.txt"), tmp.Path("no/folder/out")));
    EXPECT_FALSE(CopyFileTo(tmp.Path("src.txt"), tmp.Path()));  // destination is a folder
}

TEST(Files, CopyFileToFromEmbedded) {
    TempFolder tmp;
    static const unsigned char png[] = {0x89, 'P', 'N', 'G', 0, 0x1A};
    RegisterEmbeddedResource(u"test/copy/bild.png", png, sizeof png);
    WriteBytes(tmp.Native("bild.png"), "old content that is longer");
    EXPECT_TRUE(CopyFileTo(u"incbin::test/copy/bild.png", tmp.Path("bild.png")));
    EXPECT_EQ(ReadBytes(tmp.Native("bild.png")), std::string(reinterpret_cast<const char*>(png), sizeof png));
    EXPECT_FALSE(CopyFileTo(u"incbin::test/copy/none.png", tmp.Path("none.png")));
    EXPECT_FALSE(fs::exists(tmp.Native("none.png")));
}

TEST(Files, RenameFileOver) {
    TempFolder tmp;
    WriteBytes(tmp.Native("new.tmp"), "new");
    WriteBytes(tmp.Native("class.slk"), "old");
    EXPECT_TRUE(RenameFileOver(tmp.Path("new.tmp"), tmp.Path("class.slk")));
    EXPECT_EQ(ReadBytes(tmp.Native("class.slk")), "new");
    EXPECT_FALSE(fs::exists(tmp.Native("new.tmp")));
    EXPECT_FALSE(RenameFileOver(tmp.Path("new.tmp"), tmp.Path("class.slk")));
    EXPECT_EQ(ReadBytes(tmp.Native("class.slk")), "new");
}

TEST(Files, FlushFileToDisk) {
    TempFolder tmp;
    WriteBytes(tmp.Native("f.slk"), "data");
    EXPECT_TRUE(FlushFileToDisk(tmp.Path("f.slk")));
    EXPECT_FALSE(FlushFileToDisk(tmp.Path("missing.slk")));
}

TEST(Files, ListFolder) {
    TempFolder tmp;
    WriteBytes(tmp.Native("a.slk"), "");
    WriteBytes(tmp.Native("Mündl.txt"), "");
    fs::create_directory(tmp.Native("Bilder"));

    EXPECT_EQ(Sorted(ListFolder(tmp.Path(), true)), Sorted({u"a.slk", u"Mündl.txt", u"Bilder"}));
    EXPECT_EQ(Sorted(ListFolder(tmp.Path(), false)), Sorted({u".", u"..", u"a.slk", u"Mündl.txt", u"Bilder"}));
    EXPECT_TRUE(ListFolder(tmp.Path("Bilder"), true).empty());
    EXPECT_TRUE(ListFolder(tmp.Path("missing"), false).empty());
    EXPECT_TRUE(ListFolder(tmp.Path("a.slk"), false).empty());
    EXPECT_TRUE(ListFolder(u"", false).empty());
}

TEST(Files, FolderListingStepByStep) {
    TempFolder tmp;
    WriteBytes(tmp.Native("x"), "");
    EXPECT_EQ(OpenFolderListing(tmp.Path("missing")), nullptr);

    TFolderListing listing = OpenFolderListing(tmp.Path());
    ASSERT_NE(listing, nullptr);
    std::vector<Text> names;
    for (Text n = NextFolderEntry(listing); !n.empty(); n = NextFolderEntry(listing)) names.push_back(n);
    EXPECT_EQ(Sorted(names), Sorted({u".", u"..", u"x"}));
    EXPECT_EQ(NextFolderEntry(listing), u"");  // stays at the end
    CloseFolderListing(listing);
    EXPECT_EQ(NextFolderEntry(listing), u"");

    // Closing early ends the enumeration; null handles are harmless.
    TFolderListing early = OpenFolderListing(tmp.Path());
    CloseFolderListing(early);
    EXPECT_EQ(NextFolderEntry(early), u"");
    CloseFolderListing(nullptr);
    EXPECT_EQ(NextFolderEntry(nullptr), u"");
}
