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

std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

std::string ReadLog() {
    std::ifstream in(Mount().parent_path() / L"slow-folder.log", std::ios::binary);
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

// The file whose presence in a held folder's source lets the folder go; harness/slow-folder
// leaves it out of the folder's listing.
constexpr wchar_t kReleased[] = L".released";

// How many times `line` stands in the mount's log.
int TimesLogged(const std::string& line) {
    const std::string log = ReadLog();
    int times = 0;
    for (auto at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) {
        ++times;
    }
    return times;
}

}  // namespace

SlowFolder::SlowFolder(Listing listing)
    : source_(Source(), listing == Listing::kHeld ? ".list-held" : ""),
      path_(Mount() / source_.path().filename()) {
    if (!std::filesystem::is_directory(path_)) {
        NotMounted("is not mounted");
    }
}

void SlowFolder::Write(const std::filesystem::path& name, std::string_view bytes) const {
    source_.Write(name, bytes);
}

std::filesystem::path SlowFolder::WriteHeld(const std::filesystem::path& name,
                                            std::string_view bytes) const {
    std::filesystem::path held = name.stem();
    held += L".read-held";
    held += name.extension();
    source_.Write(held, bytes);
    return held;
}

void SlowFolder::Release() const {
    // Once the folder is gone nothing waits on it, and nothing is written.
    std::ofstream(source_ / kReleased, std::ios::binary);
}

// The mount's own paths, as harness/slow-folder logs them.
bool SlowFolder::ListingBegun(const std::filesystem::path& within) const {
    const std::filesystem::path listed =
        within.empty() ? path_.filename() : path_.filename() / within;
    return TimesLogged("listing /" + Utf8(listed) + ": held") > 0;
}

int SlowFolder::FirstReadsBegun(const std::filesystem::path& name) const {
    return TimesLogged("first read of /" + Utf8(path_.filename() / name) + ": held");
}

}  // namespace kivo::e2e
