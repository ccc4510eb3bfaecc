// SPDX-License-Identifier: MIT
#include "posix/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace tikora {
namespace {

// $XDG_RUNTIME_DIR is the user's own; without it, a folder of ours in /tmp that nobody else owns.
std::string LockFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime != nullptr && *runtime == '/') {
        return runtime;
    }
    const std::string folder = "/tmp/tikora-" + std::to_string(getuid());
    mkdir(folder.c_str(), 0700);
    struct stat status {};
    if (lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != getuid()) {
        return {};
    }
    return folder;
}

// ":0" and ":0.0" are one display; a name never leaves the folder.
std::string LockName(std::string display) {
    if (const auto colon = display.rfind(':'); colon != std::string::npos) {
        if (const auto dot = display.find('.', colon); dot != std::string::npos) {
            display.resize(dot);
        }
    }
    for (char& character : display) {
        if (character == '/') {
            character = '_';
        }
    }
    return "tikora-" + display + ".lock";
}

}  // namespace

SingleInstance::SingleInstance(const std::string& display) {
    const std::string folder = LockFolder();
    if (folder.empty()) {
        return;
    }
    const std::string path = folder + "/" + LockName(display);
    descriptor_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor_ < 0) {
        return;
    }
    if (flock(descriptor_, LOCK_EX | LOCK_NB) != 0) {
        anotherIsRunning_ = errno == EWOULDBLOCK;
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
