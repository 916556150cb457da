#include "forms_runtime/basics/paths.h"

#include "forms_runtime/basics/text.h"

namespace kivo::forms {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsDriveRoot(std::string_view folder) {
    return folder.size() == 3 && folder[1] == ':' && IsSeparator(folder[2]);
}

char32_t FoldCase(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= U'Ａ' && c <= U'Ｚ')) {
        return c + 0x20;
    }
    return c;
}

// Compares the texts character by character, letters folded to lower case: below zero when `a`
// comes first. Allocates nothing: a folder's names are sorted with it.
int CompareFolded(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        char32_t ca = static_cast<unsigned char>(a[i]);
        char32_t cb = static_cast<unsigned char>(b[j]);
        if (ca < 0x80 && cb < 0x80) {  // most names are ASCII: no decoding
            ++i;
            ++j;
        } else {
            ca = NextChar(a, i);
            cb = NextChar(b, j);
        }
        ca = FoldCase(ca);
        cb = FoldCase(cb);
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    return static_cast<int>(i < a.size()) - static_cast<int>(j < b.size());
}

}  // namespace

std::string NormalizeFolder(std::string_view folder) {
    std::string out(folder);
    if (out.size() >= 2 && out[1] == ':' && out[0] >= 'a' && out[0] <= 'z') {
        out[0] = static_cast<char>(out[0] - 'a' + 'A');
    }
    if (out.size() == 2 && out[1] == ':') {
        out += '\\';
    }
    while (out.size() > 1 && IsSeparator(out.back()) && !IsDriveRoot(out)) {
        out.pop_back();
    }
    return out;
}

std::string ParentFolder(std::string_view folder) {
    const std::string normal = NormalizeFolder(folder);
    if (IsDriveRoot(normal)) {
        return {};
    }
    const auto cut = normal.find_last_of("\\/");
    if (cut == std::string::npos) {
        return {};
    }
    // A lone separator (the root of a path without a drive, where a share's name ends up) holds
    // nothing: without this, every walk up from it would go on for ever.
    std::string parent = NormalizeFolder(std::string_view(normal).substr(0, cut + 1));
    return parent.size() < normal.size() ? parent : std::string();
}

std::string FolderName(std::string_view folder) {
    const std::string normal = NormalizeFolder(folder);
    if (IsDriveRoot(normal)) {
        return normal;
    }
    const auto cut = normal.find_last_of("\\/");
    return cut == std::string::npos ? normal : normal.substr(cut + 1);
}

std::string DriveRoot(std::string_view path) {
    if (path.size() < 2 || path[1] != ':') {
        return {};
    }
    char letter = path[0];
    if (letter >= 'a' && letter <= 'z') {
        letter = static_cast<char>(letter - 'a' + 'A');
    }
    if (letter < 'A' || letter > 'Z') {
        return {};
    }
    return std::string(1, letter) + ":\\";
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string out(folder);
    if (!out.empty() && !IsSeparator(out.back())) {
        out += '\\';
    }
    out += name;
    return out;
}

bool SameName(std::string_view a, std::string_view b) {
    return CompareFolded(a, b) == 0;
}

bool NameLess(std::string_view a, std::string_view b) {
    if (const int order = CompareFolded(a, b); order != 0) {
        return order < 0;
    }
    return a < b;  // a stable order for names that differ only in case
}

}  // namespace kivo::forms
