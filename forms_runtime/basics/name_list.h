#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kivo::forms {

// A folder's names, packed in one buffer: a name costs its length plus nine bytes, so a folder
// of a million files takes tens of megabytes, not hundreds.
class NameList {
  public:
    // Names must not hold a zero byte (no file name does).
    void Add(std::string_view name);
    // Sorts the names as the file system compares them: without regard to case.
    void Sort();
    int size() const { return static_cast<int>(starts_.size()); }
    bool empty() const { return starts_.empty(); }
    // The name at a position from 0 to size() - 1.
    std::string_view operator[](int position) const {
        return std::string_view(text_.data() + starts_[static_cast<std::size_t>(position)]);
    }

  private:
    std::string text_;                 // every name, each followed by a zero byte
    std::vector<std::size_t> starts_;  // where each name starts in `text_`, in list order
};

}  // namespace kivo::forms
