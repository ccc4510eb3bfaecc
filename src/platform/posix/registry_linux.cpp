// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <system_error>

#include "common/modRegistry.h"
#include "platform/file_read.h"
#include "platform/services.h"
#include "posix/descriptor.h"
#include "posix/registry_file.h"
#include "settings/registry_format.h"

namespace tikora {
namespace {

// Handles count up and are never reused, so a closed one finds nothing.
struct OpenKeys {
    std::mutex mutex;
    std::map<RegistryKey, std::string> paths;
    RegistryKey next = 0x1000;
};

OpenKeys& Opened() {
    static OpenKeys keys;
    return keys;
}

using ReplaceHook = void (*)();

ReplaceHook& BeforeReplace() {
    static ReplaceHook hook = nullptr;
    return hook;
}

std::chrono::steady_clock::time_point SteadyNow() {
    return std::chrono::steady_clock::now();
}

RegistryLockClock& LockClock() {
    static RegistryLockClock clock = SteadyNow;
    return clock;
}

// "" for kCurrentUser, the path of an open key, nothing for any other handle.
std::optional<std::string> PathOf(RegistryKey key) {
    if (key == kCurrentUser) {
        return std::string();
    }
    OpenKeys& open = Opened();
    const std::lock_guard guard(open.mutex);
    const auto found = open.paths.find(key);
    return found == open.paths.end() ? std::nullopt : std::optional(found->second);
}

std::string SettingsPath() {
    const auto& settingsFile = Platform().settingsFile;
    return settingsFile ? settingsFile() : std::string();
}

struct StoreFile {
    RegistryTree tree;
    bool unreadable = false;  // something is at the path that is not a readable export
    bool folder = false;      // a folder is where the file should be
};

StoreFile LoadStore(const std::string& path) {
    StoreFile store;
    if (const std::optional<std::string> bytes = ReadRegularFile(path, kRegistryFileLimit)) {
        std::optional<RegistryTree> tree = ParseRegistryExport(*bytes);
        store.unreadable = !tree;
        if (!tree) {
            // A file cut short or spoiled in one line still holds values worth keeping.
            tree = SalvageRegistryExport(*bytes);
        }
        store.tree = std::move(tree).value_or(RegistryTree{});
        return store;
    }
    // Too large, not a regular file or not ours to read: still nothing to throw away.
    struct stat info {};
    store.unreadable = lstat(path.c_str(), &info) == 0 || errno != ENOENT;
    store.folder = store.unreadable && S_ISDIR(info.st_mode);
    return store;
}

// Nothing on success; otherwise the settings file and why it could not be written.
using StoreFailure = std::optional<std::string>;

StoreFailure Failed(const std::string& path, int error) {
    return path + ": " + std::generic_category().message(error);
}

// New folders are private to the user, as the settings in them are.
bool MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        if (mkdir(folder.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            return true;
        }
    }
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t done = write(fd, bytes.data(), bytes.size());
        if (done < 0 && errno != EINTR) {
            return false;
        }
        bytes.remove_prefix(done < 0 ? 0 : static_cast<std::size_t>(done));
    }
    return true;
}

// Gives the unreadable file a second name, "<path>.unreadable-YYYYMMDD-HHMMSS" (then "-2", "-3"
// while those are taken: link never replaces an existing name), so that the rename of the new
// file over it loses nothing and the path never goes missing. "" when nothing was there to keep.
std::optional<std::string> KeepUnreadable(const std::string& path) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char stamp[32] = "";
    if (localtime_r(&now, &local) != nullptr) {
        std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    }
    const std::string base = path + ".unreadable-" + stamp;
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        std::string name = attempt == 1 ? base : base + "-" + std::to_string(attempt);
        if (link(path.c_str(), name.c_str()) == 0) {
            return name;
        }
        if (errno == ENOENT) {
            return std::string();
        }
        if (errno != EEXIST) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// Temporary files of writes that never finished. Only called under the folder lock, when no other
// write can be under way.
void RemoveLeftovers(const std::string& folder, const std::string& tempPrefix) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error); !error && entry != fs::directory_iterator();
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.starts_with(tempPrefix) && name.size() == tempPrefix.size() + 6) {
            unlink(entry->path().c_str());
        }
    }
}

// The file a link at `path` leads to, through every link on the way (the file itself need not
// exist yet), so that a settings file kept elsewhere is replaced where it lies; nothing for a loop.
std::optional<std::string> LinkTarget(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length < 0) {
            return std::nullopt;
        }
        target.resize(static_cast<std::size_t>(length));
        const std::size_t slash = path.rfind('/');
        path = target.starts_with('/') || slash == std::string::npos
                   ? target
                   : path.substr(0, slash + 1) + target;
    }
    errno = ELOOP;
    return std::nullopt;
}

// Waits for the folder lock up to kRegistryLockWait. False when another process held it all that
// time; true when this process holds it, or when the file system has no such locks.
bool LockFolder(int folder, bool& locked) {
    const auto end = LockClock()() + kRegistryLockWait;
    for (;;) {
        if (flock(folder, LOCK_EX | LOCK_NB) == 0) {
            locked = true;
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            return true;
        }
        if (LockClock()() >= end) {
            return false;
        }
        const timespec pause{0, 20'000'000};
        nanosleep(&pause, nullptr);
    }
}

// Reads the store, lets `change` alter it and, when it reports a change, writes the whole file to
// a new file beside it and renames that over the old one. Writers hold a lock on the folder, so
// two processes never lose each other's changes; without one (some network file systems) the file
// is still replaced whole.
StoreFailure UpdateStore(const std::function<bool(RegistryTree&)>& change) {
    const std::string named = SettingsPath();
    if (named.empty()) {
        return "there is no settings file to write";
    }
    const std::optional<std::string> target = LinkTarget(named);
    if (!target) {
        return Failed(named, errno);
    }
    const std::string& path = *target;
    const std::size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    if (!MakeFolders(folder)) {
        return Failed(path, errno);
    }
    const Descriptor folderFile(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFile.Get() < 0) {
        return Failed(path, errno);
    }
    bool locked = false;
    if (!LockFolder(folderFile.Get(), locked)) {
        return path + ": another program has kept the settings folder locked for " +
               std::to_string(kRegistryLockWait.count()) + " s";
    }
    StoreFile store = LoadStore(path);
    if (store.folder) {
        return Failed(path, EISDIR);
    }
    if (!change(store.tree)) {
        return std::nullopt;
    }
    // A rename would part the names of a hard-linked file: its other names would keep the old
    // settings without a word.
    if (struct stat info{}; lstat(path.c_str(), &info) == 0 && info.st_nlink > 1) {
        return path + ": the file has other names (hard links); link it with a symbolic link";
    }
    const std::string text = WriteRegistryExport(store.tree);
    if (text.size() > kRegistryFileLimit) {
        // It would read back as unreadable.
        return path + ": the settings would grow past " + std::to_string(kRegistryFileLimit >> 20) +
               " MiB";
    }
    // Appended piece by piece: GCC 12 at -O3 takes "." + substr + ".new-" for an overlapping copy.
    std::string tempPrefix = ".";
    tempPrefix.append(path, slash + 1).append(".new-");
    if (locked) {
        RemoveLeftovers(folder, tempPrefix);
    }
    std::string temp = folder + "/" + tempPrefix + "XXXXXX";
    const int file = mkostemp(temp.data(), O_CLOEXEC);  // O_CREAT | O_EXCL, mode 0600
    if (file < 0) {
        return Failed(path, errno);
    }
    int error = WriteAll(file, text) && fsync(file) == 0 ? 0 : errno;
    if (close(file) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        unlink(temp.c_str());
        return Failed(path, error);
    }
    if (BeforeReplace() != nullptr) {
        BeforeReplace()();
    }
    const std::optional<std::string> kept =
        store.unreadable ? KeepUnreadable(path) : std::optional<std::string>("");
    if (!kept || rename(temp.c_str(), path.c_str()) != 0) {
        error = errno;
        unlink(temp.c_str());
        if (kept && !kept->empty()) {
            unlink(kept->c_str());
        }
        return Failed(path, error);
    }
    // The rename is on disk only once the folder is.
    return fsync(folderFile.Get()) == 0 ? std::nullopt : Failed(path, errno);
}

long StatusOf(const StoreFailure& failure) {
    return failure ? kRegCantWrite : kRegOk;
}

long OpenKey(RegistryKey root, const std::string& subKey, RegistryKey* result, bool create) {
    if (result == nullptr) {
        return kRegBadParameter;
    }
    *result = 0;
    const std::optional<std::string> rootPath = PathOf(root);
    if (!rootPath) {
        return kRegBadKey;
    }
    const std::string path =
        rootPath->empty() || subKey.empty() ? *rootPath + subKey : *rootPath + '\\' + subKey;
    if (!RegistryTree::IsValidKeyPath(path)) {
        return kRegBadParameter;
    }
    long status = kRegOk;
    if (create) {
        status = StatusOf(UpdateStore([&path](RegistryTree& tree) {
            return !tree.HasKey(path) && tree.AddKey(path).has_value();
        }));
    } else if (!LoadStore(SettingsPath()).tree.HasKey(path)) {
        status = kRegNotFound;
    }
    if (status != kRegOk) {
        return status;
    }
    if (subKey.empty()) {
        *result = root;
        return kRegOk;
    }
    OpenKeys& open = Opened();
    const std::lock_guard guard(open.mutex);
    *result = open.next++;
    open.paths.emplace(*result, path);
    return kRegOk;
}

}  // namespace

long OpenRegistryKey(RegistryKey root, const std::string& subKey, RegistryKey* result) {
    return OpenKey(root, subKey, result, false);
}

long CreateRegistryKey(RegistryKey root, const std::string& subKey, RegistryKey* result) {
    return OpenKey(root, subKey, result, true);
}

long QueryRegistryValue(RegistryKey key, const std::string& valueName, std::uint32_t* type,
                        std::string* data, std::uint32_t* size) {
    const std::optional<std::string> path = PathOf(key);
    if (!path) {
        return kRegBadKey;
    }
    if (data != nullptr && size == nullptr) {
        return kRegBadParameter;
    }
    const StoreFile store = LoadStore(SettingsPath());
    const RegistryValue* value = store.tree.FindValue(*path, valueName);
    if (value == nullptr) {
        return kRegNotFound;
    }
    if (type != nullptr) {
        *type = value->type;
    }
    const auto needed = static_cast<std::uint32_t>(value->data.size());
    const bool fits = data == nullptr || *size >= needed;
    if (data != nullptr && fits) {
        data->assign(value->data);
    }
    if (size != nullptr) {
        *size = needed;
    }
    return fits ? kRegOk : kRegMoreData;
}

long SetRegistryValue(RegistryKey key, const std::string& valueName, std::uint32_t type,
                      const std::string& data) {
    const std::optional<std::string> path = PathOf(key);
    if (!path) {
        return kRegBadKey;
    }
    if (!RegistryTree::IsValidValueName(valueName)) {
        return kRegBadParameter;
    }
    return StatusOf(UpdateStore([&](RegistryTree& tree) {
        // Adding the key again brings it back if the file lost it since it was opened.
        const std::optional<std::size_t> index = tree.AddKey(*path);
        return index && tree.SetValue(*index, valueName, RegistryValue{type, data});
    }));
}

SettingsWriteFailure WriteRegStrings(const std::vector<SettingsValue>& values) {
    for (const SettingsValue& value : values) {
        if (!RegistryTree::IsValidKeyPath(value.key) ||
            !RegistryTree::IsValidValueName(value.name)) {
            return SettingsPath() + ": no setting can be named \"" + value.name + "\"";
        }
    }
    // One replace of the file for all of them: a failure or a kill at any moment leaves the whole
    // old store or the whole new one. Values that are already as given cost no write.
    return UpdateStore([&values](RegistryTree& tree) {
        bool changed = false;
        for (const SettingsValue& value : values) {
            const std::size_t keys = tree.Keys().size();
            const std::size_t key = *tree.AddKey(value.key);
            RegistryValue text{kRegText, value.text + '\0'};
            const RegistryValue* old = tree.FindValue(value.key, value.name);
            const bool differs = old == nullptr || *old != text;
            changed = changed || differs || tree.Keys().size() != keys;
            if (differs) {
                tree.SetValue(key, value.name, std::move(text));
            }
        }
        return changed;
    });
}

long CloseRegistryKey(RegistryKey key) {
    if (key == kCurrentUser) {
        return kRegOk;
    }
    OpenKeys& open = Opened();
    const std::lock_guard guard(open.mutex);
    return open.paths.erase(key) == 1 ? kRegOk : kRegBadKey;
}

std::size_t OpenRegistryKeyCount() {
    OpenKeys& open = Opened();
    const std::lock_guard guard(open.mutex);
    return open.paths.size();
}

void SetRegistryReplaceHook(void (*hook)()) {
    BeforeReplace() = hook;
}

void SetRegistryLockClock(RegistryLockClock clock) {
    LockClock() = clock ? std::move(clock) : RegistryLockClock(SteadyNow);
}

}  // namespace tikora
