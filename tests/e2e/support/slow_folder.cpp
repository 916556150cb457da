#include "support/slow_folder.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace kivo::e2e {

namespace {

std::filesystem::path Mount() {
    return std::filesystem::path(KIVO_E2E_SLOW_MOUNT).make_preferred();
}

std::filesystem::path Log() {
    return Mount().parent_path() / L"slow-folder.log";
}

std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

std::string ReadLog() {
    std::ifstream in(Log(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

[[noreturn]] void NotMounted(const std::string& what) {
    throw std::runtime_error("the slow folder " + Utf8(Mount()) + " " + what +
                             " (is the harness up? e2e-env up mounts it); its log says:\n" +
                             ReadLog());
}

// The mount's source; throws when the harness has not made it.
std::filesystem::path Source() {
    const std::filesystem::path source =
        std::filesystem::path(KIVO_E2E_SLOW_SOURCE).make_preferred();
    if (!std::filesystem::is_directory(source)) {
        NotMounted("has no source folder");
    }
    return source;
}

// The delays, in the folder's name, as harness/slow-folder reads them.
std::string Suffix(std::chrono::milliseconds listing, std::chrono::milliseconds firstRead) {
    return ".list-" + std::to_string(listing.count()) + ".read-" +
           std::to_string(firstRead.count());
}

}  // namespace

SlowFolder::SlowFolder(std::chrono::milliseconds listing, std::chrono::milliseconds firstRead)
    : source_(Source(), Suffix(listing, firstRead)), path_(Mount() / source_.path().filename()) {
    if (!std::filesystem::is_directory(path_)) {
        NotMounted("is not mounted");
    }
}

void SlowFolder::Write(const std::filesystem::path& name, std::string_view bytes) const {
    source_.Write(name, bytes);
}

bool SlowFolder::FirstReadBegun(const std::filesystem::path& name) const {
    // The mount's own path of the file, as harness/slow-folder logs it.
    std::string line = "first read of /";
    line.append(Utf8(path_.filename() / name)).append(":");
    return ReadLog().find(line) != std::string::npos;
}

}  // namespace kivo::e2e
