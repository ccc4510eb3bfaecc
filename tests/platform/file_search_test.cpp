#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/file_search.h"

namespace tikora {
namespace {

namespace fs = std::filesystem;

class FileSearch : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tikora-files-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        Touch("strip.bmp");
        Touch(".hidden.png");
        Touch("Upper.GIF");
        fs::create_directory(root_ / "folder.jpg");
        fs::create_directory(root_ / "sub");
        Touch("sub/inner.bmp");
        fs::create_symlink(root_ / "strip.bmp", root_ / "link.tga");
    }
    void TearDown() override { fs::remove_all(root_); }

    void Touch(const std::string& name) { std::ofstream(root_ / name) << "x"; }
    std::string At(const std::string& name) const { return (root_ / name).string(); }

    fs::path root_;
};

struct SearchCase {
    const char* name;
    const char* pattern;  // below the temporary folder
    bool found;
};

class FileSearchCases : public FileSearch, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(FileSearchCases, FindsOnlyOrdinaryFiles) {
    EXPECT_EQ(FindOrdinaryFile(At(GetParam().pattern)), GetParam().found);
}

INSTANTIATE_TEST_SUITE_P(Table, FileSearchCases,
                         ::testing::Values(SearchCase{"OrdinaryFile", "strip.bmp", true},
                                           SearchCase{"HiddenFile", ".hidden.png", false},
                                           SearchCase{"Folder", "folder.jpg", false},
                                           SearchCase{"MissingFile", "nothing.bmp", false},
                                           SearchCase{"MissingFolder", "missing/strip.bmp", false},
                                           SearchCase{"FileInSubfolder", "sub/inner.bmp", true},
                                           SearchCase{"DoubledSeparator", "sub//inner.bmp", true},
                                           SearchCase{"SymlinkToFile", "link.tga", true},
                                           SearchCase{"PatternMatches", "*.bmp", true},
                                           SearchCase{"PatternMatchesNothing", "*.tif", false},
                                           SearchCase{"PatternMatchesOnlyHidden", "*.png", false},
                                           SearchCase{"PatternMatchesOnlyFolder", "*.jpg", false},
                                           SearchCase{"PatternIsCaseSensitive", "*.gif", false},
                                           SearchCase{"QuestionMark", "stri?.bmp", true},
                                           SearchCase{"PatternInMissingFolder", "missing/*.bmp",
                                                      false},
                                           SearchCase{"TrailingSeparator", "sub/", false},
                                           SearchCase{"FileUsedAsFolder", "strip.bmp/x", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FileSearchInput, RefusesEmptyAndNulNames) {
    EXPECT_FALSE(FindOrdinaryFile(""));
    EXPECT_FALSE(FindOrdinaryFile(std::string("/etc/passwd\0x", 13)));
}

}  // namespace
}  // namespace tikora
