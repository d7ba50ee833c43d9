// The catalogue lists a folder in a steady order: case-insensitively by the
// folded name key, whatever order the file system keeps.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "shell/catalogue.hpp"

namespace fs = std::filesystem;

TEST(CatalogueOrder, FolderEntriesInFoldedNameOrder) {
    const fs::path ordner = fs::path(::testing::TempDir()) / "rk_catalogue_order";
    fs::remove_all(ordner);
    fs::create_directories(ordner);
    // Created in an order of their own; a file system may list them in any.
    for (const char* name : {"7a Physik.slk", "7a mathe.slk", "7a Englisch.slk", "7a Deutsch.slk", "7a Mathe.slk",
                             "7a Ästhetik.slk", "7a Aerobic.slk", "7a Zeichnen.slk", "7a Ärger.slk",
                             "7a Éducation.slk"})
        std::ofstream(ordner / fs::u8path(name)) << "x";
    std::vector<std::string> namen;
    for (const Text& t : Katalog::Auflistung(TextFromUtf8(ordner.string()))) namen.push_back(Utf8FromText(t));
    // "Ä" folds to "ae": Ärger (aerger) before Aerobic, Ästhetik (aesthetik)
    // after it; "É" to "e", among the E.
    const std::vector<std::string> erwartet{"7a Ärger.slk",  "7a Aerobic.slk",  "7a Ästhetik.slk",
                                            "7a Deutsch.slk",  "7a Éducation.slk", "7a Englisch.slk", "7a Mathe.slk",
                                            "7a mathe.slk",    "7a Physik.slk", "7a Zeichnen.slk"};
    EXPECT_EQ(namen, erwartet);
    fs::remove_all(ordner);
}
