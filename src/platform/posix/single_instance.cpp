// SPDX-License-Identifier: MIT
#include "posix/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "posix/descriptor.h"

namespace tikora {
namespace {

// This user's alone: no one else may put a file in a folder, nor open a lock file.
bool Private(const struct stat& info, mode_t mode) {
    return info.st_uid == getuid() && (info.st_mode & 0777) == mode;
}

bool IsPrivateFolder(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && Private(info, 0700);
}

// Takes away a file, a link or an empty folder. In a sticky folder such as /tmp the system lets
// this user take away only what is the user's own.
bool Remove(const std::string& path) {
    return unlink(path.c_str()) == 0 || (errno == EISDIR && rmdir(path.c_str()) == 0) ||
           errno == ENOENT;
}

// The fallback folder, made anew when what stands there is not private.
std::optional<std::string> FallbackFolder(const std::string& base, std::string& why) {
    const std::string folder = base + "/tikora-" + std::to_string(getuid());
    mkdir(folder.c_str(), 0700);
    if (!IsPrivateFolder(folder)) {
        // A folder of the user's that others may enter is closed again; a link or a file goes.
        const Descriptor own(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        struct stat info {};
        if (own.Get() >= 0 && fstat(own.Get(), &info) == 0 && info.st_uid == getuid()) {
            fchmod(own.Get(), 0700);
        } else if (own.Get() < 0 && Remove(folder)) {
            mkdir(folder.c_str(), 0700);
        }
    }
    if (IsPrivateFolder(folder)) {
        return folder;
    }
    why = folder + ": not a folder of this user's alone";
    return std::nullopt;
}

std::optional<std::string> LockFolder(const std::string& fallbackBase, std::string& why) {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime != nullptr && *runtime == '/' && IsPrivateFolder(runtime)) {
        return runtime;
    }
    return FallbackFolder(fallbackBase, why);
}

bool IsLockFile(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && Private(info, 0600);
}

// Opens the lock file at `path`, never through a link, and only one that is this user's alone.
int OpenLockFile(const std::string& path) {
    const int file =
        open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    struct stat info {};
    if (file >= 0 && fstat(file, &info) == 0 && S_ISREG(info.st_mode) && Private(info, 0600)) {
        return file;
    }
    if (file >= 0) {
        close(file);
    }
    return -1;
}

}  // namespace

SingleInstance::SingleInstance(const std::string& key, const std::string& fallbackBase) {
    const std::optional<std::string> folder = LockFolder(fallbackBase, unguarded_);
    if (!folder) {
        return;
    }
    path_ = *folder + "/tikora" + (key.empty() ? "" : "-" + key) + ".lock";
    descriptor_ = OpenLockFile(path_);
    // Whatever else stands there, in a folder of the user's alone, is made anew; a good lock file
    // another clock has made meanwhile stays.
    if (descriptor_ < 0 && (IsLockFile(path_) || Remove(path_))) {
        descriptor_ = OpenLockFile(path_);
    }
    if (descriptor_ < 0) {
        unguarded_ = path_ + ": not a lock file of this user's alone";
        return;
    }
    if (flock(descriptor_, LOCK_EX | LOCK_NB) != 0) {
        anotherIsRunning_ = errno == EWOULDBLOCK;
        if (!anotherIsRunning_) {
            unguarded_ = path_ + ": " + std::strerror(errno);
        }
        close(descriptor_);
        descriptor_ = -1;
    }
}

SingleInstance::~SingleInstance() {
    if (descriptor_ >= 0) {
        close(descriptor_);
    }
}

}  // namespace tikora
