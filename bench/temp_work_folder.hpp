// A fresh working folder below $TMPDIR for one benchmark run: entered when
// made, left and removed with all it holds at the end, so a run writes
// nothing beside the binary and leaves nothing behind.
#pragma once
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace bench {

class TempWorkFolder {
public:
    // prefix names the folder ("<prefix>-XXXXXX"); ok() says whether it was
    // made and entered.
    explicit TempWorkFolder(const char* prefix) {
        std::error_code ec;
        previous_ = std::filesystem::current_path(ec);
        std::string pattern = (std::filesystem::temp_directory_path(ec) / (std::string(prefix) + "-XXXXXX")).string();
        if (!mkdtemp(pattern.data())) return;
        if (chdir(pattern.c_str()) != 0) {
            std::filesystem::remove_all(pattern, ec);
            return;
        }
        path_ = pattern;
    }
    ~TempWorkFolder() {
        if (path_.empty()) return;
        std::error_code ec;
        std::filesystem::current_path(previous_, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempWorkFolder(const TempWorkFolder&) = delete;
    TempWorkFolder& operator=(const TempWorkFolder&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path previous_, path_;
};

}  // namespace bench
