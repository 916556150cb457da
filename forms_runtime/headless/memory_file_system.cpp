#include "forms_runtime/headless/memory_file_system.h"

#include <algorithm>

#include "forms_runtime/basics/errors.h"
#include "forms_runtime/basics/paths.h"
#include "forms_runtime/basics/text.h"

namespace kivo::forms::headless {

std::string MemoryFileSystem::Key(const std::string& path) {
    std::string key = UCase(NormalizeFolder(path));
    std::replace(key.begin(), key.end(), '/', '\\');
    return key;
}

void MemoryFileSystem::AddDrive(const std::string& root, const std::string& label, bool ready) {
    drives_[DriveRoot(root)] = Drive{label, ready};
}

void MemoryFileSystem::AddFolder(const std::string& folder, bool hidden) {
    const std::string normal = NormalizeFolder(folder);
    const std::string parent = ParentFolder(normal);
    if (parent.empty()) {
        if (!drives_.contains(DriveRoot(normal))) {
            AddDrive(normal);
        }
        return;
    }
    AddFolder(parent);
    Node& node = nodes_[Key(normal)];
    if (node.name.empty()) {
        node.name = FolderName(normal);
        node.is_folder = true;
    }
    node.hidden = node.hidden || hidden;
}

void MemoryFileSystem::AddFile(const std::string& path, std::string contents, bool hidden,
                               bool system) {
    AddFolder(ParentFolder(path));
    nodes_[Key(path)] = Node{FolderName(path), false, hidden, system, std::move(contents)};
}

void MemoryFileSystem::Remove(const std::string& path) {
    nodes_.erase(Key(path));
}

const std::string& MemoryFileSystem::Read(const std::string& path) const {
    // Repeated separators name the same file, as on Windows.
    std::string collapsed;
    for (char c : path) {
        if (!(c == '\\' && !collapsed.empty() && collapsed.back() == '\\' &&
              collapsed.size() > 2)) {
            collapsed += c;
        }
    }
    const auto found = nodes_.find(Key(collapsed));
    if (found == nodes_.end() || found->second.is_folder) {
        throw RuntimeError(ErrorKind::FileNotFound, path);
    }
    const auto drive = drives_.find(DriveRoot(collapsed));
    if (drive == drives_.end() || !drive->second.ready) {
        throw RuntimeError(ErrorKind::FileNotFound, path);
    }
    return found->second.contents;
}

void MemoryFileSystem::ListFolder(const std::string& folder,
                                  const std::function<void(const FolderEntry&)>& each) {
    if (!FolderExists(folder)) {
        throw RuntimeError(ErrorKind::PathNotFound, folder);
    }
    const std::string key = Key(folder);
    for (const auto& [path, node] : nodes_) {
        if (Key(ParentFolder(path)) == key) {
            each({node.name, node.is_folder, node.hidden, node.system});
        }
    }
}

bool MemoryFileSystem::FolderExists(const std::string& folder) {
    const std::string root = DriveRoot(folder);
    const auto drive = drives_.find(root);
    if (drive == drives_.end() || !drive->second.ready) {
        return false;
    }
    const std::string key = Key(folder);
    if (key == root) {
        return true;
    }
    const auto found = nodes_.find(key);
    return found != nodes_.end() && found->second.is_folder;
}

std::vector<std::string> MemoryFileSystem::DriveRoots() {
    std::vector<std::string> roots;
    for (const auto& [root, drive] : drives_) {
        roots.push_back(root);
    }
    return roots;
}

std::string MemoryFileSystem::DriveLabel(const std::string& root) {
    const auto drive = drives_.find(DriveRoot(root));
    return drive != drives_.end() ? drive->second.label : std::string();
}

bool MemoryFileSystem::DriveReady(const std::string& root) {
    const auto drive = drives_.find(DriveRoot(root));
    return drive != drives_.end() && drive->second.ready;
}

}  // namespace kivo::forms::headless
