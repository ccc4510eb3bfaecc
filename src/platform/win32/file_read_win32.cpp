// SPDX-License-Identifier: MIT
#include <windows.h>

#include <algorithm>

#include "platform/file_read.h"
#include "win32/wide_text.h"

namespace tikora {
namespace {

struct FileHandle {
    HANDLE handle;
    ~FileHandle() {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
};

}  // namespace

std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder does not open; pipes and devices open, and are
    // turned away by their type before any read could wait on them.
    const FileHandle file{CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    LARGE_INTEGER size{};
    if (file.handle == INVALID_HANDLE_VALUE || GetFileType(file.handle) != FILE_TYPE_DISK ||
        !GetFileSizeEx(file.handle, &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        return std::nullopt;
    }
    std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t filled = 0;
    // The file may change while it is read: never past the size it had.
    while (filled < content.size()) {
        DWORD got = 0;
        const DWORD wanted =
            static_cast<DWORD>(std::min<std::size_t>(content.size() - filled, 1 << 30));
        if (!ReadFile(file.handle, content.data() + filled, wanted, &got, nullptr)) {
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        filled += got;
    }
    content.resize(filled);
    return content;
}

}  // namespace tikora
