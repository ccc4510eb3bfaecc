// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "platform/file_search.h"
#include "support/temp_folder.h"

namespace tikora::testing {
namespace {

// Only ordinary files count: not hidden ones, not folders; wildcards in the last part only.
TEST(FileSearch, FindsOnlyOrdinaryFiles) {
    const TempFolder root;
    WriteFile(root / "strip.bmp", "x");
    WriteFile(root / ".hidden.png", "x");
    std::filesystem::create_directory(root / "folder.jpg");
    std::filesystem::create_symlink(root / "strip.bmp", root / "link.tga");
    const std::pair<const char*, bool> cases[] = {
        {"strip.bmp", true},    {"link.tga", true}, {"stri?.bmp", true},   {"*.bmp", true},
        {".hidden.png", false}, {"*.png", false},   {"folder.jpg", false}, {"*.jpg", false},
        {"x.bmp", false},       {"x/*.bmp", false}, {"strip.bmp/x", false}};
    for (const auto& [pattern, found] : cases) {
        EXPECT_EQ(FindOrdinaryFile(root / pattern), found) << pattern;
    }
}

}  // namespace
}  // namespace tikora::testing
