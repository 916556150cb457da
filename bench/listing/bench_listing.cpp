// The cost of a folder's listing as the file list keeps it, natively: the time per 1,000 names
// (filtering and sorting included) and the memory each name keeps, for folders of 100,000 and
// 1,000,000 files whose names come in the system's order, not sorted.
//   bench_listing [names...]     default: 100000 1000000
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "forms_runtime/basics/name_list.h"
#include "forms_runtime/controls/file_system.h"
#include "forms_runtime/controls/folder_readings.h"

namespace {

using kivo::forms::FileSystem;
using kivo::forms::FolderEntry;

// A folder of camera-like names ("IMG_20240131_123456_0001.JPG"), shuffled, with a folder and a
// hidden file every thousand names.
class CameraFolder : public FileSystem {
  public:
    explicit CameraFolder(int count) : count_(count) {}
    void ListFolder(const std::string&,
                    const std::function<void(const FolderEntry&)>& each) override {
        char name[64];
        for (int i = 0; i < count_; ++i) {
            const unsigned mixed = (static_cast<unsigned>(i) * 2654435761u) % 1000000007u;
            std::snprintf(name, sizeof name, "IMG_2024%04u_%06u_%04d.JPG", mixed % 1231,
                          mixed % 235959, i % 10000);
            each({name, i % 1000 == 1, i % 1000 == 2, false});
        }
    }
    bool FolderExists(const std::string&) override { return true; }
    std::vector<std::string> DriveRoots() override { return {"C:\\"}; }
    std::string DriveLabel(const std::string&) override { return {}; }
    bool DriveReady(const std::string&) override { return true; }

  private:
    int count_;
};

std::size_t HeapInUse() {
    const struct mallinfo2 heap = mallinfo2();
    return heap.uordblks + heap.hblkhd;  // small blocks and mapped large ones
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        counts.push_back(std::atoi(argv[i]));
    }
    if (counts.empty()) {
        counts = {100000, 1000000};
    }
    std::printf("%10s %14s %14s %12s\n", "names", "ms", "ms per 1000", "bytes/name");
    for (const int count : counts) {
        CameraFolder folder(count);
        const std::size_t before = HeapInUse();
        const auto started = std::chrono::steady_clock::now();
        const kivo::forms::NameList names = kivo::forms::ListFiles(folder, "C:\\Photos");
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
                .count();
        const double kept = static_cast<double>(HeapInUse() - before) / names.size();
        std::printf("%10d %14.1f %14.3f %12.1f\n", names.size(), ms, ms * 1000 / count, kept);
    }
    return 0;
}
