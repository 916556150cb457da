// A folder of the test's own on the harness's slow mount (harness/slow-folder, mounted by
// `e2e-env up`) whose listings, or some of whose files' first reads, wait until the test releases
// the folder: a share that does not answer until it comes back. Looking up names and opening
// files never wait. Files are written through the mount's source, at full speed. Released, then
// removed with everything in it, when the object goes.
#pragma once

#include <filesystem>
#include <string_view>

#include "tests/common/temp_folder.h"

namespace kivo::e2e {

class SlowFolder {
  public:
    // Whether the folder's listings wait until Release().
    enum class Listing { kHeld, kAtOnce };

    // Throws std::runtime_error, with what the harness logged, when the mount is not there.
    explicit SlowFolder(Listing listing);
    ~SlowFolder() { Release(); }

    // The folder as a Windows program sees it (on Wine's Z: drive), without a final backslash.
    const std::filesystem::path& path() const { return path_; }
    // Writes `bytes` to the file `name` in the folder.
    void Write(const std::filesystem::path& name, std::string_view bytes) const;
    // Writes `bytes` to a file named after `name` (`b.png`: `b.read-held.png`) whose first read,
    // at each opening, waits until Release(); returns that name.
    std::filesystem::path WriteHeld(const std::filesystem::path& name,
                                    std::string_view bytes) const;

    // The share comes back: every call waiting on the folder goes on, and later ones no longer
    // wait. Doing it again does nothing.
    void Release() const;
    // Whether a listing of the folder, or of its folder `within` (named `x.list-held`, held
    // too), has begun waiting, as the mount's log tells. Release() lets both go.
    bool ListingBegun(const std::filesystem::path& within = {}) const;
    // How many first reads of the file `name` have begun waiting, as the mount's log tells.
    int FirstReadsBegun(const std::filesystem::path& name) const;

  private:
    test::TempFolder source_;
    std::filesystem::path path_;
};

// Releases the folder when it goes. Declared after the processes that may wait on the folder,
// it lets them go before they are ended, pass or fail: a process cannot finish ending while one
// of its threads waits in the file system.
class ReleasedAtTheEnd {
  public:
    explicit ReleasedAtTheEnd(const SlowFolder& folder) : folder_(folder) {}
    ~ReleasedAtTheEnd() { folder_.Release(); }

  private:
    const SlowFolder& folder_;
};

}  // namespace kivo::e2e
