// SPDX-License-Identifier: MIT
#include <filesystem>
#include <system_error>

#include "platform/program_folder.h"

namespace tikora {

std::string RunningProgramFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return {};
    }
    return executable.parent_path().string();
}

const char kPathSeparator = '/';

}  // namespace tikora
