// Writing test class files in the program's own format.
#include "gradebook_files.hpp"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/text.hpp"

namespace {
std::string Latin1(const std::string& utf8) {
    std::string out;
    for (char16_t c : TextFromUtf8(utf8)) out += static_cast<char>(c & 0xFF);
    return out;
}

std::string Cell(int x, int y, const std::string& value) {
    return "C;X" + std::to_string(x) + ";Y" + std::to_string(y) + ";K\"" + (value.empty() ? " " : Latin1(value)) +
           "\"\r\n";
}
}  // namespace

std::string ClassFileBytes(const TestGradebook& g) {
    const int N = static_cast<int>(g.spalten.size()) + 1;
    const int S = static_cast<int>(g.schueler.size()) + 1;
    std::string f = "ID;PCALCOOO32\r\n";
    f += Cell(1, 1, g.klasse) + Cell(2, 1, g.fach);
    f += Cell(3, 1, std::to_string(N - 1) + " Noten") + Cell(1, 2, std::to_string(S - 1) + " Schüler");
    for (int j = 1; j < N; ++j) f += Cell(j + 2, 3, g.spalten[j - 1].first);
    for (int j = 1; j < N; ++j) f += Cell(j + 2, 4, g.spalten[j - 1].second);
    for (int i = 1; i < S; ++i) {
        const TestStudent& s = g.schueler[i - 1];
        f += Cell(1, i + 4, s.nachname) + Cell(2, i + 4, s.vornamen);
        for (int j = 1; j < N; ++j) f += Cell(j + 2, i + 4, j - 1 < int(s.noten.size()) ? s.noten[j - 1] : "");
    }
    f += "E\r\n";
    for (const TestStudent& s : g.schueler)
        f += Latin1(s.telefon) + "\r\n" + Latin1(s.notizen) + "\r\n" + Latin1(s.hausaufgaben) + "\r\n";
    return f;
}

std::string WriteClassFile(const std::string& programFolder, const TestGradebook& g) {
    const std::string folder = programFolder + "/Noten/" + g.klasse;
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/" + g.klasse + " " + g.fach + ".slk";
    WriteFileBytes(path, ClassFileBytes(g));
    return path;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

TestGradebook LargeGradebook(const std::string& klasse, const std::string& fach, int n, int m) {
    static const char* kNoten[] = {"1+", "1", "2-", "3+", "3", "4", "5-", "2", "n.f.", "6", "1-", "2+"};
    static const char* kTypen[] = {"Arbeit", "Mündl.", "Test", "HÜ", "Referat", "Abfrage"};
    TestGradebook g{klasse, fach, {}, {}};
    for (int j = 0; j < m; ++j)
        g.spalten.push_back({kTypen[j % 6], (j % 28 + 1 < 10 ? "0" : "") + std::to_string(j % 28 + 1) + ".10.26"});
    for (int i = 0; i < n; ++i) {
        TestStudent s;
        // Names in name order: Aa.., Ab.., ...
        s.nachname = std::string("Schüler") + char('A' + i / 26) + char('a' + i % 26);
        s.vornamen = "Vorname " + std::to_string(i + 1);
        for (int j = 0; j < m; ++j) s.noten.push_back(kNoten[(i * 7 + j * 3) % 12]);
        g.schueler.push_back(s);
    }
    return g;
}

std::map<std::string, std::string> FilesBelow(const std::string& folder) {
    std::map<std::string, std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
        if (e.is_regular_file())
            out[std::filesystem::relative(e.path(), folder).string()] = ReadFileBytes(e.path().string());
    return out;
}
