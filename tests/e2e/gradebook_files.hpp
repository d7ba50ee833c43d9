// Class files for the end-to-end tests, written as the program writes them
// (SYLK records, Latin-1, CR LF), and the program's folders around them.
#pragma once
#include <map>
#include <string>
#include <vector>

struct TestStudent {
    std::string nachname, vornamen;
    std::vector<std::string> noten;  // one per column, "" for none
    std::string telefon, notizen, hausaufgaben;
};

struct TestGradebook {
    std::string klasse, fach;
    std::vector<std::pair<std::string, std::string>> spalten;  // type, date
    std::vector<TestStudent> schueler;                         // in file order
};

// The bytes of the class file (UTF-8 input, Latin-1 output).
std::string ClassFileBytes(const TestGradebook& g);
// Writes Noten/<klasse>/<klasse> <fach>.slk below the program folder; returns its path.
std::string WriteClassFile(const std::string& programFolder, const TestGradebook& g);
std::string ReadFileBytes(const std::string& path);
// Every regular file below the folder (relative path) with its bytes.
std::map<std::string, std::string> FilesBelow(const std::string& folder);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// A class of n students and m grade columns with grades in every cell.
TestGradebook LargeGradebook(const std::string& klasse, const std::string& fach, int n, int m);
