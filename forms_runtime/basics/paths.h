#pragma once

#include <string>
#include <string_view>

namespace kivo::forms {

// Windows paths in UTF-8 ("C:\Photos\2024"), as the folder and drive lists handle them.

// A folder without a trailing separator, except at a drive root ("C:\"); "C:" becomes "C:\".
// The drive letter is upper-cased.
std::string NormalizeFolder(std::string_view folder);
// The folder that holds a folder, always shorter; empty for a drive root or a lone separator.
std::string ParentFolder(std::string_view folder);
// The last component of a folder ("2024"), or the root itself ("C:\").
std::string FolderName(std::string_view folder);
// "C:\" for any path on drive C (upper-cased letter); empty when the path names no drive.
std::string DriveRoot(std::string_view path);
// The folder and a name joined with exactly one separator.
std::string JoinPath(std::string_view folder, std::string_view name);
// Case-insensitive comparison, as the file system compares names.
bool SameName(std::string_view a, std::string_view b);
bool NameLess(std::string_view a, std::string_view b);

}  // namespace kivo::forms
