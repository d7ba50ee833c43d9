// Files made to hurt: each loader refuses them quickly (or reads them as
// what they are) without a crash, a hang or a huge allocation, and nothing
// is written outside the program's folders.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "gradebook/class_file.hpp"
#include "gradebook/name_list.hpp"
#include "gradebook_fixture.hpp"
#include "photo_files.hpp"
#include "platform/file_bytes.hpp"
#include "platform/pixmap.hpp"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

void Put16(Bytes& b, uint32_t v) { b.push_back(v & 0xFF), b.push_back((v >> 8) & 0xFF); }
void Put32(Bytes& b, uint32_t v) { Put16(b, v & 0xFFFF), Put16(b, v >> 16); }

// A BMP header of an 8-bit picture of 2 x height with the given palette size and no more.
Bytes Bmp(int32_t hoehe, uint32_t farben) {
    Bytes b = {'B', 'M'};
    Put32(b, 14 + 40 + 8), Put32(b, 0), Put32(b, 14 + 40 + 8);
    Put32(b, 40), Put32(b, 2), Put32(b, static_cast<uint32_t>(hoehe)), Put16(b, 1), Put16(b, 8);
    Put32(b, 0), Put32(b, 0), Put32(b, 2835), Put32(b, 2835), Put32(b, farben), Put32(b, 0);
    b.insert(b.end(), {0, 0, 0, 0, 255, 255, 255, 0});
    if (hoehe == 1 || hoehe == -1) b.insert(b.end(), {0, 1, 0, 0});  // the one row
    return b;
}

enum class Lader { Klassendatei, Namensliste, Bild };

struct Fall {
    const char* name;
    Lader lader;
    // Makes the file below the working folder ("Noten" and beside it
    // "draussen", the world outside the program) and returns its path.
    std::function<fs::path()> anlegen;
    bool angenommen;  // a readable gradebook, list or picture after all
};

class FeindlicheDateien : public GradebookTest {
protected:
    static std::string Gradebook(const Text& klasse) {
        auto k = TSchulklasse::bauen({klasse, u"Mathe"}, 0);
        Spalte(*k, u"Arbeit", u"01.10.15");
        Schueler(*k, u"Adler", u"Tom", {u"2"});
        return KlassendateiBytes(*k);
    }
};

TEST_F(FeindlicheDateien, AreRefusedOrReadSafely) {
    const std::string draussenBuch = Gradebook(u"7a");
    const std::vector<Fall> faelle{
        {"class file of 200 MB", Lader::Klassendatei,
         [] {
             Schreiben("Noten/7a/7a Mathe.slk", "ID;PCALCOOO32\r\n");
             fs::resize_file("Noten/7a/7a Mathe.slk", 200u << 20);  // sparse: no 200 MB on the disk
             return fs::path("Noten/7a/7a Mathe.slk");
         },
         false},
        {"class file of one line of 10 MB", Lader::Klassendatei,
         [] {
             Schreiben("Noten/7a/7a Mathe.slk", "ID;PCALCOOO32\r\nC;X1;Y1;K\"" + std::string(10u << 20, 'x'));
             return fs::path("Noten/7a/7a Mathe.slk");
         },
         false},
        {"class file that is a FIFO", Lader::Klassendatei,
         [] {
             fs::create_directories("Noten/7a");
             ::mkfifo("Noten/7a/7a Mathe.slk", 0600);
             return fs::path("Noten/7a/7a Mathe.slk");
         },
         false},
        {"class file linked to /dev/zero", Lader::Klassendatei,
         [] {
             fs::create_directories("Noten/7a");
             fs::create_symlink("/dev/zero", "Noten/7a/7a Mathe.slk");
             return fs::path("Noten/7a/7a Mathe.slk");
         },
         false},
        {"class file linked to a gradebook outside", Lader::Klassendatei,
         [&] {
             Schreiben("draussen/7a Mathe.slk", draussenBuch);
             fs::create_directories("Noten/7a");
             fs::create_symlink(fs::absolute("draussen/7a Mathe.slk"), "Noten/7a/7a Mathe.slk");
             return fs::path("Noten/7a/7a Mathe.slk");
         },
         true},
        {"class folder linked out of Noten", Lader::Klassendatei,
         [&] {
             Schreiben("draussen/7a/7a Mathe.slk", draussenBuch);
             fs::create_directory_symlink(fs::absolute("draussen/7a"), "Noten/7a");
             return fs::path("Noten/7a/7a Mathe.slk");
         },
         true},
        {"class file and folder with line feeds in their names", Lader::Klassendatei,
         [&] {
             Schreiben("Noten/7\na/7\na Mathe.slk", draussenBuch);
             return fs::path("Noten/7\na/7\na Mathe.slk");
         },
         true},
        {"name list of a million lines", Lader::Namensliste,
         [] {
             std::string s;
             for (int i = 0; i < 1000000; ++i) s += "A B\n";
             Schreiben("draussen/liste.txt", s);
             return fs::path("draussen/liste.txt");
         },
         false},
        {"name list with NUL bytes", Lader::Namensliste,
         [] {
             Schreiben("draussen/liste.txt", std::string("Kahn Lea\n\0\0\0Zorn Tim\n", 22));
             return fs::path("draussen/liste.txt");
         },
         false},
        {"name list that is a FIFO", Lader::Namensliste,
         [] {
             fs::create_directories("draussen");
             ::mkfifo("draussen/liste.txt", 0600);
             return fs::path("draussen/liste.txt");
         },
         false},
        {"photo claiming 60000 x 60000 pixels", Lader::Bild,
         [] {
             Bytes jpeg = JpegBytes(Einfarbig(8, 8, Rgb(200, 10, 10)));
             for (size_t i = 0; i + 9 < jpeg.size(); ++i)
                 if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
                     jpeg[i + 5] = jpeg[i + 7] = 60000 >> 8;
                     jpeg[i + 6] = jpeg[i + 8] = 60000 & 0xFF;
                     break;
                 }
             BytesSchreiben("draussen/riesig.jpg", jpeg);
             return fs::path("draussen/riesig.jpg");
         },
         false},
        {"BMP of the most negative height", Lader::Bild,
         [] {
             BytesSchreiben("draussen/hoehe.bmp", Bmp(INT32_MIN, 2));
             return fs::path("draussen/hoehe.bmp");
         },
         false},
        {"BMP claiming a palette larger than the file (read as far as it goes)", Lader::Bild,
         [] {
             BytesSchreiben("draussen/palette.bmp", Bmp(1, 0x40000000));
             return fs::path("draussen/palette.bmp");
         },
         true},
        {"BMP whose palette of 256 colours runs past the end of the file", Lader::Bild,
         [] {
             Bytes b = Bmp(1, 0);
             b[10] = 1078 & 0xFF, b[11] = 1078 >> 8;  // the pixels after 256 entries
             BytesSchreiben("draussen/palette.bmp", b);
             return fs::path("draussen/palette.bmp");
         },
         false},
        {"BMP top-down, a valid negative height", Lader::Bild,
         [] {
             BytesSchreiben("draussen/oben.bmp", Bmp(-1, 2));
             return fs::path("draussen/oben.bmp");
         },
         true},
        {"TGA with an RLE packet running past its end", Lader::Bild,
         [] {
             Bytes b = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
             Put16(b, 4), Put16(b, 4), b.push_back(24), b.push_back(0x20);
             b.insert(b.end(), {0x0F, 1, 2, 3, 4, 5, 6});  // a raw packet of 16 pixels, 2 of them there
             BytesSchreiben("draussen/rle.tga", b);
             return fs::path("draussen/rle.tga");
         },
         false},
        {"photo linked to /dev/zero", Lader::Bild,
         [] {
             fs::create_directories("draussen");
             fs::create_symlink("/dev/zero", "draussen/null.png");
             return fs::path("draussen/null.png");
         },
         false},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        fs::remove_all("Noten");
        fs::remove_all("draussen");
        fs::create_directories("Noten");
        const fs::path pfad = f.anlegen();
        const Text p = TextFromUtf8(pfad.string());
        bool angenommen = false;
        switch (f.lader) {
            case Lader::Klassendatei: {
                auto k = TSchulklasse::laden(p);
                angenommen = k != nullptr;
                // Saved, it lands in the program's data folder; a file outside stays as it was.
                if (k) {
                    EXPECT_TRUE(k->speichern(u""));
                }
                break;
            }
            case Lader::Namensliste: {
                std::string bytes;
                angenommen = ReadFileBytes(p, bytes, 4u << 20) &&
                             NamenslisteMangel(bytes, false) == Namenslistenmangel::Keiner;
                break;
            }
            case Lader::Bild: angenommen = LoadPixmapFrom(p, 0) != nullptr; break;
        }
        EXPECT_EQ(angenommen, f.angenommen);
        if (fs::exists("draussen/7a Mathe.slk")) {
            EXPECT_EQ(Lesen("draussen/7a Mathe.slk"), draussenBuch);
        }
    }
}

}  // namespace
