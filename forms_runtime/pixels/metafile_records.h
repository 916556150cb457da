#pragma once

#include <string_view>

namespace kivo::forms {

// Whether every record of an enhanced metafile (the whole file) fits: each one's size is at
// least its own type and size, a multiple of four, and ends inside the file; the first is the
// header, and the walk ends at the end-of-file record. Bounded by the file's length.
bool EnhancedRecordsFit(std::string_view file);

// The same for a Windows metafile's records (after the placeable header, if any): a header of
// nine words, then records whose size in words is at least three and ends inside the file, up
// to the end-of-file record or the file's own end.
bool WindowsRecordsFit(std::string_view records);

}  // namespace kivo::forms
