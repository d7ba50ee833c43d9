// Test fixture for gradebooks on disk: the headless window with the program's
// fonts, a fresh temporary working folder holding "Noten", and helpers that
// build a class tile by tile as the program's own operations leave it.
#pragma once
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "gradebook/grade_types.hpp"
#include "gradebook/grid_tiles.hpp"
#include "gradebook/schulklasse.hpp"
#include "headless_fixture.hpp"
#include "platform/image_font.hpp"
#include "platform/timing.hpp"
#include "gradebook/program_state.hpp"
#include "tiles/frame_loop.hpp"
#include "tiles/info_box.hpp"

class GradebookTest : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        static bool fonts = false;
        if (!fonts) {
            SchriftenLaden();
            TInfoBox::LadeSchriften();
            fonts = true;
        }
        Taktgeber = CreateFrameTimer(50);
        Bildschirmbreite = 1920;
        Bildschirmhoehe = 1080;
        OberstufeAb = 11;
        BackupOrdner.clear();
        alterOrdner_ = std::filesystem::current_path();
        ordner_ = std::filesystem::temp_directory_path() /
                  ("rk-gb-" + std::to_string(::getpid()) + "-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(ordner_ / "Noten");
        std::filesystem::current_path(ordner_);
    }
    void TearDown() override {
        std::filesystem::current_path(alterOrdner_);
        std::error_code ec;
        std::filesystem::remove_all(ordner_, ec);
        BackupOrdner.clear();
        HeadlessTest::TearDown();
    }

    // Bytes of a file below the working folder ("" when missing).
    static std::string Lesen(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Schreiben(const std::filesystem::path& p, const std::string& bytes) {
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << bytes;
    }
    static std::vector<std::string> Dateien(const std::filesystem::path& ordner) {
        std::vector<std::string> namen;
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(ordner, ec)) namen.push_back(e.path().filename().string());
        std::sort(namen.begin(), namen.end());
        return namen;
    }

    // Appends a grade or average column, as the column insertion does.
    static void Spalte(TSchulklasse& k, const Text& typ, const Text& datum = u"") {
        const int j = k.Notenanzahl;
        auto kopf = SpaltenkopfBauen(typ, datum, j, SpaltenX(j), 0);
        k.Zensurzeile[0]->Kachel.push_back(kopf);
        k.Zensurzeile[0]->Note.push_back(0);
        for (int i = 1; i < k.Schueleranzahl; ++i) {
            k.Zensurzeile[i]->Kachel.push_back(NotenzelleBauen(u"", i, j, kopf->RGB, SpaltenX(j), 0));
            k.Zensurzeile[i]->Note.push_back(0);
        }
        ++k.Notenanzahl;
    }
    // Appends a student with the given cell texts (missing ones empty) and per-student lines.
    static void Schueler(TSchulklasse& k, const Text& nachname, const Text& vornamen, std::vector<Text> zellen = {},
                         const Text& tel = kPlatzhalterTelefon, const Text& notiz = kPlatzhalterNotizen,
                         const Text& ha = kPlatzhalterVergesseneHA) {
        const int i = k.Schueleranzahl;
        auto z = TZensurzeile::bauen(k.Notenanzahl);
        z->Kachel[0] = NamenskachelBauen(nachname, vornamen, i, 0, ZeilenY(i));
        zellen.resize(static_cast<size_t>(k.Notenanzahl - 1));
        for (int j = 1; j < k.Notenanzahl; ++j) {
            const RGBFarbe kopf = k.Zensurzeile[0]->Kachel[j]->RGB;
            const Text& t = zellen[static_cast<size_t>(j - 1)];
            z->Kachel[j] = IstDurchschnittstyp(k.Zensurzeile[0]->Kachel[j]->Text[0])
                               ? DurchschnittszelleBauen(t, i, j, kopf, 0, ZeilenY(i))
                               : NotenzelleBauen(t, i, j, kopf, 0, ZeilenY(i));
        }
        k.Zensurzeile.push_back(z);
        k.Telefonnummer.push_back(tel);
        k.Notizen.push_back(notiz);
        k.VergesseneHA.push_back(ha);
        ++k.Schueleranzahl;
    }
    // Everything the class file stores, row by row, for comparing two records.
    static std::vector<std::vector<Text>> Inhalt(const TSchulklasse& k) {
        std::vector<std::vector<Text>> out;
        out.push_back({k.Titel[0], k.Titel[1]});
        for (int i = 0; i < k.Schueleranzahl; ++i) {
            std::vector<Text> zeile;
            for (int j = 0; j < k.Notenanzahl; ++j)
                for (const Text& t : k.Zelle(i, j).Text) zeile.push_back(t);
            if (i > 0) {
                zeile.push_back(k.Telefonnummer[i]);
                zeile.push_back(k.Notizen[i]);
                zeile.push_back(k.VergesseneHA[i]);
            }
            out.push_back(zeile);
        }
        return out;
    }

    std::filesystem::path ordner_, alterOrdner_;
};
