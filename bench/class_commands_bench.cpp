// Program CPU of two class menu commands on a full-year gradebook (40
// students, 60 columns) on the headless backend: importing a 35-name list
// (CSV in UTF-8 and plain text in Windows-1252, every name new), and the
// export up to the start of the spreadsheet program (save, copy, finding the
// program, its environment). Thread CPU milliseconds, median over the runs;
// LibreOffice's own start is not part of it.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_util.hpp"
#include "headless_start.hpp"
#include "temp_work_folder.hpp"
#include "year_gradebook.hpp"
#include "classscreen/class_commands.hpp"
#include "gradebook/class_file.hpp"
#include "gradebook/program_state.hpp"
#include "platform/graphics.hpp"
#include "platform/files.hpp"
#include "platform/headless_backend.hpp"
#include "platform/office.hpp"
#include "tiles/frame_loop.hpp"

using namespace bench;

namespace {

std::shared_ptr<TSchulklasse> Jahrgang() {
    const std::vector<Text> typen{u"Arbeit", u"Test", u"M\u00FCndl.", u"HA.", u"Referat"};
    const std::vector<Text> noten{u"1+", u"2-", u"3", u"4+", u"5", u"n.f.", u"1", u""};
    auto k = TSchulklasse::bauen({u"8c", u"Mathematik"}, 0);
    for (int n = 0; n < 60; ++n)
        SpaltenkopfAnhaengen(*k, n == 29 || n == 59 ? Text(u"HauptF.") : typen[n % typen.size()], u"14.10.26");
    for (int i = 1; i <= 40; ++i)
        SchuelerAnhaengen(*k, i, {u"M\u00FCller" + TextFromUtf8(std::to_string(100 + i)), u"J\u00F6rg"},
                          [&](int j) { return noten[(i + j) % noten.size()]; });
    k->NachNamenSortieren(0);
    return k;
}

// 35 new students: UTF-8 CSV with header, or blank-separated Windows-1252 text.
std::string Liste(bool csv) {
    std::string s = csv ? "\xEF\xBB\xBFNachname;Vorname;Klasse\r\n" : "";
    for (int n = 0; n < 35; ++n) {
        const std::string nachname = std::string(1, char('A' + n % 26)) + (csv ? "\xC3\xB6zt\xC3\xBCrk" : "\xF6zt\xFCrk") +
                                     std::to_string(n);
        s += nachname + (csv ? ";" : " ") + "Anna Lena" + (csv ? ";8c" : "") + "\r\n";
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    const int runden = argc > 1 ? std::max(3, std::atoi(argv[1])) : 30;
    HeadlessBackend backend(1920, 1080);
    StartHeadless(backend);
    Taktgeber = CreateFrameTimer(50);

    const TempWorkFolder ordner("rk-bench-cmd");
    if (!ordner.ok()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    std::filesystem::create_directories("Noten");
    std::ofstream("liste.csv", std::ios::binary) << Liste(true);
    std::ofstream("liste.txt", std::ios::binary) << Liste(false);
    if (!Jahrgang()->speichern(u"")) {
        std::fprintf(stderr, "saving failed\n");
        return 1;
    }
    const Text datei = u"Noten/8c/8c Mathematik.slk";

    std::printf("gradebook: 40 students x 60 columns, %d runs\n", runden);
    for (const char* liste : {"liste.csv", "liste.txt"}) {
        std::vector<double> cpu;
        for (int n = 0; n < runden; ++n) {
            auto k = TSchulklasse::laden(datei);
            const double t0 = ThreadCpuMs();
            const int neu = NamenslisteAusDatei(*k, TextFromUtf8(liste));
            cpu.push_back(ThreadCpuMs() - t0);
            if (neu != 35) {
                std::fprintf(stderr, "%s: %d names added\n", liste, neu);
                return 1;
            }
        }
        std::printf("name list import, 35 names from %s: median %.2f ms cpu, max %.2f (target < 5 ms: %s)\n", liste,
                    Median(cpu), Maximum(cpu), Verdict(Median(cpu) < 5));
    }

    auto k = TSchulklasse::laden(datei);
    std::vector<double> kopie, export_, wand;
    for (int n = 0; n < runden; ++n) {
        double t0 = ThreadCpuMs();
        CopyFileTo(datei, Exportdatei(*k));
        kopie.push_back(ThreadCpuMs() - t0);
        const double w0 = WallMs();
        t0 = ThreadCpuMs();
        ExportkopieAnlegen(*k);
        const Text programm = FindSpreadsheetProgram();
        const auto umgebung = SpreadsheetEnvironment({"LANG=de_DE.UTF-8", "LC_ALL=de_DE.UTF-8", "HOME=/home/x"});
        export_.push_back(ThreadCpuMs() - t0);
        wand.push_back(WallMs() - w0);
        if (programm.empty() && n == 0) std::printf("(no spreadsheet program installed)\n");
    }
    std::printf("export copy alone: median %.2f ms cpu (target < 5 ms: %s)\n", Median(kopie),
                Verdict(Median(kopie) < 5));
    std::printf("export up to the spreadsheet program (save with backup, copy, search, environment): median %.2f ms "
                "cpu, max %.2f (target < 5 ms: %s); wall %.2f ms with the flush to disk\n",
                Median(export_), Maximum(export_), Verdict(Median(export_) < 5), Median(wand));

    return 0;
}
