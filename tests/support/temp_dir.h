#pragma once
// A fresh folder for one test, removed with everything in it when the test ends.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace vantrel::testing {

struct TempDir {
    TempDir() {
        std::string name =
            (std::filesystem::temp_directory_path() / "vantrel-test-XXXXXX").string();
        if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("no temporary folder");
        path = name;
    }
    ~TempDir() {
        namespace fs = std::filesystem;
        std::error_code ignored;  // a test may have left its folder read-only
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Writes `bytes` as they are to the file `name` in the folder; returns its path.
    std::filesystem::path Write(const std::string& bytes,
                                const std::string& name = "config.ini") const {
        const std::filesystem::path file = path / name;
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        return file;
    }
    static std::string Read(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    std::filesystem::path path;
};

}  // namespace vantrel::testing
