// SPDX-License-Identifier: MIT
// The machine's files through each system's own reading and searching; only listing a folder
// differs enough to stand with each system's search.
#include "platform/system_files.h"

#include "platform/file_read.h"
#include "platform/file_search.h"

namespace tikora {

std::optional<std::string> SystemFiles::ReadRegular(const std::string& path,
                                                    std::size_t maxBytes) const {
    return ReadRegularFile(path, maxBytes);
}

bool SystemFiles::HasOrdinaryFile(const std::string& pattern) const {
    return FindOrdinaryFile(pattern);
}

const FileAccess& SystemFileAccess() {
    static const SystemFiles files;
    return files;
}

}  // namespace tikora
