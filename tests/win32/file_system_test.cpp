// The real file system as the list controls see it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "forms_runtime/errors.h"
#include "forms_runtime/win32/window/win32_file_system.h"
#include "tests/win32/test_files.h"

namespace kivo::forms::win32 {
namespace {

const FolderEntry* Named(const std::vector<FolderEntry>& entries, const std::string& name) {
    const auto found =
        std::find_if(entries.begin(), entries.end(),
                     [&name](const FolderEntry& entry) { return entry.name == name; });
    return found == entries.end() ? nullptr : &*found;
}

TEST(Win32FileSystem, ListsAFolderWithTheAttributesTheListsFilterBy) {
    test::TempFolder folder;
    folder.Write("photo.jpg", "x");
    folder.Write("secret.jpg", "x");
    folder.SetAttributes("secret.jpg", FILE_ATTRIBUTE_HIDDEN);
    folder.Write("thumbs.db", "x");
    folder.SetAttributes("thumbs.db", FILE_ATTRIBUTE_SYSTEM);
    folder.MakeFolder("夏");

    Win32FileSystem files;
    const std::vector<FolderEntry> entries = files.ListFolder(folder.path());
    ASSERT_EQ(entries.size(), 4u);  // without "." and ".."
    ASSERT_NE(Named(entries, "photo.jpg"), nullptr);
    EXPECT_FALSE(Named(entries, "photo.jpg")->is_folder);
    EXPECT_FALSE(Named(entries, "photo.jpg")->hidden);
    EXPECT_TRUE(Named(entries, "secret.jpg")->hidden);
    EXPECT_TRUE(Named(entries, "thumbs.db")->system);
    ASSERT_NE(Named(entries, "夏"), nullptr);
    EXPECT_TRUE(Named(entries, "夏")->is_folder);
    // A trailing separator names the same folder.
    EXPECT_EQ(files.ListFolder(folder.path() + "\\").size(), 4u);
}

TEST(Win32FileSystem, AnEmptyFolderHasNoEntriesAndAMissingOneIsAnError) {
    test::TempFolder folder;
    folder.MakeFolder("empty");
    folder.Write("file.txt", "x");
    Win32FileSystem files;
    EXPECT_TRUE(files.ListFolder(folder.Join("empty")).empty());
    EXPECT_TRUE(files.FolderExists(folder.Join("empty")));
    EXPECT_FALSE(files.FolderExists(folder.Join("missing")));
    EXPECT_FALSE(files.FolderExists(folder.Join("file.txt")));
    for (const std::string& name : {std::string("missing"), std::string("file.txt")}) {
        try {
            files.ListFolder(folder.Join(name));
            ADD_FAILURE() << name << " listed";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::PathNotFound);
            EXPECT_EQ(error.subject(), folder.Join(name));
        }
    }
}

TEST(Win32FileSystem, KnowsTheSystemDrive) {
    Win32FileSystem files;
    const std::vector<DriveInfo> drives = files.Drives();
    EXPECT_TRUE(std::any_of(drives.begin(), drives.end(),
                            [](const DriveInfo& drive) { return drive.root == "C:\\"; }));
    EXPECT_TRUE(files.DriveReady("C:\\"));
    EXPECT_TRUE(files.DriveReady("c:"));
    EXPECT_FALSE(files.DriveReady("not a drive"));
}

}  // namespace
}  // namespace kivo::forms::win32
