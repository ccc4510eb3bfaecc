// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_read.h"
#include "posix/descriptor.h"

namespace tikora {

std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes) {
    if (path.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    // Non-blocking, so that opening a FIFO never waits for a writer.
    const Descriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (file.Get() < 0 || fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::size_t>(info.st_size) > maxBytes) {
        return std::nullopt;
    }
    std::string content(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t filled = 0;
    // The file may change while it is read: never read past the size it had nor past maxBytes.
    while (filled < content.size()) {
        const ssize_t got = read(file.Get(), content.data() + filled, content.size() - filled);
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    content.resize(filled);
    return content;
}

}  // namespace tikora
