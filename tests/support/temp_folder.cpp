// SPDX-License-Identifier: MIT
#include "support/temp_folder.h"

#include <stdlib.h>

#include <fstream>
#include <iterator>

namespace tikora::testing {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tikora-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        abort();  // nowhere to work: no test can go on
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void WriteFile(const std::string& path, const std::string& content) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

std::string ReadFile(const std::string& path) {
    return {std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {}};
}

}  // namespace tikora::testing
