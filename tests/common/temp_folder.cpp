#include "tests/common/temp_folder.h"

#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <system_error>

namespace kivo::test {

TempFolder::TempFolder() : TempFolder(std::filesystem::temp_directory_path(), "") {}

TempFolder::TempFolder(const std::filesystem::path& base, const std::string& suffix) {
    std::mt19937_64 random(std::random_device{}());
    do {
        path_ = base / ("kivo-test-" + std::to_string(random()) + suffix);
    } while (!std::filesystem::create_directory(path_));
}

TempFolder::~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
    if (error) {
        // The folder's own name is ASCII, whatever the temporary folder's path holds.
        std::cerr << "could not remove the temporary folder " << path_.filename().string() << ": "
                  << error.message() << "\n";
    }
}

std::filesystem::path TempFolder::Write(const std::filesystem::path& name,
                                        std::string_view bytes) const {
    const std::filesystem::path file = path_ / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        throw std::filesystem::filesystem_error("cannot write", file,
                                                std::make_error_code(std::errc::io_error));
    }
    return file;
}

}  // namespace kivo::test
